// The tool's reports for programs rather than people: check's findings, the
// key table, and a JSON Schema of the configuration for editors.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <string>
#include <vector>

#include "checks/finding.h"
#include "release/update_addresses.h"

// {"findings": [{"file", "line", "section", "key", "severity", "message"}],
//  "errors": N, "warnings": N,
//  "requests": {"versionFile", "launcher", "signature" (null when updates are
//  not signed)} or null when the launcher asks for no update};
// a line of 0 (none) is null.
std::string FindingsJson(const std::vector<Finding>& findings,
                         const std::optional<UpdateAddresses>& addresses = std::nullopt, bool signedUpdates = false);

// The "requests" value of check's and inspect's JSON.
nlohmann::ordered_json RequestsJson(const std::optional<UpdateAddresses>& addresses, bool signedUpdates);

// [{"section", "key", "kind", "maxBytes", "default", "meaning"}], in the key
// table's order; maxBytes only for texts.
std::string KeysJson();

// The configuration as an object of sections ("global", "link1", ...), each
// an object of its keys with their kinds, limits, defaults and meanings, so
// that an editor completes and validates a skin's configuration.
std::string ConfigurationSchema();
