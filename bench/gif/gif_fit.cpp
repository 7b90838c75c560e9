// Fitting animated GIFs into byte budgets (not a test): our fitted file
// against the best that gifsicle (a grid of --lossy and --colors) and gifski
// (a range of -Q) reach within the same budget, on the same frames. PSNR is
// the mean over frames as ImageMagick shows them against the composed
// frames, for every encoder alike. Also times the first plain encode and
// the fitting.
//
//   gif_fit [--bench DIR] [--only NAME] [--runs N] [--budgets 150000,100000,50000]
//           [--gifski PATH] [--no-peers]
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "frame_sets.h"
#include "measure.h"
#include "frame_files/file_io.h"
#include "gif/gif_fit.h"
#include "frame_files/writer.h"

namespace fs = std::filesystem;
using namespace gifbench;

namespace {

constexpr int kDelay = 10;

struct Args {
  std::string benchDir = "../shared/bench";
  std::string only;
  int runs = 3;
  std::vector<std::size_t> budgets{150000, 100000, 50000};
  std::string gifski;
  bool peers = true;
};

struct Candidate {
  std::string settings;
  std::uintmax_t bytes = 0;
  double psnr = NAN;
};

Args parse(int argc, char** argv) {
  Args a;
  if (const char* env = std::getenv("PICTORELL_BENCHDATA")) a.benchDir = env;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--bench" && i + 1 < argc)
      a.benchDir = argv[++i];
    else if (arg == "--only" && i + 1 < argc)
      a.only = argv[++i];
    else if (arg == "--runs" && i + 1 < argc)
      a.runs = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--gifski" && i + 1 < argc)
      a.gifski = argv[++i];
    else if (arg == "--no-peers")
      a.peers = false;
    else if (arg == "--budgets" && i + 1 < argc) {
      a.budgets.clear();
      std::stringstream list(argv[++i]);
      for (std::string item; std::getline(list, item, ',');) a.budgets.push_back(std::stoul(item));
    } else {
      std::fprintf(stderr,
                   "usage: gif_fit [--bench DIR] [--only NAME] [--runs N] [--budgets B1,B2,..] [--gifski PATH] "
                   "[--no-peers]\n");
      std::exit(2);
    }
  }
  return a;
}

double seconds(const std::function<void()>& step) {
  const auto start = std::chrono::steady_clock::now();
  step();
  return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

double medianTime(int runs, const std::function<void()>& step) {
  std::vector<double> t;
  for (int r = 0; r < runs; ++r) t.push_back(seconds(step));
  return median(t);
}

double decodedPsnr(const FrameSet& set, const std::string& gif) {
  const auto decoded = decodeFrames(gif, set.frames[0].width(), set.frames[0].height(), kDelay);
  const auto s = decoded ? score(set.frames, *decoded) : std::nullopt;
  return s ? s->meanPsnr : NAN;
}

// Every file a peer writes over its grid, with its size and quality.
std::vector<Candidate> gifsicleGrid(const FrameSet& set, const std::string& dir, const std::string& input) {
  std::vector<Candidate> out;
  for (int colours : {256, 192, 128, 96, 64, 48, 32}) {
    for (int lossy = 20; lossy <= 200; lossy += 20) {
      const std::string gif = dir + "/gs.gif";
      const std::string cmd = "gifsicle -O3 --lossy=" + std::to_string(lossy) + " --colors " + std::to_string(colours) +
                              " '" + input + "' -o '" + gif + "' 2>/dev/null";
      if (std::system(cmd.c_str()) != 0) continue;
      out.push_back({"--lossy=" + std::to_string(lossy) + " --colors " + std::to_string(colours), fs::file_size(gif),
                     decodedPsnr(set, gif)});
    }
  }
  return out;
}

std::vector<Candidate> gifskiRange(const FrameSet& set, const std::string& dir, const std::string& gifski) {
  std::vector<Candidate> out;
  const int w = set.frames[0].width();
  for (int q = 10; q <= 100; q += 10) {
    const std::string gif = dir + "/gifski.gif";
    const std::string cmd = "'" + gifski + "' -q --fps " + std::to_string(100 / kDelay) + " -W " + std::to_string(w) +
                            " -Q " + std::to_string(q) + " -o '" + gif + "' '" + dir + "'/f*.png >/dev/null 2>&1";
    if (std::system(cmd.c_str()) != 0) continue;
    out.push_back({"-Q " + std::to_string(q), fs::file_size(gif), decodedPsnr(set, gif)});
  }
  return out;
}

const Candidate* bestWithin(const std::vector<Candidate>& all, std::size_t budget) {
  const Candidate* best = nullptr;
  for (const Candidate& c : all) {
    if (c.bytes <= budget && !std::isnan(c.psnr) && (!best || c.psnr > best->psnr)) best = &c;
  }
  return best;
}

std::string describe(const Candidate* c) {
  if (!c) return "does not fit";
  char buf[96];
  std::snprintf(buf, sizeof buf, "%6.2f dB %8ju B (%s)", c->psnr, c->bytes, c->settings.c_str());
  return buf;
}

void runSet(const FrameSet& set, const Args& args) {
  const fs::path dir = fs::temp_directory_path() / ("pictorell-gif-fit-" + set.name);
  fs::remove_all(dir);
  fs::create_directories(dir);
  std::vector<const core::Bitmap*> frames;
  for (const core::Picture& f : set.frames) frames.push_back(f.bitmap().get());
  const output::AnimationTiming timing = output::AnimationTiming::uniform(frames.size(), kDelay);
  std::printf("\n%s: %zu frames of %dx%d (%s)\n", set.name.c_str(), frames.size(), set.frames[0].width(),
              set.frames[0].height(), set.origin.c_str());

  std::optional<output::EncodedGif> plain;
  const double tPlain =
      medianTime(args.runs, [&] { plain = output::encodeGifAtQuality(frames, timing, 100, nullptr); });
  if (!plain) return;
  const std::string lossless = (dir / "plain.gif").string();
  if (!output::replaceFile(lossless, plain->bytes)) return;
  std::printf("  first plain encode %.3f s: %zu B, %.2f dB\n", tPlain, plain->bytes.size(), plain->psnr);

  std::vector<Candidate> gs, ski;
  if (args.peers && haveProgram("gifsicle")) gs = gifsicleGrid(set, dir.string(), lossless);
  if (args.peers && !args.gifski.empty()) {
    for (std::size_t i = 0; i < set.frames.size(); ++i) {
      const std::string stem = dir.string() + "/f" + output::formatNumber(static_cast<int>(i));
      if (!output::SavePicture(set.frames[i], stem + ".bmp")) std::exit(1);
      const std::string png = convertProgram() + " '" + stem + ".bmp' '" + stem + ".png'";
      if (std::system(png.c_str()) != 0) std::exit(1);
    }
    ski = gifskiRange(set, dir.string(), args.gifski);
  }
  std::printf("  %-8s %-38s %-52s %s\n", "budget", "ours (time, bytes, PSNR ours / decoded)", "gifsicle best",
              "gifski best");
  for (std::size_t budget : args.budgets) {
    std::optional<output::FittedGif> fit;
    const double t = medianTime(args.runs, [&] { fit = output::fitGifAnimation(frames, timing, budget, nullptr); });
    if (!fit) continue;
    const std::string ours = (dir / "ours.gif").string();
    if (!output::replaceFile(ours, fit->bytes)) return;
    const double decoded = decodedPsnr(set, ours);
    char mine[128];
    std::snprintf(mine, sizeof mine, "%.3f s %8zu B %6.2f / %6.2f dB q%d%s", t, fit->bytes.size(), fit->psnr, decoded,
                  fit->quality,
                  fit->finer  ? "+ finer"
                  : fit->fits ? ""
                              : " NO FIT");
    std::printf("  %-8zu %-38s %-52s %s\n", budget, mine, describe(bestWithin(gs, budget)).c_str(),
                args.gifski.empty() ? "(not run)" : describe(bestWithin(ski, budget)).c_str());
  }
  fs::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv) {
  const Args args = parse(argc, argv);
  for (const NamedSet& job : benchmarkSets(args.benchDir, true)) {
    if (args.only.empty() || args.only == job.name) runSet(job.make(), args);
  }
  return 0;
}
