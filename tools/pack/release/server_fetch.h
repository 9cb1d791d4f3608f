// Fetching what a launcher fetches from its update server, through the
// launcher's own download rules (a 2xx answer, a body as long as announced,
// a size limit), into memory, and telling the operator what happened.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "update/update_platform.h"

// The HTTP client of this build: libcurl on the build machine, WinINet (the
// launcher's own client) on Windows. `caFile` names certificates to trust
// besides the system's, for a server whose certificate a private authority
// signed (not used by WinINet, which trusts what Windows trusts).
std::unique_ptr<HttpClient> MakeHttpClient(const std::optional<std::string>& caFile);

struct Fetched {
  std::optional<std::string> body;  // nothing when the launcher would not have the file
  std::string outcome;              // "200, 1234 bytes", "404", "no answer", ...
};

// With `keepStart` a longer body is cut to the limit, as the launcher reads
// only the start of its version file; otherwise it is no download.
Fetched FetchLikeTheLauncher(HttpClient& http, const std::string& url, std::uint64_t sizeLimit, bool keepStart = false);
