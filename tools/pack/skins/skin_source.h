// Where a skin comes from: a folder the operator edits, or the package that a
// program file carries (read exactly as the launcher reads it). Both give
// members by their names in the package, "config/cg.txt".
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/zip_writer.h"
#include "package/attached_package.h"

struct MemberInfo {
  std::string name;
  std::uint64_t size = 0;
  // Why the launcher cannot read the member although it lists it
  // ("compressed with BZip2 (method 12)", "encrypted"); empty when it can.
  std::string unreadable;
};

class SkinSource {
 public:
  virtual ~SkinSource() = default;
  virtual bool IsProgram() const = 0;
  // In the package's order (a folder's members sorted by name).
  virtual std::vector<MemberInfo> Members() const = 0;
  // The member's bytes; nothing when it is missing or cannot be read whole.
  virtual std::optional<std::string> Read(const std::string& name) = 0;
};

// A folder's files, read whole. Files and folders whose names start with "."
// are left out; a symbolic link makes the folder unreadable.
class FolderSkin : public SkinSource {
 public:
  static std::unique_ptr<FolderSkin> Load(const std::filesystem::path& folder, std::string* error);
  explicit FolderSkin(std::vector<SkinFile> files) : files_(std::move(files)) {}

  bool IsProgram() const override { return false; }
  std::vector<MemberInfo> Members() const override;
  std::optional<std::string> Read(const std::string& name) override;

  const std::vector<SkinFile>& Files() const { return files_; }
  // Gives an existing member new content.
  void Replace(const std::string& name, std::string content);
  // Drops the files the launcher never reads (Thumbs.db, editor backups,
  // the pictures' sources), except those named in `kept`; their names.
  std::vector<std::string> LeaveOutUnread(const std::vector<std::string>& kept);

 private:
  std::vector<SkinFile> files_;
};

// The last archive appended to a program file.
class PackageSkin : public SkinSource {
 public:
  static std::unique_ptr<PackageSkin> Load(const std::filesystem::path& program, std::string* error);

  bool IsProgram() const override { return true; }
  std::vector<MemberInfo> Members() const override;
  std::optional<std::string> Read(const std::string& name) override;
  // The whole program file, its image and what follows it.
  const std::string& FileBytes() const { return bytes_; }

 private:
  explicit PackageSkin(std::string bytes) : bytes_(std::move(bytes)) {}
  std::string bytes_;  // the package reads out of these
  AttachedPackage package_;
  std::vector<MemberInfo> members_;
};

// Whether the launcher ever reads a member of this name: its configuration
// and its pictures, config/N_n.png and config/N_d.png included, each with
// its @2x form.
bool LauncherReads(std::string_view name);
// Whether the name is one of the launcher's pictures (their 1x forms).
bool IsLauncherPicture(std::string_view name);

// A folder as a FolderSkin, anything else as a program file.
std::unique_ptr<SkinSource> OpenSkin(const std::filesystem::path& path, std::string* error);
