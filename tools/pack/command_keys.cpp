#include "commands.h"
#include "key_table.h"

int RunKeys(const CommandLine&, std::ostream& out, std::ostream&) {
  out << KeyTableMarkdown();
  return kExitClean;
}
