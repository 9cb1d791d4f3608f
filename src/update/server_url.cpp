#include "update/server_url.h"

#include "common/paths.h"

namespace {

constexpr std::string_view kScheme = "http://";
constexpr std::string_view kSecureScheme = "https://";

bool StartsWithInAnyCase(std::string_view text, std::string_view start) {
  if (text.size() < start.size()) return false;
  for (std::size_t i = 0; i < start.size(); ++i) {
    char c = text[i];
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    if (c != start[i]) return false;
  }
  return true;
}

bool StartsWithScheme(std::string_view text) {
  return StartsWithInAnyCase(text, kScheme) || StartsWithInAnyCase(text, kSecureScheme);
}

}  // namespace

std::string_view LastPathComponent(std::string_view path) {
  const std::size_t separator = path.find_last_of("/\\");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::optional<std::string> BuildServerUrl(std::string_view server, std::int32_t port, std::string_view path) {
  if (server.empty()) return std::nullopt;
  std::string url(StartsWithScheme(server) ? "" : kScheme);
  url += server;
  url += ':';
  url += std::to_string(port);
  url += path;
  return url;
}

std::string DownloadPrefix(std::uint32_t tickCount, std::uint64_t unguessable) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string prefix = std::to_string(static_cast<std::int32_t>(tickCount)) + "-";
  for (int shift = 60; shift >= 0; shift -= 4) prefix += kDigits[(unguessable >> shift) & 0xF];
  return prefix + "-";
}

std::optional<std::string> DownloadPath(std::string_view workDir, std::string_view prefix,
                                        std::string_view serverPath) {
  std::string name(prefix);
  name += LastPathComponent(serverPath);
  return PathInDirectory(workDir, name);
}

bool IsEarlierDownload(std::string_view fileName, std::string_view serverPath) {
  const std::string_view component = LastPathComponent(serverPath);
  if (component.empty() || fileName.size() <= component.size() ||
      fileName.substr(fileName.size() - component.size()) != component)
    return false;
  std::string_view prefix = fileName.substr(0, fileName.size() - component.size());
  // "-" + 16 hexadecimal digits + "-" after the count, or nothing.
  constexpr std::size_t kNumberPart = 18;
  if (prefix.size() > kNumberPart && prefix.back() == '-' && prefix[prefix.size() - kNumberPart] == '-') {
    for (const char c : prefix.substr(prefix.size() - kNumberPart + 1, 16))
      if (!((c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'))) return false;
    prefix.remove_suffix(kNumberPart);
  }
  if (!prefix.empty() && prefix.front() == '-') prefix.remove_prefix(1);
  // A 32-bit count has at most ten digits.
  if (prefix.empty() || prefix.size() > 10) return false;
  for (const char c : prefix)
    if (c < '0' || c > '9') return false;
  return true;
}
