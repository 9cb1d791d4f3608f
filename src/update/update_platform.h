// What the update check needs of the system, as three small interfaces: an
// HTTP fetch, a few file operations and the running process. The check's
// every decision is made above them; the Windows shell implements them over
// WinINet and the Win32 file and process functions, and tests over memory.
//
// Paths are UTF-8 here, whatever the system's code pages: the shell hands
// them to the system's UTF-16 functions, so that a folder named in letters
// the ANSI code page lacks works as well as any other. No byte of a UTF-8
// multibyte character equals a backslash, a quote or a percent sign.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
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

// The bytes of a file as an inspection sees them; its verdict is the result.
using FileInspection = std::function<bool(std::span<const std::uint8_t>)>;

class WritableFile {
 public:
  virtual ~WritableFile() = default;
  virtual bool Write(const char* data, std::size_t size) = 0;
  // Hands everything written so far, read back from the file itself, to
  // `inspect` while the file stays open, so that nobody can change it
  // between the inspection and the close; false when it cannot be read.
  virtual bool Inspect(const FileInspection& inspect) = 0;
  // False when the bytes may not all have reached the file.
  virtual bool Close() = 0;
};

class ReadableFile {
 public:
  virtual ~ReadableFile() = default;
  // Its size, or nothing when it cannot be told.
  virtual std::optional<std::uint64_t> Size() = 0;
  // Reads at most `size` bytes: the count, 0 at the end, or nothing when
  // reading failed.
  virtual std::optional<std::size_t> Read(char* buffer, std::size_t size) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Creates a new file, binary, no translation; nothing when anything has
  // the path already (a file planted there keeps its owner and rights, so it
  // is never reused). Until it is closed, others may read it but neither
  // write, rename nor remove it.
  virtual std::unique_ptr<WritableFile> Create(const std::string& path) = 0;
  // At most the first `limit` bytes of the file, or nothing when it cannot
  // be opened for reading.
  virtual std::optional<std::string> ReadStart(const std::string& path, std::size_t limit) = 0;
  // Opens an existing file for reading; others may read it too, but neither
  // write, rename nor remove it while it is open. Nothing when it cannot be
  // opened.
  virtual std::unique_ptr<ReadableFile> OpenToRead(const std::string& path) = 0;
  virtual bool Remove(const std::string& path) = 0;
  // Clears the read-only attribute, so that the file can be removed.
  virtual bool ClearReadOnly(const std::string& path) = 0;
  // Gives a closed file another name in the same folder; false when
  // anything has that name already.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  // Whether anything, a file or a directory, has this path.
  virtual bool Exists(const std::string& path) = 0;
  // Names of the plain files in `directory` (no directories).
  virtual std::vector<std::string> ListFiles(const std::string& directory) = 0;
  // The short (8.3) form of an existing path, as the system gives it;
  // nothing when it has none.
  virtual std::optional<std::string> ShortPath(const std::string& path) = 0;
};

class ProcessControl {
 public:
  virtual ~ProcessControl() = default;
  // Milliseconds since the system started, as the system's 32-bit counter.
  virtual std::uint32_t TickCount() = 0;
  // A number from the system's cryptographic random source, for names that
  // nobody can guess ahead; nothing when the source fails.
  virtual std::optional<std::uint64_t> UnguessableNumber() = 0;
  // The process's working directory now, or nothing when it does not fit a path buffer.
  virtual std::optional<std::string> CurrentDirectory() = 0;
  // The full path of the running program file, or nothing when it does not fit.
  virtual std::optional<std::string> ProgramPath() = 0;
  // Whether another process runs the same program file: a second launcher
  // open from the same folder holds the file, and the update script could
  // neither replace nor rename it.
  virtual bool ProgramRunsElsewhere() = 0;
  // `text` (UTF-8) in the bytes the command interpreter reads a batch file
  // in: the console's (OEM) code page. Nothing when a character has no exact
  // form there: a look-alike would name another file.
  virtual std::optional<std::string> ConsoleText(std::string_view text) = 0;
  // Starts the command interpreter on the batch script `scriptName` in
  // `directory`, without a visible console, at idle priority, with nothing
  // on its command line that the interpreter could expand (neither folder
  // is named there), and waits until the script is known to run: the
  // interpreter alive with its first line's pause begun. False when it
  // never got there (the script removed or blocked, the interpreter gone);
  // an interpreter still waiting is ended first, so that nothing of the
  // script runs afterwards.
  virtual bool RunScript(const std::string& directory, const std::string& scriptName) = 0;
  // The update's replacement ends the process; a game window must never be
  // ended with it. True when the process may end now: no game window is
  // open or about to open, and none will open until CancelEnding (the
  // window thread waits). False once the game has begun.
  virtual bool BeginEnding() = 0;
  // The replacement did not happen after BeginEnding: windows go on.
  virtual void CancelEnding() = 0;
  // Ends the whole process with status 0. Returns only in tests.
  virtual void EndProcess() = 0;
};
