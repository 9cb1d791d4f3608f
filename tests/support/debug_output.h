// What the processes of the prefix give their debug output (OutputDebugString),
// read as DebugView reads it: through the system's DBWIN buffer, whose one
// reader this object is while it lives. The launcher reports there how each
// update check ended, so a test knows the check is over instead of waiting
// out a quiet time.
#pragma once

#include <windows.h>

#include <atomic>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace testkit {

class DebugOutput {
 public:
  DebugOutput();
  ~DebugOutput();
  DebugOutput(const DebugOutput&) = delete;
  DebugOutput& operator=(const DebugOutput&) = delete;

  // False when another reader holds the buffer, or it could not be made.
  bool Listening() const { return listening_; }

  struct Line {
    DWORD processId;
    std::string text;
  };
  std::vector<Line> Lines() const;
  // The lines of process `processId` that begin with `start`.
  std::vector<std::string> LinesOf(DWORD processId, const std::string& start = "") const;
  // Waits until process `processId` has given a line that begins with
  // `start`; that line, or nothing after the time.
  std::optional<std::string> WaitForLine(DWORD processId, const std::string& start, DWORD timeoutMs = 60000) const;
  // The same from any process; with its process.
  std::optional<Line> WaitForAnyLine(const std::string& start, DWORD timeoutMs = 60000) const;

 private:
  void Read();

  HANDLE mutex_ = nullptr, mapping_ = nullptr, bufferReady_ = nullptr, dataReady_ = nullptr;
  const void* view_ = nullptr;
  bool listening_ = false;
  std::atomic<bool> stop_{false};
  mutable std::mutex linesLock_;
  std::vector<Line> lines_;
  std::thread reader_;
};

// The launcher's report of how its update check ended ("Launcher update: ...").
inline constexpr char kUpdateReport[] = "Launcher update: ";
// And of start-up's install of a launcher that waited.
inline constexpr char kUpdateReportAtStart[] = "Launcher update at start: ";

}  // namespace testkit
