#include "commands/skin_opening.h"

#include <system_error>

#include "formats/file_io.h"
#include "skins/folder_config.h"

std::optional<OpenedSkin> OpenNamedSkin(const CommandLine& line, std::ostream& err) {
  const auto path = PathOf(line.inputs.at(0));
  std::string error;
  OpenedSkin opened;
  if (!line.fromUtf8) {
    opened.source = OpenSkin(path, &error);
  } else {
    std::error_code code;
    if (!std::filesystem::is_directory(path, code)) {
      err << "launcher-pack: --from-utf8 converts a skin folder's config/cg.txt; " << line.inputs[0]
          << " is no folder\n";
      return std::nullopt;
    }
    auto folder = FolderSkin::Load(path, &error);
    if (folder != nullptr) {
      if (auto failed = ConvertConfigFromUtf8(*folder)) opened.conversion.push_back(*failed);
      opened.convertedFromUtf8 = true;
      opened.source = std::move(folder);
    }
  }
  if (opened.source == nullptr) {
    err << "launcher-pack: " << error << "\n";
    return std::nullopt;
  }
  return opened;
}

void PrintFindings(std::ostream& out, const std::vector<Finding>& findings) {
  std::size_t errors = 0;
  for (const Finding& finding : findings) {
    out << FormatFinding(finding) << "\n";
    if (finding.severity == Severity::kError) ++errors;
  }
  if (findings.empty()) {
    out << "no findings: the launcher reads this skin as it is meant\n";
    return;
  }
  const std::size_t warnings = findings.size() - errors;
  out << errors << (errors == 1 ? " error, " : " errors, ") << warnings
      << (warnings == 1 ? " warning\n" : " warnings\n");
}
