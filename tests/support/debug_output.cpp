#include "debug_output.h"

#include "win_testkit.h"

namespace testkit {
namespace {

// The buffer's layout: the writer's process identifier, then its text.
struct DebugBuffer {
  DWORD processId;
  char text[4096 - sizeof(DWORD)];
};

}  // namespace

DebugOutput::DebugOutput() {
  mutex_ = CreateMutexW(nullptr, FALSE, L"DBWinMutex");
  bufferReady_ = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_BUFFER_READY");
  const bool taken = GetLastError() == ERROR_ALREADY_EXISTS;
  dataReady_ = CreateEventW(nullptr, FALSE, FALSE, L"DBWIN_DATA_READY");
  mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(DebugBuffer), L"DBWIN_BUFFER");
  if (mapping_ != nullptr) view_ = MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, sizeof(DebugBuffer));
  listening_ = !taken && mutex_ != nullptr && bufferReady_ != nullptr && dataReady_ != nullptr && view_ != nullptr;
  if (listening_) reader_ = std::thread([this] { Read(); });
}

DebugOutput::~DebugOutput() {
  stop_ = true;
  if (reader_.joinable()) reader_.join();
  if (view_ != nullptr) UnmapViewOfFile(view_);
  for (HANDLE handle : {mapping_, dataReady_, bufferReady_, mutex_})
    if (handle != nullptr) CloseHandle(handle);
}

void DebugOutput::Read() {
  const auto* buffer = static_cast<const DebugBuffer*>(view_);
  SetEvent(bufferReady_);
  while (!stop_) {
    if (WaitForSingleObject(dataReady_, 50) != WAIT_OBJECT_0) continue;
    {
      const std::lock_guard<std::mutex> lock(linesLock_);
      lines_.push_back({buffer->processId, std::string(buffer->text, strnlen(buffer->text, sizeof buffer->text))});
    }
    SetEvent(bufferReady_);
  }
}

std::vector<DebugOutput::Line> DebugOutput::Lines() const {
  const std::lock_guard<std::mutex> lock(linesLock_);
  return lines_;
}

std::vector<std::string> DebugOutput::LinesOf(DWORD processId, const std::string& start) const {
  std::vector<std::string> found;
  for (const Line& line : Lines())
    if (line.processId == processId && line.text.starts_with(start)) found.push_back(line.text);
  return found;
}

std::optional<std::string> DebugOutput::WaitForLine(DWORD processId, const std::string& start, DWORD timeoutMs) const {
  std::optional<std::string> found;
  PumpUntil(
      [&] {
        const auto lines = LinesOf(processId, start);
        if (!lines.empty()) found = lines.front();
        return found.has_value();
      },
      timeoutMs);
  return found;
}

std::optional<DebugOutput::Line> DebugOutput::WaitForAnyLine(const std::string& start, DWORD timeoutMs) const {
  std::optional<Line> found;
  PumpUntil(
      [&] {
        for (const Line& line : Lines())
          if (line.text.starts_with(start)) found = line;
        return found.has_value();
      },
      timeoutMs);
  return found;
}

}  // namespace testkit
