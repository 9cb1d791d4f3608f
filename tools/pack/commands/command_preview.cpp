#include <chrono>
#include <csignal>
#include <filesystem>
#include <system_error>
#include <thread>

#include "commands/commands.h"
#include "commands/skin_opening.h"
#include "formats/file_io.h"
#include "formats/png_codec.h"
#include "package/picture_scale.h"
#include "previews/preview.h"
#include "skins/skin_config.h"

namespace fs = std::filesystem;

namespace {

constexpr PixelSize kDefaultWorkArea{1280, 720};
constexpr int kMaxSide = 8192;

// Writes one preview; false when it has no picture, cannot be written, or
// misses something the launcher would show.
bool Save(const Preview& preview, const fs::path& folder, const char* name, std::ostream& out, std::ostream& err) {
  for (const std::string& note : preview.notes) out << name << ": " << note << "\n";
  if (!preview.image) return false;
  std::string error;
  const fs::path file = folder / name;
  if (!WriteWholeFile(file, EncodePng(*preview.image), &error)) {
    err << "launcher-pack: " << error << "\n";
    return false;
  }
  out << "wrote " << Shown(file) << " (" << preview.image->Width() << " x " << preview.image->Height() << ")\n";
  return preview.notes.empty();  // a picture with something missing is a problem reported
}

// What the skin is now: each file's name, size and time of change, so
// that any edit, save or copy shows; of a folder, only the files the
// launcher reads, so that notes, sources and backups saved beside them
// draw nothing again.
std::string Stamp(const fs::path& skin) {
  std::string stamp;
  std::error_code code;
  const auto add = [&](const fs::path& file) {
    stamp += Shown(file) + "|" + std::to_string(fs::file_size(file, code)) + "|" +
             std::to_string(fs::last_write_time(file, code).time_since_epoch().count()) + "\n";
  };
  if (!fs::is_directory(skin, code)) {
    add(skin);
    return stamp;
  }
  for (auto it = fs::recursive_directory_iterator(skin, code); !code && it != fs::recursive_directory_iterator();
       it.increment(code))
    if (it->is_regular_file(code) && LauncherReads(Shown(it->path().lexically_relative(skin).generic_u8string())))
      add(it->path());
  return stamp;
}

constexpr auto kWatchInterval = std::chrono::milliseconds(200);

// Ctrl+C ends a watch between two drawings, so that no picture is left
// half written.
volatile std::sig_atomic_t interrupted = 0;
extern "C" void OnInterrupt(int) { interrupted = 1; }

class InterruptHandler {
 public:
  InterruptHandler() : previous_(std::signal(SIGINT, OnInterrupt)) { interrupted = 0; }
  ~InterruptHandler() { std::signal(SIGINT, previous_ == SIG_ERR ? SIG_DFL : previous_); }
  InterruptHandler(const InterruptHandler&) = delete;
  InterruptHandler& operator=(const InterruptHandler&) = delete;
  bool Interrupted() const { return interrupted != 0; }

 private:
  void (*previous_)(int);
};

// "150 %" for 144 DPI; the DPI itself where the percentage is not whole.
std::string Percent(int dpi) {
  return dpi * 100 % kStandardDpi == 0 ? std::to_string(dpi * 100 / kStandardDpi) + " %" : std::to_string(dpi) + " DPI";
}

// The scale the windows are drawn at: --scale for a skin that takes the
// display's scale. One that does not keeps its physical pixels at every
// scale, so a player at that scale sees it at 100 %, and so is it drawn.
DisplayScale ScaleToDraw(const LauncherConfig& model, const CommandLine& line, std::ostream& out) {
  if (!line.scaleDpi || *line.scaleDpi == kStandardDpi) return DisplayScale();
  if (!ScalesWithDisplay(model)) {
    out << "drawn at 100 %, not at " << Percent(*line.scaleDpi)
        << ": the skin has no dpiScaling=1, so the launcher keeps its physical pixels at every display scale\n";
    return DisplayScale();
  }
  const DisplayScale scale(*line.scaleDpi);
  out << "drawn at " << Percent(scale.Dpi()) << " (" << scale.Dpi() << " DPI), as the launcher shows a skin with "
      << "dpiScaling=1 there: every configured length scaled, "
      << (WantsDoubleSize(scale.Dpi()) ? "the @2x pictures where the skin has them (from 150 % on), the others"
                                       : "the 1x pictures (the @2x ones are shown from 150 % on)")
      << " resized\n";
  return scale;
}

}  // namespace

static int DrawOnce(const CommandLine& line, std::ostream& out, std::ostream& err) {
  auto opened = OpenNamedSkin(line, err);
  if (!opened) return kExitUnreadable;
  if (!opened->conversion.empty()) PrintFindings(err, opened->conversion);
  const auto config = ReadSkinConfig(*opened->source);
  if (config == nullptr || !config->accepted) {
    err << "launcher-pack: "
        << (config == nullptr ? "config/cg.txt is missing" : "[global] linkCount is missing or below 1")
        << ": the launcher shows no window; run check for more\n";
    return kExitFindings;
  }
  const fs::path folder = PathOf(*line.output);
  std::error_code code;
  fs::create_directories(folder, code);
  if (!fs::is_directory(folder, code)) {
    err << "launcher-pack: " << *line.output << " cannot be made a folder\n";
    return kExitUnreadable;
  }

  const LauncherConfig& model = config->model;
  const DisplayScale scale = ScaleToDraw(model, line, out);
  SkinPictures pictures(*opened->source);
  const auto text = MakeTextPainter(scale.Dpi());
  bool complete = opened->conversion.empty();
  if (model.firstUrl.size() > 2)
    out << "login.png: not drawn: firstUrl opens the game window at once, without the login window\n";
  else
    complete = Save(DrawLoginPreview(model, pictures, scale), folder, "login.png", out, err) && complete;

  const PixelSize workArea = line.size.value_or(kDefaultWorkArea);
  const ButtonFace face = line.state == "pressed" ? ButtonFace::kPressed
                          : line.state == "hover" ? ButtonFace::kHover
                                                  : ButtonFace::kNormal;
  complete = Save(DrawGamePreview(model, pictures, *text, workArea.width, workArea.height, true, face, scale), folder,
                  "game-maximised.png", out, err) &&
             complete;
  // The launcher's first restored size is the configured one, scaled.
  const PixelSize restored =
      line.restored.value_or(PixelSize{scale.Length(model.minGameWidth), scale.Length(model.minGameHeight)});
  if (restored.width < 1 || restored.height < 1 || restored.width > kMaxSide || restored.height > kMaxSide) {
    out << "game-restored.png: not drawn: the restored window would be " << restored.width << " x " << restored.height
        << " (minGameWidth x minGameHeight" << (scale.Scales() ? ", scaled" : "") << "); give a size with --restored\n";
    return kExitFindings;
  }
  complete = Save(DrawGamePreview(model, pictures, *text, restored.width, restored.height, false, face, scale), folder,
                  "game-restored.png", out, err) &&
             complete;
  return complete ? kExitClean : kExitFindings;
}

// --watch: the pictures drawn again after every change of the skin, until
// the operator ends the tool with Ctrl+C (or --redraws pictures have been
// drawn). The skin is looked at before each drawing, so a change made
// while one is drawn brings the next.
int RunPreview(const CommandLine& line, std::ostream& out, std::ostream& err) {
  if (!line.watch) return DrawOnce(line, out, err);
  const fs::path skin = PathOf(line.inputs[0]);
  const InterruptHandler handler;
  for (int drawn = 1;; ++drawn) {
    const std::string before = Stamp(skin);
    const int status = DrawOnce(line, out, err);
    if (line.redraws && drawn >= *line.redraws) return status;
    out << "watching " << line.inputs[0] << " for changes (Ctrl+C ends)\n" << std::flush;
    while (!handler.Interrupted() && Stamp(skin) == before) std::this_thread::sleep_for(kWatchInterval);
    if (handler.Interrupted()) {
      out << "stopped watching\n";
      return kExitInterrupted;
    }
  }
}
