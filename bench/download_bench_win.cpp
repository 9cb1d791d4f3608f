// The updater's downloader (WinINet, 1023-byte pieces straight to disk)
// fetching one address into a file, timed: download_bench URL FILE.
// Prints the milliseconds; scripts/bench runs it beside curl on the same file.
#include <windows.h>

#include <cstdio>

#include "update/file_system_win.h"
#include "update/internet_client_win.h"
#include "update/url_downloader.h"

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: download_bench URL FILE\n");
    return 2;
  }
  LARGE_INTEGER start, end, frequency;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  WinInetClient http("Launcher");
  Win32FileSystem files;
  UrlDownloader downloader(http, files, argv[1], argv[2]);
  const bool done = downloader.Download();
  QueryPerformanceCounter(&end);
  std::printf("%.1f\n", static_cast<double>(end.QuadPart - start.QuadPart) * 1000.0 / frequency.QuadPart);
  return done ? 0 : 1;
}
