// Helpers for testing generators through compose(): a work state with a
// loaded source, a run, and an independent model of the stretched copy.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "core/color.h"
#include "core/picture.h"
#include "effect_fixture.h"
#include "effects/generator.h"
#include "effects/work_state.h"
#include "fake_host.h"

namespace testutil {

// The state after a picture was accepted.
inline void loadSource(effects::WorkState& ws, const core::Picture& pic) { effects::acceptSource(ws, pic); }

// A w x h picture whose every pixel differs from its neighbours:
// red = x, green = y, blue = x + y (mod 256). The corner is black.
inline core::Picture gradient(int w, int h) { return gradientPicture(w, h); }

// The picture with its top-left bw x bh block painted in colour c, so that
// the corner colour also occurs inside the picture.
inline core::Picture withCornerBlock(const core::Picture& pic, int bw, int bh, core::Color c) {
  core::Bitmap b = *pic.bitmap();
  for (int y = 0; y < bh; ++y)
    for (int x = 0; x < bw; ++x) b.row(y)[x] = c;
  return core::Picture::fromBitmap(std::move(b));
}

inline core::Picture solid(int w, int h, core::Color c) { return core::Picture::fromBitmap(core::Bitmap(w, h, c)); }

// Runs one composing pass as the preview (preview = true) or the save does,
// after the driver's emptying of the cache.
inline bool runCompose(effects::Generator& gen, effects::WorkState& ws, FakeHost& host, bool preview) {
  ws.emptyCache(core::info(gen.kind()).frames - 1);
  const std::string tag = preview ? "prev" : "";
  const effects::Options options = host.readOptions();
  effects::RunContext ctx(ws, host, options, preview, tag);
  return gen.compose(ctx);
}

// The expected stretched copy, written from the sampling rule rather than
// from the library: along each axis destination index k of extent n takes
// source index floor((2k + 1) * s / 2n) when enlarging and the AND of the
// source indices floor(k * s / n) .. floor((k + 1) * s / n) - 1 otherwise.
// Draws src's rectangle (sx, sy, sw, sh) into dst's (dx, dy, dw, dh), all
// extents positive.
inline void modelStretch(core::Bitmap& dst, int dx, int dy, int dw, int dh, const core::Picture& src, int sx, int sy,
                         int sw, int sh) {
  auto range = [](int k, int n, int s, int& a, int& b) {
    if (s >= n) {
      a = k * s / n;
      b = (k + 1) * s / n;
    } else {
      a = (2 * k + 1) * s / (2 * n);
      b = a + 1;
    }
  };
  for (int j = 0; j < dh; ++j) {
    int y0, y1;
    range(j, dh, sh, y0, y1);
    for (int i = 0; i < dw; ++i) {
      int x0, x1;
      range(i, dw, sw, x0, x1);
      core::Color v = 0xFFFFFFFFu;
      for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) v &= src.pixel(sx + x, sy + y);
      dst.row(dy + j)[dx + i] = v;
    }
  }
}

// What the mask-then-source blit makes of a finished picTurn drawing over a
// cleared picX: corner-coloured pixels become back AND corner.
inline core::Picture modelMasked(const core::Picture& turn, core::Color corner, core::Color back) {
  core::Bitmap b(turn.width(), turn.height());
  for (int y = 0; y < turn.height(); ++y)
    for (int x = 0; x < turn.width(); ++x) {
      const core::Color p = turn.pixel(x, y);
      b.row(y)[x] = (p == corner) ? (back & corner) : p;
    }
  return core::Picture::fromBitmap(std::move(b));
}

// True when every pixel of the picture has colour c.
inline ::testing::AssertionResult isSolid(const core::Picture& p, core::Color c) {
  if (p.isEmpty()) return ::testing::AssertionFailure() << "empty picture";
  for (int y = 0; y < p.height(); ++y)
    for (int x = 0; x < p.width(); ++x)
      if (p.pixel(x, y) != c)
        return ::testing::AssertionFailure()
               << "pixel (" << x << ", " << y << ") is " << std::hex << p.pixel(x, y) << ", expected " << c;
  return ::testing::AssertionSuccess();
}

}  // namespace testutil
