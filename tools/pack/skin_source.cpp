#include "skin_source.h"

#include <algorithm>
#include <span>
#include <system_error>

#include "file_io.h"
#include "package_writer.h"

namespace fs = std::filesystem;

namespace {

bool Hidden(const fs::path& path) {
  const std::u8string name = path.filename().u8string();
  return !name.empty() && name[0] == u8'.';
}

std::span<const std::uint8_t> AsBytes(const std::string& text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

std::unique_ptr<FolderSkin> FolderSkin::Load(const fs::path& folder, std::string* error) {
  std::error_code code;
  std::vector<SkinFile> files;
  fs::recursive_directory_iterator it(folder, code), end;
  if (code) {
    *error = Shown(folder) + " cannot be read: " + code.message();
    return nullptr;
  }
  for (; it != end; it.increment(code)) {
    if (code) break;
    if (Hidden(it->path())) {
      if (it->is_directory(code)) it.disable_recursion_pending();
      continue;
    }
    if (!it->is_regular_file(code)) continue;
    auto content = ReadWholeFile(it->path(), error);
    if (!content) return nullptr;
    const std::u8string name = it->path().lexically_relative(folder).generic_u8string();
    files.push_back({std::string(name.begin(), name.end()), std::move(*content)});
  }
  if (code) {
    *error = Shown(folder) + " cannot be read: " + code.message();
    return nullptr;
  }
  std::sort(files.begin(), files.end(), [](const SkinFile& a, const SkinFile& b) { return a.name < b.name; });
  return std::make_unique<FolderSkin>(std::move(files));
}

std::vector<MemberInfo> FolderSkin::Members() const {
  std::vector<MemberInfo> members;
  for (const SkinFile& file : files_) members.push_back({file.name, file.content.size()});
  return members;
}

std::optional<std::string> FolderSkin::Read(const std::string& name) {
  for (const SkinFile& file : files_)
    if (file.name == name) return file.content;
  return std::nullopt;
}

void FolderSkin::Replace(const std::string& name, std::string content) {
  for (SkinFile& file : files_)
    if (file.name == name) file.content = std::move(content);
}

std::unique_ptr<PackageSkin> PackageSkin::Load(const fs::path& program, std::string* error) {
  auto bytes = ReadWholeFile(program, error);
  if (!bytes) return nullptr;
  if (!ProgramImageEnd(*bytes)) {
    *error = Shown(program) + " is not a 32-bit Windows program";
    return nullptr;
  }
  std::unique_ptr<PackageSkin> skin(new PackageSkin(std::move(*bytes)));
  switch (skin->package_.Open(AsBytes(skin->bytes_))) {
    case PackageOpenResult::kOpened:
      for (const std::string& name : skin->package_.MemberNames()) {
        int index = -1;
        std::uint32_t size = 0;
        skin->package_.FindMember(name.c_str(), &index, &size);
        skin->members_.push_back({name, size});
      }
      return skin;
    case PackageOpenResult::kNothingAppended:
      *error = Shown(program) +
               " carries no skin: nothing is appended to it (the launcher says \"没有附加配置文件,请打包配置文件\")";
      return nullptr;
    case PackageOpenResult::kNotAnArchive:
      *error = "what is appended to " + Shown(program) + " is not a zip archive (the launcher says \"OpenZip失败\")";
      return nullptr;
  }
  return nullptr;
}

std::vector<MemberInfo> PackageSkin::Members() const { return members_; }

std::optional<std::string> PackageSkin::Read(const std::string& name) {
  std::vector<char> content;
  if (package_.ReadMember(name.c_str(), &content) != AttachedPackage::ReadResult::kRead) return std::nullopt;
  return std::string(content.begin(), content.end());
}

std::unique_ptr<SkinSource> OpenSkin(const fs::path& path, std::string* error) {
  std::error_code code;
  if (fs::is_directory(path, code)) return FolderSkin::Load(path, error);
  return PackageSkin::Load(path, error);
}
