// The self-update in folders named in letters beyond ASCII, end to end, on
// systems of several code pages. The launcher takes its own path, its
// working directory and every file it touches in UTF-16, so it starts and
// updates in a folder its system's ANSI code page cannot spell; its script
// is written in the console's code page, in which cmd.exe reads it, with
// a folder's short name where that code page lacks a letter.
//
// The same tests run in the normal (Chinese) prefix and, through CTest, in
// prefixes of their own as an English, a German and a Russian Windows
// (scripts/wine-run-locale); LAUNCHER_EXPECTED_CODE_PAGES ("ANSI,OEM") says
// which code pages the run must have, so that a prefix that silently fell
// back to another locale fails instead of proving nothing.
#include <gtest/gtest.h>

#include <cstdlib>

#include "debug_output.h"
#include "launcher_driver.h"
#include "update_e2e.h"
#include "update_process_tree.h"
#include "update_test_server.h"
#include "win/text.h"

using testkit::Bytes;
using testkit::kExePath;
using testkit::kVersionPath;
using testkit::RequestsFor;
using testkit::UpdateTestServer;

namespace {

// A program folder named `name` (UTF-8) inside a temporary directory,
// handled through the wide functions only.
class WideFolder {
 public:
  // With `totalLength`, the name is lengthened with "d"s until the folder's
  // whole path has that many characters.
  explicit WideFolder(const std::string& name, std::size_t totalLength = 0)
      : path_(win::WideFromUtf8(base_.Path() + "\\" + name)) {
    if (path_.size() < totalLength) path_.append(totalLength - path_.size(), L'd');
    created_ = CreateDirectoryW(path_.c_str(), nullptr) != FALSE;
  }
  ~WideFolder() {
    for (const std::wstring& file : Files()) DeleteFileW((path_ + L"\\" + file).c_str());
    RemoveDirectoryW(path_.c_str());
  }
  WideFolder(const WideFolder&) = delete;
  WideFolder& operator=(const WideFolder&) = delete;

  bool Created() const { return created_; }
  std::wstring File(const std::wstring& name) const { return path_ + L"\\" + name; }

  bool Write(const std::wstring& name, const Bytes& content) const {
    HANDLE file = CreateFileW(File(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
                    written == content.size();
    CloseHandle(file);
    return ok;
  }

  Bytes Read(const std::wstring& name) const {
    HANDLE file = CreateFileW(File(name).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    Bytes content(GetFileSize(file, nullptr));
    DWORD read = 0;
    if (!ReadFile(file, content.data(), static_cast<DWORD>(content.size()), &read, nullptr)) read = 0;
    content.resize(read);
    CloseHandle(file);
    return content;
  }

  std::vector<std::wstring> Files() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found{};
    HANDLE search = FindFirstFileW((path_ + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
      if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
  }

  // The folder's short (8.3) form, as a shortcut's "Start in" may name it.
  std::wstring ShortPath() const {
    wchar_t shortPath[MAX_PATH] = {};
    const DWORD length = GetShortPathNameW(path_.c_str(), shortPath, MAX_PATH);
    return length > 0 && length < MAX_PATH ? std::wstring(shortPath, length) : std::wstring();
  }

  // Starts the program file `name` here, in `workDir` (this folder when
  // empty) as its working directory; the process, or nothing.
  HANDLE Start(const std::wstring& name, DWORD* id, const std::wstring& workDir = L"") const {
    std::wstring line = L"\"" + File(name) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(File(name).c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        workDir.empty() ? path_.c_str() : workDir.c_str(), &startup, &info))
      return nullptr;
    CloseHandle(info.hThread);
    *id = info.dwProcessId;
    return info.hProcess;
  }

 private:
  testkit::TempDir base_;
  std::wstring path_;
  bool created_ = false;
};

struct Folder {
  const char* name;    // the test's name
  const char* folder;  // UTF-8
  std::size_t totalLength = 0;           // the folder's path lengthened to this many characters
  bool startInShortForm = false;         // started with its working directory in 8.3 form
  const char* program = "Launcher.exe";  // UTF-8
};

// Whether the console's code page writes `text` (UTF-8) exactly: the
// update script names the program's file in it, never in a short form.
bool ConsoleWrites(const std::string& text) {
  const std::wstring wide = win::WideFromUtf8(text);
  BOOL defaulted = FALSE;
  char bytes[256];
  return WideCharToMultiByte(GetOEMCP(), WC_NO_BEST_FIT_CHARS, wide.c_str(), static_cast<int>(wide.size()), bytes,
                             sizeof bytes, nullptr, &defaulted) > 0 &&
         !defaulted;
}

void PrintTo(const Folder& folder, std::ostream* out) { *out << folder.name; }

class UpdateInFolder : public ::testing::TestWithParam<Folder> {};

}  // namespace

TEST(UpdateInFolderRun, HasTheCodePagesItWasStartedFor) {
  const char* expected = std::getenv("LAUNCHER_EXPECTED_CODE_PAGES");
  const std::string pages = std::to_string(GetACP()) + "," + std::to_string(GetOEMCP());
  EXPECT_EQ(pages, expected != nullptr ? expected : "936,936");
}

TEST_P(UpdateInFolder, TheLauncherStartsAndUpdatesThere) {
  const Folder& c = GetParam();
  testkit::DebugOutput debug;
  ASSERT_TRUE(debug.Listening()) << "another program reads the debug output";
  UpdateTestServer server;
  ASSERT_TRUE(server.Started());
  const Bytes v1 = testkit::PackedLauncher(testkit::LauncherExe(), "1.01", server.Port());
  const Bytes v2 = testkit::PackedLauncher(testkit::LauncherExe(), "1.02", server.Port());
  server.Serve(kVersionPath, testkit::Text("1.02\r\n"));
  server.Serve(kExePath, testkit::Program(v2));
  WideFolder folder(c.folder, c.totalLength);
  ASSERT_TRUE(folder.Created());
  const std::wstring program = win::WideFromUtf8(c.program);
  ASSERT_TRUE(folder.Write(program, v1));
  std::wstring workDir;
  if (c.startInShortForm) {
    workDir = folder.ShortPath();
    std::wstring longForm = folder.File(L"");
    longForm.pop_back();
    ASSERT_FALSE(workDir.empty() || workDir == longForm) << "the folder has no short form";
  }
  // A program name the console's code page lacks can never be named by the
  // script: nothing is fetched for it.
  const bool updates = ConsoleWrites(c.program);

  DWORD v1Id = 0;
  HANDLE v1Process = folder.Start(program, &v1Id, workDir);
  ASSERT_NE(v1Process, nullptr);
  const auto report = debug.WaitForLine(v1Id, testkit::kUpdateReport);
  if (!updates) {
    EXPECT_EQ(report, "Launcher update: 10013 ScriptNotCreated");
    EXPECT_EQ(WaitForSingleObject(v1Process, 0), static_cast<DWORD>(WAIT_TIMEOUT)) << "v1 ended";
    CloseHandle(v1Process);
    EXPECT_TRUE(testkit::EndProcessesStartedBy(v1Id));
    EXPECT_EQ(RequestsFor(server, kVersionPath), 1u);
    EXPECT_EQ(RequestsFor(server, kExePath), 0u);
    EXPECT_EQ(folder.Files(), std::vector<std::wstring>{program});
    return;
  }
  // v1 starts from its folder (its package read through its own path),
  // checks, downloads and ends for its script.
  EXPECT_EQ(report, "Launcher update: replacing");
  const bool ended = WaitForSingleObject(v1Process, 30000) == WAIT_OBJECT_0;
  CloseHandle(v1Process);
  const HWND v2Window = testkit::WaitForWindowTitled("Launcher 1.02", 30000);
  const bool idle = v2Window != nullptr && SendMessageTimeoutA(v2Window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, nullptr);
  EXPECT_TRUE(testkit::EndProcessesStartedBy(v1Id));
  EXPECT_TRUE(ended) << "v1 never ended; asked for " << RequestsFor(server, kExePath) << " launcher(s)";
  ASSERT_NE(v2Window, nullptr) << "the script's lines missed: no v2 under the program's name";
  EXPECT_TRUE(idle);
  EXPECT_EQ(folder.Read(program), v2);
  EXPECT_TRUE(testkit::PumpUntil([&] { return folder.Files() == std::vector<std::wstring>{program}; }, 10000))
      << folder.Files().size() << " files left";
  EXPECT_EQ(RequestsFor(server, kVersionPath), 1u);
  EXPECT_EQ(RequestsFor(server, kExePath), 1u);
}

INSTANTIATE_TEST_SUITE_P(
    Folders, UpdateInFolder,
    ::testing::Values(Folder{"chinese", "\xE6\xB8\xB8\xE6\x88\x8F \xE6\x98\x9F\xE6\xB5\xB7"},  // 游戏 星海
                      Folder{"german", "J\xC3\xBCrgen"},                                       // Jürgen
                      Folder{"russian", "\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B"},                   // Игры
                      // The interpreter's command line would expand it.
                      Folder{"percent", "q%OS%r"},
                      // The download's long name would pass 259 characters.
                      Folder{"deep", "deep", 235}, Folder{"startInShortForm", "My Games Folder", 0, true},
                      // Updates only where the console's code page has its letters.
                      Folder{"chineseProgramName", "Games", 0, false, "\xE6\x98\x9F\xE6\xB5\xB7.exe"}),  // 星海.exe
    [](const auto& info) { return std::string(info.param.name); });
