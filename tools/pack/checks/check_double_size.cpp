// The @2x pictures: the launcher shows one in place of its 1x picture only
// when it is exactly twice as wide and twice as high, only beside its 1x
// picture, and only for a skin that takes the display's scale. Any other is
// never shown, which is rarely what its painter meant.
#include <string>
#include <vector>

#include "checks/check_context.h"
#include "package/picture_scale.h"

namespace {

std::string Size(int width, int height) { return std::to_string(width) + " × " + std::to_string(height); }
std::string Size(const RgbaImage& image) { return Size(image.Width(), image.Height()); }

PictureSize SizeOf(const RgbaImage& image) {
  return {static_cast<std::uint32_t>(image.Width()), static_cast<std::uint32_t>(image.Height())};
}

// One @2x member against its 1x picture.
void CheckPair(const CheckContext& c, const std::string& twiceName, const std::string& onceName) {
  const SkinPicture& once = c.pictures.Get(onceName);
  if (!once.present) {
    c.findings.Warning(twiceName, 0, "", "",
                       "has no 1x picture beside it (" + onceName + ": " + MissingMember(c.skin, onceName) +
                           "): the launcher shows a @2x picture only in place of its 1x picture, so never this one");
    return;
  }
  const SkinPicture& twice = c.pictures.Get(twiceName);
  const std::string instead = "the launcher never shows it, and resizes " + onceName + " instead";
  if (!twice.image) {
    // A member of a package that the launcher lists but cannot read is as good as missing.
    c.findings.Error(twiceName, 0, "", "",
                     (twice.present ? twice.error : MissingMember(c.skin, twiceName)) + ": " + instead);
    return;
  }
  if (!once.image) return;  // the 1x picture's own trouble comes first, and has its finding where the launcher reads it
  if (IsDoubleSizeOf(SizeOf(*twice.image), SizeOf(*once.image))) return;
  c.findings.Error(twiceName, 0, "", "",
                   "is " + Size(*twice.image) + ", but " + onceName + " is " + Size(*once.image) +
                       ": a @2x picture must be exactly twice as wide and twice as high (" +
                       Size(2 * once.image->Width(), 2 * once.image->Height()) + "), so " + instead);
}

// @2x pictures in a skin that keeps physical pixels: one finding for all.
void CheckScaleKey(const CheckContext& c, const std::vector<std::string>& doubles) {
  const LauncherConfig& model = c.model;
  // A value that is neither 0 nor 1 has its own finding.
  if (doubles.empty() || !c.config.accepted || ScalesWithDisplay(model) || !IsValidDpiScaling(model.dpiScaling)) return;
  const std::string more = doubles.size() == 1 ? "" : " and " + std::to_string(doubles.size() - 1) + " more";
  c.KeyWarning("global", "dpiScaling",
               std::string(c.lines.Key("global", "dpiScaling") != nullptr ? "is 0" : "missing") +
                   ", so the windows keep physical pixels at every display scale and the launcher never shows the "
                   "skin's @2x pictures (" +
                   doubles.front() + more + "); dpiScaling=1 shows them from 150 % on");
}

}  // namespace

void CheckDoubleSizePictures(const CheckContext& c) {
  std::vector<std::string> doubles;
  for (const MemberInfo& member : c.skin.Members()) {
    if (!member.name.ends_with(".png")) continue;
    const auto single = SingleSizeName(member.name);
    if (!single) continue;
    doubles.push_back(member.name);
    CheckPair(c, member.name, *single);
  }
  CheckScaleKey(c, doubles);
}
