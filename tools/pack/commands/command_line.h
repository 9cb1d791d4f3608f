// The tool's command line: a command, its inputs and its options.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

struct PixelSize {
  int width = 0, height = 0;
};

struct CommandLine {
  // pack, release, verify-server, check, inspect, preview, keys, schema,
  // init, keygen, sign; or
  // help (help asked for: `text` goes to the standard output) and usage
  // (nothing asked: `text` goes to the error stream).
  std::string command;
  std::string text;                   // help and usage: what to print
  std::vector<std::string> inputs;    // the skin folder or program file
  std::optional<std::string> exe;     // pack --exe
  std::optional<std::string> output;  // -o
  bool replace = false;
  bool fromUtf8 = false;
  bool force = false;
  bool json = false;
  std::optional<PixelSize> size;         // preview --size
  std::optional<PixelSize> restored;     // preview --restored
  std::string state = "normal";          // preview --state: normal, pressed or hover faces of the game buttons
  std::optional<int> scaleDpi;           // preview --scale, as the DPI it stands for (1.5 and 150% are 144)
  std::optional<std::string> icon;       // pack --icon
  std::vector<std::string> include;      // pack --include: members packed although the launcher never reads them
  std::optional<std::string> signKey;    // pack --sign-key: the secret key file
  std::optional<std::string> key;        // sign --key (secret key file), inspect --key (updateKey's digits)
  std::optional<std::string> signature;  // inspect --sig
  // pack's version information: the resource's key (ProductName, ...) and
  // the text given, as the command line has it.
  std::vector<std::pair<std::string, std::string>> versionTexts;
  std::optional<std::string> outDir;        // release --out
  std::optional<std::string> previous;      // release and verify-server --previous: the players' version
  std::optional<std::string> authenticode;  // release --authenticode: the signing command with {in} and {out}
  std::optional<std::string> caFile;        // verify-server --ca-file
  std::optional<std::string> releaseDir;    // verify-server --release: the folder release wrote
  bool watch = false;                       // preview --watch
  std::optional<int> redraws;               // preview --redraws: stop watching after this many pictures
};

// The version information options and the keys they fill, in the order the
// resource stores them.
struct VersionOption {
  const char* option;
  const char* key;
};
inline constexpr VersionOption kVersionOptions[] = {
    {"--company", "CompanyName"},      {"--file-description", "FileDescription"},
    {"--file-version", "FileVersion"}, {"--copyright", "LegalCopyright"},
    {"--product-name", "ProductName"}, {"--product-version", "ProductVersion"},
};

// A display scale as the operator writes it, "1.5", "1.5x" or "150%", as the
// DPI a window at that scale has (96 x the scale, to the nearest whole
// DPI); nothing for anything else, or for a scale below 1 or above 5 (the
// display scales Windows offers run from 100 % to 500 %).
std::optional<int> ParseScale(const std::string& text);

// The command line, or nothing with `error` saying what is wrong with it
// and how to ask for help. Arguments are UTF-8.
std::optional<CommandLine> ParseCommandLine(std::span<const std::string> args, std::string* error);
