#include "reports/json_reports.h"

#include <nlohmann/json.hpp>
#include <string_view>

#include "formats/gbk_text.h"
#include "package/launcher_config.h"
#include "skins/key_table.h"

using nlohmann::ordered_json;

namespace {

const char* KindName(KeyKind kind) {
  switch (kind) {
    case KeyKind::kInteger: return "integer";
    case KeyKind::kColour: return "colour";
    case KeyKind::kText: return "text";
  }
  return "";
}

std::string MeaningOf(const KeyInfo& key) {
  for (const KeyMeaning& m : KeyMeanings())
    if (std::string_view(m.section) == key.section && std::string_view(m.key) == key.key) return m.meaning;
  return "";
}

ordered_json DefaultOf(const KeyInfo& key) {
  if (key.kind == KeyKind::kText) return key.defaultText;
  return key.defaultNumber;
}

// The values that do something, for the keys that choose among commands.
struct Choices {
  const char* section;
  const char* key;
  std::vector<int> values;
};
const Choices kChoices[] = {
    {"link", "type", {1, 2, 3, 4}},
    {"gamebutton", "type", {1, 5, 6, 7, 8, 10, 11, 12}},
    {"menu", "type", {1, 2, 3, 4}},
};

ordered_json KeySchema(const KeyInfo& key) {
  ordered_json schema;
  const std::string meaning = MeaningOf(key);
  if (key.kind == KeyKind::kText) {
    schema["type"] = "string";
    // Bytes of GBK: every character takes one or two, so a text of this
    // many characters may still be too long; check counts the bytes.
    schema["maxLength"] = key.width - 1;
    schema["description"] = meaning + " (at most " + std::to_string(key.width - 1) + " bytes in GBK)";
  } else {
    schema["type"] = "integer";
    if (key.kind == KeyKind::kColour) {
      schema["minimum"] = 0;
      schema["maximum"] = 16777215;
    }
    if (std::string_view(key.key) == "shortCut") {
      schema["minimum"] = 0;
      schema["maximum"] = 12;
    }
    for (const Choices& c : kChoices)
      if (std::string_view(c.section) == key.section && std::string_view(c.key) == key.key) schema["enum"] = c.values;
    schema["description"] = meaning;
  }
  schema["default"] = DefaultOf(key);
  return schema;
}

ordered_json SectionSchema(std::string_view section) {
  ordered_json properties = ordered_json::object();
  for (const KeyInfo& key : ConfigKeys())
    if (section == key.section) properties[key.key] = KeySchema(key);
  return {{"type", "object"}, {"properties", properties}, {"additionalProperties", false}};
}

}  // namespace

ordered_json RequestsJson(const std::optional<UpdateAddresses>& addresses, bool signedUpdates) {
  if (!addresses) return nullptr;
  // Addresses are the configuration's GBK bytes: shown as UTF-8.
  return {{"versionFile", GbkToUtf8(addresses->versionFile)},
          {"launcher", GbkToUtf8(addresses->launcher)},
          {"signature", signedUpdates ? ordered_json(GbkToUtf8(addresses->signature)) : ordered_json()}};
}

std::string FindingsJson(const std::vector<Finding>& findings, const std::optional<UpdateAddresses>& addresses,
                         bool signedUpdates) {
  ordered_json list = ordered_json::array();
  int errors = 0;
  for (const Finding& f : findings) {
    if (f.severity == Severity::kError) ++errors;
    list.push_back({{"file", f.member},
                    {"line", f.line > 0 ? ordered_json(f.line) : ordered_json(nullptr)},
                    {"section", f.section},
                    {"key", f.key},
                    {"severity", f.severity == Severity::kError ? "error" : "warning"},
                    {"message", f.message}});
  }
  ordered_json report = {
      {"findings", list}, {"errors", errors}, {"warnings", static_cast<int>(findings.size()) - errors}};
  report["requests"] = RequestsJson(addresses, signedUpdates);
  // Texts of a skin may hold bytes that are no UTF-8: replaced, never thrown on.
  return report.dump(2, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
}

std::string KeysJson() {
  ordered_json keys = ordered_json::array();
  for (const KeyInfo& key : ConfigKeys()) {
    ordered_json entry = {{"section", key.section}, {"key", key.key}, {"kind", KindName(key.kind)}};
    if (key.kind == KeyKind::kText) entry["maxBytes"] = key.width - 1;
    entry["default"] = DefaultOf(key);
    entry["meaning"] = MeaningOf(key);
    keys.push_back(entry);
  }
  return keys.dump(2) + "\n";
}

std::string ConfigurationSchema() {
  ordered_json numbered = ordered_json::object();
  for (const char* section : {"link", "gamePic", "gamebutton", "menu"})
    numbered[std::string("^") + section + "[1-9][0-9]*$"] = SectionSchema(section);
  const ordered_json schema = {
      {"$schema", "https://json-schema.org/draft/2020-12/schema"},
      {"title", "launcher configuration (config/cg.txt)"},
      {"description",
       "The sections and keys the launcher reads, each section an object of its keys. Names compare without regard "
       "to letter case; numbered sections are read from 1 up to their count in [global]; texts are stored in GBK."},
      {"type", "object"},
      {"properties", {{"global", SectionSchema("global")}}},
      {"patternProperties", numbered},
      {"additionalProperties", false},
  };
  return schema.dump(2) + "\n";
}
