// How long each effect takes to compose its frames, against the time to copy
// the same number of whole frames once (the memory-bandwidth floor), and
// how much the preview's yields add.
//
//   effects_bench [--runs N] [--bench-dir DIR] [--only EFFECT] [--verify-hue]
//
// Pictures: DIR/photo.bmp (1000 x 200, photo-like) and DIR/logo468.bmp
// (468 x 60), then the photo resampled to the ad sizes 970 x 250 and
// 300 x 1050 (pictures opened with large pictures allowed); DIR defaults to
// $PICTORELL_BENCHDATA. A missing picture is
// replaced by a synthesized one of the same size. --verify-hue checks the
// vectorised hue step against the one-colour reference for all 2^24 colours.
// The allocator keeps freed memory (as the programs do); set
// PICTORELL_BENCH_DEFAULT_MALLOC to measure with glibc's defaults. --only
// keeps the rows whose effect name contains EFFECT (e.g. "zoom").
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <optional>
#include <string>
#include <vector>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "bench/gif/frame_sets.h"
#include "core/color.h"
#include "core/effect_kind.h"
#include "core/picture.h"
#include "effects/generator.h"
#include "effects/hue_step.h"
#include "effects/silent_host.h"
#include "effects/work_state.h"
#include "frame_files/bmp_codec.h"
#include "frame_files/file_io.h"

namespace {

// The machine is shared: time this thread's processor time (user and
// system, page faults included) rather than the wall clock, which also
// counts the time other processes hold the cores.
struct Clock {
  using time_point = std::chrono::duration<double>;
  static time_point now() {
    timespec ts{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &ts);
    return time_point(static_cast<double>(ts.tv_sec) + static_cast<double>(ts.tv_nsec) * 1e-9);
  }
};

// A host whose yield is a cheap counter and whose other calls do nothing.
class BenchHost final : public effects::SilentHost {
 public:
  long yields = 0;
  void yield() override { ++yields; }
};

// A photo-like stand-in: smooth gradients with fine detail, many colours.
core::Picture synthesize(int w, int h) {
  core::Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.row(y)[x] = core::rgb((x * 255 / std::max(w - 1, 1) + (x * y) % 7) & 0xFF,
                              (y * 255 / std::max(h - 1, 1)) ^ (x & 15), ((x + y) * 3) & 0xFF);
  return core::Picture::fromBitmap(std::move(b));
}

core::Picture loadOrSynthesize(const std::string& dir, const char* name, int w, int h) {
  if (!dir.empty()) {
    if (auto bytes = output::readWholeFile(dir + "/" + name, 64u << 20)) {
      if (auto bmp = output::decodeBmp(*bytes)) return core::Picture::fromBitmap(std::move(*bmp));
    }
    std::fprintf(stderr, "%s/%s not readable; using a synthesized %d x %d picture\n", dir.c_str(), name, w, h);
  }
  return synthesize(w, h);
}

void loadSource(effects::WorkState& ws, const core::Picture& pic) {
  const core::Color corner = pic.pixel(0, 0);
  ws.picTurn = core::Surface(pic.width(), pic.height(), corner);
  ws.picTurn.setPicture(pic);
  ws.picSource = core::Surface(pic.width(), pic.height());
  ws.picSource.setPicture(ws.picTurn.image());
  ws.picX = core::Surface(pic.width(), pic.height(), corner);
  ws.emptyCache();
}

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

double msSince(Clock::time_point t0) { return std::chrono::duration<double, std::milli>(Clock::now() - t0).count(); }

// One composing run as the save (or the preview) does it, cache empty.
double timeCompose(effects::Generator& gen, effects::WorkState& ws, BenchHost& host, bool preview) {
  ws.emptyCache(core::info(gen.kind()).frames - 1);  // as the driver does
  const std::string tag = preview ? "prev" : "";
  effects::RunContext ctx(ws, host, host.options, preview, tag);
  const auto t0 = Clock::now();
  gen.compose(ctx);
  return msSince(t0);
}

// Copies `frames` whole frames once into buffers that were touched before
// (so no page faults are timed) and that rotate through a pool larger than
// the processor's caches (so the copies go to memory): the memory-bandwidth
// floor.
class FrameCopyFloor {
 public:
  explicit FrameCopyFloor(const core::Picture& pic)
      : pic_(pic), n_(static_cast<std::size_t>(pic.width()) * static_cast<std::size_t>(pic.height())) {
    constexpr std::size_t kPoolBytes = std::size_t{96} << 20;
    const std::size_t count = std::max<std::size_t>(kPoolBytes / (n_ * sizeof(core::Color)), 32);
    pool_.assign(count, std::vector<core::Color>(n_, 1));
  }
  double time(int frames) {
    const auto t0 = Clock::now();
    for (int i = 0; i < frames; ++i) {
      std::memcpy(pool_[next_].data(), pic_.row(0), n_ * sizeof(core::Color));
      next_ = (next_ + 1) % pool_.size();
    }
    const double ms = msSince(t0);
    if (pool_[(next_ + pool_.size() - 1) % pool_.size()][n_ / 2] != pic_.row(0)[n_ / 2]) std::abort();
    return ms;
  }

 private:
  core::Picture pic_;
  std::size_t n_;
  std::vector<std::vector<core::Color>> pool_;
  std::size_t next_ = 0;
};

struct Variant {
  core::EffectKind kind;
  const char* name;
  void (*set)(effects::Options&);
};

const Variant kVariants[] = {
    {core::EffectKind::Slide, "slide", [](effects::Options&) {}},
    {core::EffectKind::Slide, "slide cross", [](effects::Options& o) { o.cross = true; }},
    {core::EffectKind::Turn, "turn", [](effects::Options&) {}},
    {core::EffectKind::Rotate, "rotate x", [](effects::Options&) {}},
    {core::EffectKind::Rotate, "rotate y", [](effects::Options& o) { o.axis = 1; }},
    {core::EffectKind::Zoom, "zoom", [](effects::Options&) {}},
    {core::EffectKind::Diffuse, "diffuse sand", [](effects::Options& o) { o.diffuseType = 0; }},
    {core::EffectKind::Diffuse, "diffuse up", [](effects::Options& o) { o.diffuseType = 1; }},
    {core::EffectKind::Diffuse, "diffuse down", [](effects::Options& o) { o.diffuseType = 2; }},
    {core::EffectKind::Elastic, "elastic", [](effects::Options&) {}},
    {core::EffectKind::Hue, "hue rotate", [](effects::Options& o) { o.hueType = 0; }},
    {core::EffectKind::Hue, "hue converge",
     [](effects::Options& o) {
       o.hueType = 1;
       o.hueX = 240;
     }},
};

void benchPicture(const char* label, const core::Picture& pic, int runs, const std::string& only) {
  std::printf("\n%s (%d x %d), median of %d runs, cache empty\n", label, pic.width(), pic.height(), runs);
  std::printf("%-14s %-5s %6s %9s %9s %9s %7s %9s\n", "effect", "mask", "frames", "save ms", "prev ms", "floor ms",
              "x floor", "yields +%");
  FrameCopyFloor floorCopy(pic);
  for (const Variant& v : kVariants) {
    if (!only.empty() && std::string(v.name).find(only) == std::string::npos) continue;
    auto gen = effects::makeGenerator(v.kind);
    if (!gen) continue;  // not written yet
    const int frames = core::info(v.kind).frames;
    for (bool mask : {false, true}) {
      effects::WorkState ws;
      loadSource(ws, pic);
      BenchHost host;
      v.set(host.options);
      host.options.mask[static_cast<std::size_t>(core::info(v.kind).maskBox)] = mask;
      host.options.bannerColor = 0x80C0FF;
      timeCompose(*gen, ws, host, false);  // warm up caches and allocator
      std::vector<double> save, preview, floor;
      for (int r = 0; r < runs; ++r) {
        save.push_back(timeCompose(*gen, ws, host, false));
        preview.push_back(timeCompose(*gen, ws, host, true));
        floor.push_back(floorCopy.time(frames));
      }
      const double s = median(save), p = median(preview), f = median(floor);
      std::printf("%-14s %-5s %6d %9.3f %9.3f %9.3f %7.1f %+9.1f\n", v.name, mask ? "on" : "off", frames, s, p, f,
                  s / f, (p - s) / s * 100.0);
    }
  }
}

int verifyHue() {
  std::vector<core::Color> all(1u << 24), out(all.size());
  for (std::size_t c = 0; c < all.size(); ++c) all[c] = static_cast<core::Color>(c);
  long bad = 0;
  std::vector<effects::HueStep> steps;
  for (int k = 1; k <= 11; ++k) {
    steps.push_back({k, effects::kHueRotation, 0});
    for (int hueX : {0, 240, 359}) steps.push_back({k, effects::kHueConvergence, hueX});
  }
  std::vector<core::Color> expected(all.size());
  for (const effects::HueStep& step : steps) {
    for (std::size_t c = 0; c < all.size(); ++c) expected[c] = effects::hueStepColor(all[c], step);
    for (auto kernel : {effects::HueKernel::Baseline, effects::HueKernel::Best}) {
      effects::hueStepColors(all.data(), out.data(), all.size(), step, kernel);
      for (std::size_t c = 0; c < all.size(); ++c)
        if (out[c] != expected[c] && bad++ < 10)
          std::printf("mismatch: colour %06zx k %d type %d hueX %d\n", c, step.k, step.hueType, step.hueX);
    }
    std::printf("k %2d type %d hueX %3d checked\n", step.k, step.hueType, step.hueX);
    std::fflush(stdout);
  }
  std::printf("%ld mismatches\n", bad);
  return bad == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
#if defined(__GLIBC__)
  // Keep freed frame bitmaps for reuse instead of handing them back to the
  // system and faulting fresh pages in for the next run.
  if (!std::getenv("PICTORELL_BENCH_DEFAULT_MALLOC")) {
    mallopt(M_MMAP_THRESHOLD, 64 << 20);
    mallopt(M_TRIM_THRESHOLD, 256 << 20);
  }
#endif
  int runs = 15;
  std::string only;
  const char* env = std::getenv("PICTORELL_BENCHDATA");
  std::string dir = env ? env : "";
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (a == "--bench-dir" && i + 1 < argc) {
      dir = argv[++i];
    } else if (a == "--only" && i + 1 < argc) {
      only = argv[++i];
    } else if (a == "--verify-hue") {
      return verifyHue();
    } else {
      std::fprintf(stderr, "usage: effects_bench [--runs N] [--bench-dir DIR] [--only EFFECT] [--verify-hue]\n");
      return 2;
    }
  }
  const core::Picture photo = loadOrSynthesize(dir, "photo.bmp", 1000, 200);
  benchPicture("photo.bmp", photo, runs, only);
  benchPicture("logo468.bmp", loadOrSynthesize(dir, "logo468.bmp", 468, 60), runs, only);
  benchPicture("photo.bmp resampled", gifbench::resampled(photo, 970, 250), runs, only);
  benchPicture("photo.bmp resampled", gifbench::resampled(photo, 300, 1050), runs, only);
  return 0;
}
