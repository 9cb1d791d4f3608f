#include "login/login_rules.h"

#include "common/web_address.h"

namespace {

constexpr unsigned kVkReturn = 0x0D;
constexpr unsigned kVkEscape = 0x1B;
constexpr unsigned kVkF1 = 0x70;
constexpr unsigned kVkF12 = 0x7B;

}  // namespace

std::vector<PlannedLink> PlanLinks(const std::vector<LinkSpec>& links) {
  std::vector<PlannedLink> plan;
  unsigned htmlAreas = 0;
  for (std::size_t i = 0; i < links.size(); ++i) {
    const LinkSpec& link = links[i];
    PlannedLink planned;
    planned.number = static_cast<int>(i + 1);
    if (link.type >= 1 && link.type <= 3) {
      planned.kind = LinkKind::kButton;
      planned.controlId = 200 + static_cast<unsigned>(link.type);
    } else if (link.type == 4) {
      planned.kind = LinkKind::kHtmlArea;
      planned.controlId = kFirstHtmlAreaId + htmlAreas++;
      planned.rect = {link.x, link.y, ClampToInt(static_cast<long long>(link.x) + link.width),
                      ClampToInt(static_cast<long long>(link.y) + link.height)};
    }
    plan.push_back(planned);
  }
  return plan;
}

std::string ButtonImageName(int number, bool pressed) {
  return "config/" + std::to_string(number) + (pressed ? "_d.png" : "_n.png");
}

std::optional<std::string> HandOverAddress(std::string_view address, std::string_view gameHeader) {
  if (address.size() <= gameHeader.size() || address.substr(0, gameHeader.size()) != gameHeader) return std::nullopt;
  const std::string_view gameAddress = address.substr(gameHeader.size());
  // A page (or a frame in it) must not open a local file or run script in
  // the game window: only web pages are handed over.
  if (!IsWebAddress(gameAddress)) return std::nullopt;
  return std::string(gameAddress);
}

KeyFilter CompanionKeyFilter(unsigned virtualKey) {
  return virtualKey == kVkReturn || virtualKey == kVkEscape ? KeyFilter::kPassThrough : KeyFilter::kDialogHandling;
}

KeyFilter BackgroundKeyFilter(unsigned virtualKey, bool controlDown, bool shiftDown) {
  if (virtualKey == kVkReturn || virtualKey == kVkEscape) return KeyFilter::kPassThrough;
  if ((virtualKey >= kVkF1 && virtualKey <= kVkF12) || controlDown || shiftDown) return KeyFilter::kDrop;
  return KeyFilter::kDialogHandling;
}
