// The seven effects on the ad sizes beyond 1000 x 200: wide, narrow and tall,
// square up to 1200 x 1200. Each saved run has every frame at the picture's
// size, its rest frame shows the picture in place, and the mask turns the
// corner colour into the banner colour there as it does on small banners.
#include <gtest/gtest.h>

#include "compose_fixture.h"
#include "core/raster.h"
#include "core/surface.h"
#include "effect_fixture.h"

namespace {

using core::EffectKind;

constexpr core::Color kCorner = core::kWhite;
constexpr core::Color kBanner = 0x0080FFu;

// Three coloured blocks on a white ground at proportional places, so that
// every part of a tall or wide picture has something to move.
core::Picture blocks(int w, int h) {
  core::Bitmap b(w, h, kCorner);
  const auto fill = [&](double x0, double y0, double x1, double y1, core::Color c) {
    for (int y = static_cast<int>(y0 * h); y < static_cast<int>(y1 * h); ++y)
      for (int x = static_cast<int>(x0 * w); x < static_cast<int>(x1 * w); ++x) b.row(y)[x] = c;
  };
  fill(0.10, 0.15, 0.40, 0.60, core::rgb(220, 30, 30));
  fill(0.50, 0.30, 0.85, 0.80, core::rgb(30, 40, 200));
  fill(0.20, 0.75, 0.75, 0.90, core::rgb(20, 160, 60));
  return core::Picture::fromBitmap(std::move(b));
}

struct Size {
  int w;
  int h;
};
constexpr Size kSizes[] = {{300, 250}, {160, 600}, {970, 250}, {1200, 1200}};
constexpr EffectKind kKinds[] = {EffectKind::Slide,   EffectKind::Turn,    EffectKind::Rotate, EffectKind::Zoom,
                                 EffectKind::Diffuse, EffectKind::Elastic, EffectKind::Hue};

class LargeSizes : public ::testing::TestWithParam<EffectKind>, public testutil::EffectFixture {
 protected:
  void choose(EffectKind kind, bool mask) {
    host.options = effects::Options{};
    host.options.effect = static_cast<int>(kind);
    host.options.hueX = 200;
    host.options.bannerColor = kBanner;
    host.options.mask[static_cast<std::size_t>(core::info(kind).maskBox)] = mask;
  }

  // The picture in place over the run's background; Rotate's face-on card is
  // the picture at 0.9 of its size about the centre.
  static core::Picture pictureInPlace(EffectKind kind, const core::Picture& src, bool mask) {
    core::Picture laid = src;
    if (kind == EffectKind::Rotate) {
      core::Surface card(src.width(), src.height(), kCorner);
      const auto f = [](int v, double factor) { return static_cast<double>(static_cast<float>(v * factor)); };
      core::PaintPicture(card, src, f(src.width(), 0.05), f(src.height(), 0.05), f(src.width(), 0.9),
                         f(src.height(), 0.9));
      laid = card.image();
    }
    return mask ? testutil::modelMasked(laid, kCorner, kBanner) : laid;
  }
};

TEST_P(LargeSizes, EveryFrameHasThePictureSizeAndTheRestFrameShowsIt) {
  const EffectKind kind = GetParam();
  for (const Size s : kSizes) {
    const core::Picture src = blocks(s.w, s.h);
    load(src);
    for (bool mask : {false, true}) {
      SCOPED_TRACE(::testing::Message() << s.w << " x " << s.h << " mask " << mask);
      choose(kind, mask);
      ASSERT_TRUE(compose(kind, false));
      const auto gen = effects::makeGenerator(kind);
      const auto order = gen->fileOrder();
      ASSERT_EQ(static_cast<int>(order.size()), core::info(kind).frames);
      for (int k : order) {
        ASSERT_EQ(frame(k).width(), s.w) << k;
        ASSERT_EQ(frame(k).height(), s.h) << k;
      }
      const int rest = order[static_cast<std::size_t>(gen->restFrame(host.options))];
      EXPECT_TRUE(testutil::surfacesEqual(frame(rest), pictureInPlace(kind, src, mask)));
      // Without the mask the corner colour stays; with it the banner colour
      // shows through wherever the picture is the corner colour.
      const core::Color corner = frame(rest).pixel(0, 0);
      EXPECT_EQ(corner, mask ? kBanner : kCorner);
      EXPECT_EQ(frame(rest).pixel(s.w - 1, s.h - 1), mask ? kBanner : kCorner);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Effects, LargeSizes, ::testing::ValuesIn(kKinds));

}  // namespace
