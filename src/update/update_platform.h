// What the update check needs of the system, as three small interfaces: an
// HTTP fetch, a few file operations and the running process. The check's
// every decision is made above them; the Windows shell implements them over
// WinINet and the Win32 file and process functions, and tests over memory.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

// One answer of the server, its body read in order.
class HttpResponse {
 public:
  virtual ~HttpResponse() = default;
  // The status code, or nothing when it cannot be read.
  virtual std::optional<int> Status() = 0;
  // The Content-Length header's text, or nothing when the server sent none.
  virtual std::optional<std::string> ContentLength() = 0;
  // Reads at most `size` bytes of the body: the count, 0 at its end, or
  // nothing when the transfer failed.
  virtual std::optional<std::size_t> Read(char* buffer, std::size_t size) = 0;
};

class HttpClient {
 public:
  virtual ~HttpClient() = default;
  // Sends a GET for `url` (redirections followed, no cache); nothing when no
  // answer came (no session, unknown host, refused or broken connection).
  virtual std::unique_ptr<HttpResponse> Open(const std::string& url) = 0;
};

class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual bool Write(const char* data, std::size_t size) = 0;
  // False when the bytes may not all have reached the file.
  virtual bool Close() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Creates the file or empties an existing one; binary, no translation.
  virtual std::unique_ptr<WritableFile> Create(const std::string& path) = 0;
  // At most the first `limit` bytes of the file, or nothing when it cannot
  // be opened for reading.
  virtual std::optional<std::string> ReadStart(const std::string& path, std::size_t limit) = 0;
  // Hands the whole file's bytes to `inspect` and gives its verdict; false
  // when the file cannot be read.
  virtual bool Inspect(const std::string& path, const std::function<bool(std::span<const std::uint8_t>)>& inspect) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Whether anything, a file or a directory, has this path.
  virtual bool Exists(const std::string& path) = 0;
  // Names of the plain files in `directory` (no directories).
  virtual std::vector<std::string> ListFiles(const std::string& directory) = 0;
};

class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  // Milliseconds since the system started, as the system's 32-bit counter.
  virtual std::uint32_t TickCount() = 0;
  // The process's working directory now, or nothing when it does not fit a path buffer.
  virtual std::optional<std::string> CurrentDirectory() = 0;
  // The full path of the running program file, or nothing when it does not fit.
  virtual std::optional<std::string> ProgramPath() = 0;
  // Whether another process runs the same program file: a second launcher
  // open from the same folder holds the file, and the update script could
  // neither replace nor rename it.
  virtual bool ProgramRunsElsewhere() = 0;
  // Starts the batch script at `scriptPath` without a visible console, at idle priority.
  virtual bool StartHiddenScript(const std::string& scriptPath) = 0;
  // Ends the whole process with status 0. Returns only in tests.
  virtual void EndProcess() = 0;
};
