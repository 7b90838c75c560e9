#include "effects/slide.h"

#include <cstdio>

#include "core/mask.h"
#include "core/raster.h"
#include "core/rounding.h"
#include "effects/compose_steps.h"
#include "effects/generators.h"

namespace effects {

namespace {

constexpr int kFrames = 22;
constexpr int kHorizontalFrames = 11;  // entries 0..10; 11..21 are vertical
constexpr int kIntervalMs = 100;

// The picture through the mask at one or two source positions. All mask
// copies come before all picture copies, so that the crossing copies combine
// pixel by pixel: (B OR M1 OR M2) AND S1 AND S2.
void composeFrame(WorkState& ws, int k, bool cross) {
  const int w = ws.picSource.width();
  const int h = ws.picSource.height();
  const bool horizontal = k < kHorizontalFrames;
  const int step = horizontal ? k - 5 : k - 16;
  const int o = slideOffset(horizontal ? w : h, step);
  const int back = slideOffset(horizontal ? w : h, -step);
  const int sx1 = horizontal ? o : 0;
  const int sy1 = horizontal ? 0 : o;
  const int sx2 = horizontal ? back : 0;
  const int sy2 = horizontal ? 0 : back;

  steps::clearToBackground(ws, ws.picX);
  core::BitBlt(ws.picX, 0, 0, w, h, ws.picMask, sx1, sy1, core::SRCPAINT);
  if (cross) core::BitBlt(ws.picX, 0, 0, w, h, ws.picMask, sx2, sy2, core::SRCPAINT);
  core::BitBlt(ws.picX, 0, 0, w, h, ws.picSource, sx1, sy1, core::SRCAND);
  if (cross) core::BitBlt(ws.picX, 0, 0, w, h, ws.picSource, sx2, sy2, core::SRCAND);
  ws.mFrames[static_cast<std::size_t>(k)] = ws.picX.image();
}

class SlideGenerator final : public Generator {
 public:
  EffectKind kind() const override { return EffectKind::Slide; }

  // Slide has no stop check while composing: a stop request is seen only
  // when playback would begin, so every run composes all 22 frames.
  bool compose(RunContext& ctx) override {
    WorkState& ws = ctx.ws;
    const bool mask = ctx.options.mask[kMaskSlide];
    // Slide shows no progress line until half its frames are composed.
    steps::openCompose(ctx, kMaskSlide, kFrames - 1, false);
    ws.picTurn.setPicture(ws.picSource.image());
    core::PrepareMask(ws.picSource, ws.picTurn, ws.picMask, mask);

    if (ctx.preview) {
      for (int k = 0; k < kHorizontalFrames; ++k) composeFrame(ws, k, ctx.options.cross);
      ctx.progress(0.5);
      ctx.progressVisible(true);
      ctx.yield();
      for (int k = kHorizontalFrames; k < kFrames; ++k) composeFrame(ws, k, ctx.options.cross);
      ctx.progress(1.0);
    } else {
      for (int k = 0; k < kFrames; ++k) {
        ctx.yield();
        composeFrame(ws, k, ctx.options.cross);
      }
    }
    return true;
  }

  PlaybackPlan playback(const Options&) const override {
    PlaybackPlan plan;
    plan.intervalMs = kIntervalMs;
    for (int k = 0; k < kFrames; ++k) {
      plan.entries.push_back(k);
      plan.labels.push_back(slideLabel(k));
    }
    return plan;
  }

  // Frame 5, horizontal step 0: the picture in place (the crossing copy
  // coincides with it). Frame 16, its vertical twin, would do as well.
  int restFrame(const Options&) const override { return 5; }

  bool createsSaveFolder() const override { return false; }
};

}  // namespace

int slideOffset(int size, int step) { return core::roundToInt(static_cast<double>(size) / 5.0 * step); }

std::string slideLabel(int k) {
  // The counter starts at 6, wraps to 0 once it passes 10 and is never reset
  // between rounds; eleven frames per sequence make it the same every round.
  const int number = (k % kHorizontalFrames + 6) % kHorizontalFrames;
  char text[32];
  std::snprintf(text, sizeof text, "BaseName-%c-%02d.bmp", k < kHorizontalFrames ? 'x' : 'y', number);
  return text;
}

std::unique_ptr<Generator> makeSlideGenerator() { return std::make_unique<SlideGenerator>(); }

}  // namespace effects
