#include "package/package_file_win.h"

#include <vector>

#include "package/ini_document.h"
#include "win/process.h"
#include "win/text.h"

ProgramFile::MapResult ProgramFile::Map(const std::string& path) {
  file_.Reset(CreateFileW(win::WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
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

LoadOutcome OpenPackage(ProgramFile* file, AttachedPackage* package) {
  const auto path = win::ProgramPath();
  if (!path) return LoadOutcome::kProgramUnreadable;
  switch (file->Map(*path)) {
    case ProgramFile::MapResult::kMapped: break;
    case ProgramFile::MapResult::kCannotCreateMapping: return LoadOutcome::kMappingFailed;
    case ProgramFile::MapResult::kCannotOpen:
    case ProgramFile::MapResult::kCannotMapView: return LoadOutcome::kProgramUnreadable;
  }
  switch (package->Open(file->Bytes())) {
    case PackageOpenResult::kOpened: return LoadOutcome::kLoaded;
    case PackageOpenResult::kNothingAppended: return LoadOutcome::kNoPackage;
    case PackageOpenResult::kNotAnArchive: return LoadOutcome::kNotAnArchive;
  }
  return LoadOutcome::kNotAnArchive;
}

LoadOutcome ReadConfigFile(AttachedPackage* package, IniDocument* document, const char* name) {
  std::vector<char> content;
  switch (package->ReadMember(name, &content)) {
    case AttachedPackage::ReadResult::kRead: break;
    case AttachedPackage::ReadResult::kMissing: return LoadOutcome::kConfigMissing;
    case AttachedPackage::ReadResult::kNoMemory: return LoadOutcome::kConfigUnreadable;
  }
  return document->Load(content.data(), content.size()) ? LoadOutcome::kLoaded : LoadOutcome::kConfigUnreadable;
}
