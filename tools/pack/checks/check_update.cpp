// The skin's update channel: whether the launcher can ask for an update at
// all (a server it can reach, paths it can put after it, a version it can
// compare), and whether what it installs is signed.
#include <algorithm>
#include <string>
#include <string_view>

#include "checks/check_context.h"
#include "common/web_address.h"
#include "release/version_text.h"
#include "update/server_url.h"
#include "update/update_signature.h"
#include "update/update_version.h"

namespace {

// `server` without the scheme the launcher accepts in it.
std::string_view WithoutScheme(std::string_view server) {
  for (const std::string_view scheme : {"http://", "https://"})
    if (StartsWithNoCase(server, scheme)) return server.substr(scheme.size());
  return server;
}

// The host part of `server`, without a scheme, port or path.
std::string_view Host(std::string_view server) {
  server = WithoutScheme(server);
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

// What the launcher would ask for first, for a message.
std::string FirstRequest(const LauncherConfig& model) {
  return BuildServerUrl(model.server, model.port, model.versionUrl).value_or("");
}

// The launcher writes "http://" (unless the server begins with it or with
// "https://"), the server, ":" and the port, then the path: so the server
// is a host name or address and nothing more.
void CheckServer(const CheckContext& c) {
  const LauncherConfig& model = c.model;
  const std::string_view rest = WithoutScheme(model.server);
  const std::string asked = " (it would ask for " + Quoted(FirstRequest(model)) + ")";
  if (rest.size() == model.server.size() && rest.find("://") != std::string_view::npos) {
    c.KeyError("global", "server",
               "is " + Quoted(model.server) +
                   ": the launcher speaks http and https only, and puts http:// before any other scheme" + asked);
    return;
  }
  const std::string_view host = Host(model.server);
  const std::string_view after = rest.substr(host.size());
  if (host.empty() || host.find_first_of(" \t") != std::string_view::npos) {
    c.KeyError("global", "server",
               "is " + Quoted(model.server) + ": no host name or address the launcher can reach" + asked);
    return;
  }
  if (after.starts_with(":"))
    c.KeyError("global", "server",
               "is " + Quoted(model.server) +
                   ": a host name or address only; the launcher always adds \":\" and "
                   "[global] port (" +
                   std::to_string(model.port) + ") after it" + asked + ": put the port in port=");
  else if (!after.empty())
    c.KeyError("global", "server",
               "is " + Quoted(model.server) +
                   ": a host name or address only; the path goes at the start of versionUrl and exeUrl" + asked);
}

// The path of a full address: from the first "/" after its host on.
std::string PathOfAddress(std::string_view address) {
  const std::size_t path = address.find('/', address.find("://") + 3);
  return path == std::string_view::npos ? "/" : std::string(address.substr(path));
}

// versionUrl and exeUrl are paths the launcher puts after the server and port.
void CheckPath(const CheckContext& c, const char* key, const std::string& path, const std::string& what) {
  const LauncherConfig& model = c.model;
  if (c.lines.Key("global", key) == nullptr || path.empty()) {
    c.KeyError("global", key,
               std::string(c.lines.Key("global", key) == nullptr ? "missing" : "is empty") +
                   ", though [global] server is set: the launcher would ask for " +
                   Quoted(BuildServerUrl(model.server, model.port, path).value_or("")) + " as " + what);
    return;
  }
  if (path.find("://") != std::string::npos)
    c.KeyError("global", key,
               "is " + Quoted(path) +
                   ", a full address, but the launcher puts it after the server and port: it would "
                   "ask for " +
                   Quoted(BuildServerUrl(model.server, model.port, path).value_or("")) +
                   "; give the path alone, such as " + Quoted(PathOfAddress(path)));
  else if (!path.starts_with("/"))
    c.KeyError("global", key,
               "is " + Quoted(path) + ", which does not begin with \"/\": the launcher would ask for " +
                   Quoted(BuildServerUrl(model.server, model.port, path).value_or("")));
  else if (LastPathComponent(PathWithoutQuery(path)).empty())
    c.KeyError("global", key,
               "is " + Quoted(path) + ", a folder, not a file: the server answers it with a page or a listing, not " +
                   what + ", and the launcher names its download after the file; end it with the file's name");
  else if (!LocalFileName(path, IsGbkLeadByte))
    c.KeyError("global", key,
               "is " + Quoted(path) +
                   ": the launcher keeps what it fetches under the last part of the path (a query "
                   "or fragment left out), and " +
                   Quoted(std::string(LastPathComponent(PathWithoutQuery(path)))) +
                   " cannot name a file on Windows (none of < > : \" | * or control characters, no dot or space "
                   "at its end), so it fetches nothing");
}

// release writes the version file and the launcher side by side under the
// names they have on the server.
void CheckFileNames(const CheckContext& c) {
  const std::string_view version = LastPathComponent(PathWithoutQuery(c.model.versionUrl)),
                         exe = LastPathComponent(PathWithoutQuery(c.model.exeUrl));
  if (!version.empty() && version == exe)
    c.KeyWarning("global", "exeUrl",
                 "ends in " + Quoted(exe) +
                     ", the file name versionUrl ends in too: launcher-pack release cannot write both into one "
                     "folder; give them different names");
}

void CheckVersion(const CheckContext& c) {
  const std::string& version = c.model.version;
  if (version.empty()) {
    c.KeyError("global", "version",
               std::string(c.lines.Key("global", "version") == nullptr ? "missing" : "is empty") +
                   ", though [global] server is set: the launcher reads it as 0.0, so it takes any version the "
                   "server offers as newer and can never tell that it is up to date");
    return;
  }
  const Version read = ParseVersion(version);
  if (!IsPlainVersion(version)) {
    c.KeyError("global", "version",
               "is " + Quoted(version) +
                   ", which the launcher cannot compare: it reads whole numbers between dots "
                   "and takes this as " +
                   VersionText(read) + "; write numbers and dots only, such as 1.02");
    return;
  }
  if (std::count(version.begin(), version.end(), '.') > 1)
    c.KeyWarning("global", "version",
                 "is " + Quoted(version) + ": only the first two numbers count, so the launcher reads " +
                     VersionText(read) + " and takes every version that begins with them as this one");
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
  CheckServer(context);
  CheckPath(context, "versionUrl", model.versionUrl, "its version file");
  CheckPath(context, "exeUrl", model.exeUrl, "the new launcher");
  CheckFileNames(context);
  CheckVersion(context);
  if (StartsWithNoCase(model.server, "https://") && model.port == 80)
    context.KeyWarning("global", "port", "is 80 for an https server, which normally listens on 443");
  if (model.updateKey.empty() && !IsLoopback(Host(model.server)))
    context.KeyWarning("global", "server",
                       "updates are not signed: anyone on the way (a public network, a false DNS answer, a proxy) "
                       "can give every player a program of their own; add updateKey (`launcher-pack keygen`) and "
                       "sign each release");
}
