#include "release/release_verdict.h"

#include <climits>
#include <span>

#include "formats/png_codec.h"
#include "update/launcher_image.h"
#include "update/update_signature.h"
#include "update/update_verdict.h"

namespace {

std::span<const std::uint8_t> AsBytes(std::string_view text) {
  return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

constexpr std::uint16_t kProductMachine = 0x14C, kWideMachine = 0x8664;

// The tool's own PNG decoder standing in for the launcher's: a picture it
// cannot decode would not show.
bool Decodes(std::span<const std::uint8_t> bytes) {
  std::string error;
  return DecodePng({reinterpret_cast<const char*>(bytes.data()), bytes.size()}, &error).has_value();
}

std::string PictureProblem(LauncherImageFault fault) {
  switch (fault) {
    case LauncherImageFault::kPictureMissing: return " is missing from its package";
    case LauncherImageFault::kPictureUndecodable: return " does not decode";
    default: return " is no picture it can show";
  }
}

}  // namespace

std::uint16_t LauncherKind(std::string_view program) {
  const auto machine = ProgramMachine(AsBytes(program));
  return machine == kProductMachine || machine == kWideMachine ? *machine : kLauncherMachine;
}

std::string LauncherKindName(std::uint16_t machine) {
  return machine == kWideMachine ? "the launcher's 64-bit build" : "the 32-bit product";
}

ReleaseVerdict JudgeRelease(const ReleaseBytes& release, std::string_view updateKey,
                            const std::optional<Version>& previous, std::uint16_t machine) {
  ReleaseVerdict verdict;
  auto& problems = verdict.problems;
  const Version offered = ParseVersion(VersionLine(release.versionFile));
  verdict.offered = VersionText(offered);
  // Below every version: without a previous one, any older launcher counts.
  const Version running = previous.value_or(Version{INT32_MIN, INT32_MIN});
  if (previous && !IsNewerVersion(running, offered))
    problems.push_back("the version file offers " + verdict.offered + ", which is not newer than " +
                       VersionText(running) + ": launchers of that version never fetch the new exe");

  std::optional<UpdatePublicKey> key;
  if (!updateKey.empty() && !(key = ParseUpdateKey(updateKey)))
    problems.push_back("updateKey is not 64 hexadecimal digits: the launchers install no update at all");
  std::optional<UpdateSignature> signature;
  if (release.signature) signature = ParseUpdateSignature(*release.signature);

  const auto carried = LauncherImageVersion(AsBytes(release.launcher), machine);
  if (carried) verdict.carried = VersionText(ParseVersion(*carried));
  if (carried && ParseVersion(*carried) != offered)
    problems.push_back("the version file offers " + verdict.offered + " but the exe carries " + verdict.carried +
                       (IsNewerVersion(ParseVersion(*carried), offered)
                            ? ": every launcher below " + verdict.offered +
                                  " fetches it, refuses it as not newer, and fetches it again at its next start"
                            : ": launchers of " + verdict.carried +
                                  " find themselves older and fetch it at every "
                                  "start"));
  switch (JudgeDownloadedLauncher(AsBytes(release.launcher), running, key, signature, Decodes, machine)) {
    case UpdateVerdict::kAccepted: break;
    case UpdateVerdict::kTooLarge:
      problems.push_back("the exe is " + std::to_string(release.launcher.size()) + " bytes, more than the " +
                         std::to_string(kLargestUpdate >> 20) + " MB a launcher fetches");
      break;
    case UpdateVerdict::kNotLauncher:
      problems.push_back(LauncherKind(release.launcher) != machine &&
                                 ProgramMachine(AsBytes(release.launcher)) == LauncherKind(release.launcher)
                             ? "the exe is " + LauncherKindName(LauncherKind(release.launcher)) +
                                   ", which launchers of " + LauncherKindName(machine) + " never install"
                             : "the exe is no launcher with a package a launcher would start with");
      break;
    case UpdateVerdict::kNotThisLauncher:
      problems.push_back(
          "the exe is another program with the package appended, not the launcher (it lacks the "
          "launcher's own mark): pack the skin onto Launcher.exe");
      break;
    case UpdateVerdict::kDoesNotStart: {
      const LauncherImageCheck image = CheckLauncherImage(AsBytes(release.launcher), Decodes, machine);
      problems.push_back("the exe would not start: " + image.picture + PictureProblem(image.fault) +
                         ", and a launcher replaced by it never reaches another update");
      break;
    }
    case UpdateVerdict::kOpensTheGame:
      problems.push_back(
          "the exe's firstUrl opens the game at once, and only the login window checks for updates: "
          "the launchers it would become never update again");
      break;
    case UpdateVerdict::kNoUpdateChannel:
      problems.push_back(
          "the exe names no server, versionUrl or exeUrl it could fetch from: the launchers it would "
          "become never update again");
      break;
    case UpdateVerdict::kKeyMalformed:
      problems.push_back(
          "the exe's updateKey is not 64 hexadecimal digits: the launchers it would become refuse "
          "every update after it");
      break;
    case UpdateVerdict::kKeyChanged:
      problems.push_back("the exe does not carry updateKey=" + std::string(updateKey) +
                         ": the launchers it would become could not check the updates after it");
      break;
    case UpdateVerdict::kNotNewer:
      problems.push_back("the exe carries " + verdict.carried + ", which is not newer than " + VersionText(running) +
                         ": launchers of that version refuse it");
      break;
    case UpdateVerdict::kUnsigned:
      problems.push_back(release.signature ? "the signature file holds no signature (not 128 hexadecimal digits)"
                                           : "there is no signature, and the launchers check one");
      break;
    case UpdateVerdict::kWrongSignature:
      problems.push_back("the signature does not verify against updateKey=" + std::string(updateKey) +
                         " for exactly these bytes (signed with another key, or the exe changed after signing)");
      break;
  }
  return verdict;
}
