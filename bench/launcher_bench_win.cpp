// Figures of the packed launcher under the platform (run through Wine here):
// time from process creation to its login window on screen, and to its game
// window when firstUrl skips the login, each against a minimal one-dialog
// program started the same way; memory and GDI and USER objects with each
// window shown; CPU used while it sits idle. Prints medians with minimum and
// maximum; asserts nothing.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "game_skin.h"
#include "launcher_driver.h"
#include "png_writer.h"

namespace {

std::string Png(int width, int height, std::uint32_t argb) {
  const testkit::Bytes png = testkit::RgbaPng(width, height, [argb](int, int) { return argb; });
  return std::string(png.begin(), png.end());
}

// A login skin of the usual shape: a 600 x 400 background, three buttons and
// one login area whose page is about:blank.
testkit::Bytes LoginSkin() {
  const std::string config =
      "[global]\r\ntitle=Bench\r\ngameheader=bench://|\r\nserver=127.0.0.1\r\nport=9\r\nversionUrl=/v.txt\r\n"
      "linkCount=4\r\n[link1]\r\ntype=3\r\nx=550\r\ny=10\r\n[link2]\r\ntype=2\r\nx=500\r\ny=10\r\n"
      "[link3]\r\ntype=1\r\nx=20\r\ny=350\r\nurl=about:blank\r\n"
      "[link4]\r\ntype=4\r\nx=50\r\ny=60\r\nwidth=500\r\nheight=280\r\nurl=about:blank\r\n";
  testkit::ZipBuilder zip;
  zip.Add("config/cg.txt", config).Add("config/main1.png", Png(600, 400, 0xFF336699));
  for (int n = 1; n <= 3; ++n) {
    zip.Add("config/" + std::to_string(n) + "_n.png", Png(40, 20, 0xFFFF0000));
    zip.Add("config/" + std::to_string(n) + "_d.png", Png(40, 20, 0xFF0000FF));
  }
  return zip.Build();
}

struct Stats {
  double median, min, max;
};

Stats Summarise(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return {values[values.size() / 2], values.front(), values.back()};
}

double Now() {
  LARGE_INTEGER counter, frequency;
  QueryPerformanceCounter(&counter);
  QueryPerformanceFrequency(&frequency);
  return static_cast<double>(counter.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
}

// Milliseconds from the start of `program` to `visibleWindows` visible
// top-level windows of it; the process then ends.
double TimeToWindows(const testkit::Bytes& program, const testkit::Bytes& package, std::size_t visibleWindows) {
  testkit::LaunchOptions options;
  options.program = program;
  const double start = Now();
  testkit::LauncherProcess process(package, options);
  double shown = -1;
  testkit::PumpUntil(
      [&] {
        if (process.Windows().size() < visibleWindows) return false;
        shown = Now() - start;
        return true;
      },
      60000);
  return shown;
}

void PrintStats(const char* label, const Stats& s, const char* unit) {
  std::printf("%-44s median %9.1f %s   min %9.1f   max %9.1f\n", label, s.median, unit, s.min, s.max);
}

// Memory and objects with the window titled `title` shown, then CPU used in
// 10 s of sitting idle.
void MeasureShown(const testkit::Bytes& package, const char* title, const char* what) {
  testkit::LauncherProcess launcher(package);
  HWND window = launcher.WaitForWindow([title](HWND w) { return testkit::WindowText(w) == title; });
  launcher.WaitUntilIdle(window);
  Sleep(500);
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, launcher.Id());
  PROCESS_MEMORY_COUNTERS_EX memory{};
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory), sizeof memory);
  // Figures the platform does not keep read as 0; they are said so.
  auto figure = [](double value, const char* format) {
    char text[32];
    if (value == 0) return std::string("not reported");
    std::snprintf(text, sizeof text, format, value);
    return std::string(text);
  };
  std::printf("%s window shown: private bytes %s, working set %s, GDI objects %s, USER objects %s\n", what,
              figure(testkit::PrivateBytes(process) / 1048576.0, "%.1f MB").c_str(),
              figure(memory.WorkingSetSize / 1048576.0, "%.1f MB").c_str(),
              figure(GetGuiResources(process, GR_GDIOBJECTS), "%.0f").c_str(),
              figure(GetGuiResources(process, GR_USEROBJECTS), "%.0f").c_str());
  FILETIME created, exited, kernelBefore, userBefore, kernelAfter, userAfter;
  GetProcessTimes(process, &created, &exited, &kernelBefore, &userBefore);
  Sleep(10000);
  GetProcessTimes(process, &created, &exited, &kernelAfter, &userAfter);
  auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  const double idleMs =
      (ticks(kernelAfter) - ticks(kernelBefore) + ticks(userAfter) - ticks(userBefore)) / 10000.0;
  std::printf("Idle with the %s window shown: %.1f ms of CPU in 10 s\n", what, idleMs);
  CloseHandle(process);
}

}  // namespace

int main() {
  constexpr int kRuns = 7;
  const testkit::Bytes login = LoginSkin();
  testkit::GameSkinOptions firstUrl;
  firstUrl.extraGlobal = "title=Bench Game\r\n";
  const testkit::Bytes game = testkit::GameSkin(firstUrl);
  const testkit::Bytes minimal = testkit::ReadFileBytes(testkit::WinePath(MIN_DIALOG_EXE));
  // Includes the copy of the program into its directory, for all alike.
  std::vector<double> loginTimes, gameTimes, minimalTimes, loginRatios, gameRatios;
  for (int run = 0; run < kRuns; ++run) {
    const double toLogin = TimeToWindows(testkit::LauncherExe(), login, 2);
    const double toGame = TimeToWindows(testkit::LauncherExe(), game, 1);
    const double yardstick = TimeToWindows(minimal, {}, 1);
    loginTimes.push_back(toLogin);
    gameTimes.push_back(toGame);
    minimalTimes.push_back(yardstick);
    loginRatios.push_back(toLogin / yardstick);
    gameRatios.push_back(toGame / yardstick);
  }
  std::printf("Start-up, %d runs side by side (process creation to windows on screen)\n", kRuns);
  PrintStats("  launcher: login pair shown", Summarise(loginTimes), "ms");
  PrintStats("  launcher: game window shown (firstUrl)", Summarise(gameTimes), "ms");
  PrintStats("  minimal one-dialog program", Summarise(minimalTimes), "ms");
  PrintStats("  ratio login / minimal", Summarise(loginRatios), "x ");
  PrintStats("  ratio game / minimal", Summarise(gameRatios), "x ");

  MeasureShown(login, "Bench", "Login");
  MeasureShown(game, "Bench Game", "Game");
  return 0;
}
