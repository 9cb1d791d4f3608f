# The Windows shell: windows, GDI, COM, WinINet, processes. mingw-w64 only.
add_compile_definitions(WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601 WINVER=0x0601)

add_library(launcher_shell STATIC
  win/window.cpp
  win/dialog.cpp
  win/dpi.cpp
  win/text.cpp
  win/process.cpp
  package/load_outcome_win.cpp
  app/launcher_app.cpp
  package/package_file_win.cpp
  browser/page_call_win.cpp
  game/launcher_restart_win.cpp
  browser/client_call_win.cpp
  browser/event_connection_win.cpp
  browser/web_ui_controller_win.cpp
  browser/control_site_win.cpp
  browser/web_browser_win.cpp
  browser/web_browser_ex_win.cpp
  browser/browser_event_sink_win.cpp
  browser/web_page_win.cpp
  browser/browser_mode_win.cpp
  update/file_system_win.cpp
  update/internet_client_win.cpp
  update/system_process_win.cpp
  update/update_worker_win.cpp
  package/package_images_win.cpp
  package/scaled_images_win.cpp
  skin/skin_button_win.cpp
  skin/layered_window_win.cpp
  skin/translucent_dialog_win.cpp
  login/login_window_win.cpp
  game/frame_pieces_win.cpp
  game/title_bar_win.cpp
  game/popup_menu_win.cpp
  game/game_frame_win.cpp
  game/game_tray_win.cpp
  game/url_cache_win.cpp
  game/game_dialog_win.cpp
)
target_link_libraries(launcher_shell PUBLIC launcher_core
  gdiplus ole32 oleaut32 uuid comctl32 ws2_32 shlwapi wininet user32 gdi32 shell32 advapi32)

# The icon is drawn by a script, not kept as a binary.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(LAUNCHER_ICON "${CMAKE_CURRENT_BINARY_DIR}/launcher.ico")
add_custom_command(OUTPUT "${LAUNCHER_ICON}"
  COMMAND Python3::Interpreter "${CMAKE_SOURCE_DIR}/scripts/make_icon.py" "${LAUNCHER_ICON}"
  DEPENDS "${CMAKE_SOURCE_DIR}/scripts/make_icon.py")
# The manifest asks for the common controls of the program's own
# architecture: a 64-bit program that asks for x86 ones does not start on
# 64-bit Windows (nor under a Wine that has its 32-bit part). The file in the
# sources is the 32-bit product's; the 64-bit build's copy names amd64.
set(LAUNCHER_MANIFEST_SOURCE "${CMAKE_CURRENT_SOURCE_DIR}/app/launcher.manifest")
set(LAUNCHER_MANIFEST "${CMAKE_CURRENT_BINARY_DIR}/launcher.manifest")
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS "${LAUNCHER_MANIFEST_SOURCE}")
file(READ "${LAUNCHER_MANIFEST_SOURCE}" manifest)
string(REGEX MATCHALL "processorArchitecture=\"[^\"]*\"" architectures "${manifest}")
set(others ${architectures})
list(REMOVE_ITEM others "processorArchitecture=\"x86\"")
if(NOT architectures OR others)
  message(FATAL_ERROR "app/launcher.manifest: every processorArchitecture must be \"x86\" (the 64-bit build's copy "
                      "names amd64); found: ${architectures}")
endif()
if(CMAKE_SIZEOF_VOID_P EQUAL 8)
  string(REPLACE "processorArchitecture=\"x86\"" "processorArchitecture=\"amd64\"" manifest "${manifest}")
endif()
file(CONFIGURE OUTPUT "${LAUNCHER_MANIFEST}" CONTENT "${manifest}" @ONLY)

# Resources as an object library: the Windows tests link the same templates.
# The resource compiler finds the icon and the manifest in the build tree.
add_library(launcher_resources OBJECT app/launcher.rc "${LAUNCHER_ICON}")
target_include_directories(launcher_resources PRIVATE "${CMAKE_CURRENT_BINARY_DIR}")
set_source_files_properties(app/launcher.rc PROPERTIES OBJECT_DEPENDS "${LAUNCHER_ICON};${LAUNCHER_MANIFEST}")

add_executable(Launcher WIN32 app/main.cpp app/launcher_mark.cpp $<TARGET_OBJECTS:launcher_resources>)
target_link_libraries(Launcher PRIVATE launcher_shell)
# Static and stripped: an unstripped image keeps its symbol table after the
# last section, exactly where the appended package is looked for.
target_link_options(Launcher PRIVATE -static -s)
