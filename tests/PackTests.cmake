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
  unit/pack_test_skin.cpp
  unit/pack_json_reader.cpp
  unit/pack_png_codec_test.cpp
  unit/pack_text_encoding_test.cpp
  unit/pack_check_test.cpp
  unit/pack_command_test.cpp
  unit/pack_inspect_test.cpp
  unit/pack_preview_test.cpp
  unit/pack_key_table_test.cpp
  unit/pack_demo_skin_test.cpp
  support/png_writer.cpp
)
target_link_libraries(pack_tests PRIVATE pack_core testkit GTest::gtest GTest::gtest_main)
target_compile_definitions(pack_tests PRIVATE LAUNCHER_SOURCE_DIR="${CMAKE_SOURCE_DIR}" DEMO_SKIN="${DEMO_SKIN}")
add_dependencies(pack_tests demo_skin)
add_test(NAME pack_tests COMMAND pack_tests)
