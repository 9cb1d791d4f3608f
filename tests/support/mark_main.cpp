// A program that only leaves a mark: it appends one line to "<its own
// path>.marks" and ends. Tests point links at it to see them opened.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  char path[MAX_PATH + 8] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  lstrcpyA(path + length, ".marks");
  HANDLE file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  WriteFile(file, commandLine, lstrlenA(commandLine), &written, nullptr);
  WriteFile(file, "\n", 1, &written, nullptr);
  CloseHandle(file);
  return 0;
}
