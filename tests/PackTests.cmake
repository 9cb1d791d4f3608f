# launcher-pack's tests: natively, and under Wine for the Windows build of
# the same tool (its text conversion, fonts and paths are the system's). The
# demo skin is drawn into the build tree for them, so that a test keeps it
# complete and clean.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(DEMO_SKIN "${CMAKE_CURRENT_BINARY_DIR}/demo-skin")
file(GLOB_RECURSE DEMO_SKIN_SOURCES CONFIGURE_DEPENDS "${CMAKE_SOURCE_DIR}/demo/skin/*")
add_custom_command(OUTPUT "${DEMO_SKIN}/config/main1.png"
  COMMAND ${CMAKE_COMMAND} -E rm -rf "${DEMO_SKIN}"
  COMMAND Python3::Interpreter "${CMAKE_SOURCE_DIR}/demo/draw_skin.py" "${CMAKE_SOURCE_DIR}/demo/skin" "${DEMO_SKIN}"
  DEPENDS "${CMAKE_SOURCE_DIR}/demo/draw_skin.py" ${DEMO_SKIN_SOURCES})
add_custom_target(demo_skin DEPENDS "${DEMO_SKIN}/config/main1.png")

add_executable(pack_tests
  pack/fixtures/pack_test_skin.cpp
  pack/fixtures/pe_fixture.cpp
  pack/commands/pack_command_test.cpp
  pack/commands/pack_init_test.cpp
  pack/checks/pack_check_test.cpp
  pack/checks/pack_demo_skin_test.cpp
  pack/skins/pack_key_table_test.cpp
  pack/branding/pe_image_test.cpp
  pack/branding/pe_resources_test.cpp
  pack/branding/icon_file_test.cpp
  pack/branding/version_resource_test.cpp
  pack/branding/pack_branding_test.cpp
  pack/signing/pack_update_signing_test.cpp
  pack/previews/pack_preview_test.cpp
  pack/reports/pack_inspect_test.cpp
  pack/reports/pack_json_test.cpp
  pack/formats/pack_png_codec_test.cpp
  pack/formats/pack_text_encoding_test.cpp
  pack/release/release_test.cpp
  pack/formats/pack_archive_test.cpp
  support/png_writer.cpp
)
target_include_directories(pack_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/pack/fixtures)
if(NOT WIN32)
  # verify-server against the update tests' loopback server, run by python3
  # beside the tests; the README's command lines run by the shell against
  # the built tool.
  target_sources(pack_tests PRIVATE pack/fixtures/loopback_server.cpp pack/release/verify_server_test.cpp
    pack/release/readme_examples_test.cpp)
  target_compile_definitions(pack_tests PRIVATE LAUNCHER_PACK_PROGRAM="$<TARGET_FILE:launcher-pack>")
  add_dependencies(pack_tests launcher-pack)
endif()
target_link_libraries(pack_tests PRIVATE pack_core testkit GTest::gtest GTest::gtest_main)
target_compile_definitions(pack_tests PRIVATE LAUNCHER_SOURCE_DIR="${CMAKE_SOURCE_DIR}" DEMO_SKIN="${DEMO_SKIN}")
add_dependencies(pack_tests demo_skin)
if(WIN32)
  add_wine_gtests(pack_tests 120)
else()
  add_test(NAME pack_tests COMMAND pack_tests)
endif()

# The branded launcher under Wine: its icon and version information as the
# system reads them, its start with its skin; and, on the build machine with
# Debian's icoutils, openssl and osslsigncode, the same exe listed, signed,
# verified and started signed.
if(WIN32)
  add_executable(branding_tests e2e/branding_test.cpp e2e/game_driver.cpp)
  target_include_directories(branding_tests PRIVATE ${CMAKE_CURRENT_SOURCE_DIR}/e2e)
  target_link_libraries(branding_tests PRIVATE pack_core wintestkit GTest::gtest_main version imagehlp shell32)
  # SignedLauncher runs inside signed_launcher, on the exe that script signs.
  add_wine_gtests(branding_tests 300 TEST_FILTER "-SignedLauncher.*")
  if(LAUNCHER_WINDOWS_TESTS_RUN)
    add_test(NAME signed_launcher
      COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/pack/branding/signed_launcher_test.sh $<TARGET_FILE:launcher-pack>
        $<TARGET_FILE:Launcher> $<TARGET_FILE:branding_tests> ${DEMO_SKIN} ${CMAKE_SOURCE_DIR}/scripts/wine-run)
    set_tests_properties(signed_launcher PROPERTIES TIMEOUT 600)
  endif()
endif()
