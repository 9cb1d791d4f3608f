#include "update/file_system_win.h"

#include <windows.h>

#include "common/paths.h"
#include "win/handles.h"
#include "win/text.h"

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

  // Mapped through the handle that wrote it, not opened again by name: the
  // bytes looked at are the ones that stay, and a launcher is megabytes of
  // which the check needs few.
  bool Inspect(const FileInspection& inspect) override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.Get(), &size) || size.QuadPart > MAXDWORD) return false;
    if (size.QuadPart == 0) return inspect({});
    const win::UniqueHandle mapping(CreateFileMappingW(file_.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
    if (!mapping) return false;
    const win::UniqueView view(MapViewOfFile(mapping.Get(), FILE_MAP_READ, 0, 0, 0));
    if (!view) return false;
    return inspect({static_cast<const std::uint8_t*>(view.Get()), static_cast<std::size_t>(size.QuadPart)});
  }

  bool Close() override { return CloseHandle(file_.Release()) != FALSE; }

 private:
  win::UniqueHandle file_;
};

class Win32ReadableFile : public ReadableFile {
 public:
  explicit Win32ReadableFile(HANDLE file) : file_(file) {}

  std::optional<std::uint64_t> Size() override {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file_.Get(), &size) || size.QuadPart < 0) return std::nullopt;
    return static_cast<std::uint64_t>(size.QuadPart);
  }

  std::optional<std::size_t> Read(char* buffer, std::size_t size) override {
    DWORD read = 0;
    if (!ReadFile(file_.Get(), buffer, static_cast<DWORD>(size), &read, nullptr)) return std::nullopt;
    return read;
  }

 private:
  win::UniqueHandle file_;
};

}  // namespace

std::unique_ptr<WritableFile> Win32FileSystem::Create(const std::string& path) {
  // New only, never a file planted under the name; others may read it, but
  // neither write, rename nor delete it while it is open.
  HANDLE file = CreateFileW(win::WideFromUtf8(path).c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                            CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32File>(file);
}

std::optional<std::string> Win32FileSystem::ReadStart(const std::string& path, std::size_t limit) {
  win::UniqueHandle file(CreateFileW(win::WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                     OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
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

std::unique_ptr<ReadableFile> Win32FileSystem::OpenToRead(const std::string& path) {
  // Shared for reading only: nobody changes it while it is read.
  HANDLE file = CreateFileW(win::WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<Win32ReadableFile>(file);
}

bool Win32FileSystem::Remove(const std::string& path) { return DeleteFileW(win::WideFromUtf8(path).c_str()) != FALSE; }

bool Win32FileSystem::ClearReadOnly(const std::string& path) {
  const std::wstring wide = win::WideFromUtf8(path);
  const DWORD attributes = GetFileAttributesW(wide.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  if ((attributes & FILE_ATTRIBUTE_READONLY) == 0) return true;
  return SetFileAttributesW(wide.c_str(), attributes & ~FILE_ATTRIBUTE_READONLY) != FALSE;
}

bool Win32FileSystem::Rename(const std::string& from, const std::string& to) {
  return MoveFileExW(win::WideFromUtf8(from).c_str(), win::WideFromUtf8(to).c_str(), 0) != FALSE;
}

bool Win32FileSystem::Exists(const std::string& path) {
  return GetFileAttributesW(win::WideFromUtf8(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::vector<std::string> Win32FileSystem::ListFiles(const std::string& directory) {
  std::vector<std::string> names;
  WIN32_FIND_DATAW found{};
  const win::UniqueFind search(FindFirstFileW(win::WideFromUtf8(directory + "\\*").c_str(), &found));
  if (!search) return names;
  do {
    if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.push_back(win::Utf8FromWide(found.cFileName));
  } while (FindNextFileW(search.Get(), &found));
  return names;
}

std::optional<std::string> Win32FileSystem::ShortPath(const std::string& path) {
  wchar_t shortPath[kMaxPath] = {};
  const DWORD length = GetShortPathNameW(win::WideFromUtf8(path).c_str(), shortPath, kMaxPath);
  if (length == 0 || length >= kMaxPath) return std::nullopt;
  return win::Utf8FromWide({shortPath, length});
}
