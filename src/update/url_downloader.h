// Fetches one address into one local file, once.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "update/update_platform.h"

// A Content-Length value: decimal digits only, surrounding spaces allowed.
// Anything else announces nothing.
std::optional<std::uint64_t> ParseContentLength(std::string_view text);

// What a body longer than the download's size limit gives.
enum class OverLimit {
  kFails,     // a failed download: a server that never stops must not fill the player's disk
  kKeepsStart,  // its first `sizeLimit` bytes, and the rest is never read
};

class UrlDownloader {
 public:
  UrlDownloader(HttpClient& http, FileSystem& files, std::string url, std::string localPath,
                std::uint64_t sizeLimit = UINT64_MAX, OverLimit overLimit = OverLimit::kFails);

  // Copies the body of a 2xx answer to the local file, piece by piece.
  //  - No answer, or no readable status: fails; no file is made.
  //  - The file cannot be created: fails.
  //  - A status outside 200 to 299: fails and leaves the empty file.
  //  - The transfer breaks, the body ends before the length the server
  //    announced (the HTTP layer may report a cut connection as a clean
  //    end), the body is longer than a limit that fails (or announced so),
  //    or the file cannot be written: fails and removes the file.
  // After a success a further call succeeds at once without a transfer.
  bool Download();

  // The same download, with the file handed over still open after a
  // success instead of closed, so that its bytes can be checked before
  // anybody else may change them; the caller closes it (and removes it when
  // the close fails). Nothing after a failure, or after an earlier success.
  std::unique_ptr<WritableFile> DownloadOpen();

  const std::string& LocalPath() const { return localPath_; }

 private:
  bool CopyBody(HttpResponse& response, WritableFile& file);

  HttpClient& http_;
  FileSystem& files_;
  std::string url_;
  std::string localPath_;
  std::uint64_t sizeLimit_;
  OverLimit overLimit_;
  bool done_ = false;
};
