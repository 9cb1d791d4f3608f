#include "command_line.h"

#include <charconv>

const char* const kUsage =
    "usage:\n"
    "  launcher-pack pack <skin-folder> --exe Launcher.exe -o MyGame.exe [--replace] [--from-utf8] [--force]\n"
    "                     [--icon game.ico] [--product-name TEXT] [--file-description TEXT] [--company TEXT]\n"
    "                     [--file-version 1.2.3.4] [--product-version 1.2.3.4] [--copyright TEXT]\n"
    "                     [--include config/NAME]...\n"
    "  launcher-pack check <skin-folder | program.exe> [--from-utf8] [--json]\n"
    "  launcher-pack inspect <program.exe | skin-folder> [--json] [--from-utf8]\n"
    "  launcher-pack preview <skin-folder | program.exe> -o <folder> [--size WxH] [--restored WxH] [--from-utf8]\n"
    "                        [--state normal|pressed|hover]\n"
    "  launcher-pack init <new-skin-folder>\n"
    "  launcher-pack keys [--json]\n"
    "  launcher-pack schema\n"
    "  launcher-pack keygen -o operator.key\n"
    "  launcher-pack sign <program.exe> --key operator.key\n"
    "  (pack also takes --sign-key operator.key; inspect takes --key HEX and --sig FILE)\n"
    "\n"
    "pack       appends the skin folder to the launcher as a zip archive; --replace first cuts the\n"
    "           package the exe already carries; --from-utf8 converts config/cg.txt to GBK;\n"
    "           refuses a skin with findings unless --force; --icon puts the game's icon in the exe\n"
    "           and the version texts (UTF-8, or GBK) replace its version information; a signature\n"
    "           the exe carried is cut: sign the result last; files the launcher never reads are left\n"
    "           out and listed (--include keeps one)\n"
    "check      reports what would make the launcher stop or misbehave (status 0 clean, 1 findings,\n"
    "           2 unreadable)\n"
    "inspect    lists the package in effect and the configuration as the launcher reads it\n"
    "preview    draws the login window and the game window, maximised (--size, the work area,\n"
    "           default 1280x720) and restored (--restored, default minGameWidth x minGameHeight);\n"
    "           --state draws the game buttons pressed or with the pointer over them\n"
    "init       writes a small commented skin to start from, which check passes\n"
    "keys       prints the configuration keys with their kinds and defaults (--json: as JSON)\n"
    "schema     prints a JSON Schema of the configuration, for editors\n"
    "--json     check: the findings (file, line, section, key, severity, message)\n"
    "keygen     writes a new secret key for signed updates (never over an existing file) and prints\n"
    "           the updateKey line for the skin\n"
    "sign       writes <program.exe>.sig, which the launcher fetches beside the exe and checks with\n"
    "           updateKey; inspect --key or --sig verifies an exe before it is uploaded\n";

namespace {

// Which commands take which option, and whether it takes a value.
struct OptionSpec {
  const char* name;
  bool takesValue;
  const char* commands;  // space-separated
};
constexpr OptionSpec kOptions[] = {
    {"--exe", true, "pack"},
    {"-o", true, "pack preview keygen"},
    {"--replace", false, "pack"},
    {"--force", false, "pack"},
    {"--from-utf8", false, "pack check preview inspect"},
    {"--json", false, "inspect check keys"},
    {"--size", true, "preview"},
    {"--restored", true, "preview"},
    {"--state", true, "preview"},
    {"--icon", true, "pack"},
    {"--include", true, "pack"},
    {"--company", true, "pack"},
    {"--file-description", true, "pack"},
    {"--file-version", true, "pack"},
    {"--copyright", true, "pack"},
    {"--product-name", true, "pack"},
    {"--product-version", true, "pack"},
    {"--sign-key", true, "pack"},
    {"--key", true, "sign inspect"},
    {"--sig", true, "inspect"},
};

struct CommandSpec {
  const char* name;
  std::size_t inputs;
};
constexpr CommandSpec kCommands[] = {{"pack", 1},    {"check", 1}, {"inspect", 1},
                                     {"preview", 1}, {"keys", 0},  {"help", 0},
                                     {"keygen", 0},  {"sign", 1},  {"schema", 0},
                                     {"init", 1}};

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
  if (name == "--icon") line.icon = value;
  if (name == "--include") line.include.push_back(value);
  if (name == "--sign-key") line.signKey = value;
  if (name == "--key") line.key = value;
  if (name == "--sig") line.signature = value;
  for (const VersionOption& version : kVersionOptions) {
    if (name != version.option) continue;
    std::erase_if(line.versionTexts, [&](const auto& text) { return text.first == version.key; });
    line.versionTexts.emplace_back(version.key, value);
  }
  if (name == "--state") {
    if (value != "normal" && value != "pressed" && value != "hover") {
      *error = "--state wants normal, pressed or hover, not \"" + value + "\"";
      return false;
    }
    line.state = value;
  }
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
  if (args.empty()) {
    line.command = "usage";
    return line;
  }
  if (args[0] == "--help" || args[0] == "-h") {
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
    *error = line.command + (command->inputs == 0       ? " takes no input"
                             : line.command == "init" ? " takes the new skin folder"
                                                      : " takes one skin folder or program file");
    return std::nullopt;
  }
  if (line.command == "pack" && (!line.exe || !line.output)) {
    *error = "pack wants the launcher (--exe) and the exe to write (-o)";
    return std::nullopt;
  }
  if (line.command == "keygen" && !line.output) {
    *error = "keygen wants the secret key file to write (-o)";
    return std::nullopt;
  }
  if (line.command == "sign" && !line.key) {
    *error = "sign wants the secret key file (--key)";
    return std::nullopt;
  }
  if (line.command == "preview" && !line.output) {
    *error = "preview wants the folder to write its pictures in (-o)";
    return std::nullopt;
  }
  return line;
}
