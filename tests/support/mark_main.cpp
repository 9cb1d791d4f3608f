// A program that only leaves a mark: it appends its command line as one line
// to "<its own path>.marks" and ends. Tests point links at it to see them
// opened.
#include <windows.h>

#include "append_line.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int) {
  char path[MAX_PATH + 8] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  lstrcpyA(path + length, ".marks");
  return testkit::AppendLineAlone(path, commandLine, static_cast<DWORD>(lstrlenA(commandLine))) ? 0 : 1;
}
