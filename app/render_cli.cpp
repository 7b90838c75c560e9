#include "app/render_cli.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <new>
#include <optional>
#include <ostream>
#include <string_view>
#include <utility>

#include "check/banner_check.h"
#include "core/effect_kind.h"
#include "effects/driver.h"
#include "effects/generator.h"
#include "effects/silent_host.h"
#include "effects/work_state.h"
#include "intake/picture_loader.h"
#include "gif/animation_file.h"
#include "play/gif_interval.h"
#include "play/preset_sizes.h"
#include "save/border.h"
#include "save/target.h"
#include "scenes/banner_save.h"
#include "scenes/project_file.h"
#include "scenes/sequence.h"

namespace app {

namespace {

constexpr std::array<std::string_view, core::kEffectCount> kEffectNames{"slide",   "turn",    "rotate", "zoom",
                                                                        "diffuse", "elastic", "hue"};
constexpr std::array<std::string_view, output::kPresetCount> kPresetNames{"none", "google", "iab", "amazon"};

// A window that is not there: nothing to show, nothing to wait for.
class HeadlessHost final : public effects::SilentHost {
 public:
  explicit HeadlessHost(const RenderArgs& a) {
    options = a.options;
    gifAnimated = a.gifAnimated;
    gifInterval = a.gifInterval;
    play = a.play;
    playsGiven = a.playsGiven;
  }

  // Answers as the dialog would after the user picked the preset: a shorter
  // interval raised, and the largest play count unless --plays chose one.
  // A WebP is always one animation, and the presets are the GIF's.
  std::optional<save::AnimationAnswer> askAnimation(const save::AnimationAsk& ask) override {
    save::AnimationAnswer answer;
    std::int16_t interval = gifInterval;
    output::PlaySettings p = play;
    if (ask.format == save::AnimationFormat::Webp) {
      p.preset = output::AdPreset::None;
      answer.animated = true;
    } else {
      if (play.preset != output::AdPreset::None) {
        const output::PresetChoice choice = output::choosePreset(play.preset, ask.shape, interval, play.holdCs);
        interval = static_cast<std::int16_t>(choice.intervalCs);
        if (!playsGiven) p.plays = choice.plays;
      }
      answer.animated = gifAnimated;
    }
    answer.animation.intervalCs = interval;
    answer.animation.play = p;
    asked = Answer{ask.shape, interval, p};
    return answer;
  }

  void reportSaveError(const std::string& file, const std::string& reason) override {
    error = "cannot write " + file + ": " + reason;
  }

  output::PlaySettings play;
  bool playsGiven = false;
  struct Answer {
    output::AnimationShape shape;
    std::int16_t interval;
    output::PlaySettings play;
  };
  std::optional<Answer> asked;  // what the GIF question answered
  std::string error;            // the last write failure, "" when none
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
    for (int i = 0; i < core::kEffectCount; ++i)
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
  if (name == "--plays") {
    a.playOptions = true;
    a.playsGiven = true;
    if (value == "forever") {
      a.play.plays = 0;
      return "";
    }
    if (value.empty() || value.size() > 2 || value.find_first_not_of("0123456789") != std::string::npos) return bad();
    a.play.plays = std::stoi(value);
    return a.play.plays >= 1 ? "" : bad();
  }
  if (name == "--hold") {
    a.playOptions = true;
    const std::optional<std::int16_t> hold = output::parseGifInterval(value);
    if (!hold || *hold > output::kMaxHoldCs) return bad();
    a.play.holdCs = *hold;
    return "";
  }
  if (name == "--preset") {
    a.playOptions = true;
    for (std::size_t i = 0; i < kPresetNames.size(); ++i)
      if (kPresetNames[i] == value) {
        a.play.preset = static_cast<output::AdPreset>(i);
        return "";
      }
    return bad();
  }
  if (name == "--max-bytes") {
    // Whole bytes; a GIF needs a few hundred at the very least.
    if (value.empty() || value.size() > 12 || value.find_first_not_of("0123456789") != std::string::npos) return bad();
    a.maxBytes = std::stoull(value);
    return *a.maxBytes > 0 ? "" : bad();
  }
  if (name == "--lang") {
    a.language = languageNamed(QString::fromStdString(value));
    return a.language ? "" : bad();
  }
  if (name == "--over") {
    a.over = value;
    return value.empty() ? bad() : "";
  }
  if (name == "--border") {
    a.playOptions = true;
    a.borderGiven = true;
    if (value == "none") {
      a.play.border.reset();
      return "";
    }
    a.play.border = parseWebColor(value);
    return a.play.border ? "" : bad();
  }
  if (name == "--check") {
    a.check = value;
    return value.empty() ? bad() : "";
  }
  if (name == "--interval") {
    const std::optional<std::int16_t> interval = output::parseGifInterval(value);
    if (!interval) return bad();
    a.gifInterval = *interval;
    a.intervalGiven = true;
    return "";
  }
  return "unknown option " + name;
}

bool takesValue(const std::string& name) {
  for (const char* n : {"--effect", "--background", "--axis", "--diffuse", "--hue-mode", "--hue", "--gif", "--interval",
                        "--plays", "--hold", "--preset", "--max-bytes", "--lang", "--over", "--check", "--border"})
    if (name == n) return true;
  return false;
}

// Seconds as the dialog writes them, with a dot whatever the locale.
std::string seconds(std::int64_t cs) { return output::secondsText(cs, 1) + " s"; }

// What the written animation does and, under a preset, what it breaks.
template <typename Answer>
int reportAnimation(const Answer& asked, const std::vector<std::string>& saved, std::ostream& out, std::ostream& err) {
  // The save leaves exactly the one animated file when it was written.
  if (saved.size() != 1) return 0;
  const std::string ext = save::GetFileExt(saved.front());
  if (ext != ".gif" && ext != ".webp") return 0;
  std::error_code ec;
  const std::uintmax_t bytes = std::filesystem::file_size(saved.front(), ec);
  if (ec) return 0;
  const output::PlaySummary s = output::summarize(asked.shape, asked.interval, asked.play);
  out << "animation: " << s.frames << " frames, one play " << seconds(s.onePlayCs) << ", ";
  if (s.plays == 0)
    out << "plays forever";
  else
    out << s.plays << (s.plays == 1 ? " play, " : " plays, ") << seconds(s.totalCs) << " in all";
  out << ", " << bytes << " bytes\n";

  const output::AdPreset preset = asked.play.preset;
  if (preset == output::AdPreset::None) return 0;
  const output::PresetRules& rules = output::presetRules(preset);
  const output::PresetBreaches b = output::checkPreset(s, preset);
  const std::int64_t budget = output::byteBudget(preset, asked.shape.width, asked.shape.height);
  std::vector<std::string> broken;
  if (b.intervalTooShort)
    broken.push_back("interval " + output::secondsText(s.intervalCs, 2) + " s, shorter than " +
                     output::secondsText(rules.minIntervalCs, 2) + " s");
  if (b.endless) broken.push_back("plays forever");
  if (b.tooLong) broken.push_back(seconds(s.totalCs) + " in all, longer than " + seconds(rules.maxTotalCs));
  if (b.tooManyPlays) broken.push_back(std::to_string(s.plays) + " plays, more than " + std::to_string(rules.maxPlays));
  if (!output::isPresetSize(preset, asked.shape.width, asked.shape.height))
    broken.push_back("size " + std::to_string(asked.shape.width) + " x " + std::to_string(asked.shape.height) +
                     ", not one of its sizes");
  if (budget > 0 && bytes > static_cast<std::uintmax_t>(budget))
    broken.push_back(std::to_string(bytes) + " bytes, over the budget of " + std::to_string(budget));
  const std::string name(kPresetNames[static_cast<std::size_t>(preset)]);
  if (broken.empty()) {
    out << "preset " << name << ": keeps to it";
    if (budget > 0) out << " (" << bytes << " of " << budget << " bytes)";
    out << "\n";
    return 0;
  }
  err << "brenlo-render: the animated GIF breaks the " << name << " preset:";
  for (std::size_t i = 0; i < broken.size(); ++i) err << (i == 0 ? " " : "; ") << broken[i];
  err << "\n";
  return 3;
}

// The line about an animated GIF fitted into a budget: its bytes and PSNR.
int reportFit(const output::AnimationFile& fit, std::ostream& out) {
  char psnr[32];
  std::snprintf(psnr, sizeof psnr, "%.2f", fit.psnr);
  out << fit.bytes.size() << " bytes, PSNR " << psnr << " dB (budget " << fit.budget << ")"
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
  std::vector<std::string> animationOptions;  // --plays, --hold, --preset, --max-bytes as given
  std::vector<std::string> given;             // every option as given
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
    given.push_back(name);
    if (name == "--help" || name == "--mask" || name == "--cross" || name == "--large-pictures") {
      if (eq != std::string::npos) return {std::nullopt, name + " takes no value"};
      if (name == "--large-pictures") a.largePictures = true;
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
    if (name == "--plays" || name == "--hold" || name == "--preset" || name == "--max-bytes" || name == "--border")
      animationOptions.push_back(name);
  }
  if (a.help) {
    result.args = std::move(a);
    return result;
  }
  if (a.check) {
    // A check reads one file against one preset and writes nothing.
    for (const std::string& name : given)
      if (name != "--check" && name != "--preset") return {std::nullopt, "--check takes --preset only, not " + name};
    if (!names.empty()) return {std::nullopt, "--check takes no other names: '" + names.front() + "'"};
    result.args = std::move(a);
    return result;
  }
  if (names.size() != 2)
    return {std::nullopt, "expected SOURCE and OUTPUT, got " + std::to_string(names.size()) + " name" +
                              (names.size() == 1 ? "" : "s")};
  a.source = names[0];
  a.output = names[1];
  // An option of the animation must not be dropped without a word: whatever
  // would write single frames instead is refused, the same for each of them.
  const std::string ext = save::GetFileExt(a.output);
  const bool oneAnimation = ext == ".webp" || (ext == ".gif" && a.gifAnimated);
  if (!oneAnimation && !animationOptions.empty())
    return {std::nullopt,
            animationOptions.front() + " needs one animation: a .gif OUTPUT with --gif animated, or a .webp OUTPUT"};
  if (ext == ".webp") {
    if (a.play.preset != output::AdPreset::None)
      return {std::nullopt, "--preset applies to an animated GIF only (the ad networks take no WebP)"};
    if (a.maxBytes) return {std::nullopt, "--max-bytes applies to an animated GIF only"};
  }
  // Amazon asks a border of banners whose edge does not stand out on its
  // white pages: its preset draws the quiet grey unless --border says else.
  if (a.play.preset == output::AdPreset::Amazon && !a.borderGiven) a.play.border = save::kBorderGrey;
  a.options.effect = effect;
  // --mask ticks the box of the chosen effect, whichever order they came in.
  a.options.mask[static_cast<std::size_t>(core::info(static_cast<core::EffectKind>(effect)).maskBox)] = mask;
  result.args = std::move(a);
  return result;
}

std::string renderUsage() {
  return "Usage: brenlo-render SOURCE OUTPUT [options]\n"
         "       brenlo-render PROJECT.pictorell OUTPUT [options]\n"
         "       brenlo-render --check FILE [--preset none|google|iab|amazon]\n"
         "Writes the frames of one banner animation exactly as the save command does.\n"
         "A project writes its banner of scenes: each scene's picture appears over the\n"
         "one before with its own effect and is held; the project's interval, plays and\n"
         "preset count unless given here, and its scenes give the effects and options.\n"
         "\n"
         "  SOURCE                 a BMP, JPEG, GIF, PNG or WebP picture, at most 1000 x 200 pixels\n"
         "  OUTPUT                 FOLDER/NAME.EXT: frames go to FOLDER/NAME + tag + 000 + .EXT\n"
         "                         (.bmp, .jpg or .gif; any other extension writes .bmp files);\n"
         "                         .webp writes one animated WebP, FOLDER/NAME + tag + .webp\n"
         "  --effect NAME          slide (default), turn, rotate, zoom, diffuse, elastic or hue\n"
         "  --mask                 show the picture's corner colour as the background colour\n"
         "  --background RRGGBB    background colour, red first as in web colours\n"
         "                         (default: the picture's top-left colour)\n"
         "  --large-pictures       take a SOURCE of up to 1200 x 1200 pixels (every ad size)\n"
         "  --over PICTURE         compose over this picture (of SOURCE's size) where the\n"
         "                         effect shows the background colour\n"
         "  --cross                slide: a second copy moves the opposite way\n"
         "  --axis x|y             rotate: turn about the X (default) or the Y axis\n"
         "  --diffuse sand|up|down diffuse: sand grains (default), light up or light down\n"
         "  --hue-mode rotate|converge\n"
         "                         hue: rotate round the colour circle (default) or converge\n"
         "  --hue DEGREES          hue: the target hue, 0 to 359 (default 0)\n"
         "  --gif frames|animated  with .gif: one file per frame (default) or one animated GIF\n"
         "  --interval SECONDS     frame interval of an animated GIF or WebP (default 0.1)\n"
         "  --plays N|forever      animated GIF or WebP: stop after N plays (1 to 99),\n"
         "                         starting and ending on the frame that shows the whole\n"
         "                         picture, or loop forever (default)\n"
         "  --hold SECONDS         animated GIF or WebP: show that frame this much longer at\n"
         "                         the start of each play (0 to 10, default 0)\n"
         "  --preset none|google|iab|amazon\n"
         "                         animated GIF: keep to an ad network's rules; raises a\n"
         "                         shorter interval to the minimum and, without --plays,\n"
         "                         plays as often as the time limit allows; a file over the\n"
         "                         preset's byte budget is fitted into it; google and iab\n"
         "                         also check the picture's size against their ad sizes\n"
         "  --border RRGGBB|none   animated GIF or WebP: a one-pixel border of this colour\n"
         "                         round every image of the file, as Amazon asks of a\n"
         "                         banner whose edge does not stand out on a white page\n"
         "                         (808080 is a quiet grey); the frames stay as they are.\n"
         "                         --preset amazon draws 808080 unless --border is given;\n"
         "                         none draws no border (the default otherwise)\n"
         "  --max-bytes N          fit the animated GIF into N bytes at the best quality that\n"
         "                         fits; prints its bytes and PSNR\n"
         "  --lang en|ja           the language of the messages about SOURCE (default: as\n"
         "                         the window, English when the system's is English or C)\n"
         "  --help                 show this text\n"
         "\n"
         "--plays, --hold, --preset and --max-bytes need one animation: a .gif OUTPUT with\n"
         "--gif animated takes all four, a .webp OUTPUT --plays and --hold. With an OUTPUT\n"
         "that writes single frames each of them is refused alike: a message, exit status\n"
         "2, nothing written. --border needs one animation too, a .gif or a .webp alike.\n"
         "\n"
         "--check FILE reads any animated GIF or WebP, by whatever program made, as\n"
         "Chromium and Firefox play it (a delay of 0 or 0.01 s plays as 0.1 s; a GIF\n"
         "without a loop block plays once, with a loop count N plays N + 1 times, 0\n"
         "forever) and writes nothing. It prints the size in pixels, bytes, frames, the\n"
         "shortest delay, one play's time, the plays and the total time, then each rule\n"
         "of the preset, kept or BROKEN, with the figure: shortest delay, delays of 0 or\n"
         "0.01 s, stopping, total time, plays, bytes, size, and for every preset WCAG's\n"
         "general and red flash (more than three flashes in any one second over more\n"
         "than a quarter of 341 x 256 pixels). Exit status: 0 every rule kept, 3 a rule\n"
         "broken, 1 the file cannot be read (the reason follows), 2 bad arguments.\n"
         "\n"
         "Options may come before or after the names. Prints the files written; with\n"
         "--plays, --hold or --preset also what the animation does (frames, one play's\n"
         "time, plays, total time, bytes) and whether it keeps to the preset; with a byte\n"
         "budget (--max-bytes or the preset's) the fitted file's bytes and PSNR.\n"
         "Exit status: 0 done, 1 picture not loaded or file not written, 2 bad arguments,\n"
         "3 the animated GIF was written but breaks its preset (too long, too many plays,\n"
         "endless, interval too short, a size the network does not list) or does not fit\n"
         "its byte budget even at the lowest quality (the closest file is written).\n";
}

namespace {

// The save dialog always returns a full path; a relative OUTPUT means the
// current folder. "" when OUTPUT names no file inside a folder.
std::string outputName(const RenderArgs& a) {
  const std::filesystem::path outPath = std::filesystem::absolute(a.output).lexically_normal();
  const std::string outName = outPath.string();
  if (!outPath.has_filename() || save::FolderOf(outName).empty()) return "";
  return outName;
}

// One picture with one effect, as the save command writes it.
int renderPicture(RenderArgs a, std::ostream& out, std::ostream& err, const QLocale& system,
                  const save::AnimationEncoder& encoder) {
  const std::string outName = outputName(a);
  const std::filesystem::path outPath(outName);
  if (!effects::makeGenerator(static_cast<core::EffectKind>(a.options.effect))) {
    err << "brenlo-render: the effect is not available in this build\n";
    return 1;
  }

  const intake::LoadResult loaded = intake::loadPictureFile(a.source, intake::sizeLimit(a.largePictures));
  if (loaded.status != intake::LoadStatus::Loaded) {
    err << textIn(chooseTerminalLanguage(a.language, system), loaded.message.c_str()) << "\n";
    return 1;
  }
  effects::WorkState ws;
  const core::Color corner = effects::acceptSource(ws, loaded.picture);
  a.options.bannerColor = a.background.value_or(corner);
  if (!a.over.empty()) {
    const intake::LoadResult behind = intake::loadPictureFile(a.over);
    if (behind.status != intake::LoadStatus::Loaded) {
      err << textIn(chooseTerminalLanguage(a.language, system), behind.message.c_str()) << "\n";
      return 1;
    }
    if (behind.picture.width() != loaded.picture.width() || behind.picture.height() != loaded.picture.height()) {
      err << "brenlo-render: the picture to compose over is " << behind.picture.width() << " x "
          << behind.picture.height() << " pixels, the source " << loaded.picture.width() << " x "
          << loaded.picture.height() << ": they must be of one size\n";
      return 1;
    }
    ws.picOver = behind.picture;
  }

  // The save dialog only returns names in existing folders; make the folder
  // exist so that every effect behaves alike (a folder that cannot be made
  // shows up as a write error of the first frame).
  std::error_code ec;
  std::filesystem::create_directories(outPath.parent_path(), ec);

  HeadlessHost host(a);
  effects::Driver driver(ws, host, false);
  effects::Driver::SaveExtras extras;
  // --max-bytes is the budget; else a preset's budget, only for a file over it.
  extras.budgetBytes = a.maxBytes.value_or(0);
  extras.presetBudgetWhenOver = true;
  extras.encoder = encoder;
  driver.saveCommand(outName, extras);
  if (!host.error.empty()) {
    err << "brenlo-render: " << host.error << "\n";
    return 1;
  }
  for (const std::string& file : driver.savedFiles()) out << file << "\n";
  int status = 0;
  const std::optional<output::AnimationFile>& gif = driver.lastSave().gif;
  if (gif && gif->budget > 0) status = reportFit(*gif, out);
  const bool animation = a.gifAnimated || save::GetFileExt(a.output) == ".webp";
  if (!a.playOptions || !host.asked || !animation) return status;
  return std::max(status, reportAnimation(*host.asked, driver.savedFiles(), out, err));
}

// The scenes of a project with their pictures loaded; a picture that is
// missing, unreadable or of another size than the first names its scene.
std::optional<std::vector<scenes::Scene>> loadScenes(const std::string& projectPath, const scenes::Project& project,
                                                     std::optional<core::Color> background, std::ostream& err,
                                                     UiLanguage language) {
  std::vector<scenes::Scene> loaded;
  for (std::size_t i = 0; i < project.scenes.size(); ++i) {
    const scenes::ProjectScene& ps = project.scenes[i];
    const std::string path = scenes::picturePath(projectPath, ps.picture);
    const std::string where = "brenlo-render: scene " + std::to_string(i + 1) + " (" + path + "): ";
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec)) {
      err << where << "the picture is missing\n";
      return std::nullopt;
    }
    const intake::LoadResult picture = intake::loadPictureFile(path);
    if (picture.status != intake::LoadStatus::Loaded) {
      err << where << textIn(language, picture.message.c_str()) << "\n";
      return std::nullopt;
    }
    scenes::Scene s;
    s.picture = picture.picture;
    s.options = ps.options;
    s.options.bannerColor = background.value_or(project.bannerColor.value_or(picture.picture.pixel(0, 0)));
    s.holdCs = ps.holdCs;
    loaded.push_back(std::move(s));
    if (const auto mismatch = scenes::sizeMismatch(loaded)) {
      err << where << *mismatch << "\n";
      return std::nullopt;
    }
  }
  return loaded;
}

// A project: one scene is the save of its picture exactly as above; several
// make one banner through the same save step.
int renderProject(RenderArgs a, std::ostream& out, std::ostream& err, const QLocale& system,
                  const save::AnimationEncoder& encoder) {
  const UiLanguage language = chooseTerminalLanguage(a.language, system);
  const scenes::ProjectRead read = scenes::readProjectFile(a.source);
  if (!read.project) {
    err << "brenlo-render: " << read.error << "\n";
    return 1;
  }
  const scenes::Project& project = *read.project;
  const std::optional<std::vector<scenes::Scene>> loaded = loadScenes(a.source, project, a.background, err, language);
  if (!loaded) return 1;
  // The command line's play choices come before the project's.
  if (!a.intervalGiven) a.gifInterval = static_cast<std::int16_t>(project.intervalCs);
  if (!a.playsGiven) a.play.plays = project.plays;
  if (a.play.preset == output::AdPreset::None && save::GetFileExt(a.output) == ".gif" && a.gifAnimated)
    a.play.preset = project.preset;
  if (a.play.preset == output::AdPreset::Amazon && !a.borderGiven) a.play.border = save::kBorderGrey;
  if (loaded->size() == 1) {
    a.source = scenes::picturePath(a.source, project.scenes.front().picture);
    a.options = loaded->front().options;
    a.background = loaded->front().options.bannerColor;
    a.playsGiven = a.playsGiven || project.plays != 0;
    a.playOptions = a.playOptions || project.plays != 0 || a.play.preset != output::AdPreset::None;
    return renderPicture(a, out, err, system, encoder);
  }

  const std::string outName = outputName(a);
  std::error_code ec;
  std::filesystem::create_directories(std::filesystem::path(outName).parent_path(), ec);
  int interval = a.gifInterval;
  int plays = a.play.plays;
  if (a.play.preset != output::AdPreset::None) {
    // As the dialog chooses the preset: a play count unless one was given.
    const std::optional<scenes::BannerFrames> probe = scenes::composeBanner(*loaded, a.playsGiven && plays == 0);
    if (!probe) return 1;
    const output::PresetChoice choice =
        output::choosePreset(a.play.preset, scenes::bannerShape(*probe), interval, a.play.holdCs);
    interval = choice.intervalCs;
    if (!a.playsGiven && project.plays == 0) plays = choice.plays;
  }
  const std::optional<scenes::BannerFrames> banner = scenes::composeBanner(*loaded, plays == 0);
  if (!banner) return 1;
  scenes::BannerSaveChoice choice;
  choice.name = outName;
  choice.animated = a.gifAnimated;
  choice.intervalCs = interval;
  choice.play = a.play;
  choice.play.plays = plays;
  if (save::GetFileExt(outName) == ".webp") choice.play.preset = output::AdPreset::None;
  choice.budgetBytes = a.maxBytes.value_or(0);
  choice.presetBudgetWhenOver = true;
  const save::SaveReport report = scenes::saveBanner(*banner, choice, nullptr, encoder);
  if (!report.status) {
    err << "brenlo-render: cannot write " << report.status.file << ": " << report.status.reason << "\n";
    return 1;
  }
  for (const std::string& file : report.files) out << file << "\n";
  int status = 0;
  if (report.gif && report.gif->budget > 0) status = reportFit(*report.gif, out);
  struct Answer {
    output::AnimationShape shape;
    std::int16_t interval;
    output::PlaySettings play;
  };
  const Answer asked{scenes::bannerShape(*banner), static_cast<std::int16_t>(interval), choice.play};
  const bool animation = a.gifAnimated || save::GetFileExt(a.output) == ".webp";
  if (!animation) return status;
  return std::max(status, reportAnimation(asked, report.files, out, err));
}

}  // namespace

int runRender(const std::vector<std::string>& args, std::ostream& out, std::ostream& err, const QLocale& system,
              const save::AnimationEncoder& encoder) {
  const ParsedArgs parsed = parseRenderArgs(args);
  if (!parsed.args) {
    err << "brenlo-render: " << parsed.error << " (see --help)\n";
    return 2;
  }
  const RenderArgs& a = *parsed.args;
  if (a.help) {
    out << renderUsage();
    return 0;
  }
  if (a.check) {
    const check::CheckOutcome outcome = check::checkBannerFile(*a.check, a.play.preset);
    if (!outcome.ok) {
      err << "brenlo-render: cannot check " << *a.check << ": " << outcome.problem << "\n";
      return 1;
    }
    out << check::reportText(outcome.check, a.play.preset);
    return outcome.check.allKept() ? 0 : 3;
  }
  if (outputName(a).empty()) {
    err << "brenlo-render: OUTPUT must name a file inside a folder: '" << a.output << "'\n";
    return 2;
  }
  if (save::GetFileExt(a.source) == scenes::kProjectExtension) {
    // Each scene composes over the one before; there is no one picture to compose over.
    if (!a.over.empty()) {
      err << "brenlo-render: --over applies to a single picture, not to a project (see --help)\n";
      return 2;
    }
    return renderProject(a, out, err, system, encoder);
  }
  return renderPicture(a, out, err, system, encoder);
}

}  // namespace app
