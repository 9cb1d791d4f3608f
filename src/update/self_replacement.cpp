#include "update/self_replacement.h"

#include "common/text.h"

#include "update/update_files.h"
#include "update/update_script.h"

namespace {

// The folder part of a program path, without its closing backslash.
std::string_view ProgramFolder(std::string_view programPath, LeadByteRule isLeadByte) {
  const std::size_t separator = LastCharacter(programPath, '\\', isLeadByte);
  return separator == std::string_view::npos ? std::string_view() : programPath.substr(0, separator);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

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

std::optional<std::string> ConsoleUpdateScript(const std::string& programPath, const std::string& newPath,
                                               UpdateEnvironment& env) {
  if (auto script = env.process.ConsoleText(BuildUpdateScript(programPath, newPath, env.isLeadByte))) return script;
  const std::string_view folder = ProgramFolder(programPath, env.isLeadByte);
  if (folder.empty()) return std::nullopt;
  const auto shortFolder = env.files.ShortPath(std::string(folder));
  const auto shortNew = env.files.ShortPath(newPath);
  if (!shortFolder || !shortNew) return std::nullopt;
  const std::string shortProgram = *shortFolder + std::string(programPath.substr(folder.size()));
  return env.process.ConsoleText(BuildUpdateScript(shortProgram, *shortNew, env.isLeadByte));
}

Replacement StartSelfReplacement(const std::string& newPath, UpdateEnvironment& env) {
  // The script goes where the working directory is now; the leftovers are
  // removed from there at the next start.
  const auto directory = env.process.CurrentDirectory();
  if (!directory) return Replacement::kScriptNotWritten;
  const auto scriptPath = PathInDirectory(*directory, kUpdateScriptName);
  const auto programPath = env.process.ProgramPath();
  if (!scriptPath || !programPath) return Replacement::kScriptNotWritten;
  const auto script = ConsoleUpdateScript(*programPath, newPath, env);
  if (!script) return Replacement::kScriptUnreadable;
  if (!WriteScript(*scriptPath, *script, env.files)) return Replacement::kScriptNotWritten;
  env.process.StartHiddenScript(*scriptPath);
  env.process.EndProcess();
  return Replacement::kStarted;
}

bool IsProgramFolder(std::string_view directory, std::string_view programPath, LeadByteRule isLeadByte) {
  std::string_view folder = ProgramFolder(programPath, isLeadByte);
  // "C:\" as the system writes a drive's root, "C:" as the program path's folder.
  if (!directory.empty() && LastCharacter(directory, '\\', isLeadByte) == directory.size() - 1)
    directory.remove_suffix(1);
  if (folder.empty() || directory.size() != folder.size()) return false;
  for (std::size_t i = 0; i < folder.size(); ++i) {
    if (isLeadByte(static_cast<unsigned char>(folder[i])) && i + 1 < folder.size()) {
      if (folder[i] != directory[i] || folder[i + 1] != directory[i + 1]) return false;
      ++i;
      continue;
    }
    if (LowerAscii(folder[i]) != LowerAscii(directory[i])) return false;
  }
  return true;
}
