// How long each effect takes to compose its frames, against the time to copy
// the same number of whole frames once (the memory-bandwidth floor), and
// how much the preview's yields add.
//
//   effects_bench [--runs N] [--bench-dir DIR] [--verify-hue]
//
// Pictures: DIR/photo.bmp (1000 x 200, photo-like) and DIR/logo468.bmp
// (468 x 60); DIR defaults to $PICTORELL_BENCHDATA. A missing picture is
// replaced by a synthesized one of the same size. --verify-hue checks the
// vectorised hue step against the one-colour reference for all 2^24 colours.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "core/color.h"
#include "core/picture.h"
#include "effects/effect_kind.h"
#include "effects/generator.h"
#include "effects/hue_step.h"
#include "effects/work_state.h"
#include "output/bmp_codec.h"
#include "output/file_io.h"

namespace {

using Clock = std::chrono::steady_clock;

// A host whose yield is a cheap counter and whose other calls do nothing.
class BenchHost final : public effects::Host {
 public:
  effects::Options options;
  long yields = 0;
  effects::Options readOptions() const override { return options; }
  void setProgress(double) override {}
  void setProgressVisible(bool) override {}
  void yield() override { ++yields; }
  void setPreviewRunning(bool) override {}
  void setControlsEnabled(bool, bool) override {}
  void setMessagePanelVisible(bool) override {}
  void setMessage(const std::string&) override {}
  void setCopyButtonEnabled(bool) override {}
  void setCopyMenuEnabled(bool) override {}
  void startTimer(int) override {}
  void stopTimer() override {}
  void displayChanged() override {}
  void setHourglass(bool) override {}
  bool askGifOutput(std::int16_t&) override { return false; }
  void showRenderTime(const std::string&) override {}
  void reportSaveError(const std::string&, const std::string&) override {}
  effects::SystemTime now() const override { return {}; }
};

// A photo-like stand-in: smooth gradients with fine detail, many colours.
core::Picture synthesize(int w, int h) {
  core::Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.row(y)[x] = core::rgb((x * 255 / std::max(w - 1, 1) + (x * y) % 7) & 0xFF, (y * 255 / std::max(h - 1, 1)) ^ (x & 15),
                              ((x + y) * 3) & 0xFF);
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

double msSince(Clock::time_point t0) {
  return std::chrono::duration<double, std::milli>(Clock::now() - t0).count();
}

// One composing run as the save (or the preview) does it, cache empty.
double timeCompose(effects::Generator& gen, effects::WorkState& ws, BenchHost& host, bool preview) {
  ws.emptyCache(22);
  const std::string tag = preview ? "prev" : "";
  effects::RunContext ctx(ws, host, host.options, preview, tag);
  const auto t0 = Clock::now();
  gen.compose(ctx);
  return msSince(t0);
}

// Copies `frames` whole frames of the picture's size once.
double timeFloor(const core::Picture& pic, int frames, std::vector<std::vector<core::Color>>& dst) {
  const std::size_t n = static_cast<std::size_t>(pic.width()) * static_cast<std::size_t>(pic.height());
  dst.resize(static_cast<std::size_t>(frames));
  for (auto& d : dst) d.assign(n, 0);  // touched before timing: no page faults inside
  const auto t0 = Clock::now();
  for (auto& d : dst) std::memcpy(d.data(), pic.row(0), n * sizeof(core::Color));
  const double ms = msSince(t0);
  if (dst.front()[n / 2] != pic.row(0)[n / 2]) std::abort();
  return ms;
}

struct Variant {
  effects::EffectKind kind;
  const char* name;
  void (*set)(effects::Options&);
};

const Variant kVariants[] = {
    {effects::EffectKind::Slide, "slide", [](effects::Options&) {}},
    {effects::EffectKind::Slide, "slide cross", [](effects::Options& o) { o.cross = true; }},
    {effects::EffectKind::Turn, "turn", [](effects::Options&) {}},
    {effects::EffectKind::Rotate, "rotate x", [](effects::Options&) {}},
    {effects::EffectKind::Rotate, "rotate y", [](effects::Options& o) { o.axis = 1; }},
    {effects::EffectKind::Zoom, "zoom", [](effects::Options&) {}},
    {effects::EffectKind::Diffuse, "diffuse sand", [](effects::Options& o) { o.diffuseType = 0; }},
    {effects::EffectKind::Diffuse, "diffuse up", [](effects::Options& o) { o.diffuseType = 1; }},
    {effects::EffectKind::Diffuse, "diffuse down", [](effects::Options& o) { o.diffuseType = 2; }},
    {effects::EffectKind::Elastic, "elastic", [](effects::Options&) {}},
    {effects::EffectKind::Hue, "hue rotate", [](effects::Options& o) { o.hueType = 0; }},
    {effects::EffectKind::Hue, "hue converge", [](effects::Options& o) {
       o.hueType = 1;
       o.hueX = 240;
     }},
};

void benchPicture(const char* label, const core::Picture& pic, int runs) {
  std::printf("\n%s (%d x %d), median of %d runs, cache empty\n", label, pic.width(), pic.height(), runs);
  std::printf("%-14s %-5s %6s %10s %10s %10s %7s %9s\n", "effect", "mask", "frames", "save ms", "preview ms",
              "floor ms", "x floor", "yields +%");
  std::vector<std::vector<core::Color>> scratch;
  for (const Variant& v : kVariants) {
    auto gen = effects::makeGenerator(v.kind);
    if (!gen) continue;  // not written yet
    const int frames = effects::info(v.kind).frames;
    for (bool mask : {false, true}) {
      effects::WorkState ws;
      loadSource(ws, pic);
      BenchHost host;
      v.set(host.options);
      host.options.mask[static_cast<std::size_t>(effects::info(v.kind).maskBox)] = mask;
      host.options.bannerColor = 0x80C0FF;
      timeCompose(*gen, ws, host, false);  // warm up caches and allocator
      std::vector<double> save, preview, floor;
      for (int r = 0; r < runs; ++r) {
        save.push_back(timeCompose(*gen, ws, host, false));
        preview.push_back(timeCompose(*gen, ws, host, true));
        floor.push_back(timeFloor(pic, frames, scratch));
      }
      const double s = median(save), p = median(preview), f = median(floor);
      std::printf("%-14s %-5s %6d %10.3f %10.3f %10.3f %7.1f %+9.1f\n", v.name, mask ? "on" : "off", frames, s, p, f,
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
  for (const effects::HueStep& step : steps) {
    effects::hueStepColors(all.data(), out.data(), all.size(), step);
    for (std::size_t c = 0; c < all.size(); ++c)
      if (out[c] != effects::hueStepColor(all[c], step) && bad++ < 10)
        std::printf("mismatch: colour %06zx k %d type %d hueX %d\n", c, step.k, step.hueType, step.hueX);
    std::printf("k %2d type %d hueX %3d checked\n", step.k, step.hueType, step.hueX);
    std::fflush(stdout);
  }
  std::printf("%ld mismatches\n", bad);
  return bad == 0 ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  int runs = 15;
  const char* env = std::getenv("PICTORELL_BENCHDATA");
  std::string dir = env ? env : "";
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else if (a == "--bench-dir" && i + 1 < argc) {
      dir = argv[++i];
    } else if (a == "--verify-hue") {
      return verifyHue();
    } else {
      std::fprintf(stderr, "usage: effects_bench [--runs N] [--bench-dir DIR] [--verify-hue]\n");
      return 2;
    }
  }
  benchPicture("photo.bmp", loadOrSynthesize(dir, "photo.bmp", 1000, 200), runs);
  benchPicture("logo468.bmp", loadOrSynthesize(dir, "logo468.bmp", 468, 60), runs);
  return 0;
}
