#include "update/system_process_win.h"

#include <sodium/core.h>
#include <sodium/randombytes.h>
#include <windows.h>
// After windows.h, which it needs.
#include <tlhelp32.h>

#include "common/paths.h"
#include "win/handles.h"
#include "win/process.h"
#include "win/text.h"

namespace {

// How long an interpreter may take to start its first command: under a
// loaded system or an emulator, seconds.
constexpr DWORD kScriptStartMs = 60 * 1000;
constexpr DWORD kScriptPollMs = 20;

// Whether the process `parentId` has started a program other than its
// console host: an interpreter that reads its script runs the script's
// commands as programs of its own. A child whose name the system does not
// give yet (Wine's console host, for a moment after it starts) does not
// count.
bool StartedAProgram(DWORD parentId) {
  win::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry))
    if (entry.th32ParentProcessID == parentId && entry.th32ProcessID != parentId && entry.szExeFile[0] != L'\0' &&
        CompareStringOrdinal(entry.szExeFile, -1, L"conhost.exe", -1, TRUE) != CSTR_EQUAL)
      return true;
  return false;
}

// The long form of a program's path, so that a start through an 8.3 name
// still counts as the same file.
std::wstring LongPath(const wchar_t* path) {
  wchar_t longPath[kMaxPath] = {};
  const DWORD length = GetLongPathNameW(path, longPath, kMaxPath);
  return length > 0 && length < kMaxPath ? std::wstring(longPath, length) : std::wstring(path);
}

}  // namespace

std::uint32_t SystemProcess::TickCount() { return GetTickCount(); }

std::optional<std::uint64_t> SystemProcess::UnguessableNumber() {
  // libsodium draws from the system's generator through advapi32, which
  // every Windows has; bcrypt.dll would be one more import to start with.
  if (sodium_init() < 0) return std::nullopt;
  std::uint64_t number = 0;
  randombytes_buf(&number, sizeof number);
  return number;
}

std::optional<std::string> SystemProcess::CurrentDirectory() { return win::WorkingDirectory(); }

std::optional<std::string> SystemProcess::ProgramPath() { return win::ProgramPath(); }

bool SystemProcess::ProgramRunsElsewhere() {
  // The same program file as every other step of the update names.
  const auto own = ProgramPath();
  if (!own) return false;
  const std::wstring ownPath = win::WideFromUtf8(*own);
  win::UniqueHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  const DWORD self = GetCurrentProcessId();
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
    if (entry.th32ProcessID == self || entry.th32ProcessID == 0) continue;
    win::UniqueHandle process(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, entry.th32ProcessID));
    if (!process) continue;
    wchar_t path[kMaxPath] = {};
    DWORD length = kMaxPath;
    if (QueryFullProcessImageNameW(process.Get(), 0, path, &length) &&
        CompareStringOrdinal(LongPath(path).c_str(), -1, ownPath.c_str(), -1, TRUE) == CSTR_EQUAL)
      return true;
  }
  return false;
}

std::optional<std::string> SystemProcess::ConsoleText(std::string_view text) {
  const std::wstring wide = win::WideFromUtf8(text);
  if (wide.empty() != text.empty()) return std::nullopt;
  const UINT codePage = GetOEMCP();
  // A console set to UTF-8 reads the text as it is.
  if (codePage == CP_UTF8 || wide.empty()) return std::string(text);
  // No best fit: a look-alike (an "a" for an "ä") names another file.
  BOOL defaulted = FALSE;
  const int length = static_cast<int>(wide.size());
  const int size =
      WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, nullptr, 0, nullptr, &defaulted);
  if (size <= 0 || defaulted) return std::nullopt;
  std::string bytes(static_cast<std::size_t>(size), '\0');
  WideCharToMultiByte(codePage, WC_NO_BEST_FIT_CHARS, wide.data(), length, bytes.data(), size, nullptr, &defaulted);
  if (defaulted) return std::nullopt;
  return bytes;
}

bool SystemProcess::RunScript(const std::string& directory, const std::string& scriptName) {
  wchar_t system[kMaxPath] = {};
  const UINT length = GetSystemDirectoryW(system, kMaxPath);
  if (length == 0 || length >= kMaxPath) return false;
  const std::string interpreter = win::Utf8FromWide({system, length}) + "\\cmd.exe";
  const win::UniqueHandle process =
      win::StartProcess(interpreter, "cmd.exe /d /c .\\" + scriptName, IDLE_PRIORITY_CLASS, SW_HIDE, directory);
  if (!process) return false;
  const DWORD interpreterId = GetProcessId(process.Get());
  const DWORD start = GetTickCount();
  while (GetTickCount() - start < kScriptStartMs) {
    // Checked while the interpreter lives: its identifier is nobody else's.
    if (StartedAProgram(interpreterId)) return true;
    if (WaitForSingleObject(process.Get(), kScriptPollMs) != WAIT_TIMEOUT) return false;
  }
  TerminateProcess(process.Get(), 1);
  WaitForSingleObject(process.Get(), kScriptStartMs);
  return false;
}

void LeaveIdlePriority() {
  if (GetPriorityClass(GetCurrentProcess()) == IDLE_PRIORITY_CLASS)
    SetPriorityClass(GetCurrentProcess(), NORMAL_PRIORITY_CLASS);
}

EndingGate& ProcessEndingGate() {
  static EndingGate gate;
  return gate;
}

bool SystemProcess::BeginEnding() { return ProcessEndingGate().BeginEnding(); }

void SystemProcess::CancelEnding() { ProcessEndingGate().CancelEnding(); }

void SystemProcess::EndProcess() {
  TerminateProcess(GetCurrentProcess(), 0);
  ExitProcess(0);  // only if the system refused the above
}
