// The update check's file operations over the Win32 file functions, in
// UTF-16: the check's UTF-8 paths are converted at each call.
#pragma once

#include "update/update_platform.h"

class Win32FileSystem : public FileSystem {
 public:
  std::unique_ptr<WritableFile> Create(const std::string& path) override;
  std::optional<std::string> ReadStart(const std::string& path, std::size_t limit) override;
  std::unique_ptr<ReadableFile> OpenToRead(const std::string& path) override;
  bool Remove(const std::string& path) override;
  bool ClearReadOnly(const std::string& path) override;
  bool Rename(const std::string& from, const std::string& to) override;
  bool Exists(const std::string& path) override;
  std::vector<std::string> ListFiles(const std::string& directory) override;
  std::optional<std::string> ShortPath(const std::string& path) override;
};
