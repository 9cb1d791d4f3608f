#include "commands/command_line.h"

#include <CLI/CLI.hpp>
#include <algorithm>
#include <charconv>
#include <functional>
#include <string_view>

#include "commands/exit_status.h"
#include "common/display_scale.h"
#include "release/version_text.h"

namespace {

constexpr const char* kProgram = "launcher-pack";

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

// The order an operator takes the commands in, from a new skin to a
// release the players' launchers install.
constexpr const char* kSteps =
    "The steps, from a new skin to a release the players' launchers install:\n"
    "  init -> check -> preview -> keygen -> release -> upload -> verify-server\n"
    "  (init writes a skin to change; keygen once per game, its updateKey line into the skin; release ends with\n"
    "  what to upload where, and the verify-server command that checks the server afterwards)\n";

const CLI::Validator kVersionText(
    [](const std::string& text) {
      return IsPlainVersion(text) ? std::string()
                                  : "wants a version as the launcher compares it, numbers and dots such as 1.01, not "
                                    "\"" +
                                        text + "\" (which it would read as " + VersionText(ParseVersion(text)) + ")";
    },
    "VERSION");

const CLI::Validator kScaleText(
    [](const std::string& text) {
      return ParseScale(text) ? std::string()
                              : "wants a display scale from 1 to 5 (100% to 500%, the scales Windows offers), such "
                                "as 1.25, 1.5, 2 or 150%, not \"" +
                                    text + "\"";
    },
    "SCALE");

const CLI::Validator kSizeText(
    [](const std::string& text) {
      return ParseSize(text) ? std::string() : "wants WIDTHxHEIGHT in pixels, 1 to 8192 each, not \"" + text + "\"";
    },
    "WxH");

// The commands and their options, each writing into `line` as it is parsed.
class Commands {
 public:
  explicit Commands(CommandLine* line) : line_(*line) {
    app_.description(
        "Packs a skin into the launcher, checks it, previews its windows, brands and signs the exe; every command "
        "has its own --help.");
    app_.footer(std::string(kSteps) + "\n" + kExitStatusTable);
    // An option given twice counts once, its last value, as most tools do.
    app_.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    app_.require_subcommand(1);
    AddPack();
    AddRelease();
    AddVerifyServer();
    AddCheck();
    AddInspect();
    AddPreview();
    AddInit();
    AddKeys();
    AddSchema();
    AddKeygen();
    AddSign();
    AddHelp();
    app_.set_help_all_flag("--help-all", "Print the help of every command");
  }

  CLI::App& App() { return app_; }
  // The help of the command named on the line, or the program's.
  std::string Help(CLI::AppFormatMode mode = CLI::AppFormatMode::Normal) const { return app_.help("", mode); }
  std::string HelpOf(const std::string& command) const {
    // The program's own help even though a command (help) was chosen, which
    // App::help would describe instead.
    return command.empty() ? app_.get_formatter()->make_help(&app_, kProgram, CLI::AppFormatMode::Normal)
                           : app_.get_subcommand(command)->help(kProgram);
  }
  bool Knows(const std::string& command) {
    const auto all = app_.get_subcommands([](CLI::App*) { return true; });
    return std::any_of(all.begin(), all.end(), [&](const CLI::App* sub) { return sub->get_name() == command; });
  }
  const std::string& HelpTopic() const { return helpTopic_; }

 private:
  CLI::App* Command(const std::string& name, const std::string& description) {
    CLI::App* sub = app_.add_subcommand(name, description);
    sub->callback([this, name] { line_.command = name; });
    return sub;
  }
  void Input(CLI::App* sub, const std::string& name, const std::string& description) {
    sub->add_option_function<std::string>(
           name, [this](const std::string& input) { line_.inputs.assign(1, input); }, description)
        ->required()
        ->type_name("PATH");
  }
  void Output(CLI::App* sub, const std::string& description, bool required) {
    CLI::Option* option = sub->add_option_function<std::string>(
                                 "-o,--output", [this](const std::string& path) { line_.output = path; }, description)
                              ->type_name("PATH");
    if (required) option->required();
  }
  void FromUtf8(CLI::App* sub) {
    sub->add_flag("--from-utf8", line_.fromUtf8, "config/cg.txt is UTF-8: read it so (pack converts it to GBK)");
  }
  // --previous: a version the launcher compares as written, as check
  // wants `version` (a "1,01" would pass as 1.0).
  void Previous(CLI::App* sub, const std::string& description) {
    sub->add_option_function<std::string>(
           "--previous", [this](const std::string& value) { line_.previous = value; }, description)
        ->type_name("VERSION")
        ->check(kVersionText);
  }
  // An option of one value; `kind` names it in the help (FILE, HEX).
  void Text(CLI::App* sub, const std::string& name, const std::string& kind, std::optional<std::string>* into,
            const std::string& description) {
    sub->add_option_function<std::string>(
           name, [into](const std::string& value) { *into = value; }, description)
        ->type_name(kind);
  }

  void AddPack() {
    CLI::App* pack = Command("pack",
                             "Append the skin folder to the launcher as a zip archive; files the launcher never "
                             "reads are left out and listed");
    Input(pack, "skin-folder", "The skin: a folder holding config/cg.txt and its pictures");
    Text(pack, "--exe", "FILE", &line_.exe, "The launcher to pack the skin onto (Launcher.exe, or a branded exe)");
    pack->get_option("--exe")->required();
    Output(pack, "The exe to write (may be the --exe itself)", true);
    pack->add_flag("--replace", line_.replace,
                   "First cut the package (and signature) the exe already carries, so that it keeps its size");
    FromUtf8(pack);
    pack->add_flag("--force", line_.force, "Pack a skin that check finds errors in");
    Branding(pack);
    Text(pack, "--sign-key", "FILE", &line_.signKey,
         "The secret key file (keygen's) that signs the written exe; its public half must be the skin's updateKey");
    pack->footer(std::string("pack refuses a skin with errors unless --force, and packs one with warnings, showing "
                             "them. A signature the exe carried is cut: sign the result last.\n\n") +
                 kExitStatusTable);
  }

  // The exe's icon, version information and the members packed besides.
  void Branding(CLI::App* sub) {
    Text(sub, "--icon", "FILE", &line_.icon, "The game's icon (.ico) for the exe");
    for (const VersionOption& version : kVersionOptions) {
      const std::string key = version.key;
      sub->add_option_function<std::string>(
             version.option,
             [this, key](const std::string& value) {
               std::erase_if(line_.versionTexts, [&](const auto& text) { return text.first == key; });
               line_.versionTexts.emplace_back(key, value);
             },
             VersionOptionHelp(key))
          ->type_name(key.ends_with("Version") ? "1.2.3.4" : "TEXT");
    }
    sub->add_option("--include", line_.include,
                    "A member packed although the launcher never reads it (config/NAME); may be repeated")
        ->type_name("NAME");
  }

  // Each option overrides its own field; the others come from the skin.
  static std::string VersionOptionHelp(const std::string& key) {
    if (key.ends_with("Version"))
      return "The exe's " + key +
             " in its version information, up to four numbers such as 1.2.0.0 (default: the skin's version, as "
             "the launcher reads it: 1.02 is 1.2.0.0)";
    const char* fallback = key == "ProductName" || key == "FileDescription" ? "the skin's title" : "none";
    return "The exe's " + key + " (UTF-8, or GBK) in its version information (default: " + fallback + ")";
  }

  void AddRelease() {
    CLI::App* release = Command("release",
                                "Make a release that players' launchers install: check, pack and brand, sign "
                                "(Authenticode, then for updates), write the version file, verify it all");
    Input(release, "skin-folder", "The skin of the new release, its version raised");
    Text(release, "--exe", "FILE", &line_.exe, "The launcher to pack the skin onto (Launcher.exe)");
    release->get_option("--exe")->required();
    Text(release, "--key", "FILE", &line_.key, "The secret key file (keygen's) of the skin's updateKey");
    release->get_option("--key")->required();
    Text(release, "--out", "DIR", &line_.outDir,
         "The folder to write the exe, its .sig and the version file in, named as on the server");
    release->get_option("--out")->required();
    Previous(release, "The version the players' launchers run now: the release must be newer");
    Text(release, "--authenticode", "COMMAND", &line_.authenticode,
         "The code-signing command, with {in} and {out} for the exe before and after, such as "
         "\"osslsigncode sign -pkcs12 my.pfx -pass secret -in {in} -out {out}\"");
    FromUtf8(release);
    release->add_flag("--replace", line_.replace, "First cut the package the --exe already carries");
    Branding(release);
    release->footer(std::string("Makes the release in a new folder beside --out and moves it in only when every "
                                "step has passed; stops at the first step that fails, leaving --out as it was.\n\n") +
                    kExitStatusTable);
  }

  void AddVerifyServer() {
    CLI::App* verify = Command("verify-server",
                               "Fetch the version file, exe and signature the skin's server offers, as a launcher "
                               "does, and say whether a launcher would install them, and why not");
    Input(verify, "skin-or-program", "The players' launcher or its skin (its server, paths, version and key)");
    FromUtf8(verify);
    Previous(verify,
             "The version the players' launchers run (default: the skin's own version; with --release, every "
             "version older than the release)");
    Text(verify, "--release", "DIR", &line_.releaseDir,
         "The folder release wrote: the server must serve exactly its files");
    Text(verify, "--ca-file", "FILE", &line_.caFile,
         "Certificates (PEM) to trust for https besides the system's (the build machine's tool only)");
  }

  void AddCheck() {
    CLI::App* check = Command("check", "Report what would make the launcher stop or misbehave");
    Input(check, "skin-or-program", "A skin folder, or an exe that carries one");
    FromUtf8(check);
    check->add_flag("--json", line_.json, "The findings as JSON: file, line, section, key, severity, message");
  }

  void AddInspect() {
    CLI::App* inspect = Command("inspect", "List the package in effect and the configuration as the launcher reads it");
    Input(inspect, "program-or-skin", "An exe that carries a skin, or a skin folder");
    inspect->add_flag("--json", line_.json, "The listing as JSON");
    FromUtf8(inspect);
    Text(inspect, "--key", "HEX", &line_.key,
         "Verify the exe's signature against this updateKey (64 hexadecimal digits)");
    Text(inspect, "--sig", "FILE", &line_.signature,
         "Verify this signature file against the updateKey the exe itself carries");
  }

  void AddPreview() {
    CLI::App* preview =
        Command("preview", "Draw the login window and the game window, maximised and restored, as PNG pictures");
    Input(preview, "skin-or-program", "A skin folder, or an exe that carries one");
    Output(preview, "The folder to write login.png, game-maximised.png and game-restored.png in", true);
    preview
        ->add_option_function<std::string>(
            "--size", [this](const std::string& text) { line_.size = ParseSize(text); },
            "The work area the game window is maximised to (default 1280x720)")
        ->check(kSizeText);
    preview
        ->add_option_function<std::string>(
            "--restored", [this](const std::string& text) { line_.restored = ParseSize(text); },
            "The restored game window's size (default minGameWidth x minGameHeight)")
        ->check(kSizeText);
    preview
        ->add_option("--state", line_.state, "The game buttons' face: normal, pressed, or with the pointer over them")
        ->check(CLI::IsMember({"normal", "pressed", "hover"}));
    preview
        ->add_option_function<std::string>(
            "--scale", [this](const std::string& text) { line_.scaleDpi = ParseScale(text); },
            "The display scale to draw at, such as 1.25, 1.5, 2 or 150%, for a skin with dpiScaling=1 (default 1: "
            "100 %); --size and --restored stay screen pixels")
        ->check(kScaleText);
    preview->add_flag("--watch", line_.watch,
                      "Draw again whenever a file the launcher reads changes, until Ctrl+C ends it (status 130)");
    preview
        ->add_option_function<int>(
            "--redraws", [this](const int& count) { line_.redraws = count; },
            "With --watch: stop after drawing this many times (the first drawing included)")
        ->check(CLI::Range(1, 1000000));
    FromUtf8(preview);
  }

  void AddInit() {
    CLI::App* init = Command("init", "Write a small commented skin to start from, which check passes");
    Input(init, "new-skin-folder", "The folder to write; it must not exist or be empty");
  }

  void AddKeys() {
    CLI::App* keys = Command("keys", "Print the configuration keys with their kinds and defaults");
    keys->add_flag("--json", line_.json, "The keys as JSON");
  }

  void AddSchema() { Command("schema", "Print a JSON Schema of the configuration, for editors"); }

  void AddKeygen() {
    CLI::App* keygen =
        Command("keygen", "Write a new secret key for signed updates and print the updateKey line for the skin");
    Output(keygen, "The secret key file to write; an existing file is never overwritten", true);
  }

  void AddSign() {
    CLI::App* sign = Command("sign",
                             "Write <program.exe>.sig, which the launcher fetches beside the exe and checks "
                             "with updateKey");
    Input(sign, "program.exe", "The exe to sign, as it will be uploaded");
    Text(sign, "--key", "FILE", &line_.key, "The secret key file (keygen's)");
    sign->get_option("--key")->required();
  }

  void AddHelp() {
    CLI::App* help = Command("help", "Print this help, or a command's");
    help->add_option("command", helpTopic_, "The command to explain");
  }

  CommandLine& line_;
  CLI::App app_{"", kProgram};
  std::string helpTopic_;
};

}  // namespace

std::optional<int> ParseScale(const std::string& text) {
  std::string_view number = text;
  const bool percent = number.ends_with('%');
  if (percent || number.ends_with('x') || number.ends_with('X')) number.remove_suffix(1);
  while (percent && number.ends_with(' ')) number.remove_suffix(1);
  // Digits with at most one point among them, counted exactly (whatever the
  // locale's decimal mark): the scale is `numerator` / `denominator`.
  const std::size_t point = number.find('.');
  const std::string_view whole = number.substr(0, point);
  const std::string_view fraction = point == std::string_view::npos ? std::string_view() : number.substr(point + 1);
  const auto digits = [](std::string_view part) {
    return part.find_first_not_of("0123456789") == std::string_view::npos;
  };
  if (whole.size() + fraction.size() == 0 || whole.size() + fraction.size() > 10 || !digits(whole) || !digits(fraction))
    return std::nullopt;
  long long numerator = 0, denominator = percent ? 100 : 1;
  for (const char c : whole) numerator = numerator * 10 + (c - '0');
  for (const char c : fraction) {
    numerator = numerator * 10 + (c - '0');
    denominator *= 10;
  }
  if (numerator < denominator || numerator > 5 * denominator) return std::nullopt;
  return static_cast<int>((numerator * kStandardDpi + denominator / 2) / denominator);
}

std::optional<CommandLine> ParseCommandLine(std::span<const std::string> args, std::string* error) {
  CommandLine line;
  Commands commands(&line);
  if (args.empty()) {
    line.command = "usage";
    line.text = commands.Help();
    return line;
  }
  // A first word that names no command is a mistyped command, not a stray
  // input; an option before any command is one of the program's own or a
  // slip (CLI11 would only say that a command is missing).
  const std::string& first = args[0];
  if (!first.starts_with("-") && !commands.Knows(first)) {
    *error = "unknown command \"" + first + "\"\nRun \"" + kProgram + " --help\" for the commands.";
    return std::nullopt;
  }
  if (first.starts_with("-") && first != "-h" && first != "--help" && first != "--help-all") {
    *error = "unknown option " + first + ": the command comes first\nRun \"" + kProgram + " --help\" for the commands.";
    return std::nullopt;
  }
  std::vector<std::string> reversed(args.rbegin(), args.rend());  // as CLI11 takes them
  try {
    commands.App().parse(reversed);
  } catch (const CLI::CallForHelp&) {
    line.command = "help";
    line.text = commands.Help();
    return line;
  } catch (const CLI::CallForAllHelp&) {
    line.command = "help";
    line.text = commands.Help(CLI::AppFormatMode::All);
    return line;
  } catch (const CLI::ParseError& e) {
    const auto chosen = commands.App().get_subcommands();
    *error = std::string(e.what()) + "\nRun \"" + kProgram + " " +
             (chosen.empty() ? std::string() : chosen.front()->get_name() + " ") + "--help\" for the options.";
    return std::nullopt;
  }
  if (line.command == "help") {
    if (!commands.HelpTopic().empty() && !commands.Knows(commands.HelpTopic())) {
      *error = "unknown command \"" + commands.HelpTopic() + "\"\nRun \"" + kProgram + " --help\" for the commands.";
      return std::nullopt;
    }
    line.text = commands.HelpOf(commands.HelpTopic());
  }
  return line;
}
