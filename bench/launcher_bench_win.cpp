// Figures of the packed launcher under the platform (run through Wine here),
// as a player sees them: the time from the creation of the process to the
// first frame of each window on the screen (its known pixels read back from
// the screen, not only its window state), and separately to its browser
// control, each beside a minimal one-dialog program started the same way
// and beside that program after the platform work the launcher's start-up
// must do before its first window (what part of the launcher's time is
// that work's);
// the self-update from v1's start to v2's login pair on the screen, served
// from loopback, beside two starts of that program; memory and GDI and USER
// objects with each window shown; CPU used while it sits idle. Prints
// medians with minimum and maximum; asserts nothing.
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "game_skin.h"
#include "launcher_driver.h"
#include "png_writer.h"
#include "update_process_tree.h"
#include "update_test_server.h"

namespace {

// The login skin's shape: a 600 x 400 background, close and minimise
// buttons top right, an address button bottom left, one login area whose
// page is about:blank and whose place is filled until it shows.
constexpr int kLoginWidth = 600, kLoginHeight = 400;
constexpr COLORREF kButtonRed = RGB(255, 0, 0), kFill = RGB(255, 204, 0);
constexpr POINT kBackgroundSpot{580, 385}, kCloseSpot{570, 20}, kAreaSpot{300, 200};

std::string Png(int width, int height, std::uint32_t argb) {
  const testkit::Bytes png = testkit::RgbaPng(width, height, [argb](int, int) { return argb; });
  return std::string(png.begin(), png.end());
}

std::uint32_t Argb(COLORREF c) { return 0xFF000000u | (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c); }

constexpr COLORREF kLoginColour = RGB(0x33, 0x66, 0x99);

testkit::Bytes LoginBackground(COLORREF background = kLoginColour) {
  return testkit::RgbaPng(kLoginWidth, kLoginHeight, [c = Argb(background)](int, int) { return c; });
}

testkit::Bytes LoginSkin(COLORREF background, const std::string& extraGlobal = "server=127.0.0.1\r\nport=9\r\n") {
  const std::string config =
      "[global]\r\ntitle=Bench\r\ngameheader=bench://|\r\nversionUrl=/static/version.txt\r\n"
      "exeUrl=/static/Launcher_new.exe\r\nloginCenterColor=" +
      std::to_string(kFill) + "\r\n" + extraGlobal +
      "linkCount=4\r\n[link1]\r\ntype=3\r\nx=550\r\ny=10\r\n[link2]\r\ntype=2\r\nx=500\r\ny=10\r\n"
      "[link3]\r\ntype=1\r\nx=20\r\ny=350\r\nurl=about:blank\r\n"
      "[link4]\r\ntype=4\r\nx=50\r\ny=60\r\nwidth=500\r\nheight=280\r\nurl=about:blank\r\n";
  testkit::ZipBuilder zip;
  const testkit::Bytes picture = LoginBackground(background);
  zip.Add("config/cg.txt", config).Add("config/main1.png", std::string(picture.begin(), picture.end()));
  for (int n = 1; n <= 3; ++n) {
    zip.Add("config/" + std::to_string(n) + "_n.png", Png(40, 20, Argb(kButtonRed)));
    zip.Add("config/" + std::to_string(n) + "_d.png", Png(40, 20, 0xFF0000FF));
  }
  return zip.Build();
}

RECT WorkArea() {
  RECT work{};
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
  return work;
}

// Where the login pair's picture stands: centred as its captioned template
// would be, caption and frame included.
POINT LoginOrigin() {
  const RECT work = WorkArea();
  RECT captioned{0, 0, kLoginWidth, kLoginHeight};
  AdjustWindowRect(&captioned, WS_CAPTION | WS_SYSMENU, FALSE);
  return {work.left + ((work.right - work.left) - (captioned.right - captioned.left)) / 2,
          work.top + ((work.bottom - work.top) - (captioned.bottom - captioned.top)) / 2};
}

// The screen as X shows it.
class Screen {
 public:
  Screen() : dc_(GetDC(nullptr)) {}
  ~Screen() { ReleaseDC(nullptr, dc_); }
  Screen(const Screen&) = delete;
  Screen& operator=(const Screen&) = delete;
  bool Shows(POINT at, COLORREF colour) const { return GetPixel(dc_, at.x, at.y) == colour; }

 private:
  HDC dc_;
};

bool LoginFrameShown(const Screen& screen, COLORREF background) {
  const POINT o = LoginOrigin();
  auto at = [o](POINT p) { return POINT{o.x + p.x, o.y + p.y}; };
  return screen.Shows(at(kBackgroundSpot), background) && screen.Shows(at(kCloseSpot), kButtonRed) &&
         screen.Shows(at(kAreaSpot), kFill);
}

// The game window fills the work area: its top edge piece across the top,
// the logo at the left and the first title-bar button at the right.
bool GameFrameShown(const Screen& screen) {
  const RECT work = WorkArea();
  return screen.Shows({work.left + 300, work.top + 2}, testkit::kPieceColours[1]) &&
         screen.Shows({work.left + testkit::kLogoX + testkit::kLogoWidth / 2, work.top + testkit::kLogoY + 10},
                      testkit::kLogoColour) &&
         screen.Shows({work.right + testkit::kSkinButtons[0].x + testkit::kButtonWidth / 2,
                       work.top + testkit::kButtonY + testkit::kButtonHeight / 2},
                      testkit::kButtonFaces[0]);
}

// The browser control exists: the host window `id` of one of the process's
// windows holds the control's own window.
bool BrowserMade(const testkit::LauncherProcess& process, int id) {
  for (HWND window : process.Windows())
    if (HWND host = GetDlgItem(window, id); host != nullptr && GetWindow(host, GW_CHILD) != nullptr) return true;
  return false;
}

// The one-dialog program's client area in the dialog colour.
bool DialogFrameShown(const Screen& screen, const testkit::LauncherProcess& process) {
  for (HWND window : process.Windows()) {
    RECT client{};
    GetClientRect(window, &client);
    POINT centre{client.right / 2, client.bottom / 2};
    ClientToScreen(window, &centre);
    if (client.right > 0 && screen.Shows(centre, GetSysColor(COLOR_BTNFACE))) return true;
  }
  return false;
}

ULONGLONG Ticks(const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; }

// Milliseconds since the process was created.
class SinceCreation {
 public:
  explicit SinceCreation(DWORD processId)
      : process_(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, processId)) {
    FILETIME exited, kernel, user;
    if (process_ != nullptr) GetProcessTimes(process_, &created_, &exited, &kernel, &user);
  }
  ~SinceCreation() {
    if (process_ != nullptr) CloseHandle(process_);
  }
  SinceCreation(const SinceCreation&) = delete;
  SinceCreation& operator=(const SinceCreation&) = delete;

  double Now() const {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return static_cast<double>(Ticks(now) - Ticks(created_)) / 10000.0;
  }
  bool Ended() const { return process_ != nullptr && WaitForSingleObject(process_, 0) == WAIT_OBJECT_0; }

 private:
  HANDLE process_;
  FILETIME created_{};
};

// Looks at every `milestones` until each has been reached or `timeoutMs`
// has passed; each one's time since the creation of `clock`'s process, or
// nothing. The screen is read every few milliseconds, leaving the two
// cores to the program being measured.
std::vector<std::optional<double>> Watch(const SinceCreation& clock,
                                         const std::vector<std::function<bool()>>& milestones,
                                         DWORD timeoutMs = 60000) {
  std::vector<std::optional<double>> reached(milestones.size());
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < timeoutMs) {
    bool all = true;
    for (std::size_t i = 0; i < milestones.size(); ++i) {
      if (!reached[i] && milestones[i]()) reached[i] = clock.Now();
      all = all && reached[i].has_value();
    }
    if (all) break;
    Sleep(2);
  }
  return reached;
}

struct Series {
  const char* label;
  std::vector<double> values{};
  const char* unit = "ms";
};

void Print(const Series& s) {
  if (s.values.empty()) return static_cast<void>(std::printf("  %-50s not reached\n", s.label));
  std::vector<double> v = s.values;
  std::sort(v.begin(), v.end());
  // Ratios with two decimals: one would round 1.38 and 1.44 alike.
  const char* format = std::string_view(s.unit) == "x" ? "  %-50s median %8.2f %-2s  min %8.2f   max %8.2f\n"
                                                       : "  %-50s median %8.1f %-2s  min %8.1f   max %8.1f\n";
  std::printf(format, s.label, v[v.size() / 2], s.unit, v.front(), v.back());
}

void Add(Series& s, const std::optional<double>& value) {
  if (value) s.values.push_back(*value);
}

const testkit::Bytes& MinimalDialog() {
  static const testkit::Bytes exe = testkit::ReadFileBytes(testkit::WinePath(MIN_DIALOG_EXE));
  return exe;
}

const testkit::Bytes& StartUpDialog() {
  static const testkit::Bytes exe = testkit::ReadFileBytes(testkit::WinePath(START_UP_DIALOG_EXE));
  return exe;
}

// One start of the one-dialog program, to its frame on the screen; with
// `afterStartUp`, of the one that first does the launcher's start-up work,
// decoding the login skin's background.
std::optional<double> StartMinimal(bool afterStartUp = false) {
  testkit::LaunchOptions options;
  options.program = afterStartUp ? StartUpDialog() : MinimalDialog();
  if (afterStartUp) options.programDirFiles = {{"main1.png", LoginBackground()}};
  testkit::LauncherProcess process({}, options);
  const SinceCreation clock(process.Id());
  const Screen screen;
  return Watch(clock, {[&] { return DialogFrameShown(screen, process); }})[0];
}

// With `yardsticks` false only the launcher's own rows: for a launcher whose
// code runs emulated, a ratio to programs that run natively means nothing.
void StartUp(int runs, bool yardsticks = true) {
  const testkit::Bytes login = LoginSkin(kLoginColour);
  testkit::GameSkinOptions firstUrl;
  firstUrl.extraGlobal = "title=Bench Game\r\n";
  const testkit::Bytes game = testkit::GameSkin(firstUrl);
  Series loginShown{"launcher: login pair, windows shown (state)"}, loginFrame{"launcher: login pair, first frame on screen"},
      loginBrowser{"launcher: login pair, browser made"}, gameShown{"launcher: game window, shown (state)"},
      gameFrame{"launcher: game window, first frame on screen"}, gameBrowser{"launcher: game window, browser made"},
      minimal{"one-dialog program, first frame on screen"},
      afterStartUp{"one-dialog program after the start-up work, frame"},
      loginRatio{"ratio login frame / one-dialog", {}, "x"}, gameRatio{"ratio game frame / one-dialog", {}, "x"},
      floorRatio{"ratio start-up work program / one-dialog", {}, "x"},
      loginOverFloor{"ratio login frame / start-up work program", {}, "x"},
      gameOverFloor{"ratio game frame / start-up work program", {}, "x"};
  for (int run = 0; run < runs; ++run) {
    std::optional<double> loginAt, gameAt;
    {
      testkit::LauncherProcess launcher(login);
      const SinceCreation clock(launcher.Id());
      const Screen screen;
      const auto reached = Watch(clock, {[&] { return launcher.Windows().size() >= 2; },
                                         [&] { return LoginFrameShown(screen, kLoginColour); },
                                         [&] { return BrowserMade(launcher, 150); }});
      Add(loginShown, reached[0]);
      Add(loginFrame, loginAt = reached[1]);
      Add(loginBrowser, reached[2]);
    }
    {
      testkit::LauncherProcess launcher(game);
      const SinceCreation clock(launcher.Id());
      const Screen screen;
      const auto reached = Watch(clock, {[&] { return !launcher.Windows().empty(); },
                                         [&] { return GameFrameShown(screen); },
                                         [&] { return BrowserMade(launcher, 170); }});
      Add(gameShown, reached[0]);
      Add(gameFrame, gameAt = reached[1]);
      Add(gameBrowser, reached[2]);
    }
    if (!yardsticks) continue;
    const std::optional<double> yardstick = StartMinimal(), floor = StartMinimal(true);
    Add(minimal, yardstick);
    Add(afterStartUp, floor);
    if (yardstick && loginAt) loginRatio.values.push_back(*loginAt / *yardstick);
    if (yardstick && gameAt) gameRatio.values.push_back(*gameAt / *yardstick);
    if (yardstick && floor) floorRatio.values.push_back(*floor / *yardstick);
    if (floor && loginAt) loginOverFloor.values.push_back(*loginAt / *floor);
    if (floor && gameAt) gameOverFloor.values.push_back(*gameAt / *floor);
  }
  if (!yardsticks) {
    std::printf("Start-up, %d runs (ms from the creation of the process)\n", runs);
    for (const Series* s : {&loginShown, &loginFrame, &loginBrowser, &gameShown, &gameFrame, &gameBrowser}) Print(*s);
    return;
  }
  std::printf("Start-up, %d runs side by side (ms from the creation of the process)\n", runs);
  for (const Series* s : {&loginShown, &loginFrame, &loginBrowser, &gameShown, &gameFrame, &gameBrowser, &minimal,
                          &afterStartUp, &loginRatio, &gameRatio, &floorRatio, &loginOverFloor, &gameOverFloor})
    Print(*s);
}

// v1 finds 1.02 on a loopback server, downloads it, and its script swaps
// the programs and starts v2, whose login pair differs from v1's in colour.
void SelfUpdate(int runs) {
  testkit::UpdateTestServer server;
  if (!server.Started()) return static_cast<void>(std::printf("Self-update: the loopback server did not start\n"));
  const std::string at = "server=127.0.0.1\r\nport=" + std::to_string(server.Port()) + "\r\n";
  constexpr COLORREF kV1 = RGB(0x33, 0x66, 0x99), kV2 = RGB(0x99, 0x33, 0x66);
  const testkit::Bytes v1 =
      testkit::Concat({testkit::LauncherExe(), LoginSkin(kV1, at + "version=1.01\r\n")});
  const testkit::Bytes v2 =
      testkit::Concat({testkit::LauncherExe(), LoginSkin(kV2, at + "version=1.02\r\n")});
  server.Serve("/static/version.txt", {200, testkit::ToBytes("1.02\r\n")});
  server.Serve("/static/Launcher_new.exe", {200, v2});
  Series v1Frame{"v1: login pair on screen"}, v1Ended{"v1: downloaded, script started, ended"},
      v2Frame{"v2: login pair on screen"}, twoStarts{"two starts of the one-dialog program"},
      ratio{"ratio update / two starts", {}, "x"};
  for (int run = 0; run < runs; ++run) {
    std::optional<double> done;
    {
      testkit::LaunchOptions options;
      options.program = v1;
      testkit::LauncherProcess launcher({}, options);
      const SinceCreation clock(launcher.Id());
      const Screen screen;
      const auto reached = Watch(clock, {[&] { return LoginFrameShown(screen, kV1); }, [&] { return clock.Ended(); },
                                         [&] { return LoginFrameShown(screen, kV2); }});
      testkit::EndProcessesStartedBy(launcher.Id());
      Add(v1Frame, reached[0]);
      Add(v1Ended, reached[1]);
      Add(v2Frame, done = reached[2]);
    }
    const std::optional<double> first = StartMinimal(), second = StartMinimal();
    if (first && second) {
      twoStarts.values.push_back(*first + *second);
      if (done) ratio.values.push_back(*done / (*first + *second));
    }
  }
  std::printf("Self-update end to end, %d runs (ms from the creation of v1's process)\n", runs);
  for (const Series* s : {&v1Frame, &v1Ended, &v2Frame, &twoStarts, &ratio}) Print(*s);
}

// Memory and objects with the window titled `title` shown and its browser
// made, then CPU used in 10 s of sitting idle.
void MeasureShown(const testkit::Bytes& package, const char* title, int browserId, const char* what) {
  testkit::LauncherProcess launcher(package);
  HWND window = launcher.WaitForWindow([title](HWND w) { return testkit::WindowText(w) == title; });
  testkit::PumpUntil([&] { return BrowserMade(launcher, browserId); }, 30000);
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
  const double idleMs =
      (Ticks(kernelAfter) - Ticks(kernelBefore) + Ticks(userAfter) - Ticks(userBefore)) / 10000.0;
  std::printf("Idle with the %s window shown: %.1f ms of CPU in 10 s\n", what, idleMs);
  CloseHandle(process);
}

}  // namespace

int main(int argc, char** argv) {
  // "startup", "update" or "memory" runs that part only; "launcher-startup"
  // the launcher's start-up alone, without the programs it is set against.
  const std::string only = argc > 1 ? argv[1] : "";
  if (only.empty() || only == "startup") StartUp(7);
  if (only == "launcher-startup") StartUp(5, false);
  if (only.empty() || only == "update") SelfUpdate(5);
  if (only.empty() || only == "memory") {
    testkit::GameSkinOptions firstUrl;
    firstUrl.extraGlobal = "title=Bench Game\r\n";
    MeasureShown(LoginSkin(kLoginColour), "Bench", 150, "Login");
    MeasureShown(testkit::GameSkin(firstUrl), "Bench Game", 170, "Game");
  }
  return 0;
}
