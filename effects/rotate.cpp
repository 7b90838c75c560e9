#include "effects/rotate.h"

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
// Each frame is followed by its mirror partner, made from its finished image.
constexpr int kOrder[kFrames] = {0, 6, 2, 10, 1, 11, 3, 9, 4, 8, 5, 7};

enum class FrameKind { EdgeOn, Plotted, FaceOn, Mirror };

FrameKind kindOf(int k) {
  if (k == 0 || k == 6) return FrameKind::EdgeOn;
  if (k == 3) return FrameKind::FaceOn;
  if (k > 6) return FrameKind::Mirror;
  return FrameKind::Plotted;
}

struct Run {
  RunContext& ctx;
  WorkState& ws;
  int w;
  int h;
  int axis;
  bool mask;
  core::Color corner;
};

// The card seen edge-on: one line through the centre in the corner colour,
// drawn straight on picX.
void drawEdgeOn(Run& r) {
  r.ws.picX.clear();
  if (r.axis == 1)
    core::Line(r.ws.picX, r.w / 2, 0, r.w / 2, r.h, r.corner);
  else
    core::Line(r.ws.picX, 0, r.h / 2, r.w, r.h / 2, r.corner);
}

// Plots the projected points on picTurn in list order, yielding before each
// point. Returns false when a stop request ended the loop.
bool plotProjectedPoints(Run& r) {
  core::Surface& turn = r.ws.picTurn;
  const int tw = turn.width();
  const int th = turn.height();
  const float fw = static_cast<float>(r.w);
  const float fh = static_cast<float>(r.h);
  core::Color* bits = turn.mutableBits();
  const core::PixelPoint* points = r.ws.mPoints.data();
  const core::PixelPoint* moved = r.ws.mMovedPoints.data();
  const std::size_t count = r.ws.mPoints.size();
  for (std::size_t i = 0; i < count; ++i) {
    r.ctx.yield();
    if (r.ctx.stopRequested()) return false;
    const float x = moved[i].x;
    const float y = moved[i].y;
    if (x < 0.0f || x >= fw || y < 0.0f || y >= fh) continue;
    const int px = core::roundToInt(x);
    const int py = core::roundToInt(y);
    if (px < tw && py < th)
      bits[static_cast<std::ptrdiff_t>(py) * tw + px] = core::storedColor(static_cast<core::Color>(points[i].color));
  }
  return true;
}

// Draws frame k's picture on picTurn (every kind but the edge-on one).
void drawOnTurn(Run& r, int k) {
  WorkState& ws = r.ws;
  switch (kindOf(k)) {
    case FrameKind::Plotted:
      ws.picTurn.clear();
      ProjectPoints(ws.mPoints, ws.mMovedPoints, r.w * r.h, r.w, r.h, rotateAngle(k), r.axis);
      plotProjectedPoints(r);
      break;
    case FrameKind::FaceOn: {
      // The projection at 90 degrees is the source scaled by 0.9 about the
      // centre; the sizes are single precision as the drawing call takes them.
      ws.picTurn.clear();
      const auto f = [](int v, double factor) { return static_cast<double>(static_cast<float>(v * factor)); };
      core::PaintPicture(ws.picTurn, ws.picSource.picture(), f(r.w, 0.05), f(r.h, 0.05), f(r.w, 0.9), f(r.h, 0.9));
      break;
    }
    case FrameKind::Mirror:
      // The partner was stored just before and is still on picX.
      if (r.axis == 1)
        core::PaintPicture(ws.picTurn, ws.picX.image(), r.w - 1, 0, -r.w, r.h);
      else
        core::PaintPicture(ws.picTurn, ws.picX.image(), 0, r.h - 1, r.w, -r.h);
      break;
    case FrameKind::EdgeOn: break;
  }
}

// The finishing step: through the mask over the banner colour, or picTurn
// as it is.
void finishOnX(Run& r) {
  WorkState& ws = r.ws;
  if (r.mask) {
    core::BuildMask(ws.picSource, ws.picTurn, ws.picMask);
    ws.picX.clear();
    core::MaskThenSourceBlit(ws.picX, ws.picMask, ws.picTurn, r.w, r.h);
  } else {
    ws.picX.setPicture(ws.picTurn.image());
  }
}

class RotateGenerator final : public Generator {
 public:
  EffectKind kind() const override { return EffectKind::Rotate; }

  bool compose(RunContext& ctx) override {
    WorkState& ws = ctx.ws;
    ws.emptyCache(kFrames - 1);
    core::BuildPointList(ws.picSource, ws.mPoints, ws.mMovedPoints);
    Run r{ctx, ws, ws.picSource.width(), ws.picSource.height(), ctx.options.axis == 0 ? 0 : 1,
          ctx.options.mask[kMaskRotate], ws.picSource.point(0, 0)};
    const core::Color back = r.mask ? ctx.options.bannerColor : static_cast<core::Color>(ws.mPoints[0].color);
    ws.picX.setBackColor(back);
    ws.picTurn.setBackColor(back);
    ws.picTurn.resize(r.w, r.h);
    ws.picX.clear();

    for (int n = 1; n <= kFrames; ++n) {
      const int k = kOrder[n - 1];
      if (kindOf(k) == FrameKind::EdgeOn) {
        drawEdgeOn(r);
        if (ctx.stopRequested()) return false;  // checked before this kind is stored
      } else {
        drawOnTurn(r, k);
        finishOnX(r);
      }
      ws.mFrames[static_cast<std::size_t>(k)] = ws.picX.image();
      ctx.progress(n < kFrames ? n / 12.0 : 1.0);
      if (n == 1) ctx.progressVisible(true);
      if (n < kFrames && kindOf(k) != FrameKind::EdgeOn && ctx.stopRequested()) return false;
    }
    return true;
  }

  PlaybackPlan playback(const Options&) const override {
    PlaybackPlan plan;
    plan.intervalMs = kIntervalMs;
    for (int k = 0; k < kFrames; ++k) {
      char label[32];
      std::snprintf(label, sizeof label, "BaseName-r-%02d.bmp", (k + 9) % kFrames);
      plan.entries.push_back(k);
      plan.labels.push_back(label);
    }
    return plan;
  }

  std::vector<int> fileOrder() const override {
    std::vector<int> order;
    for (int i = 0; i < kFrames; ++i) order.push_back(rotateFileEntry(i));
    return order;
  }

  bool timesRender() const override { return true; }
};

}  // namespace

float rotateAngle(int k) {
  switch (k) {
    case 1: return kPi / 6.0f;
    case 2: return kPi / 3.0f;
    case 4: return kPi / 6.0f * 4.0f;
    case 5: return kPi / 6.0f * 5.0f;
    default: return kPi / 2.0f;
  }
}

void ProjectPoints(const std::vector<core::PixelPoint>& mPoints, std::vector<core::PixelPoint>& mMovedPoints,
                   int count, int w, int h, float theta, int axis) {
  if (count <= 0) return;
  const double a = static_cast<double>(static_cast<float>(w) / 2.0f);
  const double b = static_cast<double>(static_cast<float>(h) / 2.0f);
  const double s = std::sin(static_cast<double>(theta));
  const double c = std::cos(static_cast<double>(theta));
  for (int i = 0; i < count; ++i) {
    const core::PixelPoint& p = mPoints[static_cast<std::size_t>(i)];
    const double dx = static_cast<double>(p.x) - a;
    const double dy = static_cast<double>(p.y) - b;
    core::PixelPoint& m = mMovedPoints[static_cast<std::size_t>(i)];
    if (axis == 1) {
      m.x = static_cast<float>(a + dx * s * 0.9);
      m.y = static_cast<float>(b + dy * (0.9 + 0.1 * c * dx / a));
    } else {
      m.x = static_cast<float>(a + dx * (0.9 + 0.1 * c * dy / b));
      m.y = static_cast<float>(b + dy * s * 0.9);
    }
  }
}

int rotateFileEntry(int fileNumber) { return (fileNumber + 3) % kFrames; }

std::unique_ptr<Generator> makeRotateGenerator() { return std::make_unique<RotateGenerator>(); }

}  // namespace effects
