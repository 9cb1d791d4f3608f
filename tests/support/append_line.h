// Appends a line to a file that programs started together all append to:
// each opens the file alone (others may read it, none may write it), so that
// no two find the same end and write their lines over each other; one that
// finds the file open waits its turn. The line goes in one write, so that a
// reader never sees half of it.
#pragma once

#include <windows.h>

namespace testkit {

inline bool AppendLineAlone(const char* path, const char* text, DWORD size) {
  HANDLE file = INVALID_HANDLE_VALUE;
  for (int tries = 0; tries < 1000; ++tries) {
    file = CreateFileA(path, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS, 0, nullptr);
    if (file != INVALID_HANDLE_VALUE || GetLastError() != ERROR_SHARING_VIOLATION) break;
    Sleep(5);
  }
  if (file == INVALID_HANDLE_VALUE) return false;
  char line[4096];
  if (size > sizeof line - 1) size = sizeof line - 1;
  CopyMemory(line, text, size);
  line[size++] = '\n';
  DWORD written = 0;
  const BOOL ok = WriteFile(file, line, size, &written, nullptr);
  CloseHandle(file);
  return ok && written == size;
}

}  // namespace testkit
