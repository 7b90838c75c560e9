// Diffuse: six frames that dissolve the picture into grains of the
// background ("Sand"), or brighten it to white ("Light up") or darken it to
// black ("Light down") in steps of 51 per channel.
#include "effects/diffuse.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "core/raster.h"
#include "effects/compose_steps.h"
#include "effects/generators.h"

namespace effects {

void AdjustBrightness(core::Surface& surface, int delta) {
  std::array<core::Color, 256> shifted{};
  for (int v = 0; v < 256; ++v)
    shifted[static_cast<std::size_t>(v)] = static_cast<core::Color>(std::clamp(v + delta, 0, 255));
  const std::size_t pixels = static_cast<std::size_t>(surface.width()) * static_cast<std::size_t>(surface.height());
  if (pixels == 0) return;
  core::Color* px = surface.mutableBits();
  for (std::size_t i = 0; i < pixels; ++i) {
    const core::Color c = px[i];
    px[i] = (c & 0xFF000000u) | shifted[c & 0xFF] | (shifted[(c >> 8) & 0xFF] << 8) | (shifted[(c >> 16) & 0xFF] << 16);
  }
}

namespace {

constexpr int kLastFrame = 5;
constexpr int kIntervalMs = 150;
constexpr int kBrightnessStep = 51;  // 5 * 51 = 255: frame 5 is pure white or black

// x rounded to the nearest integer, halves to even, for 0 <= x < 2^52: after
// adding 2^52 no fraction bits are left, so the addition itself rounds in the
// default mode. Same result as llrint, without a library call per grain.
inline long long roundHalfEven(double x) {
  constexpr double kBig = 4503599627370496.0;  // 2^52
  return static_cast<long long>((x + kBig) - kBig);
}

// Sets n + 1 random pixels of picTurn to the grain colour, n being the highest
// point index (w * h - 1) integer-divided by 2. Indexes may repeat. Point r of
// the source's point list lies at (r mod w, r \ w), so the position is
// computed instead of read from a list of w * h points. With `over`, each
// grain shows that picture's pixel in its place (a grain of the run's
// background colour over a picture).
void scatterGrains(WorkState& ws, core::Color grain, const core::Color* over) {
  const int w = ws.picSource.width();
  const long long points = static_cast<long long>(w) * ws.picSource.height();
  if (points <= 0) return;
  const long long highest = points - 1;
  const auto highestF = static_cast<double>(highest);
  const long long grains = highest / 2 + 1;
  core::Surface& turn = ws.picTurn;
  const int tw = turn.width();
  const int th = turn.height();
  const core::Color stored = core::storedColor(grain);
  core::Color* bits = turn.mutableBits();
  // A local copy: the grains' stores could otherwise alias its state.
  RandomSource rng = ws.rng;
  for (long long g = 0; g < grains; ++g) {
    const double u = rng.next();  // uniform in [0, 1)
    const auto r = static_cast<std::uint32_t>(roundHalfEven(u * highestF));
    const auto y = static_cast<int>(r / static_cast<std::uint32_t>(w));
    const int x = static_cast<int>(r) - y * w;
    if (x >= tw || y >= th) continue;
    const std::ptrdiff_t at = static_cast<std::ptrdiff_t>(y) * tw + x;
    bits[at] = over ? (over[at] & 0x00FFFFFFu) : stored;
  }
  ws.rng = rng;
}

class DiffuseGenerator final : public Generator {
 public:
  EffectKind kind() const override { return EffectKind::Diffuse; }

  bool compose(RunContext& ctx) override {
    WorkState& ws = ctx.ws;
    const Options& options = ctx.options;
    const bool mask = options.mask[kMaskDiffuse];
    // Preparing the run. The grains need only each point's position and the
    // corner colour, both known without building the point list.
    const int w = ws.picSource.width();
    const int h = ws.picSource.height();
    const core::Color back = steps::openCompose(ctx, kMaskDiffuse, kLastFrame, true);
    const core::Color corner = steps::cornerColor(ws);
    core::BitBlt(ws.picTurn, 0, 0, w, h, ws.picSource, 0, 0, core::SRCCOPY);
    // The preview shows grains in the banner colour; the save paints them in
    // the corner colour, so that with the mask they turn into background.
    // Grains of the run's background colour show the picture composed over.
    const core::Color grain = ctx.preview ? options.bannerColor : corner;
    const core::Color* grainOver = core::storedColor(grain) == core::storedColor(back) ? steps::overPixels(ws) : nullptr;

    for (int k = 0; k <= kLastFrame; ++k) {
      if (options.diffuseType == 0) sandStep(ctx, k, grain, grainOver, back);
      steps::layTurnOverX(ws, mask);
      if (k > 0) {
        if (options.diffuseType == 1) {
          AdjustBrightness(ws.picX, kBrightnessStep * k);
        } else if (options.diffuseType == 2) {
          AdjustBrightness(ws.picX, -kBrightnessStep * k);
        }
      }
      steps::storeFrame(ws, k, ws.picX.image());
      ctx.progress(static_cast<double>(k + 1) / (kLastFrame + 1));
      ctx.yield();
    }
    steps::settleMask(ws, mask);
    return true;
  }

  // 0..5, then 5..0.
  PlaybackPlan playback(const Options&) const override {
    PlaybackPlan plan;
    plan.intervalMs = kIntervalMs;
    auto add = [&](int k) {
      plan.entries.push_back(k);
      plan.labels.push_back(steps::playbackLabel(kind(), k));
    };
    for (int k = 0; k <= kLastFrame; ++k) add(k);
    for (int k = kLastFrame; k >= 0; --k) add(k);
    return plan;
  }

 private:
  // Frame k of "Sand": the untouched source, grains added to the previous
  // frame's grains, or (frame 5) nothing but the background.
  static void sandStep(RunContext& ctx, int k, core::Color grain, const core::Color* grainOver, core::Color back) {
    WorkState& ws = ctx.ws;
    if (k == 0) {
      ws.picTurn.setPicture(ws.picSource.picture());
    } else if (k < kLastFrame) {
      scatterGrains(ws, grain, grainOver);
    } else {
      steps::clearToBackground(ws, ws.picTurn);
      if (ctx.preview) {
        ws.picTurn.setBackColor(ctx.options.bannerColor);
        if (core::storedColor(ctx.options.bannerColor) == core::storedColor(back)) steps::clearToBackground(ws, ws.picTurn);
      }
    }
  }
};

}  // namespace

std::unique_ptr<Generator> makeDiffuseGenerator() { return std::make_unique<DiffuseGenerator>(); }

}  // namespace effects
