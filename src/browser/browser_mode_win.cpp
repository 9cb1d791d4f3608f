#include "browser/browser_mode_win.h"

#include <string>

#include "browser/browser_mode.h"
#include "package/launcher_config.h"
#include "win/handles.h"
#include "win/process.h"
#include "win/text.h"

namespace {

bool Holds(HKEY key, const std::wstring& name, DWORD mode) {
  DWORD type = 0, value = 0, size = sizeof value;
  return RegQueryValueExW(key, name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) ==
             ERROR_SUCCESS &&
         type == REG_DWORD && size == sizeof value && value == mode;
}

}  // namespace

BrowserModeRegistration RegisterBrowserMode(std::wstring_view valueName, std::optional<DWORD> mode) {
  if (!mode) return BrowserModeRegistration::kNone;
  HKEY opened = nullptr;
  if (RegCreateKeyExW(HKEY_CURRENT_USER, reinterpret_cast<const wchar_t*>(kBrowserEmulationKey), 0, nullptr, 0,
                      KEY_QUERY_VALUE | KEY_SET_VALUE, nullptr, &opened, nullptr) != ERROR_SUCCESS)
    return BrowserModeRegistration::kFailed;
  const win::UniqueKey key(opened);
  const std::wstring name(valueName);
  if (Holds(key.Get(), name, *mode)) return BrowserModeRegistration::kUnchanged;
  const DWORD value = *mode;
  return RegSetValueExW(key.Get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                        sizeof value) == ERROR_SUCCESS
             ? BrowserModeRegistration::kWritten
             : BrowserModeRegistration::kFailed;
}

BrowserModeRegistration RegisterBrowserMode(const LauncherConfig& config) {
  const std::optional<std::uint32_t> mode = BrowserModeToRegister(config.browserMode);
  if (!mode) return BrowserModeRegistration::kNone;
  const std::optional<std::string> path = win::ProgramPath();
  if (!path) return BrowserModeRegistration::kFailed;
  return RegisterBrowserMode(win::WideFromUtf8(BrowserModeValueName(*path)), *mode);
}
