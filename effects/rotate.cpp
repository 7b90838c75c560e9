#include "effects/rotate.h"

#include <algorithm>
#include <cmath>

#include "core/raster.h"
#include "effects/compose_steps.h"
#include "effects/generators.h"
#include "effects/mirror.h"

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
  // Over a picture (else null): the card of the frame before and the pixels
  // it covers, for its mirror partner.
  const core::Color* over;
  core::Picture card;
  Coverage covered;
};

// The card seen edge-on: one line through the centre in the corner colour,
// drawn straight on picX.
void drawEdgeOn(Run& r) {
  steps::clearToBackground(r.ws, r.ws.picX);
  if (r.axis == 1)
    core::Line(r.ws.picX, r.w / 2, 0, r.w / 2, r.h, r.corner);
  else
    core::Line(r.ws.picX, 0, r.h / 2, r.w, r.h / 2, r.corner);
}

// The card's projection for one angle: a and b are the exact float halves
// of the frame, the arithmetic is double from the float inputs and each
// result is stored as a float. The scale along the axis depends on one
// coordinate only; it is worked out once per column (axis 1) or row (axis 0)
// with the same expression, so the results are the same without a division
// per point.
class Projection {
 public:
  Projection(int w, int h, float theta, int axisIndex)
      : a_(static_cast<double>(static_cast<float>(w) / 2.0f)),
        b_(static_cast<double>(static_cast<float>(h) / 2.0f)),
        s_(std::sin(static_cast<double>(theta))),
        c_(std::cos(static_cast<double>(theta))),
        axis_(axisIndex) {
    const int n = axis_ == 1 ? w : h;
    along_.resize(static_cast<std::size_t>(std::max(n, 0)));
    for (int i = 0; i < n; ++i) along_[static_cast<std::size_t>(i)] = alongScale(static_cast<float>(i));
  }

  void apply(const core::PixelPoint& p, core::PixelPoint& m) const {
    const double dx = static_cast<double>(p.x) - a_;
    const double dy = static_cast<double>(p.y) - b_;
    if (axis_ == 1) {
      m.x = static_cast<float>(a_ + dx * s_ * 0.9);
      m.y = static_cast<float>(b_ + dy * scaleAt(p.x));
    } else {
      m.x = static_cast<float>(a_ + dx * scaleAt(p.y));
      m.y = static_cast<float>(b_ + dy * s_ * 0.9);
    }
  }

  // The coordinate across the axis depends only on the column (axis 1) or
  // the row (axis 0): x' per column, or y' per row.
  std::vector<float> acrossTable(int w, int h) const {
    std::vector<float> t(static_cast<std::size_t>(std::max(axis_ == 1 ? w : h, 0)));
    for (std::size_t i = 0; i < t.size(); ++i) {
      const double d = static_cast<double>(static_cast<float>(i)) - (axis_ == 1 ? a_ : b_);
      t[i] = static_cast<float>((axis_ == 1 ? a_ : b_) + d * s_ * 0.9);
    }
    return t;
  }
  // y' of point (x, y) with axis 1, x' of point (x, y) with axis 0.
  float alongY(int x, int y) const {
    return static_cast<float>(b_ + (static_cast<double>(y) - b_) * along_[static_cast<std::size_t>(x)]);
  }
  float alongX(int x, int y) const {
    return static_cast<float>(a_ + (static_cast<double>(x) - a_) * along_[static_cast<std::size_t>(y)]);
  }

 private:
  // 0.9 + 0.1 cos(theta) dx / a (axis 1) or 0.9 + 0.1 cos(theta) dy / b
  // (axis 0) for the coordinate v across the axis.
  double alongScale(float v) const {
    return axis_ == 1 ? 0.9 + 0.1 * c_ * (static_cast<double>(v) - a_) / a_
                      : 0.9 + 0.1 * c_ * (static_cast<double>(v) - b_) / b_;
  }
  double scaleAt(float v) const {
    const auto i = static_cast<std::size_t>(v >= 0.0f ? v : 0.0f);
    if (i < along_.size() && static_cast<float>(i) == v) return along_[i];
    return alongScale(v);
  }

  double a_;
  double b_;
  double s_;
  double c_;
  int axis_;
  std::vector<double> along_;
};

// Projects the points and plots them on picTurn in list order, yielding
// before each point. Each point is projected just before it is plotted, as
// ProjectPoints would project it: the same pixels as projecting the whole
// list into mMovedPoints first, without storing positions nobody reads
// again. Returns false when a stop request ended the loop.
bool plotProjectedPoints(Run& r, const Projection& projection) {
  core::Surface& turn = r.ws.picTurn;
  const int tw = turn.width();
  const int th = turn.height();
  const float fw = static_cast<float>(r.w);
  const float fh = static_cast<float>(r.h);
  core::Color* bits = turn.mutableBits();
  std::uint8_t* covered = r.over ? r.covered.data() : nullptr;
  const core::PixelPoint* points = r.ws.mPoints.data();
  const auto plot = [&](float x, float y, std::int32_t color) {
    if (!(x >= 0.0f && x < fw && y >= 0.0f && y < fh)) return;
    const int px = roundCoordinate(x);
    const int py = roundCoordinate(y);
    if (px >= tw || py >= th) return;
    bits[static_cast<std::ptrdiff_t>(py) * tw + px] = static_cast<core::Color>(color);
    if (covered) covered[static_cast<std::ptrdiff_t>(py) * tw + px] = 1;
  };
  if (r.ws.mPoints.size() != static_cast<std::size_t>(r.w) * static_cast<std::size_t>(r.h)) {
    for (std::size_t i = 0; i < r.ws.mPoints.size(); ++i) {
      r.ctx.yield();
      if (r.ctx.stopRequested()) return false;
      core::PixelPoint m;
      projection.apply(points[i], m);
      plot(m.x, m.y, points[i].color);
    }
    return true;
  }
  // The list is the picture's grid in row order, so point (x, y) is entry
  // y * w + x and every projected coordinate comes from one row or column
  // table and at most one product: the very values apply() gives.
  // Each row's targets are worked out before its points are plotted, so that
  // the loop around the yields only stores.
  const std::vector<float> across = projection.acrossTable(r.w, r.h);
  std::vector<std::ptrdiff_t> target(static_cast<std::size_t>(r.w));
  const auto place = [&](float x, float y) -> std::ptrdiff_t {
    if (!(x >= 0.0f && x < fw && y >= 0.0f && y < fh)) return -1;
    const int px = roundCoordinate(x);
    const int py = roundCoordinate(y);
    if (px >= tw || py >= th) return -1;
    return static_cast<std::ptrdiff_t>(py) * tw + px;
  };
  for (int y = 0; y < r.h; ++y) {
    const core::PixelPoint* row = points + static_cast<std::ptrdiff_t>(y) * r.w;
    for (int x = 0; x < r.w; ++x) {
      target[static_cast<std::size_t>(x)] =
          r.axis == 1 ? place(across[static_cast<std::size_t>(x)], projection.alongY(x, y))
                      : place(projection.alongX(x, y), across[static_cast<std::size_t>(y)]);
    }
    for (int x = 0; x < r.w; ++x) {
      r.ctx.yield();
      if (r.ctx.stopRequested()) return false;
      const std::ptrdiff_t at = target[static_cast<std::size_t>(x)];
      if (at < 0) continue;
      bits[at] = static_cast<core::Color>(row[x].color);
      if (covered) covered[at] = 1;
    }
  }
  return true;
}

// The face-on card: the projection at 90 degrees is the source scaled by
// 0.9 about the centre; the sizes are single precision as the drawing call
// takes them.
void paintFaceOn(Run& r, core::Surface& dst) {
  const auto f = [](int v, double factor) { return static_cast<double>(static_cast<float>(v * factor)); };
  core::PaintPicture(dst, r.ws.picSource.picture(), f(r.w, 0.05), f(r.h, 0.05), f(r.w, 0.9), f(r.h, 0.9));
}

// Over a picture, the face-on card's coverage: the pixels where drawing it
// over two opposite flat colours gives the same colour.
void faceOnCoverage(Run& r) {
  const core::Color back = core::storedColor(r.ws.picTurn.backColor());
  core::Surface other(r.w, r.h, back ^ 0x00FFFFFFu);
  paintFaceOn(r, other);
  const core::Color* a = r.ws.picTurn.bits();
  const core::Color* b = other.bits();
  for (std::size_t i = 0; i < r.covered.size(); ++i) r.covered[i] = a[i] == b[i] ? 1 : 0;
}

// Draws frame k's picture on picTurn (every kind but the edge-on one).
void drawOnTurn(Run& r, int k) {
  WorkState& ws = r.ws;
  const std::size_t pixels = static_cast<std::size_t>(r.w) * static_cast<std::size_t>(r.h);
  switch (kindOf(k)) {
    case FrameKind::Plotted:
      ws.picTurn.clear();
      if (r.over) r.covered.assign(pixels, 0);
      plotProjectedPoints(r, Projection(r.w, r.h, rotateAngle(k), r.axis));
      break;
    case FrameKind::FaceOn:
      ws.picTurn.clear();
      paintFaceOn(r, ws.picTurn);
      if (r.over) {
        r.covered.assign(pixels, 0);
        faceOnCoverage(r);
      }
      break;
    case FrameKind::Mirror:
      // The partner was stored just before and is still on picX.
      if (r.over) {
        layCardOver(ws.picTurn, r.card, r.covered, r.over, r.axis == 1, r.axis == 0);
      } else {
        paintMirrored(ws.picTurn, ws.picX.image(), r.axis == 1, r.axis == 0);
      }
      return;
    case FrameKind::EdgeOn:
      return;
  }
  if (r.over) {
    r.card = ws.picTurn.image();
    layCardOver(ws.picTurn, r.card, r.covered, r.over, false, false);
  }
}

class RotateGenerator final : public Generator {
 public:
  EffectKind kind() const override { return EffectKind::Rotate; }

  bool compose(RunContext& ctx) override {
    WorkState& ws = ctx.ws;
    ws.emptyCache(kFrames - 1);
    core::BuildPointList(ws.picSource, ws.mPoints, ws.mMovedPoints);
    const int axis = ctx.options.axis == 0 ? 0 : 1;
    const bool mask = ctx.options.mask[kMaskRotate];
    Run r{ctx, ws, ws.picSource.width(), ws.picSource.height(), axis, mask, ws.picSource.point(0, 0),
          nullptr, {}, {}};
    const core::Color back = r.mask ? ctx.options.bannerColor : static_cast<core::Color>(ws.mPoints[0].color);
    ws.picX.setBackColor(back);
    ws.picTurn.setBackColor(back);
    ws.picTurn.resize(r.w, r.h);
    ws.picX.clear();
    r.over = steps::overPixels(ws);
    const bool complete = composeFrames(r);
    steps::settleMask(ws, r.mask);
    return complete;
  }

  PlaybackPlan playback(const Options&) const override {
    PlaybackPlan plan;
    plan.intervalMs = kIntervalMs;
    for (int k = 0; k < kFrames; ++k) {
      plan.entries.push_back(k);
      plan.labels.push_back(steps::playbackLabel(EffectKind::Rotate, (k + 9) % kFrames));
    }
    return plan;
  }

  std::vector<int> fileOrder() const override {
    std::vector<int> order(kFrames);
    for (int i = 0; i < kFrames; ++i) order[static_cast<std::size_t>(i)] = rotateFileEntry(i);
    return order;
  }

  // File 000 is the face-on frame: the card facing the viewer, the source at
  // 0.9 of its size in the middle of the frame.
  int restFrame(const Options&) const override { return 0; }

  bool timesRender() const override { return true; }

 private:
  static bool composeFrames(Run& r) {
    RunContext& ctx = r.ctx;
    WorkState& ws = r.ws;
    for (int n = 1; n <= kFrames; ++n) {
      const int k = kOrder[n - 1];
      if (kindOf(k) == FrameKind::EdgeOn) {
        drawEdgeOn(r);
        if (ctx.stopRequested()) return false;  // checked before this kind is stored
      } else {
        drawOnTurn(r, k);
        // Through the mask over the banner colour, or picTurn as it is.
        steps::layTurnOverX(ws, r.mask);
      }
      ws.mFrames[static_cast<std::size_t>(k)] = ws.picX.image();
      ctx.progress(n < kFrames ? n / 12.0 : 1.0);
      if (n == 1) ctx.progressVisible(true);
      if (n < kFrames && kindOf(k) != FrameKind::EdgeOn && ctx.stopRequested()) return false;
    }
    return true;
  }
};

}  // namespace

float rotateAngle(int k) {
  switch (k) {
    case 1:
      return kPi / 6.0f;
    case 2:
      return kPi / 3.0f;
    case 4:
      return kPi / 6.0f * 4.0f;
    case 5:
      return kPi / 6.0f * 5.0f;
    default:
      return kPi / 2.0f;
  }
}

void ProjectPoints(const std::vector<core::PixelPoint>& mPoints, std::vector<core::PixelPoint>& mMovedPoints, int count,
                   int w, int h, float theta, int axis) {
  if (count <= 0) return;
  const Projection projection(w, h, theta, axis);
  for (int i = 0; i < count; ++i)
    projection.apply(mPoints[static_cast<std::size_t>(i)], mMovedPoints[static_cast<std::size_t>(i)]);
}

int rotateFileEntry(int fileNumber) { return (fileNumber + 3) % kFrames; }

std::unique_ptr<Generator> makeRotateGenerator() { return std::make_unique<RotateGenerator>(); }

}  // namespace effects
