#include "release/update_addresses.h"

#include "formats/gbk_text.h"
#include "formats/printable.h"
#include "update/server_url.h"

std::optional<UpdateAddresses> AddressesOf(const LauncherConfig& model) {
  const auto versionFile = BuildServerUrl(model.server, model.port, model.versionUrl);
  const auto launcher = BuildServerUrl(model.server, model.port, model.exeUrl);
  const auto signature = BuildServerUrl(model.server, model.port, SignatureServerPath(model.exeUrl));
  if (!versionFile || !launcher || !signature) return std::nullopt;
  return UpdateAddresses{*versionFile, *launcher, *signature};
}

void WriteAddresses(std::ostream& out, const std::optional<UpdateAddresses>& addresses, bool signedUpdates) {
  const std::string indent = "  ";
  if (!addresses) {
    out << "the launcher asks for no update: [global] server is empty\n";
    return;
  }
  const auto shown = [](const std::string& gbk) { return Escaped(GbkToUtf8(gbk)); };
  out << "the launcher asks for:\n"
      << indent << shown(addresses->versionFile) << "  (the version file; its first line is the version offered)\n"
      << indent << shown(addresses->launcher) << "  (the new launcher, when that version is newer than its own)\n";
  if (signedUpdates) out << indent << shown(addresses->signature) << "  (the new launcher's signature)\n";
}
