#include "update/url_downloader.h"

#include <utility>

namespace {

// The body goes to disk in pieces of this size; nothing more is held.
constexpr std::size_t kPieceSize = 1023;

}  // namespace

std::optional<std::uint64_t> ParseContentLength(std::string_view text) {
  const std::size_t first = text.find_first_not_of(' ');
  if (first == std::string_view::npos) return std::nullopt;
  text = text.substr(first, text.find_last_not_of(' ') + 1 - first);
  // Twenty digits could pass the 64-bit range; no real body is that long.
  if (text.size() > 19) return std::nullopt;
  std::uint64_t value = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - '0');
  }
  return value;
}

UrlDownloader::UrlDownloader(HttpClient& http, FileSystem& files, std::string url, std::string localPath,
                             std::uint64_t sizeLimit, OverLimit overLimit)
    : http_(http),
      files_(files),
      url_(std::move(url)),
      localPath_(std::move(localPath)),
      sizeLimit_(sizeLimit),
      overLimit_(overLimit) {}

bool UrlDownloader::Download() {
  if (done_) return true;
  std::unique_ptr<WritableFile> file = DownloadOpen();
  if (file == nullptr) return false;
  const bool closed = file->Close();
  file.reset();
  if (!closed) {
    // A file whose bytes may not all be there must never pass for the whole one.
    files_.Remove(localPath_);
    done_ = false;
    return false;
  }
  return true;
}

std::unique_ptr<WritableFile> UrlDownloader::DownloadOpen() {
  if (done_) return nullptr;
  const std::unique_ptr<HttpResponse> response = http_.Open(url_);
  if (response == nullptr) return nullptr;
  const std::optional<int> status = response->Status();
  if (!status) return nullptr;
  std::unique_ptr<WritableFile> file = files_.Create(localPath_);
  if (file == nullptr) return nullptr;
  if (*status < 200 || *status > 299) {
    // The empty file stays: it tells whoever looks that the server answered.
    file->Close();
    return nullptr;
  }
  if (!CopyBody(*response, *file)) {
    // A partial file must never pass for the whole one.
    file->Close();
    file.reset();
    files_.Remove(localPath_);
    return nullptr;
  }
  done_ = true;
  return file;
}

bool UrlDownloader::CopyBody(HttpResponse& response, WritableFile& file) {
  const bool keepsStart = overLimit_ == OverLimit::kKeepsStart;
  std::optional<std::uint64_t> announced;
  if (const auto header = response.ContentLength()) announced = ParseContentLength(*header);
  if (announced && *announced > sizeLimit_ && !keepsStart) return false;
  char buffer[kPieceSize + 1];
  std::uint64_t total = 0;
  for (;;) {
    const std::size_t wanted = keepsStart && sizeLimit_ - total < kPieceSize
                                   ? static_cast<std::size_t>(sizeLimit_ - total)
                                   : kPieceSize;
    if (wanted == 0) return true;  // the start is all that is kept; the rest stays unread
    const std::optional<std::size_t> count = response.Read(buffer, wanted);
    if (!count || *count > wanted) return false;
    if (*count == 0) break;
    total += *count;
    if (total > sizeLimit_ || !file.Write(buffer, *count)) return false;
  }
  return !announced || total >= *announced;
}
