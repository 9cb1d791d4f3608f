// What inspect shows: the members of the package in effect and the
// configuration model as the launcher holds it after reading, defaults
// applied and texts cut to their fields, as text or as JSON.
#pragma once

#include <cstdint>
#include <optional>
#include <ostream>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "branding/pe_image.h"
#include "package/launcher_config.h"
#include "reports/inspect_branding.h"
#include "reports/inspect_pictures.h"
#include "reports/inspect_update.h"
#include "skins/skin_config.h"
#include "skins/skin_source.h"

// Receives the model record by record, field by field, in the model's order.
class ModelSink {
 public:
  virtual ~ModelSink() = default;
  virtual void BeginList(std::string_view name) = 0;  // "links", "sprites", "gameButtons", "menuItems"
  virtual void EndList() = 0;
  virtual void BeginRecord(std::string_view section) = 0;  // "global", "link1", ...
  virtual void EndRecord() = 0;
  virtual void Number(std::string_view key, std::int64_t value) = 0;
  virtual void ColourValue(std::string_view key, Colour value) = 0;
  virtual void Text(std::string_view key, std::string_view gbk) = 0;
  virtual void Numbers(std::string_view key, std::span<const int> values) = 0;
};

void WriteModel(const LauncherConfig& model, ModelSink& sink);

// Whether a program file carries an Authenticode signature: the certificate
// table its security directory points at. Inspect does not verify it.
struct SignatureFinding {
  std::optional<FileRange> certificateTable;
  std::string unreadable;  // why the headers could not be read; then nothing is known
};
SignatureFinding FindSignature(std::string_view program);

struct InspectSubject {
  std::string source;  // the path as given
  std::vector<MemberInfo> members;
  const SkinConfig* config = nullptr;         // nullptr: no config/cg.txt
  std::optional<SignatureFinding> signature;  // nothing for a skin folder
  std::optional<ProgramBranding> branding;    // nothing for a skin folder
  std::optional<UpdateTrust> update;          // written by the JSON report as "update"
  std::vector<PictureForms> pictures;         // the pictures and their @2x forms
};

void WriteInspectText(std::ostream& out, const InspectSubject& subject);
void WriteInspectJson(std::ostream& out, const InspectSubject& subject);
