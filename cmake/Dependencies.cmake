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

if(NOT LAUNCHER_TESTS)
  # Nothing here needs googletest.
elseif(CMAKE_CROSSCOMPILING)
  # googletest for mingw, built from Debian's own source copy.
  set(gtest_force_shared_crt OFF CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
  add_subdirectory(/usr/src/googletest "${CMAKE_BINARY_DIR}/googletest" EXCLUDE_FROM_ALL)
elseif(NOT LAUNCHER_FUZZ)
  find_package(GTest REQUIRED)
endif()

# libsodium for Ed25519: the package for the host; for mingw compiled from
# Debian's source package (fetched by scripts/setup), only the files that
# signing and verification reach. Its core.c names every primitive's choice of
# implementation, and the PE linker resolves even sections it then drops, so
# those few files come along; each function sits in its own section and a
# program keeps only what it calls (for the launcher, the verification).
if(CMAKE_CROSSCOMPILING)
  set(SODIUM_DIR "${LAUNCHER_DEPS}/libsodium/src/libsodium")
  if(NOT EXISTS "${SODIUM_DIR}/crypto_sign/ed25519/ref10/open.c")
    message(FATAL_ERROR "libsodium sources missing in ${SODIUM_DIR}: run scripts/setup")
  endif()
  set(SODIUM_LIBRARY_VERSION_MAJOR 10)
  set(SODIUM_LIBRARY_VERSION_MINOR 3)
  set(SODIUM_LIBRARY_MINIMAL_DEF "#define SODIUM_LIBRARY_MINIMAL 1")
  file(STRINGS "${SODIUM_DIR}/../../configure.ac" SODIUM_AC_INIT REGEX "^AC_INIT")
  string(REGEX MATCH "\\[([0-9.]+)\\]" SODIUM_AC_VERSION "${SODIUM_AC_INIT}")
  set(VERSION "${CMAKE_MATCH_1}")
  configure_file("${SODIUM_DIR}/include/sodium/version.h.in" "${CMAKE_BINARY_DIR}/sodium/sodium/version.h" @ONLY)
  set(SODIUM_SOURCES
    crypto_sign/ed25519/ref10/open.c
    crypto_sign/ed25519/ref10/sign.c
    crypto_sign/ed25519/ref10/keypair.c
    crypto_core/ed25519/ref10/ed25519_ref10.c
    crypto_hash/sha512/cp/hash_sha512_cp.c
    crypto_verify/sodium/verify.c
    randombytes/randombytes.c
    randombytes/sysrandom/randombytes_sysrandom.c
    sodium/core.c
    sodium/runtime.c
    sodium/utils.c
    sodium/codecs.c
    # Named by core.c's sodium_init only; the plain C implementations.
    crypto_core/salsa/ref/core_salsa_ref.c
    crypto_generichash/blake2b/ref/blake2b-compress-ref.c
    crypto_generichash/blake2b/ref/blake2b-ref.c
    crypto_generichash/blake2b/ref/generichash_blake2b.c
    crypto_onetimeauth/poly1305/donna/poly1305_donna.c
    crypto_onetimeauth/poly1305/onetimeauth_poly1305.c
    crypto_pwhash/argon2/argon2-core.c
    crypto_pwhash/argon2/argon2-fill-block-ref.c
    crypto_pwhash/argon2/blake2b-long.c
    crypto_scalarmult/curve25519/ref10/x25519_ref10.c
    crypto_scalarmult/curve25519/scalarmult_curve25519.c
    crypto_stream/chacha20/ref/chacha20_ref.c
    crypto_stream/chacha20/stream_chacha20.c
    crypto_stream/salsa20/ref/salsa20_ref.c
    crypto_stream/salsa20/stream_salsa20.c)
  list(TRANSFORM SODIUM_SOURCES PREPEND "${SODIUM_DIR}/")
  add_library(sodium STATIC ${SODIUM_SOURCES})
  target_include_directories(sodium SYSTEM PUBLIC "${SODIUM_DIR}/include" "${CMAKE_BINARY_DIR}/sodium")
  target_include_directories(sodium PRIVATE "${SODIUM_DIR}/include/sodium" "${CMAKE_BINARY_DIR}/sodium/sodium")
  target_compile_definitions(sodium PUBLIC SODIUM_STATIC PRIVATE CONFIGURED=1 NATIVE_LITTLE_ENDIAN=1)
  # Without unwind tables: the PE linker keeps every function an .eh_frame entry
  # names, so they would defeat the dropping of unused sections.
  target_compile_options(sodium PRIVATE -w -ffunction-sections -fdata-sections -fno-asynchronous-unwind-tables
                                        -fno-unwind-tables)
  target_link_options(sodium INTERFACE -Wl,--gc-sections)
else()
  find_path(SODIUM_INCLUDE_DIR sodium.h REQUIRED)
  find_library(SODIUM_LIBRARY sodium REQUIRED)
  add_library(sodium INTERFACE)
  target_include_directories(sodium SYSTEM INTERFACE "${SODIUM_INCLUDE_DIR}")
  target_link_libraries(sodium INTERFACE "${SODIUM_LIBRARY}")
endif()

# libspng for launcher-pack's pictures: the package for the host; for mingw
# its one C file over zlib, compiled from Debian's source package (fetched by
# scripts/setup) as Debian builds it, without the SIMD paths.
if(CMAKE_CROSSCOMPILING)
  set(SPNG_DIR "${LAUNCHER_DEPS}/libspng/spng")
  if(NOT EXISTS "${SPNG_DIR}/spng.c")
    message(FATAL_ERROR "libspng sources missing in ${SPNG_DIR}: run scripts/setup")
  endif()
  add_library(spng STATIC "${SPNG_DIR}/spng.c")
  target_include_directories(spng SYSTEM PUBLIC "${SPNG_DIR}")
  target_compile_definitions(spng PUBLIC SPNG_STATIC PRIVATE SPNG_DISABLE_OPT)
  target_link_libraries(spng PUBLIC ZLIB::ZLIB)
  target_compile_options(spng PRIVATE -w)
else()
  find_path(SPNG_INCLUDE_DIR spng.h REQUIRED)
  find_library(SPNG_LIBRARY spng REQUIRED)
  add_library(spng INTERFACE)
  target_include_directories(spng SYSTEM INTERFACE "${SPNG_INCLUDE_DIR}")
  target_link_libraries(spng INTERFACE "${SPNG_LIBRARY}")
endif()
