#include "branding/program_branding.h"

#include <algorithm>

#include "app/resource.h"
#include "branding/package_writer.h"
#include "branding/pe_image.h"
#include "branding/pe_resources.h"

namespace {

bool IsVersion(const Resource& r) { return !r.type.named && r.type.number == kVersionType; }

// The version resource replaces every one the program had, in the language
// of the first of them.
void PutVersion(std::vector<Resource>& resources, VersionInfo info, std::string* built) {
  const auto old = std::find_if(resources.begin(), resources.end(), IsVersion);
  info.language = old != resources.end() ? old->language : kDefaultVersionLanguage;
  std::erase_if(resources, IsVersion);
  *built = BuildVersionResource(info).value_or(std::string());
  resources.push_back({ResourceId::Number(kVersionType), ResourceId::Number(1), info.language, 0, *built});
}

bool Fail(std::string* error, std::string why) {
  *error = std::move(why);
  return false;
}

bool PutResources(PeImage& image, const BrandingRequest& request, std::string* error) {
  auto resources = ReadResources(image, error);
  if (!resources) return false;
  if (request.icon) PutIconGroup(*resources, LauncherIconId(), *request.icon, 0);
  if (request.version) {
    std::string built;
    PutVersion(*resources, *request.version, &built);
    if (built.empty()) return Fail(error, "the version information is not UTF-8 text");
    if (built.size() > 0xFFFF) return Fail(error, "the version information is too long for its resource");
  }
  return image.PutResources([&](std::uint32_t rva) { return BuildResourceSection(*resources, rva); }, error);
}

}  // namespace

std::uint16_t LauncherIconId() { return IDR_MAINFRAME; }

std::optional<BrandedProgram> BrandProgram(std::string_view program, std::string_view zip,
                                           const BrandingRequest& request, std::string* error) {
  const auto imageEnd = ProgramImageEnd(program);
  if (!imageEnd) {
    *error = "is not a 32-bit Windows program";
    return std::nullopt;
  }
  std::string headerError;
  auto image = PeImage::Read(program, &headerError);
  const bool resources = request.icon || request.version;
  if (!resources && (!image || (!image->CertificateTable() && !image->SymbolTable()))) {
    const bool carried = *imageEnd < program.size();
    return BrandedProgram{AppendPackage(program, *imageEnd, zip, request.replace), *imageEnd, carried, 0, 0};
  }
  if (!image) {
    *error = headerError;
    return std::nullopt;
  }

  // After the image: the symbol table, if any, then the package, then the
  // certificate table, which Authenticode always puts last.
  const auto symbols = image->SymbolTable();
  const auto certificate = image->CertificateTable();
  const std::uint64_t packageStart = std::max<std::uint64_t>(*imageEnd, symbols ? symbols->End() : 0);
  const std::uint64_t packageEnd = certificate ? certificate->offset : program.size();
  if (packageEnd < packageStart || (certificate && certificate->End() != program.size())) {
    *error = "its symbol table, package and certificate table overlap or leave bytes after the signature";
    return std::nullopt;
  }
  BrandedProgram branded;
  branded.carriedPackage = packageEnd > packageStart;
  branded.signatureCut = certificate ? program.size() - certificate->offset : 0;
  branded.symbolTableCut = symbols ? symbols->size : 0;

  image->DetachTrailers();
  if (resources && !PutResources(*image, request, error)) return std::nullopt;
  branded.file = image->Write();
  branded.imageSize = branded.file.size();
  if (!request.replace) branded.file.append(program.substr(packageStart, packageEnd - packageStart));
  branded.file.append(zip);
  StoreChecksum(branded.file);
  return branded;
}
