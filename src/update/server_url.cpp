#include "update/server_url.h"

#include <algorithm>

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

std::string HexDigits16(std::uint64_t number) {
  static constexpr char kDigits[] = "0123456789abcdef";
  std::string digits;
  for (int shift = 60; shift >= 0; shift -= 4) digits += kDigits[(number >> shift) & 0xF];
  return digits;
}

bool IsLowerHex(std::string_view text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f'); });
}

// "<16 lower-case hexadecimal digits>.<letter of a DownloadKind>"
bool IsCompactName(std::string_view name) {
  return name.size() == 18 && IsLowerHex(name.substr(0, 16)) && name[16] == '.' &&
         std::string_view("ves").find(name[17]) != std::string_view::npos;
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

std::string_view PathWithoutQuery(std::string_view serverPath) {
  return serverPath.substr(0, serverPath.find_first_of("?#"));
}

std::optional<std::string> LocalFileName(std::string_view serverPath, LeadByteRule isLeadByte) {
  // Single-byte characters only are separators, ends or characters Windows
  // keeps out of names; the two bytes of a double-byte one are a letter.
  std::size_t start = 0;
  std::size_t end = serverPath.size();
  bool forbidden = false;
  for (std::size_t i = 0; i < serverPath.size(); ++i) {
    const char c = serverPath[i];
    if (isLeadByte(static_cast<unsigned char>(c)) && i + 1 < serverPath.size()) {
      ++i;
      continue;
    }
    if (c == '?' || c == '#') {
      end = i;
      break;
    }
    if (c == '/' || c == '\\') {
      start = i + 1;
      forbidden = false;
    } else if (static_cast<unsigned char>(c) < 0x20 || std::string_view("<>:\"|*").find(c) != std::string_view::npos) {
      forbidden = true;
    }
  }
  const std::string_view name = serverPath.substr(start, end - start);
  if (forbidden || (!name.empty() && (name.back() == '.' || name.back() == ' '))) return std::nullopt;
  return std::string(name);
}

std::string SignatureServerPath(std::string_view exeUrl) {
  const std::string_view path = PathWithoutQuery(exeUrl);
  return std::string(path) + ".sig" + std::string(exeUrl.substr(path.size()));
}

std::string DownloadPrefix(std::uint32_t tickCount, std::uint64_t unguessable) {
  return std::to_string(static_cast<std::int32_t>(tickCount)) + "-" + HexDigits16(unguessable) + "-";
}

std::string CompactDownloadName(std::uint64_t unguessable, DownloadKind what) {
  return HexDigits16(unguessable) + "." + static_cast<char>(what);
}

std::optional<std::string> DownloadPath(std::string_view workDir, const CheckNumbers& numbers,
                                        std::string_view serverPath, DownloadKind what) {
  const auto name = LocalFileName(serverPath);
  if (!name) return std::nullopt;
  if (auto path = PathInDirectory(workDir, DownloadPrefix(numbers.tickCount, numbers.unguessable) + *name)) return path;
  return PathInDirectory(workDir, CompactDownloadName(numbers.unguessable, what));
}

bool IsEarlierDownload(std::string_view fileName, std::string_view serverPath) {
  if (IsCompactName(fileName)) return true;
  const std::string component = LocalFileName(serverPath).value_or("");
  if (component.empty() || fileName.size() <= component.size() ||
      fileName.substr(fileName.size() - component.size()) != component)
    return false;
  std::string_view prefix = fileName.substr(0, fileName.size() - component.size());
  // "-" + 16 hexadecimal digits + "-" after the count, or nothing.
  constexpr std::size_t kNumberPart = 18;
  if (prefix.size() > kNumberPart && prefix.back() == '-' && prefix[prefix.size() - kNumberPart] == '-') {
    if (!IsLowerHex(prefix.substr(prefix.size() - kNumberPart + 1, 16))) return false;
    prefix.remove_suffix(kNumberPart);
  }
  if (!prefix.empty() && prefix.front() == '-') prefix.remove_prefix(1);
  // A 32-bit count has at most ten digits.
  if (prefix.empty() || prefix.size() > 10) return false;
  for (const char c : prefix)
    if (c < '0' || c > '9') return false;
  return true;
}
