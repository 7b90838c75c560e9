#include <gtest/gtest.h>

#include "compose_fixture.h"
#include "core/effect_kind.h"
#include "effects/generators.h"
#include "testutil.h"

namespace {

using testutil::gradient;
using testutil::loadSource;
using testutil::modelStretch;
using testutil::runCompose;

// The frame drawn on picTurn: the whole source in (x, y, w, h) over `back`.
core::Picture squeezed(const core::Picture& src, core::Color back, int x, int y, int w, int h) {
  core::Bitmap b(src.width(), src.height(), back);
  if (w > 0 && h > 0) modelStretch(b, x, y, w, h, src, 0, 0, src.width(), src.height());
  return core::Picture::fromBitmap(std::move(b));
}

TEST(Elastic, WidthsAndHeightsOfA10x10Source) {
  effects::WorkState ws;
  testutil::FakeHost host;
  const core::Picture src = gradient(10, 10);
  loadSource(ws, src);
  auto gen = effects::makeElasticGenerator();
  ASSERT_TRUE(runCompose(*gen, ws, host, false));
  ASSERT_EQ(ws.mFrames.size(), 10u);
  const core::Color corner = src.pixel(0, 0);
  const int widths[5] = {10, 8, 6, 4, 2};
  for (int k = 0; k < 5; ++k)
    EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[k], squeezed(src, corner, k, 0, widths[k], 10))) << "frame " << k;
  EXPECT_TRUE(testutil::isSolid(ws.mFrames[5], corner));
  const int heights[4] = {2, 4, 6, 8};  // frames 6 to 9
  for (int i = 0; i < 4; ++i)
    EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[6 + i], squeezed(src, corner, 0, 4 - i, 10, heights[i])))
        << "frame " << 6 + i;
  EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[0], src));
}

TEST(Elastic, A101PixelWideSourceRoundsTheWidths) {
  effects::WorkState ws;
  testutil::FakeHost host;
  const core::Picture src = gradient(101, 7);
  loadSource(ws, src);
  auto gen = effects::makeElasticGenerator();
  ASSERT_TRUE(runCompose(*gen, ws, host, true));
  const core::Color corner = src.pixel(0, 0);
  EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[1], squeezed(src, corner, 10, 0, 81, 7)));  // 80.8 -> 81
  EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[2], squeezed(src, corner, 20, 0, 61, 7)));  // 60.6 -> 61
  EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[4], squeezed(src, corner, 40, 0, 20, 7)));  // 20.2 -> 20
  // 0.8 * 7 = 5.6 -> 6 rows at top 0; 0.2 * 7 = 1.4 -> 1 row at top 3.
  EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[9], squeezed(src, corner, 0, 0, 101, 6)));
  EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[6], squeezed(src, corner, 0, 3, 101, 1)));
}

TEST(Elastic, MaskUsesTheBannerColourAndBuildsTheMaskFromEachFrame) {
  constexpr core::Color kCorner = 0x3366CC;
  constexpr core::Color kBanner = 0x00FF0F;
  effects::WorkState ws;
  testutil::FakeHost host;
  const core::Picture src = testutil::withCornerBlock(gradient(20, 10), 4, 3, kCorner);
  loadSource(ws, src);
  host.options.mask[core::kMaskElastic] = true;
  host.options.bannerColor = kBanner;
  auto gen = effects::makeElasticGenerator();
  ASSERT_TRUE(runCompose(*gen, ws, host, true));
  EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[0], testutil::modelMasked(src, kCorner, kBanner)));
  EXPECT_EQ(ws.mFrames[0].pixel(1, 1), kBanner & kCorner);
  EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[2],
                                      testutil::modelMasked(squeezed(src, kBanner, 4, 0, 12, 10), kCorner, kBanner)));
  EXPECT_TRUE(testutil::isSolid(ws.mFrames[5], kBanner));
  EXPECT_EQ(ws.picX.backColor(), kBanner);
}

TEST(Elastic, OneYieldBetweenTheLoopsAndAFullProgressLineInBothRuns) {
  effects::WorkState ws;
  const core::Picture src = gradient(30, 12);
  loadSource(ws, src);
  auto gen = effects::makeElasticGenerator();
  for (bool preview : {true, false}) {
    testutil::FakeHost host;
    std::vector<bool> filled;
    host.onYield = [&](int) {
      for (const auto& f : ws.mFrames) filled.push_back(!f.isEmpty());
    };
    ASSERT_TRUE(runCompose(*gen, ws, host, preview));
    EXPECT_EQ(host.yields, 1);
    EXPECT_EQ(filled, (std::vector<bool>{true, true, true, true, true, true, false, false, false, false}));
    EXPECT_EQ(host.progress, (std::vector<double>{0.0, 0.5, 1.0}));
  }
}

TEST(Elastic, PlaysInIndexOrderWithTwoDigitLabels) {
  auto gen = effects::makeElasticGenerator();
  const effects::PlaybackPlan plan = gen->playback(effects::Options{});
  EXPECT_EQ(plan.entries, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  ASSERT_EQ(plan.labels.size(), 10u);
  EXPECT_EQ(plan.labels[3], "BaseName-e-03.bmp");
  EXPECT_EQ(plan.intervalMs, 150);
  EXPECT_EQ(gen->fileOrder(), plan.entries);
}

}  // namespace
