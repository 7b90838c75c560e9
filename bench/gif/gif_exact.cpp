// Lossless animated GIFs against gifsicle -O3 on the same frames (not a
// test): a corpus of banners with at most 256 colours in all frames, every
// effect with and without the mask over small pictures, flat few-colour
// pictures, and frame-list-like runs with repeated frames. gifsicle gets our
// own lossless GIF, so both encode identical pixels; ours must decode exactly
// and be no larger.
//
//   gif_exact [--bench DIR] [--assets DIR] [--only SUBSTRING] [--keep]
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

#include "frame_sets.h"
#include "measure.h"
#include "gif/colour_index.h"
#include "frame_files/file_io.h"
#include "gif/gif_encoder.h"

namespace fs = std::filesystem;
using namespace gifbench;

namespace {

constexpr int kDelay = 10;
const core::Color kBanner = core::rgb(255, 224, 130);

struct Banner {
  std::string name;
  std::vector<core::Picture> frames;
};

int colourCount(const std::vector<core::Picture>& frames) {
  output::ColourIndex index;
  for (const core::Picture& f : frames) {
    if (!index.addAll(*f.bitmap())) return 257;
  }
  return index.size();
}

// Each channel cut to `levels` values: a logo with few colours.
core::Picture posterize(const core::Picture& p, int levels) {
  core::Bitmap b = *p.bitmap();
  const auto cut = [&](int v) { return (v * (levels - 1) + 127) / 255 * 255 / (levels - 1); };
  for (core::Color& c : b.px) c = core::rgb(cut(core::redOf(c)), cut(core::greenOf(c)), cut(core::blueOf(c)));
  return core::Picture::fromBitmap(std::move(b));
}

// A flat picture of `colours` colours: stripes, boxes and a checker "text".
core::Picture flatPicture(int w, int h, int colours) {
  const core::Color palette[] = {core::rgb(255, 255, 255), core::rgb(20, 40, 160), core::rgb(230, 30, 40),
                                 core::rgb(250, 200, 0),   core::rgb(0, 150, 70),  core::rgb(40, 40, 40)};
  core::Bitmap b(w, h, palette[0]);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      int k = 0;
      if (x > w / 10 && x < w / 4 && y > h / 5 && y < h * 4 / 5) k = 1;
      if (((x - w / 2) * (x - w / 2)) / 4 + (y - h / 2) * (y - h / 2) < h * h / 9) k = 2;
      if (x > w * 2 / 3 && y > h / 3 && y < h * 2 / 3 && ((x / 3 + y / 4) % 3 == 0)) k = 3;
      if (y >= h - 3) k = 4;
      if (x > w * 7 / 8 && y < h / 3) k = 5;
      b.row(y)[x] = palette[k % colours];
    }
  }
  return core::Picture::fromBitmap(std::move(b));
}

void addEffects(std::vector<Banner>& out, const std::string& name, const core::Picture& source) {
  static const char* kNames[] = {"slide", "turn", "rotate", "zoom", "diffuse", "elastic", "hue"};
  for (int effect = 0; effect < 7; ++effect) {
    for (bool mask : {false, true}) {
      effects::Options o;
      o.effect = effect;
      o.mask.fill(mask);
      // With the mask the corner colour shows the banner colour instead.
      const std::optional<core::Color> banner = mask ? std::optional(kBanner) : std::nullopt;
      out.push_back({name + "/" + kNames[effect] + (mask ? "+mask" : ""), savedFrames(o, source, banner)});
    }
  }
  effects::Options o;
  o.cross = true;
  out.push_back({name + "/slide-cross", savedFrames(o, source)});
  o.mask.fill(true);
  out.push_back({name + "/slide-cross+mask", savedFrames(o, source, kBanner)});
  effects::Options y;
  y.effect = 2;
  y.axis = 1;
  out.push_back({name + "/rotate-y", savedFrames(y, source)});
  effects::Options converge;
  converge.effect = 6;
  converge.hueType = 1;
  converge.hueX = 200;
  out.push_back({name + "/hue-converge", savedFrames(converge, source)});
}

// A frame list: frames picked from a save, some of them twice in a row.
Banner frameList(const std::string& name, const std::vector<core::Picture>& frames) {
  Banner b{name + "/framelist", {}};
  for (std::size_t i = 0; i < frames.size(); i += 3) {
    for (std::size_t r = 0; r < 1 + i % 2; ++r) b.frames.push_back(frames[i]);
  }
  return b;
}

std::vector<Banner> corpus(const std::string& bench, const std::string& assets) {
  std::vector<Banner> out;
  const core::Picture sample = loadPicture(assets + "/sample-468x60.bmp");
  addEffects(out, "sample468", sample);
  addEffects(out, "logo468-64", posterize(loadPicture(bench + "/logo468.bmp"), 4));
  addEffects(out, "flat468-4", flatPicture(468, 60, 4));
  addEffects(out, "flat320-3", flatPicture(320, 50, 3));
  const core::Picture logo64 = posterize(loadPicture(bench + "/logo.bmp"), 4);
  for (int effect : {0, 6}) {
    effects::Options o;
    o.effect = effect;
    out.push_back({std::string("logo-64/") + (effect ? "hue" : "slide"), savedFrames(o, logo64)});
  }
  // Other ad sizes cut from the 1000 x 200 logo: a box, a leaderboard and
  // a mobile banner, every effect with and without the mask.
  for (const auto& [w, h] : {std::pair{300, 200}, std::pair{728, 90}, std::pair{320, 50}}) {
    addEffects(out, "logo-64@" + std::to_string(w) + "x" + std::to_string(h), crop(logo64, w, h));
  }
  addEffects(out, "flat300x200-5", flatPicture(300, 200, 5));
  effects::Options slide;
  out.push_back({"flat728-6/slide", savedFrames(slide, flatPicture(728, 90, 6))});
  out.push_back(frameList("sample468", savedFrames(slide, sample)));
  out.push_back(frameList("flat468-4", savedFrames(slide, flatPicture(468, 60, 4))));
  effects::Options turn;
  turn.effect = 1;
  out.push_back(frameList("logo-64@728x90", savedFrames(turn, crop(logo64, 728, 90))));
  out.push_back(frameList("flat300x200-5", savedFrames(turn, flatPicture(300, 200, 5))));
  return out;
}

// SUBSTRING selects names that hold it; a final "$" asks for the whole name.
bool selected(const std::string& name, const std::string& only) {
  if (!only.empty() && only.back() == '$') return name + "$" == only;
  return name.find(only) != std::string::npos;
}

struct Args {
  std::string bench = "../shared/bench";
  std::string assets = "assets";
  std::string only;
  bool keep = false;
};

Args parse(int argc, char** argv) {
  Args a;
  if (const char* env = std::getenv("PICTORELL_BENCHDATA")) a.bench = env;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--bench" && i + 1 < argc)
      a.bench = argv[++i];
    else if (arg == "--assets" && i + 1 < argc)
      a.assets = argv[++i];
    else if (arg == "--only" && i + 1 < argc)
      a.only = argv[++i];
    else if (arg == "--keep")
      a.keep = true;
    else {
      std::fprintf(stderr, "usage: gif_exact [--bench DIR] [--assets DIR] [--only SUBSTRING] [--keep]\n");
      std::exit(2);
    }
  }
  return a;
}

}  // namespace

int main(int argc, char** argv) {
  const Args args = parse(argc, argv);
  const bool peer = haveProgram("gifsicle");
  if (!peer) std::printf("gifsicle not installed: sizes of ours only\n");
  const fs::path dir = fs::temp_directory_path() / "pictorell-gif-exact";
  fs::create_directories(dir);
  std::printf("%-28s %6s %7s %10s %10s %8s %s\n", "banner", "frames", "colours", "ours", "gifsicle", "ours/gs",
              "decodes");
  int compared = 0, larger = 0, inexact = 0;
  std::uintmax_t oursTotal = 0, theirsTotal = 0;
  for (Banner& b : corpus(args.bench, args.assets)) {
    if (!selected(b.name, args.only)) continue;
    const int colours = b.frames.empty() ? 0 : colourCount(b.frames);
    if (b.frames.empty() || colours > 256) {
      std::printf("%-28s skipped (%s)\n", b.name.c_str(), b.frames.empty() ? "no frames" : "over 256 colours");
      continue;
    }
    std::vector<const core::Bitmap*> bitmaps;
    for (const core::Picture& f : b.frames) bitmaps.push_back(f.bitmap().get());
    const auto bytes = output::encodeGifAnimation(bitmaps, kDelay);
    if (!bytes) {
      std::printf("%-28s ENCODER FAILED\n", b.name.c_str());
      ++inexact;
      continue;
    }
    const std::string ours = (dir / "ours.gif").string();
    const std::string theirs = (dir / "gs.gif").string();
    if (!output::replaceFile(ours, *bytes)) return 1;
    const auto decoded = decodeFrames(ours, b.frames[0].width(), b.frames[0].height(), kDelay);
    const auto s = decoded ? score(b.frames, *decoded) : std::nullopt;
    const bool exact = s && s->exactFrames == static_cast<int>(b.frames.size());
    inexact += exact ? 0 : 1;
    std::uintmax_t gs = 0;
    if (peer && std::system(("gifsicle -O3 '" + ours + "' -o '" + theirs + "'").c_str()) == 0) {
      gs = fs::file_size(theirs);
      ++compared;
      larger += bytes->size() > gs ? 1 : 0;
      oursTotal += bytes->size();
      theirsTotal += gs;
    }
    std::printf("%-28s %6zu %7d %10zu %10ju %8.4f %s%s\n", b.name.c_str(), b.frames.size(), colours, bytes->size(), gs,
                gs ? static_cast<double>(bytes->size()) / static_cast<double>(gs) : NAN, exact ? "exact" : "NOT EXACT",
                gs && bytes->size() > gs ? "  LARGER" : "");
    if (args.keep) fs::copy_file(ours, dir / (std::to_string(compared) + ".gif"), fs::copy_options::overwrite_existing);
  }
  std::printf("\n%d banners against gifsicle -O3: %d larger; all together %ju vs %ju bytes (%.4f); %d not exact\n",
              compared, larger, oursTotal, theirsTotal,
              theirsTotal ? static_cast<double>(oursTotal) / static_cast<double>(theirsTotal) : NAN, inexact);
  if (!args.keep) fs::remove_all(dir);
  return larger == 0 && inexact == 0 ? 0 : 1;
}
