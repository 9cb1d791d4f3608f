#include "package/package_file_win.h"

#include <vector>

#include "app/startup_failure.h"
#include "common/texts.h"
#include "package/ini_document.h"
#include "update/update_files.h"

ProgramFile::MapResult ProgramFile::Map(const char* path) {
  file_.Reset(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
  if (!file_) return MapResult::kCannotOpen;
  size_ = GetFileSize(file_.Get(), nullptr);
  mapping_.Reset(CreateFileMappingA(file_.Get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping_) return MapResult::kCannotCreateMapping;
  view_.Reset(MapViewOfFile(mapping_.Get(), FILE_MAP_READ, 0, 0, 0));
  if (!view_) return MapResult::kCannotMapView;
  return MapResult::kMapped;
}

std::span<const std::uint8_t> ProgramFile::Bytes() const {
  if (!view_) return {};
  return {static_cast<const std::uint8_t*>(view_.Get()), size_};
}

bool OpenPackage(ProgramFile* file, AttachedPackage* package) {
  char path[kMaxPath] = {};
  const DWORD length = GetModuleFileNameA(GetModuleHandleA(nullptr), path, sizeof path);
  if (length == 0 || length >= sizeof path) return false;
  switch (file->Map(path)) {
    case ProgramFile::MapResult::kMapped: break;
    case ProgramFile::MapResult::kCannotCreateMapping: ShowStartupFailure(texts::kMappingFailed); return false;
    case ProgramFile::MapResult::kCannotOpen:
    case ProgramFile::MapResult::kCannotMapView: return false;
  }
  switch (package->Open(file->Bytes())) {
    case PackageOpenResult::kOpened: return true;
    case PackageOpenResult::kNothingAppended: ShowStartupFailure(texts::kNoPackage); return false;
    case PackageOpenResult::kNotAnArchive: ShowStartupFailure(texts::kOpenZipFailed); return false;
  }
  return false;
}

bool ReadConfigFile(AttachedPackage* package, IniDocument* document, const char* name) {
  std::vector<char> content;
  switch (package->ReadMember(name, &content)) {
    case AttachedPackage::ReadResult::kRead: break;
    case AttachedPackage::ReadResult::kMissing: ShowStartupFailure(texts::kReadIniFailed); return false;
    case AttachedPackage::ReadResult::kNoMemory: ShowStartupFailure(texts::kLoadIniFailed); return false;
  }
  if (!document->Load(content.data(), content.size())) {
    ShowStartupFailure(texts::kLoadIniFailed);
    return false;
  }
  return true;
}
