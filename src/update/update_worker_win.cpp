#include "update/update_worker_win.h"

#include "package/launcher_config.h"
#include "update/file_system_win.h"
#include "update/internet_client_win.h"
#include "update/system_process_win.h"
#include "win/process.h"
#include "win/text.h"

namespace {

// The thread's procedure. Posts the result (wParam = the state) unless the
// check had no state or ended the process.
DWORD WINAPI RunUpdateCheck(LPVOID parameter) {
  const auto* state = static_cast<const UpdateWorker*>(parameter);
  try {
    WinInetClient http(win::ProgramFileTitle());
    Win32FileSystem files;
    SystemProcess process;
    // Paths are UTF-8 here: no byte of a multibyte character is a backslash.
    UpdateEnvironment env{http, files, process, [](unsigned char) { return false; }, win::Utf8FromGbk};
    const auto result = ::RunUpdateCheck(state != nullptr ? &state->settings : nullptr, env);
    if (result && *result != UpdateResult::NoWorkerState)
      PostMessageA(state->targetWindow, static_cast<UINT>(*result), reinterpret_cast<WPARAM>(state), 0);
  } catch (...) {
    // Out of memory on this thread: the check is dropped, the launcher goes on.
  }
  return 0;
}

}  // namespace

std::unique_ptr<UpdateWorker> MakeUpdateWorker(const LauncherConfig& config, HWND targetWindow, bool afterUpdate) {
  const auto directory = win::WorkingDirectory();
  if (!directory) return nullptr;
  auto state = std::make_unique<UpdateWorker>();
  state->settings = UpdateSettingsFrom(config, *directory, afterUpdate);
  state->targetWindow = targetWindow;
  return state;
}

bool StartUpdateWorker(std::unique_ptr<UpdateWorker> state) {
  HANDLE thread = CreateThread(nullptr, 0, RunUpdateCheck, state.get(), 0, nullptr);
  if (thread == nullptr) return false;
  CloseHandle(thread);
  state.release();  // the thread's until the process ends
  return true;
}
