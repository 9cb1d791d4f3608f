// The tool's reports for programs rather than people: check's findings, the
// key table, and a JSON Schema of the configuration for editors.
#pragma once

#include <string>
#include <vector>

#include "checks/finding.h"

// {"findings": [{"file", "line", "section", "key", "severity", "message"}],
//  "errors": N, "warnings": N}; a line of 0 (none) is null.
std::string FindingsJson(const std::vector<Finding>& findings);

// [{"section", "key", "kind", "maxBytes", "default", "meaning"}], in the key
// table's order; maxBytes only for texts.
std::string KeysJson();

// The configuration as an object of sections ("global", "link1", ...), each
// an object of its keys with their kinds, limits, defaults and meanings, so
// that an editor completes and validates a skin's configuration.
std::string ConfigurationSchema();
