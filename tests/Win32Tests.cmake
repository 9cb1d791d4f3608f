# Windows tests, compiled with mingw and run through Wine (the toolchain's
# emulator): unit tests of the window layer and the shell, and end-to-end
# tests that start the packed launcher and drive it from outside.

# Each test of a Windows test program is a CTest test of its own, with its
# own time limit: a test that hangs costs that test, not the results of the
# rest of its program. The list is read from the program through Wine when
# the tests run, not when it is built, so that a build needs no Wine and no
# display. Names carry the program's name: the programs share suite names.
#
# The 32-bit build compiles every test program (its compiler checks the
# callbacks' calling conventions) but registers none: the machines here run
# no 32-bit code natively, and the 32-bit product is driven under emulation
# by the 64-bit test programs (scripts/test).
include(GoogleTest)
set(LAUNCHER_WINDOWS_TESTS_RUN ON)
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  set(LAUNCHER_WINDOWS_TESTS_RUN OFF)
endif()
#   add_wine_gtests(target timeout [TEST_FILTER filter] [PROPERTIES name value ...])
function(add_wine_gtests target timeout)
  if(NOT LAUNCHER_WINDOWS_TESTS_RUN)
    return()
  endif()
  cmake_parse_arguments(WINE_TESTS "" "TEST_FILTER" "PROPERTIES" ${ARGN})
  set(filter)
  if(DEFINED WINE_TESTS_TEST_FILTER)
    set(filter TEST_FILTER "${WINE_TESTS_TEST_FILTER}")
  endif()
  gtest_discover_tests(${target}
    TEST_PREFIX "${target}."
    DISCOVERY_MODE PRE_TEST
    DISCOVERY_TIMEOUT 300
    ${filter}
    PROPERTIES TIMEOUT ${timeout} ${WINE_TESTS_PROPERTIES})
endfunction()
add_library(wintestkit STATIC support/win_testkit.cpp support/launcher_driver.cpp
  support/game_skin.cpp support/tray_probe.cpp)
target_include_directories(wintestkit PUBLIC ${CMAKE_CURRENT_SOURCE_DIR}/support)
target_link_libraries(wintestkit PUBLIC testkit launcher_shell GTest::gtest psapi)
target_compile_definitions(wintestkit PRIVATE LAUNCHER_EXE="$<TARGET_FILE:Launcher>")
add_dependencies(wintestkit Launcher)

# Links in tests point at this program to see them opened.
add_executable(mark WIN32 support/mark_main.cpp)

add_executable(win32_tests
  win32/dialog_test.cpp
  win32/browser_host_test.cpp
  win32/browser_ui_controller_test.cpp
  win32/fake_browser_objects.c
  win32/script_page.cpp
  win32/script_bridge_test.cpp
  win32/web_page_test.cpp
  win32/launcher_restart_test.cpp
  win32/package_file_test.cpp
  win32/resources_test.cpp
  win32/update_check_test.cpp
  win32/update_download_test.cpp
  win32/update_process_test.cpp
  win32/update_worker_test.cpp
  win32/package_images_test.cpp
  win32/skin_button_test.cpp
  win32/translucent_dialog_test.cpp
  win32/game_fixture.cpp
  win32/game_window_test.cpp
  win32/game_page_test.cpp
  win32/game_menu_test.cpp
  win32/game_cache_test.cpp
  win32/leak_test.cpp
  win32/wide_text_test.cpp
  win32/shown_text_test.cpp
  win32/login_window_test.cpp
  win32/display_scale_test.cpp
  win32/browser_mode_test.cpp
  $<TARGET_OBJECTS:launcher_resources>
)
target_link_libraries(win32_tests PRIVATE wintestkit GTest::gtest_main)
target_compile_definitions(win32_tests PRIVATE LAUNCHER_EXE="$<TARGET_FILE:Launcher>" MARK_EXE="$<TARGET_FILE:mark>")
add_wine_gtests(win32_tests 120 TEST_FILTER "-UpdateWorkerThread.*:Leaks.*")
# The leak test opens and closes two hundred windows with their browsers: a
# fixed amount of work, which a machine busy with other builds may take
# minutes over (400 s at a load of 16 on two cores). Its limit only stops a
# test that hangs.
add_wine_gtests(win32_tests 900 TEST_FILTER "Leaks.*")
# The worker's test runs the real update check for this very program file,
# and the check stands back while another process runs that file, as
# another copy of the test program does: nothing runs beside it.
add_wine_gtests(win32_tests 120 TEST_FILTER "UpdateWorkerThread.*" PROPERTIES RUN_SERIAL TRUE)

add_executable(e2e_tests
  e2e/startup_test.cpp
  e2e/login_test.cpp
  e2e/update_cycle_test.cpp
  e2e/update_faults_test.cpp
  e2e/update_trust_test.cpp
  e2e/update_folder_test.cpp
  e2e/update_game_test.cpp
  e2e/update_release_test.cpp
  e2e/update_e2e.cpp
  e2e/game_driver.cpp
  e2e/game_window_test.cpp
  e2e/game_tray_test.cpp
  e2e/game_menu_test.cpp
  e2e/game_start_test.cpp
  e2e/shown_text_test.cpp
  e2e/display_scale_test.cpp
)
target_link_libraries(e2e_tests PRIVATE wintestkit GTest::gtest_main)
add_wine_gtests(e2e_tests 300)

# The self-update's tests: a loopback server run by the machine's python3.
add_library(update_testkit STATIC support/update_test_server.cpp support/update_process_tree.cpp
  support/trusted_root.cpp support/debug_output.cpp)
target_link_libraries(update_testkit PUBLIC wintestkit crypt32)
target_compile_definitions(update_testkit PRIVATE
  UPDATE_TEST_SERVER="${CMAKE_CURRENT_SOURCE_DIR}/support/update_test_server.py")
target_link_libraries(win32_tests PRIVATE update_testkit)
target_link_libraries(e2e_tests PRIVATE update_testkit)
# Stands in for a command of the update script to hold the script there.
add_executable(hold support/hold_main.cpp)
target_compile_definitions(e2e_tests PRIVATE HOLD_EXE="$<TARGET_FILE:hold>")
add_dependencies(e2e_tests hold)

# The launcher's own 32-bit build of the signature library (the sources and
# flags of its `sodium` target), with the launcher's verification over it,
# against known answers and what must be refused, as a 32-bit console
# program: the known-answer tests that the native unit tests run against the
# system's library. Only the emulated stage of scripts/test can run it
# (label "emulated"): a prefix with Wine's 32-bit part.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_executable(signature_tests unit/signature_known_answers_test.cpp)
  target_link_libraries(signature_tests PRIVATE launcher_core GTest::gtest_main)
  add_test(NAME signature_tests COMMAND signature_tests)
  set_tests_properties(signature_tests PROPERTIES LABELS emulated TIMEOUT 300)
endif()

# Checked on the build machine, not under Wine: the product is a 32-bit GUI
# image that imports nothing but the system's own DLLs; and the core, built
# for the build machine by the native preset (build that first), reads its
# image end, its package once a skin is appended and the version inside.
if(CMAKE_SIZEOF_VOID_P EQUAL 4)
  add_test(NAME launcher_image COMMAND ${CMAKE_SOURCE_DIR}/tests/check_image.sh $<TARGET_FILE:Launcher>)
  set(LAUNCHER_NATIVE_BUILD "${CMAKE_SOURCE_DIR}/build/native" CACHE PATH
      "The native preset's build tree, whose product_image_tests reads this build's Launcher.exe")
  add_test(NAME product_image COMMAND ${LAUNCHER_NATIVE_BUILD}/tests/product_image_tests)
  set_tests_properties(product_image PROPERTIES ENVIRONMENT "LAUNCHER_PRODUCT=$<TARGET_FILE:Launcher>")
endif()

# The tests that read the launcher's texts back, once more as a Western
# system (code page 1252) in a Wine prefix of their own: the Chinese of the
# configuration must show there as on a Chinese system, and a UTF-8 skin's
# letters on both. The test programs check at their start that they got the
# ANSI and OEM code pages that LAUNCHER_EXPECTED_CODE_PAGES names (936 and
# 936 when it names none).
if(LAUNCHER_WINDOWS_TESTS_RUN)
  set(WESTERN_LOCALE en_US.UTF-8)
  add_test(NAME win32_tests.western_code_page
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run-locale ${WESTERN_LOCALE} $<TARGET_FILE:win32_tests>
      --gtest_filter=ShownText.*:GbkText.*:ScriptBridge.PageCalls*:GameWindowTest.PageCommands*:GameWindowTest.TheLoginPageOfAUtf8Skin*)
  add_test(NAME e2e_tests.western_code_page
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run-locale ${WESTERN_LOCALE} $<TARGET_FILE:e2e_tests>
      --gtest_filter=ShownText.*:Startup.FailuresShowTheirBoxAndEnd)
  set_tests_properties(win32_tests.western_code_page e2e_tests.western_code_page PROPERTIES TIMEOUT 600
    ENVIRONMENT LAUNCHER_EXPECTED_CODE_PAGES=1252,437)

  # The self-update in folders named beyond ASCII, on systems whose ANSI and
  # OEM code pages differ from each other and from GBK: English (1252/437),
  # German (1252/850) and Russian (1251/866), each in a prefix of its own.
  foreach(locale_pages IN ITEMS "en_US.UTF-8=1252,437" "de_DE.UTF-8=1252,850" "ru_RU.UTF-8=1251,866")
    string(REPLACE "=" ";" parts "${locale_pages}")
    list(GET parts 0 locale)
    list(GET parts 1 pages)
    string(REGEX REPLACE "_.*" "" language "${locale}")
    add_test(NAME e2e_tests.update_folders_${language}
      COMMAND ${CMAKE_COMMAND} -E env LAUNCHER_EXPECTED_CODE_PAGES=${pages}
        ${CMAKE_SOURCE_DIR}/scripts/wine-run-locale ${locale} $<TARGET_FILE:e2e_tests>
        --gtest_filter=*UpdateInFolder*)
    set_tests_properties(e2e_tests.update_folders_${language} PROPERTIES TIMEOUT 600)
  endforeach()

  # The windows on a display at 150 % (144 DPI), in a Wine prefix of its own:
  # a skin with dpiScaling=1 takes the scale, with its @2x pictures; the
  # login and game windows' own tests show that a skin without the key keeps
  # exactly its physical pixels there.
  set(SCALED_DPI 144)
  add_test(NAME win32_tests.dpi_${SCALED_DPI}
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run-dpi ${SCALED_DPI} $<TARGET_FILE:win32_tests>
      --gtest_filter=GameWindowTest.AScaling*:GameWindowTest.*WithoutTheKey*)
  add_test(NAME e2e_tests.dpi_${SCALED_DPI}
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run-dpi ${SCALED_DPI} $<TARGET_FILE:e2e_tests>
      --gtest_filter=DisplayScale.*:LoginWindow.PairIsCentredAndCarriesTheLinksAtTheirPlaces:GameWindow.StartsOverTheWholeWorkAreaWithTheRestoreButtonShown:GameWindow.RestoreCentresTheGameSizeAndMaximiseComesBackToTheLastRectangle)
  set_tests_properties(win32_tests.dpi_${SCALED_DPI} e2e_tests.dpi_${SCALED_DPI} PROPERTIES TIMEOUT 600)

  # The translucent login pair's pixels on a display with a compositing
  # manager, in a Wine prefix of its own: each pixel blended by its alpha
  # over the window behind, as players see it (without one, Wine shows a
  # translucent pixel's premultiplied colour, which cannot tell alpha from a
  # darker colour).
  add_test(NAME win32_tests.composited
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run-composited $<TARGET_FILE:win32_tests>
      --gtest_filter=TranslucentDialog.*)
  add_test(NAME e2e_tests.composited
    COMMAND ${CMAKE_SOURCE_DIR}/scripts/wine-run-composited $<TARGET_FILE:e2e_tests>
      --gtest_filter=LoginWindow.TheBackgroundsAlpha*:LoginWindow.FillColour*:DisplayScale.*)
  set_tests_properties(win32_tests.composited e2e_tests.composited PROPERTIES TIMEOUT 600)
endif()
