#include "launcher_driver.h"

#include <algorithm>
#include <cstdlib>

namespace testkit {

const Bytes& LauncherExe() {
  // LAUNCHER_UNDER_TEST names another build to drive: scripts/test runs the
  // end-to-end tests once more against the 32-bit product.
  static const Bytes exe = [] {
    const char* chosen = std::getenv("LAUNCHER_UNDER_TEST");
    const std::string path = chosen != nullptr && *chosen != '\0' ? chosen : LAUNCHER_EXE;
    Bytes bytes = ReadFileBytes(WinePath(path));
    if (bytes.empty()) ADD_FAILURE() << "the launcher under test cannot be read: " << path;
    return bytes;
  }();
  return exe;
}

bool MessageBoxView::Press(int id) const {
  return PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(hwnd, id)));
}

std::optional<MessageBoxView> ReadMessageBox(HWND hwnd) {
  if (ClassName(hwnd) != "#32770") return std::nullopt;
  HWND textControl = GetDlgItem(hwnd, 0xFFFF);
  if (textControl == nullptr) return std::nullopt;
  MessageBoxView box;
  box.hwnd = hwnd;
  box.wideCaption = WideWindowText(hwnd);
  box.wideText = WideWindowText(textControl);
  box.caption = WindowText(hwnd);
  box.text = WindowText(textControl);
  box.owner = GetWindow(hwnd, GW_OWNER);
  for (HWND child = GetWindow(hwnd, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
    if (ClassName(child) != "Button" || !IsWindowVisible(child)) continue;
    box.buttons.push_back(GetDlgCtrlID(child));
    if ((GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK) == BS_DEFPUSHBUTTON) box.defaultButton = GetDlgCtrlID(child);
  }
  box.topmost = (GetWindowLongA(hwnd, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
  return box;
}

testing::AssertionResult IsQuestion(const MessageBoxView& box, const std::string& text, const std::string& caption,
                                    HWND owner) {
  const std::vector<int> okCancel{IDOK, IDCANCEL};
  auto failure = testing::AssertionFailure();
  bool failed = false;
  const auto check = [&](bool holds, const std::string& what) {
    if (!holds) failure << (failed ? "; " : "") << what;
    failed = failed || !holds;
  };
  check(box.text == text, "the text is \"" + box.text + "\", not \"" + text + "\"");
  check(box.caption == caption, "the caption is \"" + box.caption + "\", not \"" + caption + "\"");
  check(box.owner == owner, "another owner");
  check(box.buttons == okCancel, "not the buttons OK and Cancel");
  check(box.defaultButton == IDCANCEL, "the default button is " + std::to_string(box.defaultButton) + ", not Cancel");
  check(box.topmost, "not system-modal (not topmost)");
  return failed ? failure : testing::AssertionSuccess();
}

namespace {

bool Pushed(HWND button) {
  DWORD_PTR state = 0;
  SendMessageTimeoutA(button, BM_GETSTATE, 0, 0, SMTO_NORMAL, 5000, &state);
  return (state & BST_PUSHED) != 0;
}

}  // namespace

bool HandledWhatWasPosted(HWND marker) {
  PostMessageA(marker, BM_SETSTATE, TRUE, 0);
  const bool done = PumpUntil([&] { return Pushed(marker); }, 10000);
  PostMessageA(marker, BM_SETSTATE, FALSE, 0);
  return done && PumpUntil([&] { return !Pushed(marker); }, 10000);
}

LauncherProcess::LauncherProcess(const Bytes& package, LaunchOptions options) {
  Bytes exe = options.program.empty() ? LauncherExe() : options.program;
  exe.insert(exe.end(), package.begin(), package.end());
  if (!programDir_.Write(options.exeName, exe)) return;
  if (options.programReadOnly &&
      !SetFileAttributesA(programDir_.File(options.exeName).c_str(), FILE_ATTRIBUTE_READONLY))
    return;
  if (options.separateWorkDir) workDir_ = std::make_unique<TempDir>();
  for (const auto& [name, content] : options.programDirFiles) programDir_.Write(name, content);
  for (const std::string& name : options.programDirFolders) CreateDirectoryA(programDir_.File(name).c_str(), nullptr);
  for (const auto& [name, content] : options.workDirFiles) WorkDir().Write(name, content);
  exeName_ = options.exeName;
  Start();
}

bool LauncherProcess::Start() {
  // Every launcher starts with the pointer away from its windows: a pointer
  // left over a button by the previous test would show that button hovered.
  SetCursorPos(GetSystemMetrics(SM_CXSCREEN) - 1, GetSystemMetrics(SM_CYSCREEN) - 1);
  const std::string path = programDir_.File(exeName_);
  std::string commandLine = "\"" + path + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info{};
  // Without the test's console, as the shell starts it: the update script's
  // interpreter then gets a console of its own, as on a player's machine,
  // and whether that shows is the launcher's doing.
  if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS, nullptr,
                      WorkDir().Path().c_str(), &startup, &info))
    return false;
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
  return true;
}

void LauncherProcess::Kill() {
  if (process_ == nullptr) return;
  EndProcess(process_);
  WaitForSingleObject(process_, 5000);
}

bool LauncherProcess::StartAgain() {
  if (process_ != nullptr) {
    if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) return false;
    CloseHandle(process_);
    process_ = nullptr;
  }
  sawWindow_ = false;
  return Start();
}

LauncherProcess::~LauncherProcess() {
  if (process_ == nullptr) return;
  if (WaitForSingleObject(process_, 0) == WAIT_TIMEOUT) {
    EndProcess(process_);
    WaitForSingleObject(process_, 5000);
  }
  CloseHandle(process_);
}

namespace {

struct WindowSearch {
  DWORD processId;
  bool visibleOnly;
  std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD owner = 0;
  GetWindowThreadProcessId(hwnd, &owner);
  if (owner == search->processId && (!search->visibleOnly || IsWindowVisible(hwnd))) search->found.push_back(hwnd);
  return TRUE;
}

}  // namespace

std::vector<HWND> LauncherProcess::Windows(bool visibleOnly) const {
  WindowSearch search{processId_, visibleOnly, {}};
  EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND LauncherProcess::WaitForWindow(const std::function<bool(HWND)>& match, DWORD timeoutMs) {
  HWND found = nullptr;
  PumpUntil(
      [&] {
        const auto windows = Windows();
        sawWindow_ = sawWindow_ || !windows.empty();
        for (HWND hwnd : windows)
          if (match(hwnd)) found = hwnd;
        return found != nullptr || WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
      },
      timeoutMs);
  return found;
}

bool LauncherProcess::WaitUntilIdle(HWND window, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  DWORD_PTR ignored = 0;
  while (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 1000, &ignored)) {
    if (!IsWindow(window) || GetTickCount() - start > timeoutMs) return false;
  }
  const DWORD left = timeoutMs - std::min<DWORD>(timeoutMs, GetTickCount() - start);
  return process_ != nullptr && WaitForInputIdle(process_, left) == 0;
}

std::optional<MessageBoxView> LauncherProcess::WaitForMessageBox(DWORD timeoutMs) {
  HWND box = WaitForWindow([](HWND hwnd) { return ReadMessageBox(hwnd).has_value(); }, timeoutMs);
  return box != nullptr ? ReadMessageBox(box) : std::nullopt;
}

std::string LauncherProcess::Describe() const {
  std::string text = "launcher ";
  DWORD code = 0;
  if (process_ == nullptr)
    text += "never started";
  else if (WaitForSingleObject(process_, 0) == WAIT_OBJECT_0 && GetExitCodeProcess(process_, &code))
    text += "ended with " + std::to_string(code);
  else
    text += "running";
  for (HWND hwnd : Windows(false)) {
    char line[512];
    RECT r{};
    GetWindowRect(hwnd, &r);
    snprintf(line, sizeof line, "\n  %p %s \"%s\" owner %p %s (%ld,%ld)-(%ld,%ld)", static_cast<void*>(hwnd),
             ClassName(hwnd).c_str(), WindowText(hwnd).c_str(), static_cast<void*>(GetWindow(hwnd, GW_OWNER)),
             IsWindowVisible(hwnd) ? "visible" : "hidden", r.left, r.top, r.right, r.bottom);
    text += line;
  }
  return text;
}

std::optional<DWORD> LauncherProcess::WaitForExit(DWORD timeoutMs) {
  if (process_ == nullptr) return std::nullopt;
  const bool ended = PumpUntil(
      [&] {
        sawWindow_ = sawWindow_ || !Windows().empty();
        return WaitForSingleObject(process_, 0) == WAIT_OBJECT_0;
      },
      timeoutMs);
  if (!ended) return std::nullopt;
  DWORD code = 0;
  GetExitCodeProcess(process_, &code);
  return code;
}

}  // namespace testkit
