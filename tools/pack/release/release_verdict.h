// Whether launchers in the field would install a release: its version file,
// the launcher it offers and that launcher's signature, judged by the
// launcher's own rules (version line and comparison, the image and its
// package, the signature, the size limit). The same judgement for a
// release made on this machine and for one served by the update server.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "release/version_text.h"
#include "update/launcher_image.h"
#include "update/update_version.h"

struct ReleaseBytes {
  std::string versionFile;               // the version file's whole body
  std::string launcher;                  // the new exe
  std::optional<std::string> signature;  // the .sig file's body; nothing when none was found
};

struct ReleaseVerdict {
  std::string offered;  // the version file's first line, as the launcher reads it
  std::string carried;  // the [global] version the new exe carries; empty when it is no launcher
  // Why launchers would not install it, each in the operator's terms;
  // empty when every launcher older than the release installs it.
  std::vector<std::string> problems;
  bool Installs() const { return problems.empty(); }
};

// `updateKey` is the key of the launchers that fetch the release (the
// players' launchers; a launcher keeps its key from release to release);
// `previous` the version they run, or nothing to judge for any older one;
// `machine` their kind (LauncherKind), since a launcher installs only its
// own.
ReleaseVerdict JudgeRelease(const ReleaseBytes& release, std::string_view updateKey,
                            const std::optional<Version>& previous, std::uint16_t machine = kLauncherMachine);

// The kind of launcher a program file is: its machine when it is one of the
// launcher's two builds (0x14C, the 32-bit product; 0x8664, the 64-bit
// build tested where no 32-bit code runs), else the kind of this tool's own
// build, by which anything else is no launcher.
std::uint16_t LauncherKind(std::string_view program);

// "the 32-bit product" or "the 64-bit build", for messages.
std::string LauncherKindName(std::uint16_t machine);
