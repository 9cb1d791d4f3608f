#include "package/picture_scale.h"

#include <climits>

namespace {

int Pixels(std::uint32_t length) { return length > INT_MAX ? INT_MAX : static_cast<int>(length); }

}  // namespace

std::string DoubleSizeName(std::string_view member) {
  const std::size_t nameStart = member.rfind('/') == std::string_view::npos ? 0 : member.rfind('/') + 1;
  std::size_t dot = member.rfind('.');
  if (dot == std::string_view::npos || dot < nameStart) dot = member.size();
  return std::string(member.substr(0, dot)) + "@2x" + std::string(member.substr(dot));
}

std::optional<std::string> SingleSizeName(std::string_view member) {
  // "@2x" is taken out where DoubleSizeName would have put it, and only
  // what DoubleSizeName turns back into `member` is one.
  constexpr std::string_view kMark = "@2x";
  const std::size_t nameStart = member.rfind('/') == std::string_view::npos ? 0 : member.rfind('/') + 1;
  for (const std::size_t end : {member.rfind('.'), member.size()}) {
    if (end == std::string_view::npos || end < nameStart + kMark.size()) continue;
    if (member.substr(end - kMark.size(), kMark.size()) != kMark) continue;
    std::string single = std::string(member.substr(0, end - kMark.size())) + std::string(member.substr(end));
    if (DoubleSizeName(single) == member) return single;
  }
  return std::nullopt;
}

bool WantsDoubleSize(int dpi) { return dpi >= kDoubleSizeFromDpi; }

bool IsDoubleSizeOf(PictureSize doubleSize, PictureSize single) {
  return static_cast<std::uint64_t>(doubleSize.width) == 2ull * single.width &&
         static_cast<std::uint64_t>(doubleSize.height) == 2ull * single.height;
}

PictureChoice ChoosePicture(const DisplayScale& scale, PictureSize single, std::optional<PictureSize> doubleSize) {
  return {WantsDoubleSize(scale.Dpi()) && doubleSize && IsDoubleSizeOf(*doubleSize, single),
          scale.Length(Pixels(single.width)), scale.Length(Pixels(single.height))};
}
