#include "browser/browser_mode.h"

#include <algorithm>

namespace {

constexpr std::uint32_t kModes[] = {7000, 8000, 8888, 9000, 9999, 10000, 10001, 11000, 11001};

}  // namespace

std::span<const std::uint32_t> BrowserModes() { return kModes; }

bool IsValidBrowserMode(std::int64_t value) { return value == 0 || BrowserModeToRegister(value).has_value(); }

std::optional<std::uint32_t> BrowserModeToRegister(std::int64_t configured) {
  const auto found = std::find(std::begin(kModes), std::end(kModes), configured);
  if (found == std::end(kModes)) return std::nullopt;
  return *found;
}

std::string BrowserModeValueName(std::string_view programPath) {
  // In UTF-8 no byte of a longer character is a separator.
  const std::size_t separator = programPath.find_last_of("\\/");
  return std::string(separator == std::string_view::npos ? programPath : programPath.substr(separator + 1));
}
