#include "checks/skin_check.h"
#include "commands/commands.h"
#include "commands/skin_opening.h"
#include "reports/json_reports.h"

int RunCheck(const CommandLine& line, std::ostream& out, std::ostream& err) {
  auto opened = OpenNamedSkin(line, err);
  if (!opened) return kExitUnreadable;
  std::vector<Finding> findings = opened->conversion;
  for (Finding& finding : CheckSkin(*opened->source, {opened->convertedFromUtf8, true}))
    findings.push_back(std::move(finding));
  if (line.json)
    out << FindingsJson(findings);
  else
    PrintFindings(out, findings);
  return findings.empty() ? kExitClean : kExitFindings;
}
