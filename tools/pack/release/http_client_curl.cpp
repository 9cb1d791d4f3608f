// The build machine's HTTP client for verify-server: libcurl, one transfer
// per request, the body kept in memory up to a bound.
#include <curl/curl.h>

#include <cstring>

#include "release/server_fetch.h"
#include "update/update_verdict.h"

namespace {

// Nothing longer is ever worth reading: a launcher fetches no more.
constexpr std::size_t kBodyBound = kLargestUpdate + 1;

class CurlResponse : public HttpResponse {
 public:
  std::optional<int> Status() override { return status; }
  std::optional<std::string> ContentLength() override { return contentLength; }
  std::optional<std::size_t> Read(char* buffer, std::size_t size) override {
    const std::size_t count = std::min(size, body.size() - read);
    if (count == 0 && broken) return std::nullopt;  // a transfer that broke ends as a failure, as WinINet's would
    std::memcpy(buffer, body.data() + read, count);
    read += count;
    return count;
  }

  std::optional<int> status;
  std::optional<std::string> contentLength;
  std::string body;
  bool broken = false;
  std::size_t read = 0;
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
  auto& response = *static_cast<CurlResponse*>(user);
  const std::size_t bytes = size * count;
  if (response.body.size() + bytes > kBodyBound) {
    // Enough to tell that it is too long; the rest is not fetched.
    response.body.append(data, kBodyBound - response.body.size());
    return 0;
  }
  response.body.append(data, bytes);
  return bytes;
}

// Each answer's own headers: a redirection's are forgotten at the next status line.
std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
  auto& response = *static_cast<CurlResponse*>(user);
  const std::string line(data, size * count);
  if (line.starts_with("HTTP/")) response.contentLength.reset();
  constexpr std::string_view kName = "content-length:";
  if (line.size() > kName.size() &&
      std::equal(kName.begin(), kName.end(), line.begin(), [](char a, char b) { return a == std::tolower(b); })) {
    std::string value = line.substr(kName.size());
    while (!value.empty() && (value.back() == '\r' || value.back() == '\n')) value.pop_back();
    response.contentLength = value;
  }
  return size * count;
}

class CurlClient : public HttpClient {
 public:
  explicit CurlClient(std::optional<std::string> caFile) : caFile_(std::move(caFile)) {
    curl_global_init(CURL_GLOBAL_DEFAULT);
  }
  ~CurlClient() override { curl_global_cleanup(); }

  std::unique_ptr<HttpResponse> Open(const std::string& url) override {
    CURL* curl = curl_easy_init();
    if (curl == nullptr) return nullptr;
    auto response = std::make_unique<CurlResponse>();
    curl_easy_setopt(curl, CURLOPT_URL, url.c_str());
    curl_easy_setopt(curl, CURLOPT_USERAGENT, "launcher-pack");
    curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT, 60L);
    // A minute without a byte ends the transfer, as the launcher's own limit does.
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(curl, CURLOPT_WRITEDATA, response.get());
    curl_easy_setopt(curl, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(curl, CURLOPT_HEADERDATA, response.get());
    if (caFile_) curl_easy_setopt(curl, CURLOPT_CAINFO, caFile_->c_str());
    const CURLcode result = curl_easy_perform(curl);
    long status = 0;
    curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_cleanup(curl);
    if (status == 0) return nullptr;  // no answer at all
    response->status = static_cast<int>(status);
    response->broken = result != CURLE_OK && !(result == CURLE_WRITE_ERROR && response->body.size() == kBodyBound);
    return response;
  }

 private:
  std::optional<std::string> caFile_;
};

}  // namespace

std::unique_ptr<HttpClient> MakeHttpClient(const std::optional<std::string>& caFile) {
  return std::make_unique<CurlClient>(caFile);
}
