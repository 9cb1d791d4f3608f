#include "commands/launcher_pack.h"

#include "commands/commands.h"

int RunLauncherPack(std::span<const std::string> args, std::ostream& out, std::ostream& err) {
  std::string error;
  const auto line = ParseCommandLine(args, &error);
  if (!line) {
    err << "launcher-pack: " << error << "\n";
    return kExitUnreadable;
  }
  if (line->command == "usage") {  // nothing asked: the help, as an error, since nothing was done
    err << line->text;
    return kExitUnreadable;
  }
  if (line->command == "help") {
    out << line->text;
    return kExitClean;
  }
  if (line->command == "pack") return RunPack(*line, out, err);
  if (line->command == "release") return RunRelease(*line, out, err);
  if (line->command == "verify-server") return RunVerifyServer(*line, out, err);
  if (line->command == "check") return RunCheck(*line, out, err);
  if (line->command == "inspect") return RunInspect(*line, out, err);
  if (line->command == "preview") return RunPreview(*line, out, err);
  if (line->command == "keygen") return RunKeygen(*line, out, err);
  if (line->command == "sign") return RunSign(*line, out, err);
  if (line->command == "schema") return RunSchema(*line, out, err);
  if (line->command == "init") return RunInit(*line, out, err);
  return RunKeys(*line, out, err);
}
