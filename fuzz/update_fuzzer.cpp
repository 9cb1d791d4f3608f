// The update check's rules on what a server and a configuration can say: the
// version file's first line and its version, the server address and the
// local names built from configured paths, and the update script built from
// two paths (the downloaded file itself has update_image_fuzzer). Besides
// not crashing, each rule must keep the promises the check relies on.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdlib>
#include <functional>
#include <string>

#include "common/paths.h"
#include "update/server_url.h"
#include "update/update_script.h"
#include "update/update_version.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

// The inverse of the script's doubling of backslashes and percent signs,
// under the same lead-byte rule.
std::string Undouble(const std::string& text) {
  std::string out;
  for (std::size_t pos = 0; pos < text.size(); ++pos) {
    const char c = text[pos];
    if (IsGbkLeadByte(static_cast<unsigned char>(c)) && pos + 1 < text.size()) {
      out += c;
      out += text[++pos];
      continue;
    }
    if (c == '\\' || c == '%') Require(pos + 1 < text.size() && text[++pos] == c);
    out += c;
  }
  return out;
}

void CheckVersions(const std::string& localText, const std::string& fileStart) {
  const std::string_view line = VersionLine(fileStart);
  Require(line.size() <= kVersionLineLimit && line.find_first_of("\r\n") == std::string_view::npos);
  const Version local = ParseVersion(localText);
  const Version remote = ParseVersion(line);
  Require(!(IsNewerVersion(local, remote) && IsNewerVersion(remote, local)));
  Require(!IsNewerVersion(remote, remote));
}

void CheckAddress(const std::string& server, std::int32_t port, const std::string& path) {
  const auto url = BuildServerUrl(server, port, path);
  Require(url.has_value() == !server.empty());
  if (url) {
    const std::string tail = ":" + std::to_string(port) + path;
    Require(url->size() >= tail.size() && url->compare(url->size() - tail.size(), tail.size(), tail) == 0);
    Require(url->find(server) != std::string::npos);
  }
  const std::string_view last = LastPathComponent(path);
  Require(last.find_first_of("/\\") == std::string_view::npos);
  Require(path.size() >= last.size() && path.compare(path.size() - last.size(), last.size(), last) == 0);
  // The local name is a name Windows holds, out of the path's last
  // component before any query or fragment.
  const auto name = LocalFileName(path);
  if (name) {
    Require(name->find_first_of("/\\?#<>:\"|*") == std::string::npos);
    Require(PathWithoutQuery(path).ends_with(*name));
  }
  const CheckNumbers numbers{static_cast<std::uint32_t>(port), std::hash<std::string>()(server)};
  const auto local = DownloadPath("C:\\Games", numbers, path, DownloadKind::kLauncher);
  Require(local.has_value() == name.has_value());
  if (local) Require(Utf16Length(*local) < kMaxPath && local->rfind("C:\\Games\\", 0) == 0);
  // What a check fetched is what the next check recognises as its leftover.
  const std::string prefix = DownloadPrefix(numbers.tickCount, numbers.unguessable);
  if (name) Require(IsEarlierDownload(prefix + *name, path) == !name->empty());
  Require(IsEarlierDownload(CompactDownloadName(numbers.unguessable, DownloadKind::kVersionFile), path));
}

void CheckScript(const std::string& exePath, const std::string& newPath) {
  // Paths never hold line breaks or zero bytes; the script's lines rely on it.
  if (exePath.find_first_of(std::string("\r\n\0", 3)) != std::string::npos ||
      newPath.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
    return;
  const std::string script = BuildUpdateScript(exePath, newPath);
  std::string lines[4];
  std::size_t start = 0;
  for (std::string& line : lines) {
    const std::size_t end = script.find("\r\n", start);
    Require(end != std::string::npos);
    line = script.substr(start, end - start);
    start = end + 2;
  }
  Require(start == script.size());
  Require(lines[0] == "@ping 127.0.0.1 -n 2 -w 1000 > nul ");
  const std::string exe = "\"" + exePath + "\"";
  const std::string fresh = "\"" + newPath + "\"";
  Require(Undouble(lines[1]) == "move /y " + fresh + " " + exe + " || attrib -r " + exe);
  Require(Undouble(lines[2]) == "if exist " + fresh + " move /y " + fresh + " " + exe);
  Require(Undouble(lines[3]) == exe);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider input(data, size);
  const std::string server = input.ConsumeRandomLengthString(80);
  const std::string path = input.ConsumeRandomLengthString(160);
  const std::int32_t port = input.ConsumeIntegral<std::int32_t>();
  const std::string exePath = input.ConsumeRandomLengthString(260);
  const std::string newPath = input.ConsumeRandomLengthString(260);
  const std::string localVersion = input.ConsumeRandomLengthString(64);
  const std::string fileStart = input.ConsumeRemainingBytesAsString();
  CheckVersions(localVersion, fileStart);
  CheckAddress(server, port, path);
  CheckScript(exePath, newPath);
  return 0;
}
