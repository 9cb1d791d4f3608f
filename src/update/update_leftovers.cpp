#include "update/update_leftovers.h"

#include "update/update_files.h"

UpdateLeftovers RemoveUpdateLeftovers(FileSystem& files, ProcessControl& process) {
  UpdateLeftovers found;
  const auto directory = process.CurrentDirectory();
  if (!directory) return found;
  for (const char* name : {kBackupExeName, kUpdateScriptName}) {
    const auto path = PathInDirectory(*directory, name);
    if (!path || !files.Exists(*path)) continue;
    files.ClearReadOnly(*path);
    const bool removed = files.Remove(*path);
    if (name != kUpdateScriptName) continue;
    found.scriptFound = true;
    found.scriptRemoved = removed;
  }
  return found;
}
