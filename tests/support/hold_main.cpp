// A program that holds whatever runs it: started, it writes "<its own
// path>.held" and waits until "<its own path>.go" exists, then ends with 0.
// Copied under the name of a command that a script runs, it stops the script
// at that line for as long as a test needs, however slow the machine. It
// gives up after two minutes, so that a test that dies cannot leave it.
#include <windows.h>

namespace {

bool Exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

}  // namespace

int main() {
  char path[MAX_PATH + 8] = {};
  const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return 1;
  char held[MAX_PATH + 8];
  char go[MAX_PATH + 8];
  lstrcpyA(held, path);
  lstrcpyA(held + length, ".held");
  lstrcpyA(go, path);
  lstrcpyA(go + length, ".go");
  HANDLE file =
      CreateFileA(held, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file != INVALID_HANDLE_VALUE) CloseHandle(file);
  const DWORD start = GetTickCount();
  while (!Exists(go) && GetTickCount() - start < 120000) Sleep(20);
  return 0;
}
