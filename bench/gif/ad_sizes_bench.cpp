// The ad sizes beyond 1000 x 200 (not a test): fitting the 22 Slide frames of
// the photo resampled to 970 x 250 and to 300 x 250 into 150,000 bytes, and
// a whole 1200 x 1200 Slide run (its save compose, its animated GIF and its
// fit into 150,000 bytes, each on a worker as the GIF dialog measures it,
// with how its progress moved) with the peak memory of the process. Times are the
// wall clock and, in brackets, the process's processor time (the machine may
// be shared).
//
//   ad_sizes_bench [--bench DIR] [--runs N] [--fits-only]
#include <sys/resource.h>
#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "effects/generator.h"
#include "effects/silent_host.h"
#include "effects/work_state.h"
#include "frame_sets.h"
#include "measure.h"
#include "gif/animation_file.h"
#include "gif/gif_fit.h"

using namespace gifbench;

namespace {

constexpr int kDelay = 10;
constexpr std::size_t kBudget = 150000;

struct Seconds {
  double wall = 0;
  double cpu = 0;
};

double processCpu() {
  timespec ts{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &ts);
  return static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9;
}

Seconds seconds(const std::function<void()>& step) {
  const auto t0 = std::chrono::steady_clock::now();
  const double c0 = processCpu();
  step();
  return {std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count(), processCpu() - c0};
}

double peakMb() {
  rusage u{};
  getrusage(RUSAGE_SELF, &u);
  return static_cast<double>(u.ru_maxrss) / 1024.0;  // kilobytes on Linux
}

std::vector<const core::Bitmap*> bitmaps(const std::vector<core::Picture>& frames) {
  std::vector<const core::Bitmap*> out;
  for (const core::Picture& f : frames) out.push_back(f.bitmap().get());
  return out;
}

void fitSize(const core::Picture& photo, int w, int h, int runs) {
  const FrameSet set = slideFrames("photo", resampled(photo, w, h));
  const auto frames = bitmaps(set.frames);
  const auto timing = output::AnimationTiming::uniform(frames.size(), kDelay);
  std::vector<double> wall, cpu;
  std::optional<output::FittedGif> fit;
  for (int r = 0; r < runs; ++r) {
    const Seconds t = seconds([&] { fit = output::fitGifAnimation(frames, timing, kBudget, nullptr); });
    wall.push_back(t.wall);
    cpu.push_back(t.cpu);
  }
  std::printf("fit %zu Slide frames of %d x %d into %zu bytes: %.3f s [%.3f s] (median of %d), %zu bytes, %.2f dB%s\n",
              frames.size(), w, h, kBudget, median(wall), median(cpu), runs, fit ? fit->bytes.size() : 0,
              fit ? fit->psnr : 0.0, fit && fit->fits ? "" : ", does not fit");
}

// The work on a worker thread, its progress read every 50 ms as the
// window's bar reads it: how many times it moved, and the longest time it
// stood still.
void watchProgress(const char* what, const std::function<void(output::WorkProgress&)>& work) {
  output::WorkProgress progress;
  std::thread worker([&] { work(progress); });
  const auto start = std::chrono::steady_clock::now();
  auto lastMove = start;
  double longest = 0;
  int moves = 0, shown = progress.thousandths();
  while (shown < output::WorkProgress::kWhole) {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    const int now = progress.thousandths();
    const auto t = std::chrono::steady_clock::now();
    if (now != shown) {
      longest = std::max(longest, std::chrono::duration<double>(t - lastMove).count());
      lastMove = t;
      ++moves;
      shown = now;
    }
  }
  worker.join();
  std::printf("  progress of %s: %d moves in %.1f s, longest still %.2f s\n", what, moves,
              std::chrono::duration<double>(lastMove - start).count(), longest);
}

void squareRun(const core::Picture& photo) {
  const core::Picture source = resampled(photo, 1200, 1200);
  const double before = peakMb();
  effects::WorkState ws;
  effects::SilentHost host;
  host.options.bannerColor = effects::acceptSource(ws, source);
  auto gen = effects::makeGenerator(effects::EffectKind::Slide);
  ws.emptyCache(effects::info(effects::EffectKind::Slide).frames - 1);
  const std::string tag;
  effects::RunContext ctx(ws, host, host.options, false, tag);
  const Seconds tCompose = seconds([&] { gen->compose(ctx); });
  // As the window hands them to the GIF dialog: a copy of the frames by
  // file number, shared with the worker that measures the file.
  auto files = std::make_shared<std::vector<core::Bitmap>>();
  for (int entry : gen->fileOrder()) files->push_back(*ws.mFrames[static_cast<std::size_t>(entry)].bitmap());
  output::AnimationRequest request;
  request.shape = output::AnimationShape{static_cast<int>(files->size()) - 1, false, 0, 1200, 1200};
  request.frames = std::move(files);
  request.intervalCs = kDelay;
  std::optional<output::AnimationFile> gif, fit;
  const Seconds tGif = seconds([&] {
    watchProgress("the animated GIF", [&](output::WorkProgress& p) { gif = output::encodeAnimationFile(request, nullptr, &p); });
  });
  request.play.budgetBytes = kBudget;
  const Seconds tFit = seconds([&] {
    watchProgress("the fit", [&](output::WorkProgress& p) { fit = output::encodeAnimationFile(request, nullptr, &p); });
  });
  std::printf(
      "1200 x 1200 Slide: compose %.3f s [%.3f s], animated GIF %.3f s [%.3f s] (%zu bytes), fit into %zu bytes "
      "%.3f s [%.3f s] (%zu bytes, %.2f dB%s); peak memory %.0f MB (%.0f MB before the run)\n",
      tCompose.wall, tCompose.cpu, tGif.wall, tGif.cpu, gif ? gif->bytes.size() : 0, kBudget, tFit.wall, tFit.cpu,
      fit ? fit->bytes.size() : 0, fit ? fit->psnr : 0.0, fit && fit->fits ? "" : ", does not fit", peakMb(), before);
}

}  // namespace

int main(int argc, char** argv) {
  std::string benchDir = "../shared/bench";
  if (const char* env = std::getenv("PICTORELL_BENCHDATA")) benchDir = env;
  int runs = 3;
  bool fitsOnly = false;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--bench" && i + 1 < argc) {
      benchDir = argv[++i];
    } else if (a == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (a == "--fits-only") {
      fitsOnly = true;
    } else {
      std::fprintf(stderr, "usage: ad_sizes_bench [--bench DIR] [--runs N] [--fits-only]\n");
      return 2;
    }
  }
  const core::Picture photo = loadPicture(benchDir + "/photo.bmp");
  fitSize(photo, 970, 250, runs);
  fitSize(photo, 300, 250, runs);
  if (!fitsOnly) squareRun(photo);
  return 0;
}
