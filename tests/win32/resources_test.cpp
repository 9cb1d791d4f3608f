// What the launcher's own file carries besides its code: the icon, the
// manifest and the dialog templates that its windows are made from.
#include <gtest/gtest.h>

#include <cctype>
#include <string>
#include <vector>

#include "app/resource.h"
#include "launcher_driver.h"

namespace {

class LauncherModule {
 public:
  LauncherModule()
      : module_(LoadLibraryExA(testkit::WinePath(LAUNCHER_EXE).c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
  ~LauncherModule() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  std::string Resource(LPCSTR type, LPCSTR name) const {
    HRSRC found = FindResourceA(module_, name, type);
    if (found == nullptr) return {};
    const char* data = static_cast<const char*>(LockResource(LoadResource(module_, found)));
    return std::string(data, SizeofResource(module_, found));
  }
  HMODULE Get() const { return module_; }

 private:
  HMODULE module_;
};

// The fields of a DIALOGEX template that the windows rely on.
struct DialogTemplate {
  DWORD style = 0, exStyle = 0;
  WORD pointSize = 0;
  std::wstring caption, font;
};

std::wstring ReadString(const WORD*& p) {
  std::wstring text;
  while (*p != 0) text += static_cast<wchar_t>(*p++);
  ++p;
  return text;
}

DialogTemplate ParseDialog(const std::string& resource) {
  const WORD* p = reinterpret_cast<const WORD*>(resource.data());
  DialogTemplate t;
  if (resource.size() < 26 || p[1] != 0xFFFF) return t;  // not DIALOGEX
  t.exStyle = p[4] | DWORD{p[5]} << 16;
  t.style = p[6] | DWORD{p[7]} << 16;
  p += 13;  // version, signature, help id, ex style, style, count, x, y, cx, cy
  for (int i = 0; i < 2; ++i) {  // menu and class: 0, 0xFFFF + ordinal, or a string
    if (*p == 0xFFFF)
      p += 2;
    else
      ReadString(p);
  }
  t.caption = ReadString(p);
  if (t.style & DS_SETFONT) {
    t.pointSize = *p;
    p += 3;  // point size, weight, italic + charset
    t.font = ReadString(p);
  }
  return t;
}

}  // namespace

TEST(LauncherResources, IconManifestAndDialogTemplates) {
  LauncherModule exe;
  ASSERT_NE(exe.Get(), nullptr);
  EXPECT_FALSE(exe.Resource(RT_GROUP_ICON, MAKEINTRESOURCEA(IDR_MAINFRAME)).empty());
  // Aware of each monitor's DPI: per-monitor v2 where the system has it,
  // per-monitor before, so the system stretches none of its windows.
  const std::string manifest = exe.Resource(RT_MANIFEST, MAKEINTRESOURCEA(1));
  EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
  EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);

  struct Expected {
    int id;
    DWORD style, exStyle;
    WORD pointSize;
    const wchar_t* font;
  } templates[] = {
      {IDD_LAUNCHER_TRANSLUCENT, WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_FIXEDSYS, WS_EX_APPWINDOW, 8,
       L"MS Shell Dlg"},
      {IDD_LAUNCHER_STANDARD, WS_POPUP | WS_VISIBLE | WS_SYSMENU | DS_SETFONT, 0, 9, L"\x5B8B\x4F53"},  // 宋体
      {IDD_GAME, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS | DS_SETFONT, 0, 9, L"\x5B8B\x4F53"},
  };
  for (const Expected& e : templates) {
    SCOPED_TRACE(e.id);
    const DialogTemplate t = ParseDialog(exe.Resource(RT_DIALOG, MAKEINTRESOURCEA(e.id)));
    EXPECT_EQ(t.style, e.style);
    EXPECT_EQ(t.exStyle, e.exStyle);
    EXPECT_EQ(t.pointSize, e.pointSize);
    EXPECT_EQ(t.font, e.font);
  }
}

// The program and the common controls it asks for are of its own
// architecture. A 64-bit program asking for x86 common controls gets the old
// ones where only 64-bit ones are installed, and does not start at all where
// the x86 ones are too.
TEST(LauncherResources, TheManifestAsksForTheCommonControlsOfTheProgramsArchitecture) {
  LauncherModule exe;
  ASSERT_NE(exe.Get(), nullptr);
  const std::string manifest = exe.Resource(RT_MANIFEST, MAKEINTRESOURCEA(1));
  const std::string own = sizeof(void*) == 8 ? "amd64" : "x86";
  std::vector<std::string> architectures;
  const std::string attribute = "processorArchitecture=\"";
  for (std::size_t at = manifest.find(attribute); at != std::string::npos; at = manifest.find(attribute, at + 1)) {
    const std::size_t start = at + attribute.size();
    architectures.push_back(manifest.substr(start, manifest.find('"', start) - start));
  }
  EXPECT_EQ(architectures, (std::vector<std::string>{own, own})) << "the program's and the common controls'";

  // This test program carries the same manifest: the common controls it was
  // given are that side-by-side assembly (version 6), not the system
  // folder's old ones.
  const HMODULE controls = GetModuleHandleA("comctl32.dll");
  ASSERT_NE(controls, nullptr);
  char path[MAX_PATH] = {};
  ASSERT_NE(GetModuleFileNameA(controls, path, MAX_PATH), 0u);
  std::string loaded = path;
  for (char& c : loaded) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  EXPECT_NE(loaded.find("\\winsxs\\" + own + "_microsoft.windows.common-controls_"), std::string::npos) << path;
}

TEST(Environment, RunsWithTheChineseAnsiCodePage) {
  // The launcher's texts are GBK: every Windows test assumes code page 936.
  EXPECT_EQ(GetACP(), 936u);
  EXPECT_TRUE(IsDBCSLeadByte(0xC6));
}
