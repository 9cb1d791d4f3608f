# Windows tests, compiled with mingw and run through Wine (the toolchain's
# emulator): unit tests of the window layer and the shell, and end-to-end
# tests that start the packed launcher and drive it from outside.
add_library(wintestkit STATIC support/win_testkit.cpp support/launcher_driver.cpp support/png_writer.cpp)
target_include_directories(wintestkit PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/support)
target_link_libraries(wintestkit PUBLIC testkit launcher_shell GTest::gtest)
target_compile_definitions(wintestkit PRIVATE LAUNCHER_EXE="$<TARGET_FILE:Launcher>")
add_dependencies(wintestkit Launcher)

# Links in tests point at this program to see them opened.
add_executable(mark WIN32 support/mark_main.cpp)

add_executable(win32_tests
  win32/dialog_test.cpp
  win32/package_file_test.cpp
  win32/resources_test.cpp
  win32/package_images_test.cpp
  win32/skin_button_test.cpp
  win32/translucent_dialog_test.cpp
  $<TARGET_OBJECTS:launcher_resources>
)
target_link_libraries(win32_tests PRIVATE wintestkit GTest::gtest_main)
target_compile_definitions(win32_tests PRIVATE LAUNCHER_EXE="$<TARGET_FILE:Launcher>" MARK_EXE="$<TARGET_FILE:mark>")
add_test(NAME win32_tests COMMAND win32_tests)

add_executable(e2e_tests
  e2e/startup_test.cpp
)
target_link_libraries(e2e_tests PRIVATE wintestkit GTest::gtest_main)
add_test(NAME e2e_tests COMMAND e2e_tests)
set_tests_properties(win32_tests e2e_tests PROPERTIES TIMEOUT 600)

# Checked on the build machine, not under Wine: the exe is a 32-bit GUI image
# that imports nothing but the system's own DLLs.
add_test(NAME launcher_image COMMAND ${CMAKE_SOURCE_DIR}/tests/check_image.sh $<TARGET_FILE:Launcher>)
