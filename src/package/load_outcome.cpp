#include "package/load_outcome.h"

#include "common/texts.h"

const char* FailureText(LoadOutcome outcome) {
  switch (outcome) {
    case LoadOutcome::kMappingFailed: return texts::kMappingFailed;
    case LoadOutcome::kNoPackage: return texts::kNoPackage;
    case LoadOutcome::kNotAnArchive: return texts::kOpenZipFailed;
    case LoadOutcome::kConfigMissing: return texts::kReadIniFailed;
    case LoadOutcome::kConfigUnreadable: return texts::kLoadIniFailed;
    case LoadOutcome::kPictureMissing: return texts::kReadImageFailed;
    case LoadOutcome::kLoaded:
    case LoadOutcome::kProgramUnreadable:
    case LoadOutcome::kPictureNoMemory:
    case LoadOutcome::kPictureUndecodable: return nullptr;
  }
  return nullptr;
}
