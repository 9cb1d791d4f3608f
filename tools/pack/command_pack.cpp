#include <filesystem>
#include <system_error>

#include "commands.h"
#include "file_io.h"
#include "folder_config.h"
#include "package_writer.h"
#include "skin_check.h"
#include "skin_config.h"
#include "skin_opening.h"
#include "text_encoding.h"

namespace fs = std::filesystem;

namespace {

int Refuse(std::ostream& err, const std::string& why) {
  err << "launcher-pack: " << why << "\n";
  return kExitUnreadable;
}

// The skin as it will be packed, checked; false when it must not be.
bool PrepareSkin(FolderSkin& skin, const CommandLine& line, std::ostream& err) {
  bool converted = false;
  if (line.fromUtf8) {
    if (auto failed = ConvertConfigFromUtf8(skin)) {
      PrintFindings(err, {*failed});
      return false;
    }
    converted = true;
  } else if (auto config = skin.Read(kConfigMember); config && LooksLikeUtf8(*config)) {
    // Never packed as it is: the launcher would show every Chinese text garbled.
    err << kConfigMember << ": error: is UTF-8, but the launcher reads GBK; pack with --from-utf8 to convert it\n";
    return false;
  }
  const auto findings = CheckSkin(skin, {converted});
  if (findings.empty()) return true;
  PrintFindings(err, findings);
  if (line.force) {
    err << "packing all the same (--force)\n";
    return true;
  }
  err << "nothing written: mend the skin, or pack it as it is with --force\n";
  return false;
}

}  // namespace

int RunPack(const CommandLine& line, std::ostream& out, std::ostream& err) {
  const fs::path folder = PathOf(line.inputs[0]), launcher = PathOf(*line.exe), target = PathOf(*line.output);
  std::error_code code;
  if (!fs::is_directory(folder, code)) return Refuse(err, line.inputs[0] + " is not a skin folder");
  std::string error;
  auto skin = FolderSkin::Load(folder, &error);
  if (skin == nullptr) return Refuse(err, error);
  if (!PrepareSkin(*skin, line, err)) return kExitFindings;

  const auto program = ReadWholeFile(launcher, &error);
  if (!program) return Refuse(err, error);
  const auto imageEnd = ProgramImageEnd(*program);
  if (!imageEnd) return Refuse(err, *line.exe + " is not a 32-bit Windows program");
  const auto zip = BuildZip(skin->Files());
  if (!zip) return Refuse(err, "the skin's zip archive could not be made");
  const bool carried = *imageEnd < program->size();
  if (!WriteWholeFile(target, AppendPackage(*program, *imageEnd, *zip, line.replace), &error))
    return Refuse(err, error);
  fs::permissions(target, fs::status(launcher, code).permissions(), code);  // an executable stays executable

  out << "wrote " << *line.output << ": the launcher (" << *imageEnd << " bytes) and a skin of " << skin->Files().size()
      << " files (" << zip->size() << " bytes)\n";
  if (carried && line.replace) out << "the package " << *line.exe << " carried was cut first\n";
  if (carried && !line.replace)
    out << *line.exe
        << " carried a package already; the new one follows it and is the one read (--replace cuts the old one)\n";
  return kExitClean;
}
