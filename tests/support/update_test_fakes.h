// In-memory stand-ins for the system under the update check: a scripted HTTP
// server, a file system of strings and a process that records instead of
// ending. Each fault the check must survive can be switched on per file or
// per address.
#pragma once

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "png_writer.h"
#include "update/update_platform.h"
#include "zip_builder.h"

namespace updatefakes {

// The names the fakes' check gives its files begin with this: the tick
// count 917 and the fakes' unguessable number.
inline constexpr char kPrefix[] = "917-00c0ffee12345678-";

// The [global] lines of a launcher that checks for updates where the fakes'
// checks do.
inline constexpr char kUpdateChannel[] =
    "server=update.test\r\nport=8080\r\nversionUrl=/static/version.txt\r\nexeUrl=/static/Launcher_new.exe\r\n";

// A launcher image that starts and checks for updates, with the given
// [global] lines (after the channel's, so that they win).
inline std::string LauncherWith(const std::string& globalLines) {
  const testkit::Bytes bytes = testkit::Concat(
      {testkit::MakePeImage(), testkit::LauncherPackage(testkit::MinimalConfig(kUpdateChannel + globalLines))});
  return std::string(bytes.begin(), bytes.end());
}

struct Answer {
  bool connects = true;             // false: no answer at all (refused, unknown host)
  std::optional<int> status = 200;  // nothing: the status cannot be read
  std::string body;
  std::optional<std::string> contentLength;  // the header's text, as sent
  std::optional<std::size_t> breakAfter;     // the read after this many bytes fails
  std::optional<std::size_t> endAfter;       // the body ends cleanly after this many bytes
};

// Content-Length as a server that sends the whole body announces it.
inline Answer Ok(std::string body) {
  Answer answer;
  answer.contentLength = std::to_string(body.size());
  answer.body = std::move(body);
  return answer;
}
inline Answer WithStatus(int status) {
  Answer answer;
  answer.status = status;
  return answer;
}

class FakeResponse : public HttpResponse {
 public:
  explicit FakeResponse(const Answer& answer) : answer_(answer) {}
  std::optional<int> Status() override { return answer_.status; }
  std::optional<std::string> ContentLength() override { return answer_.contentLength; }
  std::optional<std::size_t> Read(char* buffer, std::size_t size) override {
    std::size_t end = answer_.body.size();
    if (answer_.endAfter && *answer_.endAfter < end) end = *answer_.endAfter;
    if (answer_.breakAfter && position_ >= *answer_.breakAfter) return std::nullopt;
    if (answer_.breakAfter && *answer_.breakAfter < end) end = *answer_.breakAfter;
    const std::size_t count = std::min(size, end - position_);
    answer_.body.copy(buffer, count, position_);
    position_ += count;
    return count;
  }

 private:
  Answer answer_;
  std::size_t position_ = 0;
};

class FakeHttp : public HttpClient {
 public:
  std::unique_ptr<HttpResponse> Open(const std::string& url) override {
    requests.push_back(url);
    const auto found = answers.find(url);
    if (found == answers.end() || !found->second.connects) return nullptr;
    return std::make_unique<FakeResponse>(found->second);
  }
  std::map<std::string, Answer> answers;
  std::vector<std::string> requests;
};

class MemoryFileSystem : public FileSystem {
 public:
  class File : public WritableFile {
   public:
    File(MemoryFileSystem& owner, std::string path) : owner_(owner), path_(std::move(path)) {}
    bool Write(const char* data, std::size_t size) override {
      ++owner_.writeCalls;
      owner_.largestWrite = std::max(owner_.largestWrite, size);
      std::string& content = owner_.files[path_];
      if (owner_.writeLimit && content.size() + size > *owner_.writeLimit) {
        content.append(data, *owner_.writeLimit - content.size());  // the disk fills up midway
        return false;
      }
      content.append(data, size);
      return true;
    }
    bool Inspect(const FileInspection& inspect) override {
      ++owner_.inspectedOpen;
      const std::string& content = owner_.files[path_];
      return inspect({reinterpret_cast<const std::uint8_t*>(content.data()), content.size()});
    }
    bool Close() override { return !owner_.failClose && owner_.failCloseOf.count(path_) == 0; }

   private:
    MemoryFileSystem& owner_;
    std::string path_;
  };

  std::unique_ptr<WritableFile> Create(const std::string& path) override {
    if (notCreatable.count(path) != 0 || Exists(path)) return nullptr;
    files[path].clear();
    everCreated.insert(path);
    return std::make_unique<File>(*this, path);
  }
  std::optional<std::string> ReadStart(const std::string& path, std::size_t limit) override {
    const auto found = files.find(path);
    if (found == files.end() || notReadable.count(path) != 0) return std::nullopt;
    return found->second.substr(0, limit);
  }
  class Reader : public ReadableFile {
   public:
    explicit Reader(std::string content) : content_(std::move(content)) {}
    std::optional<std::uint64_t> Size() override { return content_.size(); }
    std::optional<std::size_t> Read(char* buffer, std::size_t size) override {
      const std::size_t count = content_.copy(buffer, size, position_);
      position_ += count;
      return count;
    }

   private:
    std::string content_;
    std::size_t position_ = 0;
  };
  std::unique_ptr<ReadableFile> OpenToRead(const std::string& path) override {
    const auto found = files.find(path);
    if (found == files.end() || notReadable.count(path) != 0) return nullptr;
    return std::make_unique<Reader>(found->second);
  }
  bool Remove(const std::string& path) override {
    return inUse.count(path) == 0 && readOnly.count(path) == 0 && files.erase(path) != 0;
  }
  bool ClearReadOnly(const std::string& path) override { return readOnly.erase(path) != 0; }
  bool Rename(const std::string& from, const std::string& to) override {
    if (Exists(to) || inUse.count(from) != 0 || files.count(from) == 0) return false;
    files[to] = files[from];
    files.erase(from);
    return true;
  }

  bool Exists(const std::string& path) override { return files.count(path) != 0 || folders.count(path) != 0; }
  std::vector<std::string> ListFiles(const std::string& directory) override {
    std::vector<std::string> names;
    const std::string start = directory + "\\";
    for (const auto& [path, content] : files)
      if (path.compare(0, start.size(), start) == 0 && path.find('\\', start.size()) == std::string::npos)
        names.push_back(path.substr(start.size()));
    return names;
  }

  std::optional<std::string> ShortPath(const std::string& path) override {
    const auto found = shortPaths.find(path);
    if (found == shortPaths.end()) return std::nullopt;
    return found->second;
  }

  bool Has(const std::string& path) const { return files.count(path) != 0; }

  std::map<std::string, std::string> files;
  std::set<std::string> everCreated;
  std::set<std::string> notCreatable;
  std::set<std::string> notReadable;
  std::set<std::string> folders;     // paths taken by a directory
  std::set<std::string> inUse;       // open elsewhere: cannot be removed
  std::set<std::string> readOnly;    // cannot be removed until the attribute is cleared
  std::set<std::string> failCloseOf;              // the close of these files fails
  std::map<std::string, std::string> shortPaths;  // the system's 8.3 forms
  int inspectedOpen = 0;             // inspections of files still open
  std::optional<std::size_t> writeLimit;
  bool failClose = false;
  int writeCalls = 0;
  std::size_t largestWrite = 0;
};

class FakeProcess : public ProcessControl {
 public:
  std::uint32_t TickCount() override { return ticks; }
  std::optional<std::uint64_t> UnguessableNumber() override { return unguessable; }
  // A console that writes ASCII only when asked: the paths that need more
  // have no form there.
  std::optional<std::string> ConsoleText(std::string_view text) override {
    if (consoleAsciiOnly && std::any_of(text.begin(), text.end(), [](char c) { return (c & 0x80) != 0; }))
      return std::nullopt;
    return std::string(text);
  }
  std::optional<std::string> CurrentDirectory() override { return currentDirectory; }
  std::optional<std::string> ProgramPath() override { return programPath; }
  bool ProgramRunsElsewhere() override {
    ++othersAsked;
    return othersRunning || (othersStartWhileFetching && othersAsked > 1);
  }
  bool RunScript(const std::string& directory, const std::string& scriptName) override {
    startedScripts.push_back(directory + "\\" + scriptName);
    return scriptRuns;
  }
  bool BeginEnding() override {
    if (gameBegun || ending) return false;
    ending = true;
    return true;
  }
  void CancelEnding() override { ending = false; }
  void EndProcess() override { ++ended; }

  std::uint32_t ticks = 917;
  std::optional<std::uint64_t> unguessable = 0x00c0ffee12345678;
  bool consoleAsciiOnly = false;
  std::optional<std::string> currentDirectory = "C:\\Games";
  std::optional<std::string> programPath = "C:\\Games\\Launcher.exe";
  bool scriptRuns = true;
  bool gameBegun = false;                 // the login window has handed over to the game window
  bool ending = false;                    // BeginEnding granted, not cancelled
  bool othersRunning = false;             // another launcher from the same file
  bool othersStartWhileFetching = false;  // one starts after the first look
  int othersAsked = 0;
  std::vector<std::string> startedScripts;
  int ended = 0;
};

// What an operation left at a path.
enum class Left { kNeverCreated, kRemoved, kEmpty, kContent };

inline Left WhatIsLeft(const MemoryFileSystem& files, const std::string& path) {
  if (files.everCreated.count(path) == 0) return Left::kNeverCreated;
  if (!files.Has(path)) return Left::kRemoved;
  return files.files.at(path).empty() ? Left::kEmpty : Left::kContent;
}

}  // namespace updatefakes
