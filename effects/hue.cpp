// Hue: twelve frames whose colours turn round the colour circle (rotation) or
// are pulled towards the target hue picked on the hue bar (convergence).
// picTurn carries the change from frame to frame, so each step works on the
// previous step's result.
#include "core/raster.h"
#include "effects/compose_steps.h"
#include "effects/generators.h"
#include "effects/hue_step.h"

namespace effects {

namespace {

constexpr int kLastFrame = 11;
constexpr int kIntervalMs = 150;

class HueGenerator final : public Generator {
 public:
  EffectKind kind() const override { return EffectKind::Hue; }

  bool compose(RunContext& ctx) override {
    WorkState& ws = ctx.ws;
    const Options& options = ctx.options;
    const bool mask = options.mask[kMaskHue];
    // 1.-5. Frame size, lock, progress line, a fresh cache, background
    // colours, and the source copied into picTurn. Of the point list only
    // the corner colour would be used; it is read from picSource directly.
    const int w = ws.picSource.width();
    const int h = ws.picSource.height();
    steps::openCompose(ctx, kMaskHue, kLastFrame, true);
    core::BitBlt(ws.picTurn, 0, 0, w, h, ws.picSource, 0, 0, core::SRCCOPY);

    for (int k = 0; k <= kLastFrame; ++k) {
      ctx.progress(static_cast<double>(k) / (kLastFrame + 1));
      ctx.yield();
      if (k == 0) {
        ws.picTurn.setPicture(ws.picSource.picture());
      } else {
        ApplyHueStep(ws.picTurn, HueStep{k, options.hueType, options.hueX});
      }
      steps::finishFrame(ws, mask, k, steps::Unmasked::ThroughPicX);
    }
    ctx.progress(1.0);
    steps::settleMask(ws, mask);
    return true;
  }

  // 0..11, and in convergence back again through 10..1.
  PlaybackPlan playback(const Options& options) const override {
    PlaybackPlan plan;
    plan.intervalMs = kIntervalMs;
    auto add = [&](int k) {
      plan.entries.push_back(k);
      plan.labels.push_back(steps::playbackLabel(kind(), k));
    };
    for (int k = 0; k <= kLastFrame; ++k) add(k);
    if (options.hueType == kHueConvergence)
      for (int k = kLastFrame - 1; k >= 1; --k) add(k);
    return plan;
  }

  bool backAndForth(const Options& options) const override { return options.hueType == kHueConvergence; }
};

}  // namespace

std::unique_ptr<Generator> makeHueGenerator() { return std::make_unique<HueGenerator>(); }

}  // namespace effects
