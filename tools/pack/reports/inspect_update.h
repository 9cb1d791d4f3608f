// What inspect says about updates: whether the skin's launcher installs only
// signed ones, and, for an exe about to be uploaded, the version it carries
// and whether its signature verifies.
#pragma once

#include <nlohmann/json.hpp>
#include <optional>
#include <ostream>
#include <string>
#include <string_view>

#include "commands/command_line.h"
#include "package/launcher_config.h"
#include "release/update_addresses.h"

struct UpdateTrust {
  // From the skin's configuration; nothing without one.
  enum class Signing { kUnsigned, kSigned, kKeyMalformed };
  std::optional<Signing> signing;
  std::string updateKey;  // as configured
  // [global] version as written, and as the launcher reads and compares it
  // ("1.01" is 1.1, the same as "1.1").
  std::string configuredVersion;
  std::string configuredReadAs;
  std::optional<UpdateAddresses> addresses;  // nothing without a server

  // For an exe: whether a launcher would install it at all (it carries a
  // package it could start with), the version that package carries, and
  // the oldest version that no longer installs it (its major.minor).
  bool isProgram = false;
  bool installable = false;
  bool tooLarge = false;  // larger than any launcher fetches
  std::string version;
  int major = 0, minor = 0;

  // With --key or --sig: the signature file checked, against which key.
  struct SignatureCheck {
    std::string file;  // as shown
    std::string key;   // 64 lower-case hexadecimal digits
    bool wellFormed = false;
    bool verifies = false;
  };
  std::optional<SignatureCheck> signature;
};

// `program` is the exe's bytes, empty for a skin folder. Verifies the
// signature (--sig, or the exe's path + ".sig") when --key or --sig is given,
// against --key or else the exe's own updateKey. Nothing, with `error`, when
// the signature cannot be read or there is no key to check it with.
std::optional<UpdateTrust> ReadUpdateTrust(const CommandLine& line, const LauncherConfig* model,
                                           std::string_view program, std::string* error);

void WriteUpdateTrustText(std::ostream& out, const UpdateTrust& trust);
// The value of inspect --json's "update":
//   {"signing": "unsigned" | "signed" | "keyMalformed" | null (no configuration),
//    "version": {"written": "<[global] version>", "readAs": "<major>.<minor>"} | null (no configuration),
//    "requests": as check --json's,
//    "program": null for a skin folder, else
//      {"installable": bool, "tooLarge": bool, "version": "<[global] version>" | null,
//       "installedBelow": "<major>.<minor>" | null},
//    "signature": absent without --key and --sig, else
//      {"file": "<path>", "key": "<hex>", "wellFormed": bool, "verifies": bool}}
nlohmann::ordered_json UpdateTrustJson(const UpdateTrust& trust);
