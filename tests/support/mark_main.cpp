// A program that only leaves a mark: it appends one line to "<its own
// path>.marks" and ends. Tests point links at it to see them opened.
#include <windows.h>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  char path[MAX_PATH + 8] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  lstrcpyA(path + length, ".marks");
  // One writer at a time: programs started together would otherwise both
  // find the same end of the file and write their lines over each other.
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int tries = 0; tries < 1000; ++tries) {
    file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
    Sleep(5);
  }
  if (file == INVALID_HANDLE_VALUE) return 1;
  // The line in one write, so that no reader sees half of it.
  char line[4096];
  DWORD size = static_cast<DWORD>(lstrlenA(commandLine));
  if (size > sizeof line - 1) size = sizeof line - 1;
  CopyMemory(line, commandLine, size);
  line[size++] = '\n';
  DWORD written = 0;
  WriteFile(file, line, size, &written, nullptr);
  CloseHandle(file);
  return 0;
}
