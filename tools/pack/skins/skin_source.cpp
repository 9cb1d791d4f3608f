#include "skins/skin_source.h"

#include <algorithm>
#include <span>
#include <system_error>

#include "branding/package_writer.h"
#include "formats/file_io.h"
#include "formats/zip_directory.h"
#include "package/picture_scale.h"

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
    // Never followed: a link to a private file would ship to every player.
    if (it->is_symlink(code)) {
      *error = Shown(it->path()) +
               " is a symbolic link, which is never followed (it could carry a private file to "
               "every player); put the file itself in the skin folder";
      return nullptr;
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

std::vector<std::string> FolderSkin::LeaveOutUnread(const std::vector<std::string>& kept) {
  std::vector<std::string> leftOut;
  std::erase_if(files_, [&](const SkinFile& file) {
    if (LauncherReads(file.name) || std::find(kept.begin(), kept.end(), file.name) != kept.end()) return false;
    leftOut.push_back(file.name);
    return true;
  });
  return leftOut;
}

bool LauncherReads(std::string_view name) {
  if (name == "config/cg.txt" || IsLauncherPicture(name)) return true;
  // A picture's @2x form, which it shows instead at a high display scale.
  const auto single = SingleSizeName(name);
  return single && IsLauncherPicture(*single);
}

bool IsLauncherPicture(std::string_view name) {
  if (name == "config/main1.png" || name == "config/style.png" || name == "config/logo.png") return true;
  // config/N_n.png and config/N_d.png, N as the launcher writes it: decimal from 1, no leading zero.
  if (!name.starts_with("config/") || !(name.ends_with("_n.png") || name.ends_with("_d.png"))) return false;
  const std::string_view number = name.substr(7, name.size() - 7 - 6);
  if (number.empty() || number.size() > 9 || number[0] == '0') return false;
  return std::all_of(number.begin(), number.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::vector<MemberInfo> FolderSkin::Members() const {
  std::vector<MemberInfo> members;
  for (const SkinFile& file : files_) members.push_back({file.name, file.content.size(), ""});
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
    case PackageOpenResult::kOpened: {
      const auto directory = ReadZipDirectory(std::string_view(skin->bytes_).substr(*ProgramImageEnd(skin->bytes_)));
      for (const std::string& name : skin->package_.MemberNames()) {
        int index = -1;
        std::uint32_t size = 0;
        skin->package_.FindMember(name.c_str(), &index, &size);
        MemberInfo member{name, size, ""};
        // The launcher's reader lists the members in the same order.
        if (static_cast<std::size_t>(index) < directory.size()) member.unreadable = UnreadableBecause(directory[index]);
        skin->members_.push_back(std::move(member));
      }
      return skin;
    }
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
  // An encrypted member may still inflate, to bytes that mean nothing.
  for (const MemberInfo& member : members_)
    if (member.name == name) {
      if (!member.unreadable.empty()) return std::nullopt;
      break;
    }
  std::vector<char> content;
  if (package_.ReadMember(name.c_str(), &content) != AttachedPackage::ReadResult::kRead) return std::nullopt;
  return std::string(content.begin(), content.end());
}

std::unique_ptr<SkinSource> OpenSkin(const fs::path& path, std::string* error) {
  std::error_code code;
  if (fs::is_directory(path, code)) return FolderSkin::Load(path, error);
  return PackageSkin::Load(path, error);
}
