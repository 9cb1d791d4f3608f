#include "commands.h"
#include "inspect_report.h"
#include "inspect_update.h"
#include "skin_opening.h"

int RunInspect(const CommandLine& line, std::ostream& out, std::ostream& err) {
  auto opened = OpenNamedSkin(line, err);
  if (!opened) return kExitUnreadable;
  const auto config = ReadSkinConfig(*opened->source);
  InspectSubject subject{line.inputs[0], opened->source->Members(), config.get(), std::nullopt};
  if (opened->source->IsProgram())
    subject.signature = FindSignature(static_cast<const PackageSkin&>(*opened->source).FileBytes());
  if (line.json)
    WriteInspectJson(out, subject);
  else
    WriteInspectText(out, subject);
  const std::string_view program =
      opened->source->IsProgram() ? static_cast<const PackageSkin&>(*opened->source).FileBytes() : std::string_view();
  std::string error;
  if (!line.json && !WriteUpdateTrust(out, line, config ? &config->model : nullptr, program, &error)) {
    err << "launcher-pack: " << error << "\n";
    return kExitUnreadable;
  }
  return kExitClean;
}
