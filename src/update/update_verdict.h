// Whether a downloaded launcher may take the running one's place, and why
// not: the one decision the update check makes about the file it fetched,
// also asked by the operator's tool before a release is uploaded.
#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "update/launcher_image.h"
#include "update/update_signature.h"
#include "update/update_version.h"

enum class UpdateVerdict {
  kAccepted,
  kTooLarge,        // larger than the launcher ever fetches
  kNotLauncher,     // no launcher image whose package holds a configuration it would start with
  kDoesNotStart,    // a picture start-up loads is missing or unusable (CheckLauncherImage says which)
  kNotNewer,        // the version its own configuration carries is not newer than the running one's
  kKeyChanged,      // a key is configured, and the new launcher trusts another one (or none)
  kUnsigned,        // a key is configured, and no well-formed signature came with the file
  kWrongSignature,  // the signature is not the key's over exactly these bytes
};

// The largest launcher an update fetches: the package reader's own limit
// for a whole member, so nothing larger could start anyway.
inline constexpr std::uint64_t kLargestUpdate = 64u << 20;

// The checks in the order the update check needs their answers: the image
// as the launcher reads itself at start (CheckLauncherImage), its version,
// then, with a key, the key it carries for the updates after it and the
// signature. Without a key neither is looked at. `machine` is that of the
// running launcher, its own unless the operator's tool judges for another.
UpdateVerdict JudgeDownloadedLauncher(std::span<const std::uint8_t> file, const Version& running,
                                      const std::optional<UpdatePublicKey>& key,
                                      const std::optional<UpdateSignature>& signature,
                                      std::uint16_t machine = kLauncherMachine);
