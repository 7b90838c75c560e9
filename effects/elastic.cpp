// Elastic: the picture narrows about its vertical centre line from full width
// to nothing (frames 0 to 5), then returns as a band that grows about the
// horizontal centre line from 0.2 to 0.8 of the height (frames 9 down to 6).
#include "core/raster.h"
#include "core/rounding.h"
#include "effects/compose_steps.h"
#include "effects/generators.h"

namespace effects {

namespace {

constexpr int kLastFrame = 9;
constexpr int kIntervalMs = 150;
// Single-precision loops adding -0.2 per pass: the first runs while s >= 0
// (its sixth value is 0 up to rounding, about 3e-8, and draws nothing), the
// second while s >= 0.2. That gives exactly six and four frames.
constexpr float kScaleStep = -0.2f;
constexpr float kSqueezeEnd = 0.0f;
constexpr float kBandEnd = 0.2f;

class ElasticGenerator final : public Generator {
 public:
  EffectKind kind() const override { return EffectKind::Elastic; }

  bool compose(RunContext& ctx) override {
    WorkState& ws = ctx.ws;
    const bool mask = ctx.options.mask[kMaskElastic];
    const int w = ws.picSource.width();
    const int h = ws.picSource.height();
    // Of the point list only the corner colour would be used; it is read
    // from picSource directly instead of building a list of w * h points.
    steps::openCompose(ctx, kMaskElastic, kLastFrame, true);

    // Frames 0 to 5: K x h at ((w - K) \ 2, 0).
    int k = 0;
    for (float s = 1.0f; s >= kSqueezeEnd; s += kScaleStep) {
      const int kw = core::roundToInt(s * static_cast<float>(w));
      steps::clearToBackground(ws, ws.picTurn);
      core::StretchBlt(ws.picTurn, (w - kw) / 2, 0, kw, h, ws.picSource, 0, 0, w, h);
      steps::finishFrame(ws, mask, k++, steps::Unmasked::ThroughPicX);
    }
    ctx.progress(0.5);
    ctx.yield();

    // Frames 9 down to 6: w x P at (0, (h - P) \ 2).
    k = kLastFrame;
    for (float s = 0.8f; s >= kBandEnd; s += kScaleStep) {
      const int p = core::roundToInt(s * static_cast<float>(h));
      steps::clearToBackground(ws, ws.picTurn);
      core::StretchBlt(ws.picTurn, 0, (h - p) / 2, w, p, ws.picSource, 0, 0, w, h);
      steps::finishFrame(ws, mask, k--, steps::Unmasked::ThroughPicX);
    }
    ctx.progress(1.0);
    steps::settleMask(ws, mask);
    return true;
  }

  PlaybackPlan playback(const Options&) const override {
    PlaybackPlan plan;
    plan.intervalMs = kIntervalMs;
    for (int k = 0; k <= kLastFrame; ++k) {
      plan.entries.push_back(k);
      plan.labels.push_back(steps::playbackLabel(kind(), k));
    }
    return plan;
  }
};

}  // namespace

std::unique_ptr<Generator> makeElasticGenerator() { return std::make_unique<ElasticGenerator>(); }

}  // namespace effects
