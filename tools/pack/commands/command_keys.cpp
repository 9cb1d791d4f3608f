#include "commands/commands.h"
#include "reports/json_reports.h"
#include "skins/key_table.h"

int RunKeys(const CommandLine& line, std::ostream& out, std::ostream&) {
  out << (line.json ? KeysJson() : KeyTableMarkdown());
  return kExitClean;
}
