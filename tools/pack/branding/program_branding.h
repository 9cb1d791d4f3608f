// Branding a launcher: its own icon and version information in its
// resources, a skin package after its image, and what must go for that to
// hold together: a signature (no longer valid once anything changes, and in
// the way of the package) and a COFF symbol table (which lies where the
// launcher looks for its package).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "branding/icon_file.h"
#include "branding/version_resource.h"

// The launcher's icon group: the windows, the taskbar and the tray load it by
// this id, and Explorer shows the exe's first group, which is this one.
std::uint16_t LauncherIconId();

// The language of version information the launcher does not have yet:
// Chinese (PRC), that of the games it serves.
inline constexpr std::uint16_t kDefaultVersionLanguage = 0x0804;

struct BrandingRequest {
  std::optional<std::vector<IconImage>> icon;
  std::optional<VersionInfo> version;  // its language is taken from the exe's, if it has one
  bool replace = false;                // cut the package the exe carries
};

struct BrandedProgram {
  std::string file;
  std::uint64_t imageSize = 0;       // the image, without any package
  bool carriedPackage = false;       // something followed the image besides a signature
  std::uint64_t signatureCut = 0;    // bytes of the certificate table removed
  std::uint64_t symbolTableCut = 0;  // bytes of the COFF symbol table removed
};

// The program with `zip` appended as its package and the requested
// resources in it, or nothing with `error` in the operator's terms. Without
// resources to change, an unsigned, stripped program is left byte for byte
// as it was and the archive appended; otherwise the image is rewritten, the
// signature and symbol table cut and the checksum computed over the whole
// result.
std::optional<BrandedProgram> BrandProgram(std::string_view program, std::string_view zip,
                                           const BrandingRequest& request, std::string* error);
