#include "effects/turn.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "core/mask.h"
#include "effects/compose_steps.h"
#include "effects/generators.h"
#include "effects/mirror.h"

namespace effects {

namespace {

constexpr int kFrames = 12;
constexpr int kIntervalMs = 200;
constexpr float kPi = 3.1415927f;
// Each frame 0..5 is followed at once by its half-turn partner, made from it
// while it is still on picX.
constexpr int kOrder[kFrames] = {0, 6, 2, 8, 1, 7, 3, 9, 4, 10, 5, 11};

// One turn about (cx, cy): trigonometry in double from the float angle,
// dx and dy in float, each sum formed in double and stored as a float.
struct PointTurn {
  PointTurn(float centreX, float centreY, float angle)
      : cx(centreX), cy(centreY), c(std::cos(static_cast<double>(angle))), s(std::sin(static_cast<double>(angle))) {}

  void apply(const core::PixelPoint& p, core::PixelPoint& m) const {
    const float dx = p.x - cx;
    const float dy = p.y - cy;
    m.x = static_cast<float>(static_cast<double>(cx) + dx * c + dy * s);
    m.y = static_cast<float>(static_cast<double>(cy) - dx * s + dy * c);
  }

  float cx;
  float cy;
  double c;
  double s;
};

// Turns the points and plots them on picTurn in list order, yielding before
// each point. Each point is turned just before it is plotted, as
// RotatePoints would turn it: the same pixels as turning the whole list into
// mMovedPoints first, in one pass and without storing the positions nobody
// reads again. The second plot one row lower closes the gaps that turning
// opens; at 90 degrees there are none. Returns false when a stop request
// ended the loop (the points drawn so far stay). `covered`, when given,
// marks every pixel plotted.
bool plotTurnedPoints(RunContext& ctx, const PointTurn& turn, bool doublePlot, std::uint8_t* covered) {
  WorkState& ws = ctx.ws;
  const int w = ws.picTurn.width();
  const int h = ws.picTurn.height();
  const float fw = static_cast<float>(w);
  const float fh = static_cast<float>(h);
  core::Color* bits = ws.picTurn.mutableBits();
  const core::PixelPoint* points = ws.mPoints.data();
  const std::size_t count = ws.mPoints.size();

  const auto plot = [&](int x, int y, core::Color c) {
    if (y >= h) return;
    bits[static_cast<std::ptrdiff_t>(y) * w + x] = c;
    if (covered) covered[static_cast<std::ptrdiff_t>(y) * w + x] = 1;
  };
  const auto plotTurned = [&](float x, float y, std::int32_t colour) {
    if (!(x >= 0.0f && x < fw && y >= 0.0f && y < fh)) return;
    // Inside, x and y round to 0..w and 0..h; only w and h fall outside.
    const int px = roundCoordinate(x);
    if (px >= w) return;
    const auto c = static_cast<core::Color>(colour);
    plot(px, roundCoordinate(y), c);
    if (doublePlot) plot(px, roundCoordinate(y + 1.0f), c);
  };
  const int sw = ws.picSource.width();
  const int sh = ws.picSource.height();
  if (count != static_cast<std::size_t>(sw) * static_cast<std::size_t>(sh)) {
    for (std::size_t i = 0; i < count; ++i) {
      ctx.yield();
      if (ctx.stopRequested()) return false;
      core::PixelPoint m;
      turn.apply(points[i], m);
      plotTurned(m.x, m.y, points[i].color);
    }
    return true;
  }
  // The list is the picture's grid in row order, so point (x, y) is entry
  // y * w + x: each sum splits into a column term and a row term, added in
  // the same order apply() adds them, so the results are the same values.
  std::vector<double> colX(static_cast<std::size_t>(sw));
  std::vector<double> colY(static_cast<std::size_t>(sw));
  for (int x = 0; x < sw; ++x) {
    const float dx = static_cast<float>(x) - turn.cx;
    colX[static_cast<std::size_t>(x)] = static_cast<double>(turn.cx) + dx * turn.c;
    colY[static_cast<std::size_t>(x)] = static_cast<double>(turn.cy) - dx * turn.s;
  }
  for (int y = 0; y < sh; ++y) {
    const float dy = static_cast<float>(y) - turn.cy;
    const double rowX = dy * turn.s;
    const double rowY = dy * turn.c;
    const core::PixelPoint* row = points + static_cast<std::ptrdiff_t>(y) * sw;
    for (int x = 0; x < sw; ++x) {
      ctx.yield();
      if (ctx.stopRequested()) return false;
      plotTurned(static_cast<float>(colX[static_cast<std::size_t>(x)] + rowX),
                 static_cast<float>(colY[static_cast<std::size_t>(x)] + rowY), row[x].color);
    }
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

    const bool complete = composeFrames(ctx, w, h);
    // Every frame builds the mask from picTurn; leave it as the last did.
    core::BuildMask(ws.picSource, ws.picTurn, ws.picMask);
    return complete;
  }

  PlaybackPlan playback(const Options&) const override {
    PlaybackPlan plan;
    plan.intervalMs = kIntervalMs;
    for (int k = 0; k < kFrames; ++k) {
      plan.entries.push_back(k);
      plan.labels.push_back(steps::playbackLabel(EffectKind::Turn, k));
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
  static bool composeFrames(RunContext& ctx, int w, int h) {
    WorkState& ws = ctx.ws;
    const bool mask = ctx.options.mask[kMaskTurn];
    // Over a picture, the card of the frame before and the pixels it covers,
    // for its half-turn partner: the picture behind stays where it is.
    const core::Color* over = steps::overPixels(ws);
    const std::size_t pixels = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
    core::Picture card;
    Coverage covered;
    for (int n = 1; n <= kFrames; ++n) {
      const int k = kOrder[n - 1];
      if (k == 0) {
        ws.picTurn.setPicture(ws.picSource.picture());
        if (over) {
          card = ws.picTurn.image();
          covered.assign(pixels, 1);
        }
      } else if (k >= 6) {
        // Point mirror of the partner still on picX: (x, y) lands on
        // (w - 1 - x, h - 1 - y), a half turn. It covers all of picTurn, so
        // clearing it first would change nothing.
        if (over) {
          layCardOver(ws.picTurn, card, covered, over, true, true);
        } else {
          paintMirrored(ws.picTurn, ws.picX.image(), true, true);
        }
      } else {
        ws.picTurn.clear();
        // The centre is the pixel w \ 2, h \ 2 (truncating division).
        const int cx = w / 2;
        const int cy = h / 2;
        const PointTurn turn(static_cast<float>(cx), static_cast<float>(cy), turnAngle(k));
        if (over) covered.assign(pixels, 0);
        plotTurnedPoints(ctx, turn, k != 3, over ? covered.data() : nullptr);
        if (over) {
          card = ws.picTurn.image();
          layCardOver(ws.picTurn, card, covered, over, false, false);
        }
      }
      // Turn lays picTurn through the mask built from it whatever the
      // option: with the option off picX is white, and the result is picTurn
      // exactly.
      steps::layTurnOverX(ws, mask);
      ws.mFrames[static_cast<std::size_t>(k)] = ws.picX.image();
      ctx.progress(n < kFrames ? n / 12.0 : 1.0);
      if (n == 1) ctx.progressVisible(true);
      if (n < kFrames && ctx.stopRequested()) return false;
    }
    return true;
  }

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
};

}  // namespace

float turnAngle(int k) {
  switch (k) {
    case 1:
      return kPi / 6.0f;
    case 2:
      return kPi / 3.0f;
    case 3:
      return kPi / 2.0f;
    case 4:
      return kPi / 6.0f * 4.0f;
    case 5:
      return kPi / 6.0f * 5.0f;
    default:
      return 0.0f;
  }
}

void RotatePoints(const std::vector<core::PixelPoint>& mPoints, std::vector<core::PixelPoint>& mMovedPoints, int count,
                  float cx, float cy, float angle) {
  if (count <= 0) return;
  const PointTurn turn(cx, cy, angle);
  for (int i = 0; i < count; ++i)
    turn.apply(mPoints[static_cast<std::size_t>(i)], mMovedPoints[static_cast<std::size_t>(i)]);
}

std::unique_ptr<Generator> makeTurnGenerator() { return std::make_unique<TurnGenerator>(); }

}  // namespace effects
