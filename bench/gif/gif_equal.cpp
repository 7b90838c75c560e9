// Quality at equal bytes (not a test): for every bench set and every
// effect, the bytes that gifsicle -O3 reaches on ImageMagick's GIF of the
// frames, and that gifski reaches at -Q 90, become our byte budget; our
// fitted file must show the frames at least as well, in the mean and in the
// worst frame. Every file is decoded by ImageMagick and scored against the
// composed frames with the encoder's own measure.
//
//   gif_equal [--bench DIR] [--only SET] [--effect N] [--gifski PATH] [--frames]
//
// --frames also prints every frame's dB of each file, to see where a mean is lost.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <unistd.h>

#include "effects/generator.h"
#include "frame_sets.h"
#include "measure.h"
#include "frame_files/file_io.h"
#include "gif/gif_fit.h"
#include "frame_files/writer.h"

namespace fs = std::filesystem;
using namespace gifbench;

namespace {

constexpr int kDelay = 10;
constexpr const char* kEffectNames[] = {"slide", "turn", "rotate", "zoom", "diffuse", "elastic", "hue"};

struct Args {
  std::string benchDir = "../shared/bench";
  std::string only;
  int effect = -1;
  std::string gifski;
  bool frames = false;
};

Args parse(int argc, char** argv) {
  Args a;
  if (const char* env = std::getenv("PICTORELL_BENCHDATA")) a.benchDir = env;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--bench" && i + 1 < argc) {
      a.benchDir = argv[++i];
    } else if (arg == "--only" && i + 1 < argc) {
      a.only = argv[++i];
    } else if (arg == "--effect" && i + 1 < argc) {
      a.effect = std::atoi(argv[++i]);
    } else if (arg == "--gifski" && i + 1 < argc) {
      a.gifski = argv[++i];
    } else if (arg == "--frames") {
      a.frames = true;
    } else {
      std::fprintf(stderr, "usage: gif_equal [--bench DIR] [--only SET] [--effect N] [--gifski PATH] [--frames]\n");
      std::exit(2);
    }
  }
  return a;
}

struct Measured {
  std::uintmax_t bytes = 0;
  Score score;
  bool ok = false;
};

Measured measureFile(const std::vector<core::Picture>& frames, const std::string& gif) {
  Measured m;
  const auto decoded = decodeFrames(gif, frames[0].width(), frames[0].height(), kDelay);
  const auto s = decoded ? score(frames, *decoded) : std::nullopt;
  if (!s) return m;
  m.bytes = fs::file_size(gif);
  m.score = *s;
  m.ok = true;
  return m;
}

std::string cell(const Measured& m) {
  if (!m.ok) return "failed";
  char buf[64];
  std::snprintf(buf, sizeof buf, "%7ju B %6.2f / %6.2f", m.bytes, m.score.meanPsnr, m.score.minPsnr);
  return buf;
}

void printFrames(const char* who, const Measured& m) {
  if (!m.ok) return;
  std::printf("  %-9s", who);
  for (const double db : m.score.perFrame) std::printf(" %5.1f", db);
  std::printf("\n");
}

// Our file fitted into the peer's bytes, and whether it is at least as good.
std::string oursWithin(const std::vector<core::Picture>& frames, const Measured& peer, const std::string& path,
                       int& kept, int& broken, Measured& ours) {
  if (!peer.ok) return "(no peer)";
  std::vector<const core::Bitmap*> bitmaps;
  for (const core::Picture& f : frames) bitmaps.push_back(f.bitmap().get());
  const output::AnimationTiming timing = output::AnimationTiming::uniform(bitmaps.size(), kDelay);
  const std::optional<output::FittedGif> fit = output::fitGifAnimation(bitmaps, timing, peer.bytes, nullptr);
  if (!fit || !output::replaceFile(path, fit->bytes)) return "failed";
  ours = measureFile(frames, path);
  const bool good = ours.ok && fit->fits && ours.score.meanPsnr >= peer.score.meanPsnr - 0.005 &&
                    ours.score.minPsnr >= peer.score.minPsnr - 0.005;
  (good ? kept : broken)++;
  char q[32];
  std::snprintf(q, sizeof q, " q%d%s %s", fit->quality, fit->finer ? "+" : "", good ? "ok" : "WORSE");
  return cell(ours) + q;
}

}  // namespace

int main(int argc, char** argv) {
  const Args args = parse(argc, argv);
  std::vector<std::pair<std::string, core::Picture>> sources = {
      {"logo", loadPicture(args.benchDir + "/logo.bmp")},
      {"logo468", loadPicture(args.benchDir + "/logo468.bmp")},
      {"photo", loadPicture(args.benchDir + "/photo.bmp")},
  };
  sources.push_back({"photo728", crop(sources[2].second, 728, 90)});
  sources.push_back({"photo300", crop(sources[2].second, 300, 50)});
  const bool gifsicle = haveProgram("gifsicle");
  const fs::path dir = fs::temp_directory_path() / ("pictorell-gif-equal-" + std::to_string(::getpid()));
  int kept = 0, broken = 0;
  std::printf("%-9s %-8s %-34s %-44s %-34s %s\n", "set", "effect", "IM + gifsicle -O3 (B, mean / worst dB)",
              "ours in those bytes", "gifski -Q 90", "ours in those bytes");
  for (const auto& [name, source] : sources) {
    if (!args.only.empty() && args.only != name) continue;
    for (int e = 0; e < effects::kEffectCount; ++e) {
      if (args.effect >= 0 && args.effect != e) continue;
      effects::Options options;
      options.effect = e;
      const std::vector<core::Picture> frames = savedFrames(options, source);
      if (frames.empty()) continue;
      fs::remove_all(dir);
      fs::create_directories(dir);
      std::string list;
      for (std::size_t i = 0; i < frames.size(); ++i) {
        const std::string stem = (dir / ("f" + output::formatNumber(static_cast<int>(i)))).string();
        if (!output::SavePicture(frames[i], stem + ".bmp")) return 1;
        const std::string png = convertProgram() + " '" + stem + ".bmp' '" + stem + ".png'";
        if (std::system(png.c_str()) != 0) return 1;
        list += " '" + stem + ".png'";
      }
      Measured gs, ski;
      if (gifsicle) {
        const std::string im = (dir / "im.gif").string(), out = (dir / "gs.gif").string();
        const std::string cmd = convertProgram() + " -delay " + std::to_string(kDelay) + " -loop 0" + list + " '" +
                                im + "' && gifsicle -O3 '" + im + "' -o '" + out + "' 2>/dev/null";
        if (std::system(cmd.c_str()) == 0) gs = measureFile(frames, out);
      }
      if (!args.gifski.empty()) {
        const std::string out = (dir / "ski.gif").string();
        const std::string cmd = "'" + args.gifski + "' -q --fps " + std::to_string(100 / kDelay) + " -W " +
                                std::to_string(frames[0].width()) + " -Q 90 -o '" + out + "'" + list +
                                " >/dev/null 2>&1";
        if (std::system(cmd.c_str()) == 0) ski = measureFile(frames, out);
      }
      Measured oursGs, oursSki;
      const std::string a = oursWithin(frames, gs, (dir / "ours1.gif").string(), kept, broken, oursGs);
      const std::string b = oursWithin(frames, ski, (dir / "ours2.gif").string(), kept, broken, oursSki);
      std::printf("%-9s %-8s %-34s %-44s %-34s %s\n", name.c_str(), kEffectNames[e], cell(gs).c_str(), a.c_str(),
                  cell(ski).c_str(), b.c_str());
      if (args.frames) {
        printFrames("gifsicle", gs);
        printFrames("ours", oursGs);
        printFrames("gifski", ski);
        printFrames("ours", oursSki);
      }
      std::fflush(stdout);
    }
  }
  fs::remove_all(dir);
  std::printf("\nat least as good in mean and worst frame: %d of %d\n", kept, kept + broken);
  return 0;
}
