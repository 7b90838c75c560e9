// Animated WebP benchmark: our WebP against our animated GIF and against
// img2webp (libwebp's own command-line tool) on the same frames, rendered by
// the program's own effects.
//
//   webp_bench [--runs N] [--bench DIR] [--only NAME] [--no-peers] [--keep]
//
// For each set: bytes, mean / minimum PSNR of the frames as libwebp's
// animation decoder (WebP) or giflib (GIF) shows them against the frames
// encoded, and our encode time (median of N runs, in this process). img2webp
// is tried lossless (default effort and the highest, each with and without
// -min_size) and lossy (-m 4, -m 4 -min_size, -m 6 -min_size and -m 4 -mixed,
// each at the lowest quality found by bisection that reaches our PSNR); the
// smallest file at a PSNR no lower than ours is its row.
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "../gif/frame_sets.h"
#include "../gif/measure.h"
#include "gif/gif_encoder.h"
#include "webp/webp_encoder.h"

namespace fs = std::filesystem;
using namespace gifbench;

namespace {

constexpr int kDelay = 10;  // hundredths of a second per frame

struct Args {
  int runs = 3;
  std::string benchDir;
  std::string only;
  bool peers = true;
  bool keep = false;
};

struct Row {
  std::string encoder;
  std::uintmax_t bytes = 0;
  double meanPsnr = NAN;
  double minPsnr = NAN;
  double seconds = NAN;
};

Args parse(int argc, char** argv) {
  Args a;
  if (const char* env = std::getenv("PICTORELL_BENCHDATA")) a.benchDir = env;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc)
      a.runs = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--bench" && i + 1 < argc)
      a.benchDir = argv[++i];
    else if (arg == "--only" && i + 1 < argc)
      a.only = argv[++i];
    else if (arg == "--no-peers")
      a.peers = false;
    else if (arg == "--keep")
      a.keep = true;
    else {
      std::fprintf(stderr, "usage: webp_bench [--runs N] [--bench DIR] [--only NAME] [--no-peers] [--keep]\n");
      std::exit(2);
    }
  }
  if (a.benchDir.empty()) a.benchDir = "../shared/bench";
  return a;
}

std::vector<std::uint8_t> readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A frame as a binary PPM, which img2webp reads.
void writePpm(const std::string& path, const core::Picture& p) {
  std::ofstream out(path, std::ios::binary);
  out << "P6\n" << p.width() << " " << p.height() << "\n255\n";
  for (int y = 0; y < p.height(); ++y)
    for (int x = 0; x < p.width(); ++x) {
      const core::Color c = p.row(y)[x];
      const char rgb[3] = {static_cast<char>(core::redOf(c)), static_cast<char>(core::greenOf(c)),
                           static_cast<char>(core::blueOf(c))};
      out.write(rgb, 3);
    }
}

// Mean and minimum PSNR (each frame capped at 100 dB) of the shown frames.
std::pair<double, double> psnrOf(const std::vector<const core::Bitmap*>& frames,
                                 const std::optional<std::vector<core::Bitmap>>& shown) {
  if (!shown || shown->size() != frames.size()) return {NAN, NAN};
  double minimum = INFINITY;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    const std::optional<double> p = output::meanPsnr({frames[i]}, {(*shown)[i]});
    minimum = std::min(minimum, p.value_or(NAN));
  }
  return {output::meanPsnr(frames, *shown).value_or(NAN), minimum};
}

Row webpRow(const std::string& name, const std::vector<std::uint8_t>& bytes,
            const std::vector<const core::Bitmap*>& frames, double seconds = NAN) {
  const auto [mean, minimum] = psnrOf(frames, output::webpFramesAsShown(bytes, kDelay * 10));
  return {name, bytes.size(), mean, minimum, seconds};
}

std::optional<Row> img2webp(const std::string& dir, int frames, const std::string& flags,
                            const std::vector<const core::Bitmap*>& given) {
  std::string cmd = "img2webp -loop 0 -d " + std::to_string(kDelay * 10) + " " + flags;
  for (int i = 0; i < frames; ++i) cmd += " '" + dir + "/f" + std::to_string(1000 + i) + ".ppm'";
  const std::string out = dir + "/peer.webp";
  cmd += " -o '" + out + "' >/dev/null 2>&1";
  if (std::system(cmd.c_str()) != 0) return std::nullopt;
  return webpRow("img2webp " + flags, readFile(out), given);
}

// The smallest img2webp file whose mean PSNR is at least `bar`.
std::optional<Row> bestPeer(const std::string& dir, const std::vector<const core::Bitmap*>& given, double bar) {
  std::optional<Row> best;
  auto consider = [&](const std::optional<Row>& r) {
    if (r && r->meanPsnr >= bar - 1e-9 && (!best || r->bytes < best->bytes)) best = r;
  };
  const int n = static_cast<int>(given.size());
  for (const char* lossless :
       {"-lossless", "-lossless -min_size", "-lossless -m 6 -q 100", "-lossless -m 6 -q 100 -min_size"})
    consider(img2webp(dir, n, lossless, given));
  for (const char* extra : {"-m 4", "-m 4 -min_size", "-m 6 -min_size", "-m 4 -mixed"}) {
    int lo = 0;
    int hi = 100;
    while (lo <= hi) {
      const int q = (lo + hi) / 2;
      const std::optional<Row> r = img2webp(dir, n, "-lossy -q " + std::to_string(q) + " " + extra, given);
      if (r && r->meanPsnr >= bar - 1e-9) {
        consider(r);
        hi = q - 1;
      } else {
        lo = q + 1;
      }
    }
  }
  return best;
}

void runSet(const FrameSet& set, const Args& args) {
  if (set.frames.empty()) return;
  std::vector<const core::Bitmap*> frames;
  for (const core::Picture& p : set.frames) frames.push_back(p.bitmap().get());
  const auto timing = output::AnimationTiming::uniform(frames.size(), kDelay);

  std::vector<double> times;
  std::optional<std::vector<std::uint8_t>> ours;
  output::WebpChoice choice;
  for (int r = 0; r < args.runs; ++r) {
    const auto t0 = std::chrono::steady_clock::now();
    ours = output::encodeWebpAnimation(frames, timing, &choice);
    times.push_back(std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count());
    if (!ours) {
      std::printf("%s: encodeWebpAnimation failed\n", set.name.c_str());
      return;
    }
  }
  std::vector<Row> rows;
  rows.push_back(webpRow("Pictorell WebP", *ours, frames, median(times)));
  const auto gif = output::encodeGifAnimation(frames, timing);
  if (gif) {
    const auto [mean, minimum] = psnrOf(frames, output::gifFramesAsShown(*gif, kDelay));
    rows.push_back({"Pictorell GIF", gif->size(), mean, minimum, NAN});
  }
  const fs::path dir = fs::temp_directory_path() / ("pictorell-webp-bench-" + set.name);
  if (args.peers && haveProgram("img2webp")) {
    fs::remove_all(dir);
    fs::create_directories(dir);
    for (std::size_t i = 0; i < set.frames.size(); ++i)
      writePpm(dir.string() + "/f" + std::to_string(1000 + i) + ".ppm", set.frames[i]);
    writeFile(dir.string() + "/ours.webp", *ours);
    if (auto peer = bestPeer(dir.string(), frames, rows[0].meanPsnr))
      rows.push_back(*peer);
    else
      rows.push_back({"img2webp (none reached our PSNR)", 0, NAN, NAN, NAN});
  }

  std::printf("\n%s: %zu frames of %dx%d (%s)\n", set.name.c_str(), set.frames.size(), set.frames[0].width(),
              set.frames[0].height(), set.origin.c_str());
  std::printf("  ours chose %s, bar (our GIF) %.2f dB, %d encodes\n",
              choice.lossless ? "lossless" : ("lossy q" + std::to_string(choice.quality)).c_str(), choice.gifPsnr,
              choice.encodes);
  std::printf("  %-38s %11s %18s %9s\n", "encoder", "bytes", "PSNR mean / min", "time s");
  for (const Row& r : rows)
    std::printf("  %-38s %11ju %8.2f / %6.2f %9.3f\n", r.encoder.c_str(), r.bytes, r.meanPsnr, r.minPsnr, r.seconds);
  if (rows.size() > 1 && rows[1].bytes > 0)
    std::printf("  our WebP / our GIF bytes: %.3f\n",
                static_cast<double>(rows[0].bytes) / static_cast<double>(rows[1].bytes));
  if (rows.size() > 2 && rows[2].bytes > 0)
    std::printf("  our WebP / img2webp bytes (at >= our PSNR): %.3f\n",
                static_cast<double>(rows[0].bytes) / static_cast<double>(rows[2].bytes));
  if (args.keep)
    std::printf("  files kept in %s\n", dir.c_str());
  else
    fs::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv) {
  const Args args = parse(argc, argv);
  for (const NamedSet& job : benchmarkSets(args.benchDir, false))
    if (args.only.empty() || args.only == job.name) runSet(job.make(), args);
  return 0;
}
