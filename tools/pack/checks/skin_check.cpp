#include "checks/skin_check.h"

#include "checks/check_context.h"
#include "formats/gbk_text.h"
#include "skins/tamed_config.h"

std::string Quoted(std::string_view gbk) { return "\"" + GbkToUtf8(gbk) + "\""; }

std::string MissingMember(SkinSource& skin, const std::string& name) {
  // Zip tools on Windows sometimes write "\" between the parts, and folders
  // get renamed with capitals; the launcher's lookup is exact.
  const std::vector<MemberInfo> members = skin.Members();
  for (const MemberInfo& member : members)
    if (member.name == name && !member.unreadable.empty())
      return "is " + member.unreadable +
             ", which the launcher cannot read, so to it the member is missing; make the archive again with the "
             "members stored or deflated (launcher-pack pack does; 7-Zip: -mm=Deflate, no password)";
  for (const MemberInfo& member : members) {
    std::string normalised = member.name;
    for (char& c : normalised)
      if (c == '\\') c = '/';
    if (member.name == name || !SameName(normalised, name)) continue;
    if (normalised == name)
      return "missing; there is \"" + member.name +
             "\", named with \"\\\" between its parts, but the launcher looks names up with \"/\"; make the "
             "archive with launcher-pack pack or a zip tool that writes \"/\"";
    return "missing; there is \"" + member.name +
           "\", but the launcher looks names up exactly, letter case and \"/\" included";
  }
  return "missing";
}

void CheckStartPictures(SkinSource& skin, SkinPictures& pictures, Findings& findings) {
  if (!pictures.Get(kBackgroundMember).present)
    findings.Error(kBackgroundMember, 0, "", "",
                   MissingMember(skin, kBackgroundMember) + ": the launcher stops at start (\"读取图片失败\")");
}

std::vector<Finding> CheckSkin(SkinSource& skin, const CheckOptions& options) {
  Findings findings;
  SkinPictures pictures(skin);
  CheckStartPictures(skin, pictures, findings);
  const auto config = ReadSkinConfig(skin);
  if (config == nullptr) {
    findings.Error(kConfigMember, 0, "", "",
                   MissingMember(skin, kConfigMember) + ": the launcher stops at start (\"读取ini文件失败\")");
    return findings.Sorted();
  }
  const ConfigLines lines(config->document);
  const LauncherConfig model = Tamed(config->model);
  const CheckContext context{skin, pictures, *config, model, lines, findings, options};
  if (!CheckEncoding(context)) return findings.Sorted();
  CheckLines(context);
  CheckDocument(context);
  CheckModel(context);
  CheckUpdate(context);
  CheckPictures(context);
  CheckDoubleSizePictures(context);
  return findings.Sorted();
}

std::vector<Finding> CheckUpdateChannel(SkinSource& skin) {
  Findings findings;
  const auto config = ReadSkinConfig(skin);
  if (config == nullptr) return {};
  SkinPictures pictures(skin);
  const ConfigLines lines(config->document);
  const LauncherConfig model = Tamed(config->model);
  CheckUpdate({skin, pictures, *config, model, lines, findings, {}});
  return findings.Sorted();
}
