#include "file_io.h"

#include <fstream>
#include <system_error>

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

bool WriteWholeFile(const fs::path& path, std::string_view bytes, std::string* error) {
  fs::path temporary = path;
  temporary += ".launcher-pack-tmp";
  {
    std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
    if (!out || !out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) || !out.flush()) {
      *error = Shown(path) + " cannot be written";
      out.close();
      std::error_code ignored;
      fs::remove(temporary, ignored);
      return false;
    }
  }
  std::error_code code;
  fs::rename(temporary, path, code);
  if (code) {
    *error = Shown(path) + " cannot be written: " + code.message();
    fs::remove(temporary, code);
    return false;
  }
  return true;
}
