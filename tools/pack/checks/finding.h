// What check reports: one finding per problem, placed by member, line,
// section and key, in words an operator can act on.
#pragma once

#include <string>
#include <vector>

enum class Severity {
  kError,    // the launcher stops, refuses the skin, or leaves a window half built
  kWarning,  // the launcher runs, but not as the skin means it to
};

struct Finding {
  Severity severity = Severity::kError;
  std::string member;   // "config/cg.txt", "config/style.png"
  int line = 0;         // 0: not on a line (a missing key, a whole picture)
  std::string section;  // as the launcher names it: "global", "gamebutton3"; empty for pictures
  std::string key;
  std::string message;  // texts of the file already converted to UTF-8
};

// "config/cg.txt:12: warning: [gamebutton3] image: ..." on one line.
std::string FormatFinding(const Finding& finding);

// Collects findings; the checks add to it in the order they run.
class Findings {
 public:
  void Error(std::string member, int line, std::string section, std::string key, std::string message);
  void Warning(std::string member, int line, std::string section, std::string key, std::string message);
  // A warning about a line that is itself the mistake behind later
  // findings (a header the launcher ignores): it comes first of all.
  void Cause(std::string member, int line, std::string section, std::string message);
  // Causes first; then sorted by member (the configuration first), then line, as an operator
  // reads the files.
  std::vector<Finding> Sorted() const;
  bool Empty() const { return list_.empty(); }

 private:
  std::vector<Finding> list_;
  std::vector<Finding> causes_;
};
