#include "checks/finding.h"

#include <algorithm>
#include <utility>

#include "formats/printable.h"

std::string FormatFinding(const Finding& finding) {
  std::string text = finding.member;
  if (finding.line > 0) text += ":" + std::to_string(finding.line);
  text += finding.severity == Severity::kError ? ": error: " : ": warning: ";
  if (!finding.section.empty()) text += "[" + finding.section + "] ";
  if (!finding.key.empty()) text += finding.key + ": ";
  return Escaped(text + finding.message);
}

void Findings::Error(std::string member, int line, std::string section, std::string key, std::string message) {
  list_.push_back({Severity::kError, std::move(member), line, std::move(section), std::move(key), std::move(message)});
}

void Findings::Warning(std::string member, int line, std::string section, std::string key, std::string message) {
  list_.push_back(
      {Severity::kWarning, std::move(member), line, std::move(section), std::move(key), std::move(message)});
}

void Findings::Cause(std::string member, int line, std::string section, std::string message) {
  causes_.push_back({Severity::kWarning, std::move(member), line, std::move(section), "", std::move(message)});
}

std::vector<Finding> Findings::Sorted() const {
  std::vector<Finding> sorted = list_;
  // The configuration first: most findings about pictures follow from it.
  const auto rank = [](const Finding& f) { return std::make_pair(f.member != "config/cg.txt", f.member); };
  std::stable_sort(sorted.begin(), sorted.end(), [&](const Finding& a, const Finding& b) {
    if (a.member != b.member) return rank(a) < rank(b);
    return a.line < b.line;
  });
  std::vector<Finding> causes = causes_;
  std::stable_sort(causes.begin(), causes.end(), [](const Finding& a, const Finding& b) { return a.line < b.line; });
  causes.insert(causes.end(), sorted.begin(), sorted.end());
  return causes;
}
