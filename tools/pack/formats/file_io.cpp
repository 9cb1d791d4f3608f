#include "formats/file_io.h"

#include <fcntl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <fstream>
#include <random>
#include <system_error>

#ifdef _WIN32
#include <io.h>
#include <sys/stat.h>
#else
#include <unistd.h>
#endif

namespace fs = std::filesystem;

std::string Shown(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

fs::path PathOf(const std::string& utf8) { return fs::path(std::u8string(utf8.begin(), utf8.end())); }

std::optional<std::string> ReadWholeFile(const fs::path& path, std::string* error) {
  std::error_code code;
  if (!fs::is_regular_file(path, code)) {
    *error = fs::exists(path, code) ? Shown(path) + " is not a file" : Shown(path) + " does not exist";
    return std::nullopt;
  }
  const std::uintmax_t size = fs::file_size(path, code);
  if (code || size > kMaxInputFileSize) {
    *error =
        code ? Shown(path) + " cannot be read: " + code.message() : Shown(path) + " is too large to be a skin file";
    return std::nullopt;
  }
  std::ifstream in(path, std::ios::binary);
  std::string bytes(static_cast<std::size_t>(size), '\0');
  if (!in || !in.read(bytes.data(), static_cast<std::streamsize>(size))) {
    *error = Shown(path) + " cannot be read";
    return std::nullopt;
  }
  return bytes;
}

namespace {

// A name no one can guess beforehand, so that nothing can be planted there.
fs::path TemporaryBeside(const fs::path& path) {
  static std::random_device random;
  char suffix[24];
  std::snprintf(suffix, sizeof suffix, ".%08x%08x.tmp", random(), random());
  fs::path temporary = path;
  temporary += suffix;
  return temporary;
}

// Creates the file only when nothing, not even a link, has its name.
bool WriteNewFile(const fs::path& path, std::string_view bytes) {
#ifdef _WIN32
  const int fd = _wopen(path.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
#else
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
#endif
  if (fd < 0) return false;
  std::size_t written = 0;
  while (written < bytes.size()) {
    const std::size_t chunk = std::min<std::size_t>(bytes.size() - written, 1 << 20);
    const auto count = write(fd, bytes.data() + written, static_cast<unsigned>(chunk));
    if (count <= 0) break;
    written += static_cast<std::size_t>(count);
  }
  return close(fd) == 0 && written == bytes.size();
}

// The reason in the operator's terms: a folder that is not there is the
// common slip (-o out/MyGame.exe before out was made).
std::string WhyNotWritten(const fs::path& path, int cause) {
  std::error_code code;
  const fs::path folder = path.parent_path().empty() ? fs::path(".") : path.parent_path();
  if (!fs::exists(folder, code)) return ": the folder " + Shown(folder) + " does not exist; make it first";
  if (!fs::is_directory(folder, code)) return ": " + Shown(folder) + " is not a folder";
  if (fs::is_directory(path, code)) return ": it is a folder";
  return cause != 0 ? ": " + std::generic_category().message(cause) : std::string();
}

}  // namespace

bool WriteWholeFile(const fs::path& path, std::string_view bytes, std::string* error) {
  // Beside the final name, in the same folder, so that the rename is one step.
  const fs::path temporary = TemporaryBeside(path);
  std::error_code code;
  if (!WriteNewFile(temporary, bytes)) {
    const int cause = errno;
    *error = Shown(path) + " cannot be written" + WhyNotWritten(path, cause);
    fs::remove(temporary, code);
    return false;
  }
  fs::rename(temporary, path, code);
  if (code) {
    *error = Shown(path) + " cannot be written: " + code.message();
    fs::remove(temporary, code);
    return false;
  }
  return true;
}
