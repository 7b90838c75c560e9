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

struct Rect {
  int x, y, w, h;
};

// The centred rectangles of scales 1, 0.8, 0.6, 0.4, 0.2 of a 101 x 60 frame.
constexpr Rect kRects101x60[5] = {
    {0, 0, 101, 60}, {10, 6, 81, 48}, {20, 12, 61, 36}, {30, 18, 40, 24}, {40, 24, 20, 12}};

class ZoomTest : public ::testing::Test {
 protected:
  void SetUp() override {
    gen = effects::makeZoomGenerator();
    source = gradient(101, 60);
    loadSource(ws, source);
  }
  std::unique_ptr<effects::Generator> gen;
  effects::WorkState ws;
  testutil::FakeHost host;
  core::Picture source;
};

TEST_F(ZoomTest, ReducedAndEnlargedRectanglesOf101x60WithoutMask) {
  ASSERT_TRUE(runCompose(*gen, ws, host, false));
  ASSERT_EQ(ws.mFrames.size(), 10u);
  const core::Color corner = source.pixel(0, 0);
  for (int k = 0; k < 5; ++k) {
    const Rect r = kRects101x60[k];
    core::Bitmap reduced(101, 60, corner);
    modelStretch(reduced, r.x, r.y, r.w, r.h, source, 0, 0, 101, 60);
    EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[k], core::Picture::fromBitmap(reduced))) << "frame " << k;
    if (k == 0) continue;
    core::Bitmap enlarged(101, 60);
    modelStretch(enlarged, 0, 0, 101, 60, source, r.x, r.y, r.w, r.h);
    EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[10 - k], core::Picture::fromBitmap(enlarged))) << "frame " << 10 - k;
  }
  EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[0], source));
  EXPECT_TRUE(testutil::isSolid(ws.mFrames[5], corner));
  // Shrinking ANDs the covered pixels: frame 1's bottom-right pixel (90, 53)
  // covers source columns 99 and 100 of rows 58 and 59.
  EXPECT_EQ(ws.mFrames[1].pixel(90, 53), core::rgb(99 & 100, 58 & 59, 157 & 158 & 159));
  EXPECT_EQ(ws.mFrames[1].pixel(91, 53), corner);
  EXPECT_EQ(ws.mFrames[1].pixel(90, 54), corner);
}

TEST_F(ZoomTest, MaskShowsTheBannerColourWhereTheCornerColourWas) {
  constexpr core::Color kCorner = 0x3366CC;
  constexpr core::Color kBanner = 0x00FF0F;
  source = testutil::withCornerBlock(source, 10, 6, kCorner);
  loadSource(ws, source);
  host.options.mask[core::kMaskZoom] = true;
  host.options.bannerColor = kBanner;
  ASSERT_TRUE(runCompose(*gen, ws, host, true));
  EXPECT_EQ(ws.mFrames[0].pixel(3, 2), 0x00660Cu);  // banner AND corner
  EXPECT_EQ(ws.mFrames[0].pixel(10, 6), source.pixel(10, 6));
  EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[0], testutil::modelMasked(source, kCorner, kBanner)));
  EXPECT_TRUE(testutil::isSolid(ws.mFrames[5], kBanner));
  // Outside the reduced picture picTurn shows the banner colour, which is
  // not the corner colour, so it stays.
  core::Bitmap turn(101, 60, kBanner);
  modelStretch(turn, 40, 24, 20, 12, source, 0, 0, 101, 60);
  EXPECT_TRUE(
      testutil::surfacesEqual(ws.mFrames[4], testutil::modelMasked(core::Picture::fromBitmap(turn), kCorner, kBanner)));
  EXPECT_EQ(ws.mFrames[4].pixel(0, 0), kBanner);
  EXPECT_EQ(ws.picX.backColor(), kBanner);
  EXPECT_EQ(ws.picTurn.backColor(), kBanner);
}

TEST_F(ZoomTest, OneYieldBetweenThePhasesAndTheProgressLine) {
  std::vector<bool> filledAtYield;
  host.onYield = [&](int) {
    for (const auto& f : ws.mFrames) filledAtYield.push_back(!f.isEmpty());
  };
  ASSERT_TRUE(runCompose(*gen, ws, host, true));
  EXPECT_EQ(host.yields, 1);
  EXPECT_EQ(filledAtYield, (std::vector<bool>{true, true, true, true, true, true, false, false, false, false}));
  EXPECT_EQ(host.progress, (std::vector<double>{0.0, 0.5, 1.0}));
  EXPECT_TRUE(host.progressVisible);
  EXPECT_FALSE(host.controlsEnabled);

  // The save leaves the line at half length.
  testutil::FakeHost saveHost;
  ws.emptyCache();
  ASSERT_TRUE(runCompose(*gen, ws, saveHost, false));
  EXPECT_EQ(saveHost.progress, (std::vector<double>{0.0, 0.5}));
  EXPECT_EQ(saveHost.yields, 1);
}

TEST_F(ZoomTest, PreviewAndSaveComposeTheSameFrames) {
  host.options.mask[core::kMaskZoom] = true;
  host.options.bannerColor = 0x123456;
  ASSERT_TRUE(runCompose(*gen, ws, host, true));
  const auto previewFrames = ws.mFrames;
  ASSERT_TRUE(runCompose(*gen, ws, host, false));
  for (int k = 0; k < 10; ++k) EXPECT_TRUE(testutil::surfacesEqual(previewFrames[k], ws.mFrames[k])) << k;
}

TEST(ZoomSmall, AScaledSizeOfZeroDrawsNothing) {
  effects::WorkState ws;
  testutil::FakeHost host;
  const core::Picture src = gradient(2, 2);  // 0.2 * 2 = 0.4 rounds to 0
  loadSource(ws, src);
  auto gen = effects::makeZoomGenerator();
  ASSERT_TRUE(runCompose(*gen, ws, host, false));
  EXPECT_TRUE(testutil::isSolid(ws.mFrames[4], src.pixel(0, 0)));  // reduced to 0 x 0
  EXPECT_TRUE(testutil::isSolid(ws.mFrames[6], src.pixel(0, 0)));  // enlarged from 0 x 0
  EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[0], src));
}

TEST(ZoomOrders, PlaybackRunsFromNineDownAndFilesFollowIt) {
  auto gen = effects::makeZoomGenerator();
  const effects::PlaybackPlan plan = gen->playback(effects::Options{});
  EXPECT_EQ(plan.entries, (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
  ASSERT_EQ(plan.labels.size(), 10u);
  EXPECT_EQ(plan.labels.front(), "BaseName-z-00.bmp");
  EXPECT_EQ(plan.labels[3], "BaseName-z-03.bmp");  // entry 6
  EXPECT_EQ(plan.labels.back(), "BaseName-z-09.bmp");
  EXPECT_EQ(plan.intervalMs, 150);
  EXPECT_EQ(gen->fileOrder(), (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
  EXPECT_FALSE(gen->backAndForth(effects::Options{}));
}

}  // namespace
