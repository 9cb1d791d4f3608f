// The update check's HTTP client over WinINet: one session per request, as a
// plain GET that bypasses the cache and goes through the system's proxy.
#pragma once

#include <windows.h>
#include <wininet.h>

#include <string>

#include "update/update_platform.h"

class WinInetClient : public HttpClient {
 public:
  // The user agent is the program's file title ("Launcher").
  explicit WinInetClient(std::string userAgent) : userAgent_(std::move(userAgent)) {}
  std::unique_ptr<HttpResponse> Open(const std::string& url) override;

 private:
  std::string userAgent_;
};
