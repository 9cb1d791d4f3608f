// The login window's decisions: which control each [linkN] becomes, which
// pictures it shows, and whether a navigation hands the game address over.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/geometry.h"
#include "package/launcher_config.h"

enum class LinkKind { kNone, kButton, kHtmlArea };

struct PlannedLink {
  LinkKind kind = LinkKind::kNone;
  int number = 0;          // position in the list from 1: the [linkN] and picture number
  unsigned controlId = 0;  // buttons 200 + type, html areas 150 + the areas before them
  Rect rect;               // html areas only; buttons take their picture's size
  bool operator==(const PlannedLink&) const = default;
};

// One entry per [linkN] record, in order; html areas take no picture
// numbers of their own, so a button keeps its link's number.
std::vector<PlannedLink> PlanLinks(const std::vector<LinkSpec>& links);

// "config/<n>_n.png" (normal) or "config/<n>_d.png" (pressed).
std::string ButtonImageName(int number, bool pressed);

// The login background, whose size is the pair's.
inline constexpr char kLoginBackgroundMember[] = "config/main1.png";

inline constexpr unsigned kFirstHtmlAreaId = 150;
inline constexpr unsigned kMinimiseCommand = 202;
inline constexpr unsigned kCloseCommand = 203;
inline constexpr unsigned kLoginKeyColour = 0x00FF00;  // pure green
// A navigation address is handled in a buffer of this size, the zero included.
inline constexpr std::size_t kNavigationBufferSize = 512;

// The game address a navigation to `address` hands over: what follows the
// game header when the address starts with exactly those bytes, provided it
// is a web page's address ("http://" or "https://" in any letter case).
std::optional<std::string> HandOverAddress(std::string_view address, std::string_view gameHeader);

// Keys the login pair keeps from the dialog keyboard handling.
enum class KeyFilter {
  kDialogHandling,  // the dialog's own keyboard handling (Tab, arrows, ...)
  kPassThrough,     // not consumed and not given to the dialog handling
  kDrop,            // consumed: the key goes nowhere
};
// Enter and Escape never close the pair: the companion passes them on.
KeyFilter CompanionKeyFilter(unsigned virtualKey);
// The background drops function keys and every key with Ctrl or Shift held.
KeyFilter BackgroundKeyFilter(unsigned virtualKey, bool controlDown, bool shiftDown);
