#include "reports/inspect_pictures.h"

#include <algorithm>
#include <span>

#include "package/picture_scale.h"

namespace {

std::optional<PictureSize> SizeOf(SkinSource& skin, const std::string& name) {
  const auto bytes = skin.Read(name);
  if (!bytes) return std::nullopt;
  return AnnouncedPictureSize(std::span(reinterpret_cast<const std::uint8_t*>(bytes->data()), bytes->size()));
}

}  // namespace

std::vector<PictureForms> ListPictureForms(SkinSource& skin) {
  const std::vector<MemberInfo> members = skin.Members();
  const auto isMember = [&](const std::string& name) {
    return std::any_of(members.begin(), members.end(), [&](const MemberInfo& m) { return m.name == name; });
  };
  std::vector<PictureForms> pictures;
  for (const MemberInfo& member : members) {
    if (!member.name.ends_with(".png")) continue;
    const auto single = SingleSizeName(member.name);
    if (single && isMember(*single)) continue;  // listed with its 1x picture
    PictureForms forms;
    forms.name = single.value_or(member.name);
    forms.present = !single;
    forms.size = forms.present ? SizeOf(skin, forms.name) : std::nullopt;
    const std::string twice = single ? member.name : DoubleSizeName(member.name);
    if (single || isMember(twice)) {
      DoubleSizeForm form{twice, SizeOf(skin, twice), false};
      form.fits = form.size && forms.size && IsDoubleSizeOf(*form.size, *forms.size);
      forms.doubleSize = form;
    }
    pictures.push_back(std::move(forms));
  }
  return pictures;
}
