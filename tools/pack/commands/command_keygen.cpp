// keygen: a new operator key for signed updates.
#include "commands/commands.h"
#include "formats/file_io.h"
#include "signing/update_signing.h"

int RunKeygen(const CommandLine& line, std::ostream& out, std::ostream& err) {
  const auto key = NewOperatorKey();
  if (!key) {
    err << "launcher-pack: the system gave no random bytes for a key\n";
    return kExitUnreadable;
  }
  std::string error;
  if (!WriteSecretFile(PathOf(*line.output), OperatorKeyPem(*key), &error)) {
    err << "launcher-pack: " << error << "\n";
    return kExitUnreadable;
  }
  out << "wrote the secret key " << *line.output
      << ": keep it off the update server and out of every skin; whoever holds it can update every player\n"
      << "paste this line into [global] of the skin's config/cg.txt:\n"
      << UpdateKeyLine(key->publicKey) << "\n";
  return kExitClean;
}
