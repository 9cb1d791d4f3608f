#include "commands.h"
#include "json_reports.h"
#include "key_table.h"

int RunKeys(const CommandLine& line, std::ostream& out, std::ostream&) {
  out << (line.json ? KeysJson() : KeyTableMarkdown());
  return kExitClean;
}
