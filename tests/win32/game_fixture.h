// What the game window's tests share: OLE and GDI+ on the test's thread, a
// game skin loaded as start-up loads it (into the test's own holdings for
// the windows a test makes, into the application for the runs that go
// through it), and ways to look at the running window.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "game/game_dialog_win.h"
#include "package/skin.h"
#include "game_skin.h"
#include "win_testkit.h"

class GameWindowTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;

  // Opens `options`' package and builds its configuration from it, as the
  // test's own skin (TestSkin).
  static void LoadSkin(const testkit::GameSkinOptions& options = {});
  // Any package, as the test's own skin.
  static void LoadSkinPackage(const testkit::Bytes& package);
  // The same as the application's, for the windows it runs itself.
  static void LoadAppSkin(const testkit::GameSkinOptions& options = {});
  // What LoadSkin loaded, as a window is given it.
  static Skin TestSkin();
};

// Runs `steps` from `window`'s modal loop once `ready` holds: the page's
// set-up serves this thread's messages while the window is being made, so
// readiness is looked at again every 20 ms without waiting in between. A
// window not ready within 30 s fails the test and is ended.
void RunWhenReady(win::Dialog& window, std::function<bool()> ready, std::function<void()> steps);

// Runs `steps` from the loop once every message posted so far has been
// handled (a timer comes after them).
inline void Then(std::function<void()> steps) { testkit::RunSoon(std::move(steps)); }

// Runs `window` modally on about:blank and `steps` once its initialisation
// has ended (it is then maximised) and its browser, made after the first
// paint, is there. The steps end the run (EndSoon).
INT_PTR RunGameWindow(CGameDialog& window, std::function<void()> steps);

// Runs the application's game window (App().RunGameWindow) on `address`
// and `steps` once its initialisation has ended; answers the run's result.
INT_PTR RunAppGameWindow(const char* address, std::function<void(CGameDialog&)> steps);

// Ends the run with OK from the loop, after what is posted so far.
void EndSoon(win::Dialog& window);

// While in scope, a window of this thread without owner and parent is
// minimised the moment it is first shown, before anything of it can be
// painted: as a program is started from a shortcut set to "Minimised"
// (which Wine does not do itself with the show state it is given).
class StartedMinimised {
 public:
  StartedMinimised();
  ~StartedMinimised();
  StartedMinimised(const StartedMinimised&) = delete;
  StartedMinimised& operator=(const StartedMinimised&) = delete;
  bool Hooked() const { return hook_ != nullptr; }

 private:
  HHOOK hook_;
};

// Counts, while in scope, the WM_PAINT messages that windows of this thread
// get, sent or from the queue.
class PaintCount {
 public:
  PaintCount();
  ~PaintCount();
  PaintCount(const PaintCount&) = delete;
  PaintCount& operator=(const PaintCount&) = delete;
  bool Hooked() const { return sent_ != nullptr && queued_ != nullptr; }
  int Of(HWND window) const;

 private:
  HHOOK sent_, queued_;
};

// The items of a pop-up menu: identifier and label.
struct ShownMenu {
  HWND window = nullptr;
  RECT rect{};
  std::vector<std::pair<UINT, std::string>> items;
  std::vector<std::pair<UINT, std::wstring>> wideItems;  // the same as the menu holds them
};
// The pop-up menu of this thread that is shown, or null.
HWND ShownMenuWindow();

// Runs `open` (which shows a pop-up menu of this thread and tracks it),
// reads the menu while it is shown, then closes it: without a choice, or
// by keys choosing the item at position `choose` (0 is the first). With
// `lookWhen`, asked every 20 ms, the menu is looked at once that holds (or
// after 5 s): it must still be up then. A menu not shown within 10 s fails
// the test (and `window` stays null).
ShownMenu ReadMenuWhileShown(const std::function<void()>& open, int choose = -1,
                             const std::function<bool()>& lookWhen = {});
