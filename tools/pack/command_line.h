// The tool's command line: a command, its inputs and its options.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

struct PixelSize {
  int width = 0, height = 0;
};

struct CommandLine {
  std::string command;                // pack, check, inspect, preview, keys, help
  std::vector<std::string> inputs;    // the skin folder or program file
  std::optional<std::string> exe;     // pack --exe
  std::optional<std::string> output;  // -o
  bool replace = false;
  bool fromUtf8 = false;
  bool force = false;
  bool json = false;
  std::optional<PixelSize> size;      // preview --size
  std::optional<PixelSize> restored;  // preview --restored
};

// The command line, or nothing with `error` saying what is wrong with it.
// Arguments are UTF-8.
std::optional<CommandLine> ParseCommandLine(std::span<const std::string> args, std::string* error);

extern const char* const kUsage;
