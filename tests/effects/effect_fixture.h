// Shared set-up for the effect and driver tests: a loaded source, a fake
// host and a direct way to run one generator's compose.
#pragma once

#include <string>

#include "core/picture.h"
#include "effects/generator.h"
#include "effects/work_state.h"
#include "fake_host.h"
#include "testutil.h"

namespace testutil {

// A picture whose pixels are rgb(x, y, x + y) (mod 256): black only at the
// corner for pictures up to 256 wide.
inline core::Picture gradientPicture(int w, int h) {
  core::Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.row(y)[x] = core::rgb(x % 256, y % 256, (x + y) % 256);
  return core::Picture::fromBitmap(std::move(b));
}

// A picture of one colour with a few pixels set, given as (x, y, colour).
struct Dot {
  int x;
  int y;
  core::Color c;
};
inline core::Picture dotsPicture(int w, int h, core::Color back, std::initializer_list<Dot> dots) {
  core::Bitmap b(w, h, back);
  for (const Dot& d : dots) b.row(d.y)[d.x] = d.c;
  return core::Picture::fromBitmap(std::move(b));
}

struct EffectFixture {
  effects::WorkState ws;
  FakeHost host;

  void load(const core::Picture& p) { host.options.bannerColor = effects::acceptSource(ws, p); }

  // Runs the effect's compose as its preview (a run tag of "prev") or save.
  bool compose(core::EffectKind kind, bool preview) {
    host.options.effect = static_cast<int>(kind);
    auto g = effects::makeGenerator(kind);
    ws.emptyCache(core::info(kind).frames - 1);
    const std::string tag = preview ? "prev" : "";
    effects::RunContext ctx(ws, host, host.options, preview, tag);
    return g->compose(ctx);
  }
  const core::Picture& frame(int k) const { return ws.mFrames[static_cast<std::size_t>(k)]; }
};

}  // namespace testutil
