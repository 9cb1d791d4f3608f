#include "update/internet_client_win.h"

#include <optional>

#include "common/text.h"
#include "win/internet.h"

namespace {

// INTERNET_FLAG_RELOAD | INTERNET_FLAG_EXISTING_CONNECT |
// INTERNET_FLAG_TRANSFER_BINARY: always from the server, never the cache.
constexpr DWORD kRequestFlags = 0xA0000002;
static_assert(kRequestFlags == (INTERNET_FLAG_RELOAD | INTERNET_FLAG_EXISTING_CONNECT | INTERNET_FLAG_TRANSFER_BINARY));
constexpr DWORD_PTR kRequestContext = 1;

// A stalled server must not hold the worker for ever: a minute to connect
// (each attempt) and a minute of silence while waiting for any piece of the
// answer. WinINet's own receive limit is an hour, far longer than any
// player waits. Set on the session, they hold for its one request.
constexpr DWORD kConnectTimeoutMs = 60 * 1000;
constexpr DWORD kReceiveTimeoutMs = 60 * 1000;

void SetTimeout(HINTERNET session, DWORD option, DWORD milliseconds) {
  InternetSetOptionA(session, option, &milliseconds, sizeof milliseconds);
}

class WinInetResponse : public HttpResponse {
 public:
  WinInetResponse(win::UniqueInternet session, win::UniqueInternet request)
      : session_(std::move(session)), request_(std::move(request)) {}

  std::optional<int> Status() override {
    const auto text = Header(HTTP_QUERY_STATUS_CODE);
    if (!text) return std::nullopt;
    return ParseDecimalInt(*text);
  }

  std::optional<std::string> ContentLength() override { return Header(HTTP_QUERY_CONTENT_LENGTH); }

  std::optional<std::size_t> Read(char* buffer, std::size_t size) override {
    DWORD read = 0;
    if (!InternetReadFile(request_.Get(), buffer, static_cast<DWORD>(size), &read)) return std::nullopt;
    return read;
  }

 private:
  // A header's value as text of at most 80 bytes.
  std::optional<std::string> Header(DWORD query) {
    char text[80] = {};
    DWORD size = sizeof text;
    if (!HttpQueryInfoA(request_.Get(), query, text, &size, nullptr)) return std::nullopt;
    return std::string(text, size < sizeof text ? size : sizeof text);
  }

  // The request is closed before the session it belongs to.
  win::UniqueInternet session_;
  win::UniqueInternet request_;
};

}  // namespace

std::unique_ptr<HttpResponse> WinInetClient::Open(const std::string& url) {
  win::UniqueInternet session(InternetOpenA(userAgent_.c_str(), INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0));
  if (!session) return nullptr;
  SetTimeout(session.Get(), INTERNET_OPTION_CONNECT_TIMEOUT, kConnectTimeoutMs);
  SetTimeout(session.Get(), INTERNET_OPTION_RECEIVE_TIMEOUT, kReceiveTimeoutMs);
  SetTimeout(session.Get(), INTERNET_OPTION_DATA_RECEIVE_TIMEOUT, kReceiveTimeoutMs);
  win::UniqueInternet request(InternetOpenUrlA(session.Get(), url.c_str(), nullptr, 0, kRequestFlags, kRequestContext));
  if (!request) return nullptr;
  return std::make_unique<WinInetResponse>(std::move(session), std::move(request));
}
