// The skin's update channel: is what the launcher installs signed, and can
// the key it trusts be read at all.
#include <cctype>
#include <string_view>

#include "checks/check_context.h"
#include "update/update_signature.h"

namespace {

bool StartsWithInAnyCase(std::string_view text, std::string_view start) {
  if (text.size() < start.size()) return false;
  for (std::size_t i = 0; i < start.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[i])) != start[i]) return false;
  return true;
}

// The host part of `server`, without a scheme, port or path.
std::string_view Host(std::string_view server) {
  for (const std::string_view scheme : {"http://", "https://"})
    if (StartsWithInAnyCase(server, scheme)) server.remove_prefix(scheme.size());
  // A bracketed IPv6 address holds colons of its own.
  if (server.starts_with("[")) return server.substr(0, server.find(']') + 1);
  return server.substr(0, server.find_first_of(":/"));
}

// Nothing on the network lies between the launcher and a loopback server.
// Only an address written in digits is one: a name such as 127.example.com
// is whatever DNS answers for it.
bool IsLoopback(std::string_view host) {
  const bool digitsAndDots = host.find_first_not_of("0123456789.") == std::string_view::npos;
  return host == "localhost" || (host.starts_with("127.") && digitsAndDots) || host == "[::1]";
}

}  // namespace

void CheckUpdate(const CheckContext& context) {
  const LauncherConfig& model = context.model;
  if (!model.updateKey.empty() && !ParseUpdateKey(model.updateKey)) {
    context.KeyError("global", "updateKey",
                     "is not 64 hexadecimal digits: the launcher then installs no update at all (`launcher-pack "
                     "keygen` prints a key's line)");
    return;
  }
  if (model.server.empty()) return;
  if (StartsWithInAnyCase(model.server, "https://") && model.port == 80)
    context.KeyWarning("global", "port", "is 80 for an https server, which normally listens on 443");
  if (model.updateKey.empty() && context.options.adviseOnUpdates && !IsLoopback(Host(model.server)))
    context.KeyWarning("global", "server",
                       "updates are not signed: anyone on the way (a public network, a false DNS answer, a proxy) "
                       "can give every player a program of their own; add updateKey (`launcher-pack keygen`) and "
                       "sign each release");
}
