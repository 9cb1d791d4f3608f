// Helpers for tests that run under Wine: act from inside a modal loop, pump
// messages, temporary directories, Wine paths.
#pragma once

#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <ostream>
#include <string>

#include "win/dialog.h"
#include "zip_builder.h"

namespace testkit {

// Runs `action` from the next message loop on this thread (a modal dialog's)
// after `delayMs`.
void RunSoon(std::function<void()> action, UINT delayMs = 0);

// Runs `dialog` modally and `steps` from inside its loop; then ends the run
// with IDOK unless `endAfterSteps` is false. Returns the run's result. A
// fatal failure in the steps, or in anything run from the loop with RunSoon,
// ends every modal run of the thread with IDABORT.
INT_PTR RunModal(win::Dialog& dialog, const std::function<void()>& steps, bool endAfterSteps = true);

// The bound of a window that is to end by itself: a modal run of `dialog`
// still going `timeoutMs` from now fails the test and is ended with
// IDABORT. Given up when the object goes.
class EndsWithin {
 public:
  EndsWithin(win::Dialog& dialog, DWORD timeoutMs);
  ~EndsWithin();
  EndsWithin(const EndsWithin&) = delete;
  EndsWithin& operator=(const EndsWithin&) = delete;

 private:
  UINT_PTR timer_;
};

// Serves this thread's messages until `done` is true or the time is up.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);
// Serves this thread's messages for the whole of `windowMs` and looks at
// `holds` all along: false as soon as it fails. For checks that something
// does not happen, which only the end of the window can tell.
bool HoldsThroughout(const std::function<bool()>& holds, DWORD windowMs);

// The work area of the primary screen.
RECT WorkArea();
// The system's DPI, as a program aware of it reads it. Under
// scripts/wine-run-dpi (which sets LAUNCHER_WINE_DPI) a DPI other than the
// one asked for fails the calling test: its expectations would be another
// scale's.
int ScreenDpi();
// Where a translucent pair with a picture of `width` x `height` stands: at
// the place the system centres its captioned dialog at (caption and frame
// included), with the picture's size.
RECT CentredPairRect(int width, int height);

// A window class `name` that paints itself in one colour.
const char* ColourClass(const char* name, COLORREF colour);

// A plain window of `colour` over the whole screen, under every window
// made after it: what the screen shows through a transparent one.
class Backdrop {
 public:
  explicit Backdrop(COLORREF colour = RGB(255, 255, 0));
  ~Backdrop();
  Backdrop(const Backdrop&) = delete;
  Backdrop& operator=(const Backdrop&) = delete;

 private:
  HWND hwnd_;
};

// A build path as Wine sees it ("/a/b" is "Z:\a\b").
std::string WinePath(const std::string& path);

// Ends a process the test started or found, noting its id and the time in
// the file that LAUNCHER_ENDED_PROCESSES names, if any: under emulation a
// process that the test ended may take the emulator down with it, which is
// no reason to run the test again (scripts/wine-run).
bool EndProcess(HANDLE process);

// A fresh directory under the temporary folder, removed with its contents.
class TempDir {
 public:
  TempDir();
  ~TempDir();
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::string& Path() const { return path_; }
  std::string File(const std::string& name) const { return path_ + "\\" + name; }
  bool Write(const std::string& name, const Bytes& content) const;
  bool Exists(const std::string& name) const;

 private:
  std::string path_;
};

bool WriteFileBytes(const std::string& path, const Bytes& content);
Bytes ReadFileBytes(const std::string& path);

// GDI+ for the test program's lifetime, as the launcher starts it.
void StartGdiplus();

// Answers the next message box this thread shows (from inside its modal
// loop) with `button`, after handing its contents to `seen`. A box not
// shown within `timeoutMs`, or not before the test ends, fails the test and
// is no longer waited for.
struct MessageBoxView;
void AnswerMessageBox(int button, MessageBoxView* seen = nullptr, DWORD timeoutMs = 10000);

// The private memory a process has committed: the system's figure, or, where
// it keeps none (Wine), its committed private pages walked region by region.
long long PrivateBytes(HANDLE process);

// The colour on the screen at a point, as the user sees it (what X shows:
// let the windows paint and flush first).
COLORREF ScreenPixel(int x, int y);
// The colour a window has drawn at a point of its client area.
COLORREF WindowPixel(HWND hwnd, int x, int y);

// Real pointer input through the input queue, so a window (of any process)
// sees exactly what a user's hand makes. Every event carries its screen
// position, and a move waits until X has the pointer there too (a held
// button asks where the pointer is, and Wine may ask X); a pointer that
// never gets there fails the test.
void MovePointer(POINT to);
void PressLeft(POINT at, bool down);
// A left click at the centre of a window: there, down, up.
void ClickCentre(HWND window);
// Whether the screen shows `colour` at `at` (each channel within
// `tolerance`: a blend may round either way), waiting a while for the paint
// and for X to show it; the colour it shows otherwise.
testing::AssertionResult ScreenShows(POINT at, COLORREF colour, int tolerance = 0);

// A window's rectangle, and its client area, in screen coordinates.
RECT WindowRect(HWND hwnd);
RECT ClientRectOnScreen(HWND hwnd);

// A window's text as GBK bytes, the launcher's own form of its texts. It is
// read through the wide functions and converted from code page 936, so a
// Chinese text reads back the same on a system of any code page.
std::string WindowText(HWND hwnd);
// The same text as the window holds it.
std::wstring WideWindowText(HWND hwnd);
// The class name (ASCII).
std::string ClassName(HWND hwnd);

}  // namespace testkit

// Rectangles compare and print in test assertions.
inline bool operator==(const RECT& a, const RECT& b) {
  return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream& operator<<(std::ostream& out, const RECT& r) {
  return out << "(" << r.left << "," << r.top << ")-(" << r.right << "," << r.bottom << ")";
}
