#include "update/self_replacement.h"

#include "update/update_files.h"
#include "update/update_script.h"

namespace {

bool WriteScript(const std::string& path, const std::string& script, FileSystem& files) {
  std::unique_ptr<WritableFile> file = files.Create(path);
  if (file == nullptr) return false;
  const bool written = file->Write(script.data(), script.size());
  if (file->Close() && written) return true;
  file.reset();
  files.Remove(path);
  return false;
}

}  // namespace

bool StartSelfReplacement(const std::string& newPath, UpdateEnvironment& env) {
  // The script goes where the working directory is now; the leftovers are
  // removed from there at the next start.
  const auto directory = env.process.CurrentDirectory();
  if (!directory) return false;
  const auto scriptPath = PathInDirectory(*directory, kUpdateScriptName);
  const auto programPath = env.process.ProgramPath();
  if (!scriptPath || !programPath) return false;
  if (!WriteScript(*scriptPath, BuildUpdateScript(*programPath, newPath, env.isLeadByte), env.files)) return false;
  // Ended either way: a script that did not start leaves every file as it
  // was, and the old launcher starts normally next time.
  env.process.StartHiddenScript(*scriptPath);
  env.process.EndProcess();
  return true;
}
