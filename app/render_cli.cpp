#include "app/render_cli.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <ostream>
#include <string_view>
#include <utility>

#include "effects/driver.h"
#include "effects/effect_kind.h"
#include "effects/generator.h"
#include "effects/silent_host.h"
#include "effects/work_state.h"
#include "intake/picture_loader.h"
#include "output/fitted_file.h"
#include "output/gif_interval.h"
#include "output/writer.h"

namespace app {

namespace {

constexpr std::array<std::string_view, effects::kEffectCount> kEffectNames{"slide",   "turn",    "rotate", "zoom",
                                                                           "diffuse", "elastic", "hue"};

// A window that is not there: nothing to show, nothing to wait for.
class HeadlessHost final : public effects::SilentHost {
 public:
  explicit HeadlessHost(const RenderArgs& a) {
    options = a.options;
    gifAnimated = a.gifAnimated;
    gifInterval = a.gifInterval;
  }

  void reportSaveError(const std::string& file, const std::string& reason) override {
    error = "cannot write " + file + ": " + reason;
  }

  std::string error;  // the last write failure, "" when none
};

int indexOf(std::string_view value, std::initializer_list<std::string_view> names) {
  int i = 0;
  for (std::string_view n : names) {
    if (n == value) return i;
    ++i;
  }
  return -1;
}

// Applies one option that takes a value; returns an error text or "".
std::string applyValue(const std::string& name, const std::string& value, RenderArgs& a, int& effect) {
  const auto bad = [&] { return "invalid value for " + name + ": '" + value + "'"; };
  if (name == "--effect") {
    effect = -1;
    for (int i = 0; i < effects::kEffectCount; ++i)
      if (kEffectNames[static_cast<std::size_t>(i)] == value) effect = i;
    return effect < 0 ? bad() : "";
  }
  if (name == "--background") {
    a.background = parseWebColor(value);
    return a.background ? "" : bad();
  }
  if (name == "--axis") {
    a.options.axis = indexOf(value, {"x", "y"});
    return a.options.axis < 0 ? bad() : "";
  }
  if (name == "--diffuse") {
    a.options.diffuseType = indexOf(value, {"sand", "up", "down"});
    return a.options.diffuseType < 0 ? bad() : "";
  }
  if (name == "--hue-mode") {
    a.options.hueType = indexOf(value, {"rotate", "converge"});
    return a.options.hueType < 0 ? bad() : "";
  }
  if (name == "--hue") {
    // Whole degrees, as the hue bar picks them.
    if (value.empty() || value.size() > 3 || value.find_first_not_of("0123456789") != std::string::npos) return bad();
    a.options.hueX = std::stoi(value);
    return a.options.hueX <= 359 ? "" : bad();
  }
  if (name == "--gif") {
    const int i = indexOf(value, {"frames", "animated"});
    a.gifAnimated = i == 1;
    return i < 0 ? bad() : "";
  }
  if (name == "--max-bytes") {
    // Whole bytes; a GIF needs a few hundred at the very least.
    if (value.empty() || value.size() > 12 || value.find_first_not_of("0123456789") != std::string::npos) return bad();
    a.maxBytes = std::stoull(value);
    return *a.maxBytes > 0 ? "" : bad();
  }
  if (name == "--interval") {
    const std::optional<std::int16_t> interval = output::parseGifInterval(value);
    if (!interval) return bad();
    a.gifInterval = *interval;
    return "";
  }
  return "unknown option " + name;
}

bool takesValue(const std::string& name) {
  for (const char* n :
       {"--effect", "--background", "--axis", "--diffuse", "--hue-mode", "--hue", "--gif", "--interval", "--max-bytes"})
    if (name == n) return true;
  return false;
}

// Fits the animation the save just wrote into the budget, from the frames
// it was made of (still in the cache), and replaces the file.
int fitSavedAnimation(const effects::WorkState& ws, const RenderArgs& a, const std::vector<std::string>& saved,
                      std::ostream& out, std::ostream& err) {
  if (saved.size() != 1 || output::GetFileExt(saved[0]) != ".gif") {
    err << "brenlo-render: no animated GIF was written to fit\n";
    return 1;
  }
  const auto generator = effects::makeGenerator(static_cast<effects::EffectKind>(a.options.effect));
  std::vector<const core::Bitmap*> frames;
  for (int entry : generator->fileOrder()) frames.push_back(ws.mFrames[static_cast<std::size_t>(entry)].bitmap().get());
  if (generator->backAndForth(a.options)) {
    for (std::size_t i = frames.size() - 2; i >= 1 && i < frames.size(); --i) frames.push_back(frames[i]);
  }
  const output::FittedFile fitted = output::writeFittedAnimation(
      saved[0], frames, output::AnimationTiming::uniform(frames.size(), a.gifInterval), *a.maxBytes);
  if (!fitted.status) {
    err << "brenlo-render: cannot write " << fitted.status.file << ": " << fitted.status.reason << "\n";
    return 1;
  }
  const output::FittedGif& fit = *fitted.fit;
  char psnr[32];
  std::snprintf(psnr, sizeof psnr, "%.2f", fit.psnr);
  out << fit.bytes.size() << " bytes, PSNR " << psnr << " dB (budget " << *a.maxBytes << ")"
      << (fit.fits ? "" : ": does not fit even at the lowest quality") << "\n";
  return fit.fits ? 0 : 3;
}

}  // namespace

std::optional<core::Color> parseWebColor(const std::string& text) {
  if (text.size() != 6 || text.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos) return std::nullopt;
  const auto channel = [&](std::size_t at) { return std::stoi(text.substr(at, 2), nullptr, 16); };
  return core::rgb(channel(0), channel(2), channel(4));
}

ParsedArgs parseRenderArgs(const std::vector<std::string>& args) {
  ParsedArgs result;
  RenderArgs a;
  int effect = 0;
  bool mask = false;
  bool optionsEnded = false;
  std::vector<std::string> names;
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (optionsEnded || arg.size() < 2 || arg.compare(0, 2, "--") != 0) {
      names.push_back(arg);
      continue;
    }
    if (arg == "--") {
      optionsEnded = true;
      continue;
    }
    const std::size_t eq = arg.find('=');
    const std::string name = arg.substr(0, eq);
    if (name == "--help" || name == "--mask" || name == "--cross") {
      if (eq != std::string::npos) return {std::nullopt, name + " takes no value"};
      if (name == "--help") a.help = true;
      if (name == "--mask") mask = true;
      if (name == "--cross") a.options.cross = true;
      continue;
    }
    if (!takesValue(name)) return {std::nullopt, "unknown option " + name};
    std::string value;
    if (eq != std::string::npos) {
      value = arg.substr(eq + 1);
    } else if (i + 1 < args.size()) {
      value = args[++i];
    } else {
      return {std::nullopt, name + " needs a value"};
    }
    if (std::string e = applyValue(name, value, a, effect); !e.empty()) return {std::nullopt, e};
  }
  if (a.help) {
    result.args = std::move(a);
    return result;
  }
  if (names.size() != 2)
    return {std::nullopt, "expected SOURCE and OUTPUT, got " + std::to_string(names.size()) + " name" +
                              (names.size() == 1 ? "" : "s")};
  a.source = names[0];
  a.output = names[1];
  a.options.effect = effect;
  // --mask ticks the box of the chosen effect, whichever order they came in.
  a.options.mask[static_cast<std::size_t>(effects::info(static_cast<effects::EffectKind>(effect)).maskBox)] = mask;
  result.args = std::move(a);
  return result;
}

std::string renderUsage() {
  return "Usage: brenlo-render SOURCE OUTPUT [options]\n"
         "Writes the frames of one banner animation exactly as the save command does.\n"
         "\n"
         "  SOURCE                 a BMP, JPEG or GIF picture, at most 1000 x 200 pixels\n"
         "  OUTPUT                 FOLDER/NAME.EXT: frames go to FOLDER/NAME + tag + 000 + .EXT\n"
         "                         (.bmp, .jpg or .gif; any other extension writes .bmp files)\n"
         "  --effect NAME          slide (default), turn, rotate, zoom, diffuse, elastic or hue\n"
         "  --mask                 show the picture's corner colour as the background colour\n"
         "  --background RRGGBB    background colour, red first as in web colours\n"
         "                         (default: the picture's top-left colour)\n"
         "  --cross                slide: a second copy moves the opposite way\n"
         "  --axis x|y             rotate: turn about the X (default) or the Y axis\n"
         "  --diffuse sand|up|down diffuse: sand grains (default), light up or light down\n"
         "  --hue-mode rotate|converge\n"
         "                         hue: rotate round the colour circle (default) or converge\n"
         "  --hue DEGREES          hue: the target hue, 0 to 359 (default 0)\n"
         "  --gif frames|animated  with .gif: one file per frame (default) or one animated GIF\n"
         "  --interval SECONDS     frame interval of an animated GIF (default 0.1)\n"
         "  --max-bytes N          fit the animated GIF into N bytes at the best quality that\n"
         "                         fits; prints its bytes and PSNR (needs --gif animated)\n"
         "  --help                 show this text\n"
         "\n"
         "Options may come before or after the names. Prints the files written.\n"
         "Exit status: 0 done, 1 picture not loaded or file not written, 2 bad arguments,\n"
         "3 the animated GIF does not fit --max-bytes even at the lowest quality (the\n"
         "closest file is written).\n";
}

int runRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err) {
  const ParsedArgs parsed = parseRenderArgs(args);
  if (!parsed.args) {
    err << "brenlo-render: " << parsed.error << " (see --help)\n";
    return 2;
  }
  RenderArgs a = *parsed.args;
  if (a.help) {
    out << renderUsage();
    return 0;
  }

  // The save dialog always returns a full path; a relative OUTPUT means the
  // current folder.
  const std::filesystem::path outPath = std::filesystem::absolute(a.output).lexically_normal();
  const std::string outName = outPath.string();
  if (!outPath.has_filename() || effects::FolderOf(outName).empty()) {
    err << "brenlo-render: OUTPUT must name a file inside a folder: '" << a.output << "'\n";
    return 2;
  }
  if (a.maxBytes && !(a.gifAnimated && output::GetFileExt(outName) == ".gif")) {
    err << "brenlo-render: --max-bytes needs --gif animated and a .gif OUTPUT\n";
    return 2;
  }
  if (!effects::makeGenerator(static_cast<effects::EffectKind>(a.options.effect))) {
    err << "brenlo-render: the effect is not available in this build\n";
    return 1;
  }

  const intake::LoadResult loaded = intake::loadPictureFile(a.source);
  if (loaded.status != intake::LoadStatus::Loaded) {
    err << loaded.message << "\n";
    return 1;
  }
  effects::WorkState ws;
  const core::Color corner = effects::acceptSource(ws, loaded.picture);
  a.options.bannerColor = a.background.value_or(corner);

  // The save dialog only returns names in existing folders; make the folder
  // exist so that every effect behaves alike (a folder that cannot be made
  // shows up as a write error of the first frame).
  std::error_code ec;
  std::filesystem::create_directories(outPath.parent_path(), ec);

  HeadlessHost host(a);
  effects::Driver driver(ws, host, false);
  driver.saveCommand(outName);
  if (!host.error.empty()) {
    err << "brenlo-render: " << host.error << "\n";
    return 1;
  }
  for (const std::string& file : driver.savedFiles()) out << file << "\n";
  if (!a.maxBytes) return 0;
  return fitSavedAnimation(ws, a, driver.savedFiles(), out, err);
}

}  // namespace app
