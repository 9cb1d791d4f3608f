#include "checks/skin_check.h"
#include "commands/commands.h"
#include "commands/skin_opening.h"
#include "release/update_addresses.h"
#include "reports/json_reports.h"
#include "skins/skin_config.h"

int RunCheck(const CommandLine& line, std::ostream& out, std::ostream& err) {
  auto opened = OpenNamedSkin(line, err);
  if (!opened) return kExitUnreadable;
  std::vector<Finding> findings = opened->conversion;
  for (Finding& finding : CheckSkin(*opened->source, {opened->convertedFromUtf8}))
    findings.push_back(std::move(finding));
  // Where the launcher will look for its updates, so that the operator can
  // see at once whether those are the addresses on the server.
  const auto config = ReadSkinConfig(*opened->source);
  const std::optional<UpdateAddresses> addresses =
      config != nullptr && config->accepted ? AddressesOf(config->model) : std::nullopt;
  if (line.json) {
    out << FindingsJson(findings, addresses, config != nullptr && !config->model.updateKey.empty());
  } else {
    if (addresses) WriteAddresses(out, addresses, !config->model.updateKey.empty());
    PrintFindings(out, findings);
  }
  return findings.empty() ? kExitClean : kExitFindings;
}
