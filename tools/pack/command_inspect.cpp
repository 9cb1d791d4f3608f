#include "commands.h"
#include "inspect_report.h"
#include "skin_opening.h"

int RunInspect(const CommandLine& line, std::ostream& out, std::ostream& err) {
  auto opened = OpenNamedSkin(line, err);
  if (!opened) return kExitUnreadable;
  const auto config = ReadSkinConfig(*opened->source);
  const InspectSubject subject{line.inputs[0], opened->source->Members(), config.get()};
  if (line.json)
    WriteInspectJson(out, subject);
  else
    WriteInspectText(out, subject);
  return kExitClean;
}
