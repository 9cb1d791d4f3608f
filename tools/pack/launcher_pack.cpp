#include "launcher_pack.h"

#include "commands.h"

int RunLauncherPack(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto line = ParseCommandLine(args, &error);
  if (!line) {
    err << "launcher-pack: " << error << "\n\n" << kUsage;
    return kExitUnreadable;
  }
  if (line->command == "usage") {  // nothing asked: the usage, as a wrong command line gets it
    err << kUsage;
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
  if (line->command == "keygen") return RunKeygen(*line, out, err);
  if (line->command == "sign") return RunSign(*line, out, err);
  if (line->command == "schema") return RunSchema(*line, out, err);
  if (line->command == "init") return RunInit(*line, out, err);
  return RunKeys(*line, out, err);
}
