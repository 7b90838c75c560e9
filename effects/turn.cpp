#include "effects/turn.h"

#include <cmath>
#include <cstdio>

#include "core/mask.h"
#include "core/raster.h"
#include "core/rounding.h"
#include "effects/generators.h"

namespace effects {

namespace {

constexpr int kFrames = 12;
constexpr int kIntervalMs = 200;
constexpr float kPi = 3.1415927f;
// Each frame 0..5 is followed at once by its half-turn partner, made from it
// while it is still on picX.
constexpr int kOrder[kFrames] = {0, 6, 2, 8, 1, 7, 3, 9, 4, 10, 5, 11};

// Plots the turned points on picTurn in list order, yielding before each
// point. The second plot one row lower closes the gaps that turning opens;
// at 90 degrees there are none. Returns false when a stop request ended the
// loop (the points drawn so far stay).
bool plotTurnedPoints(RunContext& ctx, bool doublePlot) {
  WorkState& ws = ctx.ws;
  core::Surface& turn = ws.picTurn;
  const int w = turn.width();
  const int h = turn.height();
  const float fw = static_cast<float>(ws.picSource.width());
  const float fh = static_cast<float>(ws.picSource.height());
  core::Color* bits = turn.mutableBits();
  const core::PixelPoint* points = ws.mPoints.data();
  const core::PixelPoint* moved = ws.mMovedPoints.data();
  const std::size_t count = ws.mPoints.size();

  const auto plot = [&](int x, int y, core::Color c) {
    if (x >= 0 && y >= 0 && x < w && y < h) bits[static_cast<std::ptrdiff_t>(y) * w + x] = c;
  };
  for (std::size_t i = 0; i < count; ++i) {
    ctx.yield();
    if (ctx.stopRequested()) return false;
    const float x = moved[i].x;
    const float y = moved[i].y;
    if (x < 0.0f || x >= fw || y < 0.0f || y >= fh) continue;
    const core::Color c = core::storedColor(static_cast<core::Color>(points[i].color));
    const int px = core::roundToInt(x);
    plot(px, core::roundToInt(y), c);
    if (doublePlot) plot(px, core::roundToInt(y + 1.0f), c);
  }
  return true;
}

class TurnGenerator final : public Generator {
 public:
  EffectKind kind() const override { return EffectKind::Turn; }

  bool compose(RunContext& ctx) override {
    WorkState& ws = ctx.ws;
    const int w = ws.picSource.width();
    const int h = ws.picSource.height();
    ws.emptyCache(kFrames - 1);
    core::BuildPointList(ws.picSource, ws.mPoints, ws.mMovedPoints);
    setBackColors(ws, ctx.options);
    ws.picTurn.resize(w, h);
    ws.picX.clear();

    for (int n = 1; n <= kFrames; ++n) {
      const int k = kOrder[n - 1];
      if (k == 0) {
        ws.picTurn.setPicture(ws.picSource.picture());
      } else if (k >= 6) {
        // Point mirror of the partner still on picX: (x, y) lands on
        // (w - 1 - x, h - 1 - y), a half turn.
        ws.picTurn.clear();
        core::PaintPicture(ws.picTurn, ws.picX.image(), w - 1, h - 1, -w, -h);
      } else {
        ws.picTurn.clear();
        RotatePoints(ws.mPoints, ws.mMovedPoints, w * h, static_cast<float>(w / 2), static_cast<float>(h / 2),
                     turnAngle(k));
        plotTurnedPoints(ctx, k != 3);
      }
      finishFrame(ws, k, w, h);
      ctx.progress(n < kFrames ? n / 12.0 : 1.0);
      if (n == 1) ctx.progressVisible(true);
      if (n < kFrames && ctx.stopRequested()) return false;
    }
    return true;
  }

  PlaybackPlan playback(const Options&) const override {
    PlaybackPlan plan;
    plan.intervalMs = kIntervalMs;
    for (int k = 0; k < kFrames; ++k) {
      char label[32];
      std::snprintf(label, sizeof label, "BaseName-t-%02d.bmp", k);
      plan.entries.push_back(k);
      plan.labels.push_back(label);
    }
    return plan;
  }

  // After a run picX shows the banner colour behind the source again.
  void endPreview(WorkState& ws, const Options& o) const override { ws.picX.setBackColor(o.bannerColor); }
  void endSave(WorkState& ws, const Options& o) const override {
    ws.picX.setBackColor(o.bannerColor);
    ws.picX.clear();
  }
  bool timesRender() const override { return true; }

 private:
  // With the mask option off picX is white, so the blit reproduces picTurn
  // exactly and uncovered areas keep picTurn's corner colour.
  static void setBackColors(WorkState& ws, const Options& o) {
    if (o.mask[kMaskTurn]) {
      ws.picTurn.setBackColor(o.bannerColor);
      ws.picX.setBackColor(o.bannerColor);
    } else {
      ws.picTurn.setBackColor(ws.picSource.point(0, 0));
      ws.picX.setBackColor(core::kWhite);
    }
  }

  // Turn always composes through the mask built from picTurn, whatever the
  // mask option; the option acts only through the background colours.
  static void finishFrame(WorkState& ws, int k, int w, int h) {
    core::BuildMask(ws.picSource, ws.picTurn, ws.picMask);
    ws.picX.clear();
    core::MaskThenSourceBlit(ws.picX, ws.picMask, ws.picTurn, w, h);
    ws.mFrames[static_cast<std::size_t>(k)] = ws.picX.image();
  }
};

}  // namespace

float turnAngle(int k) {
  switch (k) {
    case 1: return kPi / 6.0f;
    case 2: return kPi / 3.0f;
    case 3: return kPi / 2.0f;
    case 4: return kPi / 6.0f * 4.0f;
    case 5: return kPi / 6.0f * 5.0f;
    default: return 0.0f;
  }
}

void RotatePoints(const std::vector<core::PixelPoint>& mPoints, std::vector<core::PixelPoint>& mMovedPoints, int count,
                  float cx, float cy, float angle) {
  if (count <= 0) return;
  const double c = std::cos(static_cast<double>(angle));
  const double s = std::sin(static_cast<double>(angle));
  for (int i = 0; i < count; ++i) {
    const core::PixelPoint& p = mPoints[static_cast<std::size_t>(i)];
    const float dx = p.x - cx;
    const float dy = p.y - cy;
    core::PixelPoint& m = mMovedPoints[static_cast<std::size_t>(i)];
    m.x = static_cast<float>(static_cast<double>(cx) + dx * c + dy * s);
    m.y = static_cast<float>(static_cast<double>(cy) - dx * s + dy * c);
  }
}

std::unique_ptr<Generator> makeTurnGenerator() { return std::make_unique<TurnGenerator>(); }

}  // namespace effects
