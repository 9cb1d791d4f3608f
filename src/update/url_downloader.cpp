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
                             std::uint64_t sizeLimit)
    : http_(http), files_(files), url_(std::move(url)), localPath_(std::move(localPath)), sizeLimit_(sizeLimit) {}

bool UrlDownloader::Download() {
  if (done_) return true;
  const std::unique_ptr<HttpResponse> response = http_.Open(url_);
  if (response == nullptr) return false;
  const std::optional<int> status = response->Status();
  if (!status) return false;
  std::unique_ptr<WritableFile> file = files_.Create(localPath_);
  if (file == nullptr) return false;
  if (*status < 200 || *status > 299) {
    // The empty file stays: it tells whoever looks that the server answered.
    file->Close();
    return false;
  }
  const bool copied = CopyBody(*response, *file);
  const bool closed = file->Close();
  file.reset();
  if (!copied || !closed) {
    // A partial file must never pass for the whole one.
    files_.Remove(localPath_);
    return false;
  }
  done_ = true;
  return true;
}

bool UrlDownloader::CopyBody(HttpResponse& response, WritableFile& file) {
  std::optional<std::uint64_t> announced;
  if (const auto header = response.ContentLength()) announced = ParseContentLength(*header);
  if (announced && *announced > sizeLimit_) return false;
  char buffer[kPieceSize + 1];
  std::uint64_t total = 0;
  for (;;) {
    const std::optional<std::size_t> count = response.Read(buffer, kPieceSize);
    if (!count || *count > kPieceSize) return false;
    if (*count == 0) break;
    total += *count;
    if (total > sizeLimit_ || !file.Write(buffer, *count)) return false;
  }
  return !announced || total >= *announced;
}
