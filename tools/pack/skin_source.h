// Where a skin comes from: a folder the operator edits, or the package that a
// program file carries (read exactly as the launcher reads it). Both give
// members by their names in the package, "config/cg.txt".
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "package/attached_package.h"
#include "zip_writer.h"

struct MemberInfo {
  std::string name;
  std::uint64_t size = 0;
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
// are left out, as are links that lead nowhere.
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

 private:
  explicit PackageSkin(std::string bytes) : bytes_(std::move(bytes)) {}
  std::string bytes_;  // the package reads out of these
  AttachedPackage package_;
  std::vector<MemberInfo> members_;
};

// A folder as a FolderSkin, anything else as a program file.
std::unique_ptr<SkinSource> OpenSkin(const std::filesystem::path& path, std::string* error);
