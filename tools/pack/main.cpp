// launcher-pack's entry point: the arguments as UTF-8, the report on the
// standard streams.
#include <iostream>
#include <string>
#include <vector>

#include "commands/launcher_pack.h"

#ifdef _WIN32
#include <windows.h>
// after windows.h, which it needs
#include <shellapi.h>

namespace {

// The command line as the system has it, wide, so that paths in any script
// survive; the tool works in UTF-8.
std::vector<std::string> Arguments() {
  std::vector<std::string> args;
  int count = 0;
  LPWSTR* wide = CommandLineToArgvW(GetCommandLineW(), &count);
  for (int i = 1; wide != nullptr && i < count; ++i) {
    const int size = WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, nullptr, 0, nullptr, nullptr);
    std::string arg(static_cast<std::size_t>(size > 0 ? size - 1 : 0), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide[i], -1, arg.data(), size, nullptr, nullptr);
    args.push_back(std::move(arg));
  }
  LocalFree(wide);
  return args;
}

}  // namespace

int main() {
  SetConsoleOutputCP(CP_UTF8);
  const std::vector<std::string> args = Arguments();
  return RunLauncherPack(args, std::cout, std::cerr);
}
#else
int main(int argc, char** argv) {
  const std::vector<std::string> args(argv + 1, argv + argc);
  return RunLauncherPack(args, std::cout, std::cerr);
}
#endif
