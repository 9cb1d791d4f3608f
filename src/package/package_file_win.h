// The running program's own file, mapped read-only for the whole run, and the
// Windows side of the package: opening it and reading the configuration file
// out of it, each failure shown to the user as start-up fails.
#pragma once

#include <windows.h>

#include "package/attached_package.h"
#include "win/handles.h"

class IniDocument;

class ProgramFile {
 public:
  // Maps `path` read-only; others may read it meanwhile, nobody may write.
  enum class MapResult { kMapped, kCannotOpen, kCannotCreateMapping, kCannotMapView };
  MapResult Map(const char* path);
  std::span<const std::uint8_t> Bytes() const;

 private:
  win::UniqueHandle file_;
  win::UniqueHandle mapping_;
  win::UniqueView view_;
  DWORD size_ = 0;
};

// Opens the package appended to this program's own file. Shows the failure's
// message, where it has one, in a start-up failure box.
bool OpenPackage(ProgramFile* file, AttachedPackage* package);

// Reads `name` (config/cg.txt) from the package into the document. Shows
// "读取ini文件失败" when it is missing and "装载ini文件失败" when memory runs out.
bool ReadConfigFile(AttachedPackage* package, IniDocument* document, const char* name);
