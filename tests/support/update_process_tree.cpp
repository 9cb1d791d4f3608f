#include "update_process_tree.h"

#include <tlhelp32.h>

#include <vector>

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

}  // namespace

void EndProcessesStartedBy(DWORD parentId) {
  for (const DWORD child : ChildrenOf(parentId)) {
    HANDLE process = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, child);
    EndProcessesStartedBy(child);
    if (process == nullptr) continue;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
  }
}

}  // namespace testkit
