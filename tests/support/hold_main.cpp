// A program that holds whatever runs it: started, it writes "<its own
// path>.held" and waits until "<its own path>.go" exists, then ends with 0.
// Copied under the name of a command that a script runs, it stops the script
// at that line for as long as a test needs, however slow the machine. When
// "<its own path>.real" exists, it first runs the system's own command of
// its name with the same arguments and waits for it, so that the line has
// done its work when it holds. It gives up after two minutes, so that a test
// that dies cannot leave it. Before it holds, it writes "<its own
// path>.given" with what it was given: its arguments, whether its console
// (the interpreter's) shows, and its priority class, one per line.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

bool Exists(const std::wstring& path) { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// Everything on the command line after the program's own name.
std::wstring Arguments() {
  const wchar_t* line = GetCommandLineW();
  const bool quoted = *line == L'"';
  if (quoted) ++line;
  while (*line != L'\0' && (quoted ? *line != L'"' : *line != L' ')) ++line;
  if (quoted && *line == L'"') ++line;
  return line;
}

void RunTheRealCommand(const std::wstring& ownPath) {
  wchar_t system[MAX_PATH] = {};
  const UINT length = GetSystemDirectoryW(system, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  const std::wstring name = ownPath.substr(ownPath.rfind(L'\\') + 1);
  std::wstring command = L"\"" + std::wstring(system, length) + L"\\" + name + L"\"" + Arguments();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
    return;
  WaitForSingleObject(process.hProcess, 60000);
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
}

}  // namespace

int main() {
  wchar_t path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  const std::wstring own(path, length);
  if (Exists(own + L".real")) RunTheRealCommand(own);
  HANDLE given = CreateFileW((own + L".given").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                             CREATE_ALWAYS, 0, nullptr);
  if (given != INVALID_HANDLE_VALUE) {
    const HWND console = GetConsoleWindow();
    char text[1024] = {};
    const int length = std::snprintf(text, sizeof text, "arguments=%ls\r\nconsoleShown=%d\r\npriorityClass=%lu\r\n",
                                     Arguments().c_str(), console != nullptr && IsWindowVisible(console) ? 1 : 0,
                                     GetPriorityClass(GetCurrentProcess()));
    DWORD written = 0;
    WriteFile(given, text, static_cast<DWORD>(length > 0 ? length : 0), &written, nullptr);
    CloseHandle(given);
  }
  HANDLE file = CreateFileW((own + L".held").c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  const DWORD start = GetTickCount();
  while (!Exists(own + L".go") && GetTickCount() - start < 120000) Sleep(20);
  return 0;
}
