#include "commands/commands.h"
#include "commands/skin_opening.h"
#include "reports/inspect_report.h"
#include "reports/inspect_update.h"

int RunInspect(const CommandLine& line, std::ostream& out, std::ostream& err) {
  auto opened = OpenNamedSkin(line, err);
  if (!opened) return kExitUnreadable;
  const auto config = ReadSkinConfig(*opened->source);
  InspectSubject subject{
      line.inputs[0], opened->source->Members(), config.get(), std::nullopt, std::nullopt, std::nullopt, {}};
  subject.pictures = ListPictureForms(*opened->source);
  std::string_view program;
  if (opened->source->IsProgram()) {
    program = static_cast<const PackageSkin&>(*opened->source).FileBytes();
    subject.signature = FindSignature(program);
    subject.branding = FindBranding(program);
  }
  // A signature that was asked for and cannot be checked is the answer an
  // operator about to upload needs: nothing else is printed.
  std::string error;
  subject.update = ReadUpdateTrust(line, config ? &config->model : nullptr, program, &error);
  if (!subject.update) {
    err << "launcher-pack: " << error << "\n";
    return kExitUnreadable;
  }
  if (line.json) {
    WriteInspectJson(out, subject);
  } else {
    WriteInspectText(out, subject);
    WriteUpdateTrustText(out, *subject.update);
  }
  // A signature asked about that does not verify is what must stop an upload.
  const auto& signature = subject.update->signature;
  return signature && !signature->verifies ? kExitFindings : kExitClean;
}
