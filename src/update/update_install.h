// The second half of an update: a newer launcher fetched, judged, and put in
// the running one's place, or kept for the next start while the game window
// is open. The check fetches it from the update server; start-up takes one
// that waited in the program's folder through the same steps, so that what
// waited is judged exactly as what came from the server.
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "update/server_url.h"
#include "update/update_check.h"
#include "update/update_signature.h"

struct InstallSource {
  HttpClient& http;
  std::string launcherUrl;
  std::string signatureUrl;  // fetched only when updates are signed
  // Called once both are fetched (or failed to be), before anything is
  // judged: a launcher that waited is of no more use from here on.
  std::function<void()> fetched = [] {};
};

struct InstallRun {
  const UpdateSettings& settings;
  CheckNumbers numbers;                // name this run's files
  std::optional<UpdatePublicKey> key;  // the running launcher's, when it has one
  bool atStart = false;                // start-up's install of a launcher that waited
};

struct InstallOutcome {
  std::optional<UpdateResult> result;  // nothing: the script runs, and the process ended
  UpdateVerdict refusal = UpdateVerdict::kAccepted;
};

// Fetches the launcher (and its signature) from `source` into new files of
// the working directory, judges it, and replaces the running launcher with
// it, or keeps it as kWaitingLauncherName (and kWaitingSignatureName) when
// the game has begun. Whether the script can be written is settled before
// anything is fetched.
InstallOutcome FetchAndInstall(const InstallRun& run, InstallSource& source, UpdateEnvironment& env);

// An HTTP client whose addresses are paths of local files, each answered
// with status 200 and the file's bytes: a launcher that waited, fetched
// through the steps of one from the server.
class LocalFileSource : public HttpClient {
 public:
  explicit LocalFileSource(FileSystem& files) : files_(files) {}
  std::unique_ptr<HttpResponse> Open(const std::string& path) override;

 private:
  FileSystem& files_;
};
