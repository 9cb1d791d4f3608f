// On Windows the tool asks the server through the launcher's own client.
#include "release/server_fetch.h"
#include "update/internet_client_win.h"

std::unique_ptr<HttpClient> MakeHttpClient(const std::optional<std::string>&) {
  return std::make_unique<WinInetClient>("launcher-pack");
}
