// The update check's file operations over the Win32 file functions.
#pragma once

#include "update/update_platform.h"

class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<WritableFile> Create(const std::string& path) override;
  std::optional<std::string> ReadStart(const std::string& path, std::size_t limit) override;
  bool Inspect(const std::string& path, const std::function<bool(std::span<const std::uint8_t>)>& inspect) override;
  bool Remove(const std::string& path) override;
  bool Exists(const std::string& path) override;
  std::vector<std::string> ListFiles(const std::string& directory) override;
};
