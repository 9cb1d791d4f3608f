#include "update/update_leftovers.h"

#include "update/update_files.h"

bool RemoveUpdateLeftovers(FileSystem& files, ProcessControl& process) {
  const auto directory = process.CurrentDirectory();
  if (!directory) return false;
  bool scriptFound = false;
  for (const char* name : {kBackupExeName, kUpdateScriptName}) {
    const auto path = PathInDirectory(*directory, name);
    if (!path || !files.Exists(*path)) continue;
    scriptFound = scriptFound || name == kUpdateScriptName;
    files.Remove(*path);
  }
  return scriptFound;
}
