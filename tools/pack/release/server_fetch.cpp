#include "release/server_fetch.h"

#include <map>

#include "update/url_downloader.h"

namespace {

// The downloader's files, kept in memory: nothing is written on the
// operator's machine.
class MemoryFiles : public FileSystem {
 public:
  std::unique_ptr<WritableFile> Create(const std::string& path) override {
    if (files_.count(path) != 0) return nullptr;
    return std::make_unique<File>(files_[path]);
  }
  std::optional<std::string> ReadStart(const std::string& path, std::size_t limit) override {
    const auto it = files_.find(path);
    if (it == files_.end()) return std::nullopt;
    return it->second.substr(0, limit);
  }
  // The downloader neither reads nor renames files; nothing here is read-only.
  std::unique_ptr<ReadableFile> OpenToRead(const std::string&) override { return nullptr; }
  bool Remove(const std::string& path) override { return files_.erase(path) != 0; }
  bool ClearReadOnly(const std::string&) override { return false; }
  bool Rename(const std::string&, const std::string&) override { return false; }
  bool Exists(const std::string& path) override { return files_.count(path) != 0; }
  std::vector<std::string> ListFiles(const std::string&) override { return {}; }
  std::optional<std::string> ShortPath(const std::string&) override { return std::nullopt; }

  std::optional<std::string> Take(const std::string& path) {
    const auto it = files_.find(path);
    if (it == files_.end()) return std::nullopt;
    return std::move(it->second);
  }

 private:
  class File : public WritableFile {
   public:
    explicit File(std::string& bytes) : bytes_(bytes) {}
    bool Write(const char* data, std::size_t size) override {
      bytes_.append(data, size);
      return true;
    }
    bool Inspect(const FileInspection& inspect) override {
      return inspect({reinterpret_cast<const std::uint8_t*>(bytes_.data()), bytes_.size()});
    }
    bool Close() override { return true; }

   private:
    std::string& bytes_;
  };
  std::map<std::string, std::string> files_;
};

// The client, remembering the status of the last answer for the report.
class WatchedClient : public HttpClient {
 public:
  explicit WatchedClient(HttpClient& http) : http_(http) {}
  std::unique_ptr<HttpResponse> Open(const std::string& url) override {
    auto response = http_.Open(url);
    answered_ = response != nullptr;
    if (response) status_ = response->Status();
    return response;
  }
  bool answered_ = false;
  std::optional<int> status_;

 private:
  HttpClient& http_;
};

}  // namespace

Fetched FetchLikeTheLauncher(HttpClient& http, const std::string& url, std::uint64_t sizeLimit, bool keepStart) {
  MemoryFiles files;
  WatchedClient watched(http);
  UrlDownloader downloader(watched, files, url, "download", sizeLimit,
                           keepStart ? OverLimit::kKeepsStart : OverLimit::kFails);
  Fetched fetched;
  if (downloader.Download()) fetched.body = files.Take("download");
  if (!watched.answered_)
    fetched.outcome = "no answer (no such host, connection refused, or a certificate not trusted)";
  else if (!watched.status_)
    fetched.outcome = "an answer without a status";
  else if (*watched.status_ < 200 || *watched.status_ > 299)
    fetched.outcome = "status " + std::to_string(*watched.status_) + ": the launcher takes only 2xx";
  else if (!fetched.body)
    fetched.outcome = "status " + std::to_string(*watched.status_) +
                      ", but the body broke off, was shorter than announced, or was longer than " +
                      std::to_string(sizeLimit) + " bytes";
  else
    fetched.outcome =
        "status " + std::to_string(*watched.status_) + ", " + std::to_string(fetched.body->size()) + " bytes";
  return fetched;
}
