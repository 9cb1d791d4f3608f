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

// The refusals that keep a player from ever updating again come with the
// release itself: it would start, but never check, or never install, an
// update after it. New installers are the only way past them.
enum class UpdateVerdict {
  kAccepted,
  kTooLarge,         // larger than the launcher ever fetches
  kNotLauncher,      // no launcher image whose package holds a configuration it would start with
  kNotThisLauncher,  // a program of the launcher's machine with a package, but not the launcher (no mark)
  kDoesNotStart,     // a picture start-up loads is missing, unusable or undecodable (CheckLauncherImage says which)
  kNotNewer,         // the version its own configuration carries is not newer than the running one's
  kOpensTheGame,     // its firstUrl opens the game at once: only the login window checks for updates
  kNoUpdateChannel,  // it names no server, or no version file or launcher address it could fetch
  kKeyMalformed,     // its updateKey is not a key: it would refuse every update after it
  kKeyChanged,       // a key is configured, and the new launcher trusts another one (or none)
  kUnsigned,         // a key is configured, and no well-formed signature came with the file
  kWrongSignature,   // the signature is not the key's over exactly these bytes
};

// The verdict's name as the launcher reports it ("NotThisLauncher").
const char* UpdateVerdictName(UpdateVerdict verdict);

// The largest launcher an update fetches: the package reader's own limit
// for a whole member, so nothing larger could start anyway.
inline constexpr std::uint64_t kLargestUpdate = 64u << 20;

// The checks in this order: the image a launcher's (CheckLauncherImage,
// its pictures decoded with `decodes` when given), its version, whether it
// will check for updates itself (no firstUrl; a server, a version file and
// a launcher address that name files; a key, when it names one), whether
// it starts (its pictures), then, with a key configured here, the same key
// and the signature. `machine` is that of the running launcher, its own
// unless the operator's tool judges for another.
UpdateVerdict JudgeDownloadedLauncher(std::span<const std::uint8_t> file, const Version& running,
                                      const std::optional<UpdatePublicKey>& key,
                                      const std::optional<UpdateSignature>& signature,
                                      const PictureDecoder& decodes = {}, std::uint16_t machine = kLauncherMachine);
