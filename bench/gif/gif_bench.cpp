// Animated GIF benchmark: our writer against ImageMagick + gifsicle and
// ffmpeg on the same frames, rendered by the program's own effects.
//
//   gif_bench [--runs N] [--bench DIR] [--only NAME] [--no-peers] [--keep]
//
// For each set it prints the encode time (median of N runs, whole process
// for every encoder: ours runs as `gif_bench --encode DIR LAST`, which is
// MakeGifAnimation from the frame BMP files to the finished GIF), the bytes,
// and the mean and minimum PSNR of the frames as ImageMagick decodes them
// against the frames encoded.
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "frame_sets.h"
#include "measure.h"
#include "frame_files/writer.h"

namespace fs = std::filesystem;
using namespace gifbench;

namespace {

constexpr int kDelay = 10;  // hundredths of a second per frame

struct Args {
  std::string self;  // this program, for timing our encoder as a process
  int runs = 5;
  std::string benchDir;
  std::string only;
  bool peers = true;
  bool keep = false;
};

struct Row {
  std::string encoder;
  double seconds = NAN;
  std::uintmax_t bytes = 0;
  std::optional<Score> score;
};

Args parse(int argc, char** argv) {
  Args a;
  a.self = argv[0];
  if (const char* env = std::getenv("PICTORELL_BENCHDATA")) a.benchDir = env;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--runs" && i + 1 < argc) a.runs = std::max(1, std::atoi(argv[++i]));
    else if (arg == "--bench" && i + 1 < argc) a.benchDir = argv[++i];
    else if (arg == "--only" && i + 1 < argc) a.only = argv[++i];
    else if (arg == "--no-peers") a.peers = false;
    else if (arg == "--keep") a.keep = true;
    else {
      std::fprintf(stderr, "usage: gif_bench [--runs N] [--bench DIR] [--only NAME] [--no-peers] [--keep]\n");
      std::exit(2);
    }
  }
  if (a.benchDir.empty()) a.benchDir = "../shared/bench";
  return a;
}

// The encode step of our writer, run as its own process by the benchmark.
int encodeOnly(const std::string& dir, int last) {
  return output::MakeGifAnimation(dir + "/ours.gif", dir + "/f", "000", ".bmp", last, kDelay, false) ? 0 : 1;
}

// Runs `step` `runs` times; the median time, or NaN when a run failed.
double medianOf(int runs, const std::function<std::optional<double>()>& step) {
  std::vector<double> times;
  for (int r = 0; r < runs; ++r) {
    const std::optional<double> t = step();
    if (!t) return NAN;
    times.push_back(*t);
  }
  return median(times);
}

Row finish(const FrameSet& set, const std::string& encoder, double seconds, const std::string& gif) {
  Row row{encoder, seconds, 0, std::nullopt};
  if (std::isnan(seconds) || !fs::exists(gif)) return row;
  row.bytes = fs::file_size(gif);
  const core::Picture& first = set.frames.front();
  if (auto decoded = decodeFrames(gif, first.width(), first.height(), kDelay)) row.score = score(set.frames, *decoded);
  return row;
}

std::vector<Row> peerRows(const FrameSet& set, const std::string& dir, int runs) {
  std::vector<Row> rows;
  const std::string quiet = "OMP_NUM_THREADS=1 MAGICK_THREAD_LIMIT=1 ";
  const std::string convert = convertProgram();
  if (haveProgram(convert)) {
    const std::string im = quiet + convert + " -delay " + std::to_string(kDelay) + " -loop 0 '" + dir +
                           "'/f*.bmp -layers Optimize '" + dir + "/im.gif'";
    const double tIm = medianOf(runs, [&] { return timeCommand(im); });
    rows.push_back(finish(set, "ImageMagick -layers Optimize", tIm, dir + "/im.gif"));
    if (haveProgram("gifsicle")) {
      const std::string gs = "gifsicle -O3 '" + dir + "/im.gif' -o '" + dir + "/im-gifsicle.gif'";
      const double tGs = medianOf(runs, [&] { return timeCommand(gs); });
      rows.push_back(finish(set, "ImageMagick + gifsicle -O3", tIm + tGs, dir + "/im-gifsicle.gif"));
    }
  }
  if (haveProgram("ffmpeg")) {
    for (const char* dither : {"", "=dither=none"}) {
      const std::string out = dir + (*dither ? "/ff-nodither.gif" : "/ff.gif");
      const std::string ff = "ffmpeg -v error -y -framerate " + std::to_string(100 / kDelay) + " -i '" + dir +
                             "/f%03d.bmp' -filter_complex '[0:v]split[a][b];[a]palettegen[p];[b][p]paletteuse" +
                             dither + "' '" + out + "'";
      const double t = medianOf(runs, [&] { return timeCommand(ff); });
      rows.push_back(finish(set, *dither ? "ffmpeg palettegen+paletteuse, no dither" : "ffmpeg palettegen+paletteuse",
                            t, out));
    }
  }
  return rows;
}

void print(const FrameSet& set, const std::vector<Row>& rows) {
  std::printf("\n%s: %zu frames of %dx%d (%s)\n", set.name.c_str(), set.frames.size(), set.frames[0].width(),
              set.frames[0].height(), set.origin.c_str());
  std::printf("  %-40s %9s %11s %18s\n", "encoder", "time s", "bytes", "PSNR mean / min");
  for (const Row& r : rows) {
    std::string psnr = "(not decoded)";
    if (r.score) {
      char buf[64];
      std::snprintf(buf, sizeof buf, "%6.2f / %6.2f", r.score->meanPsnr, r.score->minPsnr);
      psnr = buf;
      if (r.score->exactFrames == static_cast<int>(set.frames.size())) psnr = "lossless";
    }
    std::printf("  %-40s %9.3f %11ju %18s\n", r.encoder.c_str(), r.seconds, r.bytes, psnr.c_str());
  }
  double fastest = INFINITY;
  for (std::size_t i = 1; i < rows.size(); ++i) {
    if (!std::isnan(rows[i].seconds) && rows[i].encoder.find("ImageMagick -layers") == std::string::npos) {
      fastest = std::min(fastest, rows[i].seconds);
    }
  }
  if (std::isfinite(fastest)) std::printf("  ours / fastest compared tool: %.3f\n", rows[0].seconds / fastest);
}

void runSet(const FrameSet& set, const Args& args) {
  if (set.frames.empty()) {
    std::printf("\n%s: no frames (%s)\n", set.name.c_str(), set.origin.c_str());
    return;
  }
  const fs::path dir = fs::temp_directory_path() / ("pictorell-gif-bench-" + set.name);
  fs::remove_all(dir);
  fs::create_directories(dir);
  for (std::size_t i = 0; i < set.frames.size(); ++i) {
    const std::string name = dir.string() + "/f" + output::formatNumber(static_cast<int>(i)) + ".bmp";
    if (!output::SavePicture(set.frames[i], name)) std::exit(1);
  }
  std::vector<Row> rows;
  const std::string encode = "'" + args.self + "' --encode '" + dir.string() + "' " + std::to_string(set.frames.size() - 1);
  const double ours = medianOf(args.runs, [&] { return timeCommand(encode); });
  rows.push_back(finish(set, "Pictorell MakeGifAnimation", ours, dir.string() + "/ours.gif"));
  if (args.peers) {
    for (Row& r : peerRows(set, dir.string(), args.runs)) rows.push_back(std::move(r));
  }
  print(set, rows);
  if (args.keep) std::printf("  files kept in %s\n", dir.c_str());
  else fs::remove_all(dir);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::string(argv[1]) == "--encode") return encodeOnly(argv[2], std::atoi(argv[3]));
  const Args args = parse(argc, argv);
  for (const NamedSet& job : benchmarkSets(args.benchDir, false)) {
    if (args.only.empty() || args.only == job.name) runSet(job.make(), args);
  }
  return 0;
}
