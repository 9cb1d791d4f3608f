// The running program's own file, mapped read-only for the whole run, and the
// Windows side of the package: opening it and reading the configuration file
// out of it.
#pragma once

#include <windows.h>

#include <string>

#include "package/attached_package.h"
#include "package/load_outcome.h"
#include "win/handles.h"

class IniDocument;

class ProgramFile {
 public:
  // Maps `path` (UTF-8) read-only; others may read it meanwhile, nobody may write.
  enum class MapResult { kMapped, kCannotOpen, kCannotCreateMapping, kCannotMapView };
  MapResult Map(const std::string& path);
  std::span<const std::uint8_t> Bytes() const;

 private:
  win::UniqueHandle file_;
  win::UniqueHandle mapping_;
  win::UniqueView view_;
  DWORD size_ = 0;
};

// Opens the package appended to this program's own file.
LoadOutcome OpenPackage(ProgramFile* file, AttachedPackage* package);

// Reads `name` (config/cg.txt) from the package into the document:
// kConfigMissing when it is missing, kConfigUnreadable when memory runs out
// or the text does not parse.
LoadOutcome ReadConfigFile(AttachedPackage* package, IniDocument* document, const char* name);
