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
  if (folder.empty() || ProgramFolder(newPath, env.isLeadByte) != folder) return std::nullopt;
  const auto shortFolder = env.files.ShortPath(std::string(folder));
  if (!shortFolder) return std::nullopt;
  const std::string shortProgram = *shortFolder + std::string(programPath.substr(folder.size()));
  const std::string shortNew = *shortFolder + newPath.substr(folder.size());
  return env.process.ConsoleText(BuildUpdateScript(shortProgram, shortNew, env.isLeadByte));
}

std::optional<PlannedScript> PlanSelfReplacement(const std::string& newPath, UpdateEnvironment& env) {
  // The script goes where the working directory is now; the leftovers are
  // removed from there at the next start.
  const auto directory = env.process.CurrentDirectory();
  if (!directory) return std::nullopt;
  const auto scriptPath = PathInDirectory(*directory, kUpdateScriptName);
  const auto programPath = env.process.ProgramPath();
  if (!scriptPath || !programPath || env.files.Exists(*scriptPath)) return std::nullopt;
  auto text = ConsoleUpdateScript(*programPath, newPath, env);
  if (!text) return std::nullopt;
  return PlannedScript{*directory, *scriptPath, std::move(*text)};
}

Replacement StartSelfReplacement(const std::string& newPath, UpdateEnvironment& env) {
  const auto script = PlanSelfReplacement(newPath, env);
  if (!script || !WriteScript(script->path, script->text, env.files)) return Replacement::kScriptNotWritten;
  if (!env.process.RunScript(script->directory, kUpdateScriptName)) {
    env.files.Remove(script->path);
    return Replacement::kScriptDidNotRun;
  }
  return Replacement::kRunning;
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
