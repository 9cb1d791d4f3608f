#include "update/update_verdict.h"

#include "package/attached_package.h"
#include "update/launcher_image.h"

static_assert(kLargestUpdate == AttachedPackage::kMaxWholeMemberBytes);

UpdateVerdict JudgeDownloadedLauncher(std::span<const std::uint8_t> file, const Version& running,
                                      const std::optional<UpdatePublicKey>& key,
                                      const std::optional<UpdateSignature>& signature, std::uint16_t machine) {
  if (file.size() > kLargestUpdate) return UpdateVerdict::kTooLarge;
  const LauncherImageCheck image = CheckLauncherImage(file, machine);
  if (image.fault == LauncherImageFault::kPictureMissing || image.fault == LauncherImageFault::kPictureUnusable)
    return UpdateVerdict::kDoesNotStart;
  if (image.fault != LauncherImageFault::kNone) return UpdateVerdict::kNotLauncher;
  if (!IsNewerVersion(running, ParseVersion(image.version))) return UpdateVerdict::kNotNewer;
  if (!key) return UpdateVerdict::kAccepted;
  if (ParseUpdateKey(image.updateKey) != key) return UpdateVerdict::kKeyChanged;
  if (!signature) return UpdateVerdict::kUnsigned;
  return VerifyUpdateSignature(file, *signature, *key) ? UpdateVerdict::kAccepted : UpdateVerdict::kWrongSignature;
}
