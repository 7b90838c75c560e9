// Zoom: the picture shrinks to a fifth in four steps (frames 0 to 4), a
// blank frame follows (5), then the centre is enlarged from five times back
// towards full size (frames 6 to 9, composed 9 first). Played from 9 down to 0.
#include "core/raster.h"
#include "core/rounding.h"
#include "effects/compose_steps.h"
#include "effects/generators.h"

namespace effects {

namespace {

constexpr int kLastFrame = 9;
constexpr int kBlankFrame = 5;
constexpr int kIntervalMs = 150;
// The scale loops run in single precision: from 1 (or 0.8) while s >= 0.2,
// adding -0.2 each pass. The fifth value of the first loop is 0.20000003,
// which still passes.
constexpr float kScaleStep = -0.2f;
constexpr float kScaleEnd = 0.2f;

struct Scaled {
  int left, top, width, height;
};

// The centred C x E rectangle of scale s in a w x h frame.
Scaled centred(float s, int w, int h) {
  const int c = core::roundToInt(s * static_cast<float>(w));
  const int e = core::roundToInt(s * static_cast<float>(h));
  return {(w - c) / 2, (h - e) / 2, c, e};
}

class ZoomGenerator final : public Generator {
 public:
  EffectKind kind() const override { return EffectKind::Zoom; }

  bool compose(RunContext& ctx) override {
    WorkState& ws = ctx.ws;
    const bool mask = ctx.options.mask[kMaskZoom];
    // 1.-4. Background colours, frame size, the lock and the progress line,
    // a fresh cache and a clear display.
    steps::openCompose(ctx, kMaskZoom, kLastFrame, true);
    const int w = ws.picSource.width();
    const int h = ws.picSource.height();

    // 5. Reduced frames 0 to 4.
    int k = 0;
    for (float s = 1.0f; s >= kScaleEnd; s += kScaleStep) {
      const Scaled r = centred(s, w, h);
      steps::clearToBackground(ws, ws.picTurn);
      core::StretchBlt(ws.picTurn, r.left, r.top, r.width, r.height, ws.picSource, 0, 0, w, h);
      steps::finishFrame(ws, mask, k++, steps::Unmasked::StoreTurn);
    }
    // 6. The blank frame shows picTurn's background, without the finishing step.
    steps::clearToBackground(ws, ws.picTurn);
    steps::storeFrame(ws, kBlankFrame, ws.picTurn.image());
    // 7. The only yield of the run.
    ctx.progress(0.5);
    ctx.yield();

    // 8. Enlarged frames 9 down to 6.
    k = kLastFrame;
    for (float s = 0.8f; s >= kScaleEnd; s += kScaleStep) {
      const Scaled r = centred(s, w, h);
      steps::clearToBackground(ws, ws.picTurn);
      core::StretchBlt(ws.picTurn, 0, 0, w, h, ws.picSource, r.left, r.top, r.width, r.height);
      steps::finishFrame(ws, mask, k--, steps::Unmasked::StoreTurn);
    }
    // 9. Only the preview draws the line to its end; a save leaves it at half.
    if (ctx.preview) ctx.progress(1.0);
    steps::settleMask(ws, mask);
    return true;
  }

  // Shown from frame 9 down to frame 0, frame k labelled 9 - k.
  PlaybackPlan playback(const Options&) const override {
    PlaybackPlan plan;
    plan.intervalMs = kIntervalMs;
    for (int k = kLastFrame; k >= 0; --k) {
      plan.entries.push_back(k);
      plan.labels.push_back(steps::playbackLabel(kind(), kLastFrame - k));
    }
    return plan;
  }

  // File i holds frame 9 - i, so the files follow the playback order.
  std::vector<int> fileOrder() const override {
    std::vector<int> order;
    for (int k = kLastFrame; k >= 0; --k) order.push_back(k);
    return order;
  }

  // Frame 0, the whole source at full size, is the last file.
  int restFrame(const Options&) const override { return kLastFrame; }
};

}  // namespace

std::unique_ptr<Generator> makeZoomGenerator() { return std::make_unique<ZoomGenerator>(); }

}  // namespace effects
