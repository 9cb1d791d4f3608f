#include "commands/commands.h"
#include "reports/json_reports.h"

int RunSchema(const CommandLine&, std::ostream& out, std::ostream&) {
  out << ConfigurationSchema();
  return kExitClean;
}
