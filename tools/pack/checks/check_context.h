// What the parts of the skin check share: the skin, its configuration with
// its lines, its pictures, and the findings being collected.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "checks/config_lines.h"
#include "checks/finding.h"
#include "checks/skin_check.h"
#include "skins/skin_config.h"
#include "skins/skin_pictures.h"

struct CheckContext {
  SkinSource& skin;
  SkinPictures& pictures;
  const SkinConfig& config;
  const LauncherConfig& model;  // config.model tamed: what geometry is computed with
  const ConfigLines& lines;
  Findings& findings;
  CheckOptions options;

  // Findings about a key of the configuration, placed on the line of its value.
  void KeyError(const std::string& section, const std::string& key, std::string message) const {
    findings.Error(kConfigMember, lines.ValueLine(section, key), section, key, std::move(message));
  }
  void KeyWarning(const std::string& section, const std::string& key, std::string message) const {
    findings.Warning(kConfigMember, lines.ValueLine(section, key), section, key, std::move(message));
  }
  // The login window is skipped when firstUrl opens the game window at once.
  bool LoginShown() const { return model.firstUrl.size() <= 2; }
};

// The parts, in the order they run. CheckEncoding answers false when the
// file is in an encoding the launcher reads nothing sensible of: whatever
// else would be found is a consequence of that.
bool CheckEncoding(const CheckContext& context);
void CheckLines(const CheckContext& context);
void CheckDocument(const CheckContext& context);
void CheckModel(const CheckContext& context);
void CheckPictures(const CheckContext& context);
void CheckDoubleSizePictures(const CheckContext& context);
void CheckUpdate(const CheckContext& context);
// The login background, which start-up loads whatever the configuration says.
void CheckStartPictures(SkinSource& skin, SkinPictures& pictures, Findings& findings);

// Lines that look like a section header but that the launcher ignores (no
// "]", or a full-width bracket): the keys below them stay in the section before.
std::vector<int> BrokenHeaderLines(std::string_view text);

// The file is UTF-8 and was not converted: its byte counts are not the
// launcher's, so lengths are not reported.
bool UnconvertedUtf8(const CheckContext& context);

// "missing", with a hint when a member differs from the name only in letter
// case or slash direction.
std::string MissingMember(SkinSource& skin, const std::string& name);

// The file's text for a message: GBK converted to UTF-8, in quotes.
std::string Quoted(std::string_view gbk);
