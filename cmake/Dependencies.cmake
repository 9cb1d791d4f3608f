# Third-party code, all from Debian: zlib (the package for each target),
# minizip compiled from zlib's source package for both targets (so that the
# sanitizers and fuzzers see inside it too), SimpleIni as a header.

set(MINIZIP_DIR "${LAUNCHER_DEPS}/zlib/contrib/minizip")
if(NOT EXISTS "${MINIZIP_DIR}/unzip.c")
  message(FATAL_ERROR "minizip sources missing in ${MINIZIP_DIR}: run scripts/setup")
endif()

if(CMAKE_CROSSCOMPILING)
  # The static archive, never the import library of zlib1.dll.
  set(ZLIB_LIBRARY "${CMAKE_FIND_ROOT_PATH}/lib/libz.a" CACHE FILEPATH "" FORCE)
endif()
find_package(ZLIB REQUIRED)

add_library(minizip STATIC "${MINIZIP_DIR}/unzip.c" "${MINIZIP_DIR}/zip.c" "${MINIZIP_DIR}/ioapi.c")
target_include_directories(minizip SYSTEM PUBLIC "${MINIZIP_DIR}")
target_link_libraries(minizip PUBLIC ZLIB::ZLIB)
target_compile_definitions(minizip PRIVATE NOCRYPT NOUNCRYPT)
target_compile_options(minizip PRIVATE -w)

# SimpleIni is one header; the mingw build must not see the host's /usr/include,
# so the header is copied into the build tree.
find_file(SIMPLEINI_HEADER SimpleIni.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH REQUIRED)
configure_file("${SIMPLEINI_HEADER}" "${CMAKE_BINARY_DIR}/simpleini/SimpleIni.h" COPYONLY)
add_library(simpleini INTERFACE)
target_include_directories(simpleini SYSTEM INTERFACE "${CMAKE_BINARY_DIR}/simpleini")
target_compile_definitions(simpleini INTERFACE SI_NO_CONVERSION)

if(CMAKE_CROSSCOMPILING)
  # googletest for mingw, built from Debian's own source copy.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
elseif(NOT LAUNCHER_FUZZ)
  find_package(GTest REQUIRED)
endif()
