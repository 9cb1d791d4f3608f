// Whether a downloaded file can be a launcher at all, and one that will
// start, checked before it is allowed to replace the running one: a server
// may answer 200 with an error page, a captive portal's login form or an
// empty body, and an operator may ship a release whose package lacks what
// start-up needs. A launcher replaced by one that stops at start never
// reaches another update.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>

// The machine the launcher itself is built for: x86 (0x14C) for the
// product; the 64-bit build that is tested where no 32-bit code runs takes
// its own kind (0x8664). A launcher installs only launchers of its own
// kind; the operator's tool names the kind of the launcher it judges for.
#if defined(_WIN64)
inline constexpr std::uint16_t kLauncherMachine = 0x8664;
#else
inline constexpr std::uint16_t kLauncherMachine = 0x14C;
#endif

// The machine a PE image names ("MZ", the "PE\0\0" signature at the offset
// stored at 0x3C, the machine after it); nothing for any other file.
std::optional<std::uint16_t> ProgramMachine(std::span<const std::uint8_t> file);

// The launcher's own picture decoder, as the system gives it: whether the
// bytes of a picture decode whole.
using PictureDecoder = std::function<bool(std::span<const std::uint8_t>)>;

// True for a PE image of `machine` that carries the launcher's mark
// (launcher_mark.h), with a package appended that opens and from which
// config/cg.txt reads whole.
bool IsLauncherImage(std::span<const std::uint8_t> file, std::uint16_t machine = kLauncherMachine);

// The [global] version the image's own package carries, exactly as that
// launcher will read it when it starts (the text field cut to its width);
// nothing when the file is no launcher image or its configuration is one the
// launcher would refuse to start with. An update must carry a newer version
// than the running launcher, or it would find itself outdated and fetch
// itself again on every start, and an old file replayed by the network would
// roll players back.
std::optional<std::string> LauncherImageVersion(std::span<const std::uint8_t> file,
                                                std::uint16_t machine = kLauncherMachine);

// What keeps a launcher image from starting, in the order start-up meets it.
enum class LauncherImageFault {
  kNone,
  kNotAProgram,           // not a PE image of the launcher's machine
  kNotTheLauncher,        // a program of that machine without the launcher's mark
  kNoPackage,             // nothing appended, or not an archive that opens
  kNoConfiguration,       // config/cg.txt missing or not readable whole
  kConfigurationRefused,  // config/cg.txt does not parse, or the model refuses it
  kPictureMissing,        // a picture start-up loads is missing or not readable whole
  kPictureUnusable,       // such a picture announces no size, an empty one, or too many pixels
  kPictureUndecodable,    // such a picture does not decode with the launcher's own decoder
};

struct LauncherImageCheck {
  LauncherImageFault fault = LauncherImageFault::kNotAProgram;
  std::string picture;    // the member at fault, for the picture faults
  // [global] settings as that launcher reads them, once its configuration
  // is read: its version, and what it needs to check for the updates after it.
  std::string version;
  std::string updateKey;
  std::string firstUrl;
  std::string server;
  std::string versionUrl;
  std::string exeUrl;
};

// Reads the image as the launcher reads itself at start: the package, the
// configuration and model, the login background (a picture that shows as
// 0 by 0 leaves no window to use), and the pictures of the first window it
// shows (the game window's sprite sheet and logo when [global] firstUrl
// opens it, otherwise the login window's button pictures), each present,
// readable whole, announcing a size within the launcher's picture limit
// and, when `decodes` is given, decoding with it: a picture whose header is
// sound and whose data is not leaves the window without its button, or
// without its login area.
LauncherImageCheck CheckLauncherImage(std::span<const std::uint8_t> file, const PictureDecoder& decodes = {},
                                      std::uint16_t machine = kLauncherMachine);
