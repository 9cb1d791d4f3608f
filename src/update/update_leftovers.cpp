#include "update/update_leftovers.h"

#include "update/update_files.h"

void RemoveUpdateLeftovers(FileSystem& files, ProcessControl& process) {
  const auto directory = process.CurrentDirectory();
  if (!directory) return;
  for (const char* name : {kBackupExeName, kUpdateScriptName}) {
    const auto path = PathInDirectory(*directory, name);
    if (path && files.Exists(*path)) files.Remove(*path);
  }
}
