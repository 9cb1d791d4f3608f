#include "update_process_tree.h"

#include <tlhelp32.h>

#include <algorithm>
#include <vector>

#include "win_testkit.h"

namespace testkit {
namespace {

std::vector<DWORD> ChildrenOf(DWORD parentId) {
  std::vector<DWORD> children;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return children;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    if (entry.th32ParentProcessID == parentId && entry.th32ProcessID != parentId)
      children.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  return children;
}

// Whether the process runs the program file at `program`; a process whose
// file cannot be read yet (one that is just starting) counts as running it.
bool Runs(DWORD id, const std::string& program) {
  HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (process == nullptr) return false;  // gone between the look and the opening
  char image[MAX_PATH] = {};
  DWORD size = sizeof image;
  const bool runs = WaitForSingleObject(process, 0) == WAIT_TIMEOUT &&
                    (!QueryFullProcessImageNameA(process, 0, image, &size) ||
                     CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, image, static_cast<int>(size), program.c_str(),
                                    static_cast<int>(program.size())) == CSTR_EQUAL);
  CloseHandle(process);
  return runs;
}

}  // namespace

bool WaitUntilEnded(const std::string& program, DWORD parentId, DWORD timeoutMs) {
  return PumpUntil(
      [&] {
        const std::vector<DWORD> children = ChildrenOf(parentId);
        return std::none_of(children.begin(), children.end(), [&](DWORD child) { return Runs(child, program); });
      },
      timeoutMs);
}

bool EndProcessesStartedBy(DWORD parentId) {
  bool allGone = true;
  for (const DWORD child : ChildrenOf(parentId)) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, child);
    allGone = EndProcessesStartedBy(child) && allGone;
    // Gone between the look and the opening: nothing left to end.
    if (process == nullptr) continue;
    EndProcess(process);
    allGone = WaitForSingleObject(process, 10000) == WAIT_OBJECT_0 && allGone;
    CloseHandle(process);
  }
  return allGone;
}

bool EndProcessesRunningFrom(const std::string& directory) {
  const std::string prefix = directory + "\\";
  std::vector<DWORD> found;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return false;
  PROCESSENTRY32 entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    found.push_back(entry.th32ProcessID);
  CloseHandle(snapshot);
  bool allGone = true;
  for (const DWORD id : found) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
    if (process == nullptr) continue;
    char image[MAX_PATH] = {};
    DWORD size = sizeof image;
    if (QueryFullProcessImageNameA(process, 0, image, &size) && size > prefix.size() &&
        CompareStringA(LOCALE_INVARIANT, NORM_IGNORECASE, image, static_cast<int>(prefix.size()), prefix.c_str(),
                       static_cast<int>(prefix.size())) == CSTR_EQUAL) {
      EndProcess(process);
      allGone = WaitForSingleObject(process, 10000) == WAIT_OBJECT_0 && allGone;
    }
    CloseHandle(process);
  }
  return allGone;
}

}  // namespace testkit
