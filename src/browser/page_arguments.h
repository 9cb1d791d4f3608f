// The argument text of a call into the page's script: the launcher writes
// the arguments of a page function as one comma-separated text, which is
// split here into the strings the function receives.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A page function receives at most this many arguments.
inline constexpr std::size_t kMaxPageArguments = 8;

// The pieces between the commas, in written order. Empty pieces (adjacent
// commas, a leading or trailing comma) are skipped, so "2,,3" gives two
// arguments; pieces beyond kMaxPageArguments are dropped. The text ends at
// a zero byte, as the C text it is built as does.
std::vector<std::string> SplitPageArguments(std::string_view text);

// The code of the events the game window sends to the page's ClientCallJs.
inline constexpr int kPageEventRightDown = 2;
inline constexpr int kPageEventRightUp = 3;

// The argument text of one event: code, x and y in decimal ("2,100,200").
// Nothing for a position above the primary monitor (y < 0): such presses
// have never been reported, and pages do not expect a negative y.
std::optional<std::string> PageEventText(int code, int x, int y);
