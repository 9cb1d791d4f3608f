#include "command_line.h"

#include <charconv>

const char* const kUsage =
    "usage:\n"
    "  launcher-pack pack <skin-folder> --exe Launcher.exe -o MyGame.exe [--replace] [--from-utf8] [--force]\n"
    "  launcher-pack check <skin-folder | program.exe> [--from-utf8]\n"
    "  launcher-pack inspect <program.exe | skin-folder> [--json]\n"
    "  launcher-pack preview <skin-folder | program.exe> -o <folder> [--size WxH] [--restored WxH] [--from-utf8]\n"
    "  launcher-pack keys\n"
    "\n"
    "pack       appends the skin folder to the launcher as a zip archive; --replace first cuts the\n"
    "           package the exe already carries; --from-utf8 converts config/cg.txt to GBK;\n"
    "           refuses a skin with findings unless --force\n"
    "check      reports what would make the launcher stop or misbehave (status 0 clean, 1 findings,\n"
    "           2 unreadable)\n"
    "inspect    lists the package in effect and the configuration as the launcher reads it\n"
    "preview    draws the login window and the game window, maximised (--size, the work area,\n"
    "           default 1280x720) and restored (--restored, default minGameWidth x minGameHeight)\n"
    "keys       prints the configuration keys with their kinds and defaults\n";

namespace {

// Which commands take which option, and whether it takes a value.
struct OptionSpec {
  const char* name;
  bool takesValue;
  const char* commands;  // space-separated
};
constexpr OptionSpec kOptions[] = {
    {"--exe", true, "pack"},
    {"-o", true, "pack preview"},
    {"--replace", false, "pack"},
    {"--force", false, "pack"},
    {"--from-utf8", false, "pack check preview"},
    {"--json", false, "inspect"},
    {"--size", true, "preview"},
    {"--restored", true, "preview"},
};

struct CommandSpec {
  const char* name;
  std::size_t inputs;
};
constexpr CommandSpec kCommands[] = {{"pack", 1},    {"check", 1}, {"inspect", 1},
                                     {"preview", 1}, {"keys", 0},  {"help", 0}};

bool Takes(const OptionSpec& option, const std::string& command) {
  const std::string list = std::string(" ") + option.commands + " ";
  return list.find(" " + command + " ") != std::string::npos;
}

std::optional<PixelSize> ParseSize(const std::string& text) {
  const std::size_t x = text.find_first_of("xX");
  if (x == std::string::npos) return std::nullopt;
  PixelSize size;
  const char* end = text.data() + text.size();
  const auto w = std::from_chars(text.data(), text.data() + x, size.width);
  const auto h = std::from_chars(text.data() + x + 1, end, size.height);
  if (w.ec != std::errc() || w.ptr != text.data() + x || h.ec != std::errc() || h.ptr != end) return std::nullopt;
  if (size.width < 1 || size.height < 1 || size.width > 8192 || size.height > 8192) return std::nullopt;
  return size;
}

bool Apply(CommandLine& line, const OptionSpec& option, const std::string& value, std::string* error) {
  const std::string name = option.name;
  if (name == "--exe") line.exe = value;
  if (name == "-o") line.output = value;
  if (name == "--replace") line.replace = true;
  if (name == "--force") line.force = true;
  if (name == "--from-utf8") line.fromUtf8 = true;
  if (name == "--json") line.json = true;
  if (name == "--size" || name == "--restored") {
    const auto size = ParseSize(value);
    if (!size) {
      *error = name + " wants WIDTHxHEIGHT in pixels, 1 to 8192 each, not \"" + value + "\"";
      return false;
    }
    (name == "--size" ? line.size : line.restored) = size;
  }
  return true;
}

}  // namespace

std::optional<CommandLine> ParseCommandLine(std::span<const std::string> args, std::string* error) {
  CommandLine line;
  if (args.empty() || args[0] == "--help" || args[0] == "-h") {
    line.command = "help";
    return line;
  }
  line.command = args[0];
  const CommandSpec* command = nullptr;
  for (const CommandSpec& c : kCommands)
    if (line.command == c.name) command = &c;
  if (command == nullptr) {
    *error = "unknown command \"" + line.command + "\"";
    return std::nullopt;
  }
  for (std::size_t i = 1; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg.size() < 2 || arg[0] != '-') {
      line.inputs.push_back(arg);
      continue;
    }
    const OptionSpec* option = nullptr;
    for (const OptionSpec& o : kOptions)
      if (arg == o.name) option = &o;
    if (option == nullptr || !Takes(*option, line.command)) {
      *error = line.command + " takes no option " + arg;
      return std::nullopt;
    }
    if (option->takesValue && i + 1 >= args.size()) {
      *error = arg + " wants a value";
      return std::nullopt;
    }
    if (!Apply(line, *option, option->takesValue ? args[++i] : std::string(), error)) return std::nullopt;
  }
  if (line.inputs.size() != command->inputs) {
    *error = line.command + (command->inputs == 0 ? " takes no input" : " takes one skin folder or program file");
    return std::nullopt;
  }
  if (line.command == "pack" && (!line.exe || !line.output)) {
    *error = "pack wants the launcher (--exe) and the exe to write (-o)";
    return std::nullopt;
  }
  if (line.command == "preview" && !line.output) {
    *error = "preview wants the folder to write its pictures in (-o)";
    return std::nullopt;
  }
  return line;
}
