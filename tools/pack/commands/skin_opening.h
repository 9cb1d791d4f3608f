// Opening the skin a command names, with --from-utf8 applied to a folder.
#pragma once

#include <memory>
#include <optional>
#include <ostream>
#include <vector>

#include "checks/finding.h"
#include "commands/command_line.h"
#include "skins/skin_source.h"

struct OpenedSkin {
  std::unique_ptr<SkinSource> source;
  bool convertedFromUtf8 = false;
  std::vector<Finding> conversion;  // why the conversion failed, when it did
};

// Nothing when the skin cannot be read; the reason is written to `err`.
std::optional<OpenedSkin> OpenNamedSkin(const CommandLine& line, std::ostream& err);

// The findings one per line, then a summary line.
void PrintFindings(std::ostream& out, const std::vector<Finding>& findings);
