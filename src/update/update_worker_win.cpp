#include "update/update_worker_win.h"

#include "package/launcher_config.h"
#include "package/package_images_win.h"
#include "win/process.h"
#include "win/text.h"

namespace {

void ReportToDebugger(std::string_view line) { OutputDebugStringA(std::string(line).c_str()); }

// The thread's procedure. Posts the result (wParam = the state) unless the
// check had no state or ended the process.
DWORD WINAPI RunUpdateCheck(LPVOID parameter) {
  const auto* state = static_cast<const UpdateWorker*>(parameter);
  try {
    SystemUpdateEnvironment system;
    const auto result = ::RunUpdateCheck(state != nullptr ? &state->settings : nullptr, system.Get());
    if (result && *result != UpdateResult::NoWorkerState)
      PostMessageA(state->targetWindow, static_cast<UINT>(*result), reinterpret_cast<WPARAM>(state), 0);
  } catch (...) {
    // Out of memory on this thread: the check is dropped, the launcher goes on.
  }
  return 0;
}

}  // namespace

// Paths are UTF-8 here: no byte of a multibyte character is a backslash.
SystemUpdateEnvironment::SystemUpdateEnvironment()
    : http_(win::ProgramFileTitle()), env_{http_,          files_,          process_, NoLeadBytes, win::Utf8FromGbk,
                                           PictureDecodes, ReportToDebugger} {}

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

WaitingUpdate InstallWaitingUpdateAtStart(const LauncherConfig& config, bool afterUpdate) {
  const auto directory = win::WorkingDirectory();
  if (!directory) return WaitingUpdate::kNone;
  SystemUpdateEnvironment system;
  return InstallWaitingUpdate(UpdateSettingsFrom(config, *directory, afterUpdate), system.Get());
}
