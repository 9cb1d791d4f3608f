#include "launcher_pack.h"

#include "commands.h"

int RunLauncherPack(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto line = ParseCommandLine(args, &error);
  if (!line) {
    err << "launcher-pack: " << error << "\n\n" << kUsage;
    return kExitUnreadable;
  }
  if (line->command == "help") {
    out << kUsage;
    return kExitClean;
  }
  if (line->command == "pack") return RunPack(*line, out, err);
  if (line->command == "check") return RunCheck(*line, out, err);
  if (line->command == "inspect") return RunInspect(*line, out, err);
  if (line->command == "preview") return RunPreview(*line, out, err);
  return RunKeys(*line, out, err);
}
