// [global] browserMode: the document mode the browser control renders pages
// in, as the control's FEATURE_BROWSER_EMULATION feature control numbers
// it. Without one the control takes the mode of a page from the last
// century; the number is registered for the program's own file name under
// the current user's key before the first browser is made.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// The numbers the feature control knows, oldest first: 7000 (IE7) up to
// 11001 (IE11 whatever the page's DOCTYPE says).
std::span<const std::uint32_t> BrowserModes();

// Whether `value` is a valid [global] browserMode: 0 (the default: nothing
// registered) or one of the modes.
bool IsValidBrowserMode(std::int64_t value);

// The mode to register for a configured value: nothing for 0, and nothing
// for a number that is no mode (the control would take it for its oldest).
std::optional<std::uint32_t> BrowserModeToRegister(std::int64_t configured);

// Where the modes are registered, under the current user's key; each
// program's value is named after its file.
inline constexpr char16_t kBrowserEmulationKey[] =
    u"Software\\Microsoft\\Internet Explorer\\Main\\FeatureControl\\FEATURE_BROWSER_EMULATION";

// The value's name for the program at `programPath` (UTF-8): its file
// name without its directory, as the system gives it (a renamed program
// registers under its new name).
std::string BrowserModeValueName(std::string_view programPath);
