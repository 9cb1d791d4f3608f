#include "update/file_system_win.h"

#include <windows.h>

#include "package/package_file_win.h"
#include "win/handles.h"

namespace {

class Win32File : public WritableFile {
 public:
  explicit Win32File(HANDLE file) : file_(file) {}

  bool Write(const char* data, std::size_t size) override {
    while (size > 0) {
      DWORD written = 0;
      if (!WriteFile(file_.Get(), data, static_cast<DWORD>(size), &written, nullptr) || written == 0) return false;
      data += written;
      size -= written;
    }
    return true;
  }

  bool Close() override { return CloseHandle(file_.Release()) != FALSE; }

 private:
  win::UniqueHandle file_;
};

}  // namespace

std::unique_ptr<WritableFile> Win32FileSystem::Create(const std::string& path) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32File>(file);
}

std::optional<std::string> Win32FileSystem::ReadStart(const std::string& path, std::size_t limit) {
  win::UniqueHandle file(
      CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  std::string content(limit, '\0');
  std::size_t filled = 0;
  while (filled < limit) {
    DWORD read = 0;
    if (!ReadFile(file.Get(), content.data() + filled, static_cast<DWORD>(limit - filled), &read, nullptr))
      return std::nullopt;
    if (read == 0) break;
    filled += read;
  }
  content.resize(filled);
  return content;
}

bool Win32FileSystem::Inspect(const std::string& path,
                              const std::function<bool(std::span<const std::uint8_t>)>& inspect) {
  // Mapped, not read: a launcher is megabytes and the check needs few of them.
  ProgramFile file;
  if (file.Map(path.c_str()) != ProgramFile::MapResult::kMapped) return false;
  return inspect(file.Bytes());
}

bool Win32FileSystem::Remove(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool Win32FileSystem::Exists(const std::string& path) {
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> Win32FileSystem::ListFiles(const std::string& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found{};
  const win::UniqueFind search(FindFirstFileA((directory + "\\*").c_str(), &found));
  if (!search) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(found.cFileName);
  } while (FindNextFileA(search.Get(), &found));
  return names;
}
