#include "update/update_verdict.h"

#include "package/attached_package.h"
#include "update/server_url.h"

static_assert(kLargestUpdate == AttachedPackage::kMaxWholeMemberBytes);

namespace {

// Whether the launcher the image becomes asks for updates where it can
// fetch them: a server, and paths (GBK, as configured) that name local files.
bool ChecksForUpdates(const LauncherImageCheck& image) {
  const auto names = [](const std::string& path) {
    return !path.empty() && LocalFileName(path, IsGbkLeadByte).has_value();
  };
  return !image.server.empty() && names(image.versionUrl) && names(image.exeUrl);
}

}  // namespace

const char* UpdateVerdictName(UpdateVerdict verdict) {
  switch (verdict) {
    case UpdateVerdict::kAccepted: return "Accepted";
    case UpdateVerdict::kTooLarge: return "TooLarge";
    case UpdateVerdict::kNotLauncher: return "NotLauncher";
    case UpdateVerdict::kNotThisLauncher: return "NotThisLauncher";
    case UpdateVerdict::kDoesNotStart: return "DoesNotStart";
    case UpdateVerdict::kNotNewer: return "NotNewer";
    case UpdateVerdict::kOpensTheGame: return "OpensTheGame";
    case UpdateVerdict::kNoUpdateChannel: return "NoUpdateChannel";
    case UpdateVerdict::kKeyMalformed: return "KeyMalformed";
    case UpdateVerdict::kKeyChanged: return "KeyChanged";
    case UpdateVerdict::kUnsigned: return "Unsigned";
    case UpdateVerdict::kWrongSignature: return "WrongSignature";
  }
  return "?";
}

UpdateVerdict JudgeDownloadedLauncher(std::span<const std::uint8_t> file, const Version& running,
                                      const std::optional<UpdatePublicKey>& key,
                                      const std::optional<UpdateSignature>& signature, const PictureDecoder& decodes,
                                      std::uint16_t machine) {
  if (file.size() > kLargestUpdate) return UpdateVerdict::kTooLarge;
  const LauncherImageCheck image = CheckLauncherImage(file, decodes, machine);
  const bool pictureFault = image.fault == LauncherImageFault::kPictureMissing ||
                            image.fault == LauncherImageFault::kPictureUnusable ||
                            image.fault == LauncherImageFault::kPictureUndecodable;
  if (image.fault == LauncherImageFault::kNotTheLauncher) return UpdateVerdict::kNotThisLauncher;
  if (image.fault != LauncherImageFault::kNone && !pictureFault) return UpdateVerdict::kNotLauncher;
  // Its configuration is read: what it is, before whether its pictures show.
  if (!IsNewerVersion(running, ParseVersion(image.version))) return UpdateVerdict::kNotNewer;
  if (image.firstUrl.size() > 2) return UpdateVerdict::kOpensTheGame;
  if (!ChecksForUpdates(image)) return UpdateVerdict::kNoUpdateChannel;
  const auto carriedKey = ParseUpdateKey(image.updateKey);
  if (!image.updateKey.empty() && !carriedKey) return UpdateVerdict::kKeyMalformed;
  if (pictureFault) return UpdateVerdict::kDoesNotStart;
  if (!key) return UpdateVerdict::kAccepted;
  if (carriedKey != key) return UpdateVerdict::kKeyChanged;
  if (!signature) return UpdateVerdict::kUnsigned;
  return VerifyUpdateSignature(file, *signature, *key) ? UpdateVerdict::kAccepted : UpdateVerdict::kWrongSignature;
}
