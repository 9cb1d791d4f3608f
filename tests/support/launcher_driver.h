// Drives a packed launcher from outside, as a user would: the built
// Launcher.exe with a package appended is copied into a fresh directory and
// started there; the test then finds its windows and message boxes through
// the window system, reads them, presses their buttons and waits for the end.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "win_testkit.h"

namespace testkit {

// The built Launcher.exe, bare, or the build that LAUNCHER_UNDER_TEST names.
const Bytes& LauncherExe();

// A message box of the launcher (class "#32770" with a text in control 0xFFFF).
struct MessageBoxView {
  HWND hwnd = nullptr;
  std::string caption;
  std::string text;
  std::wstring wideCaption;  // the same as the box holds them
  std::wstring wideText;
  HWND owner = nullptr;
  std::vector<int> buttons;  // identifiers: 1 OK, 2 Cancel, ...
  int defaultButton = 0;     // the one drawn as the default push button
  bool topmost = false;      // system-modal boxes stay above every window
  // Posts the button's command, as a click would.
  bool Press(int id) const;
};
std::optional<MessageBoxView> ReadMessageBox(HWND hwnd);

// Whether `box` is one of the launcher's questions: `text` under `caption`,
// owned by `owner`, OK and Cancel with Cancel the default, system-modal.
testing::AssertionResult IsQuestion(const MessageBoxView& box, const std::string& text, const std::string& caption,
                                    HWND owner);

// Waits until the thread of the push button `marker` has handled every
// message posted to it so far: posted messages are handled in order, so a
// pushed state posted to the button after them shows once they are done.
// The button is left released. False when that does not come in 10 s.
bool HandledWhatWasPosted(HWND marker);

struct LaunchOptions {
  Bytes program{};  // the program to pack and start; empty: the built Launcher.exe
  std::string exeName = "Launcher.exe";
  bool separateWorkDir = false;  // start in another directory than the program's
  // Files put in the program's and in the working directory before the start.
  std::vector<std::pair<std::string, Bytes>> programDirFiles{};
  std::vector<std::pair<std::string, Bytes>> workDirFiles{};
  std::vector<std::string> programDirFolders{};  // empty directories beside the program
  bool programReadOnly = false;  // the program file carries the read-only attribute
};

class LauncherProcess {
 public:
  // Starts Launcher.exe + `package` (nothing appended when empty).
  explicit LauncherProcess(const Bytes& package, LaunchOptions options = {});
  ~LauncherProcess();
  LauncherProcess(const LauncherProcess&) = delete;
  LauncherProcess& operator=(const LauncherProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  // Ends the process at once, as the task manager would.
  void Kill();
  // Starts the program file now in the program directory again, in the same
  // working directory, once the previous process has ended.
  bool StartAgain();
  const TempDir& ProgramDir() const { return programDir_; }
  const TempDir& WorkDir() const { return workDir_ ? *workDir_ : programDir_; }
  DWORD Id() const { return processId_; }

  // Top-level windows of the process, visible ones only unless asked.
  std::vector<HWND> Windows(bool visibleOnly = true) const;
  HWND WaitForWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs = 30000);
  // Waits until the launcher's window thread serves messages again and has
  // no input pending: a page being set up can keep it busy for seconds.
  // Tests act on the launcher only once it is idle, as a user's clicks wait
  // for a busy window.
  bool WaitUntilIdle(HWND window, DWORD timeoutMs = 30000);
  std::optional<MessageBoxView> WaitForMessageBox(DWORD timeoutMs = 30000);
  // The exit status, or nothing when the process still runs after the time.
  std::optional<DWORD> WaitForExit(DWORD timeoutMs = 30000);
  // The process's windows and state, for failure messages.
  std::string Describe() const;
  // Whether any visible window of the process was seen while waiting.
  bool SawWindow() const { return sawWindow_; }

 private:
  bool Start();

  std::string exeName_;
  TempDir programDir_;
  std::unique_ptr<TempDir> workDir_;
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  bool sawWindow_ = false;
};

}  // namespace testkit
