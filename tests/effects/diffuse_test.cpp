#include <gtest/gtest.h>

#include <cmath>

#include "compose_fixture.h"
#include "core/effect_kind.h"
#include "effects/diffuse.h"
#include "effects/generators.h"
#include "testutil.h"

namespace {

using testutil::gradient;
using testutil::isSolid;
using testutil::loadSource;
using testutil::runCompose;

constexpr int kSand = 0;
constexpr int kLightUp = 1;
constexpr int kLightDown = 2;

class Diffuse : public ::testing::Test {
 protected:
  bool run(const core::Picture& src, bool preview) {
    loadSource(ws, src);
    return runCompose(*gen, ws, host, preview);
  }
  // The frames "Sand" should give, replaying the random numbers from `rng`:
  // frames 1 to 4 each add highest / 2 + 1 grains to the previous picture.
  std::vector<core::Picture> modelSand(const core::Picture& src, effects::RandomSource rng, core::Color grain,
                                       bool mask, core::Color back) {
    const int w = src.width();
    const long long highest = static_cast<long long>(w) * src.height() - 1;
    core::Bitmap turn = *src.bitmap();
    std::vector<core::Picture> frames;
    for (int k = 0; k <= 4; ++k) {
      if (k > 0)
        for (long long g = 0; g <= highest / 2; ++g) {
          const long long r = std::llrint(rng.next() * static_cast<double>(highest));
          turn.row(static_cast<int>(r / w))[r % w] = grain;
        }
      const core::Picture p = core::Picture::fromBitmap(turn);
      frames.push_back(mask ? testutil::modelMasked(p, src.pixel(0, 0), back) : p);
    }
    return frames;
  }

  effects::WorkState ws;
  testutil::FakeHost host;
  std::unique_ptr<effects::Generator> gen = effects::makeDiffuseGenerator();
};

TEST_F(Diffuse, LightUpOnBlackRaisesEveryChannelBy51PerFrame) {
  host.options.diffuseType = kLightUp;
  ASSERT_TRUE(run(testutil::solid(7, 3, core::kBlack), false));
  ASSERT_EQ(ws.mFrames.size(), 6u);
  for (int k = 0; k <= 5; ++k) EXPECT_TRUE(isSolid(ws.mFrames[k], core::rgb(51 * k, 51 * k, 51 * k))) << k;
}

TEST_F(Diffuse, ChannelsClampInsteadOfWrapping) {
  const core::Picture src = testutil::solid(4, 4, core::rgb(200, 10, 255));
  host.options.diffuseType = kLightUp;
  ASSERT_TRUE(run(src, false));
  EXPECT_TRUE(isSolid(ws.mFrames[2], core::rgb(255, 112, 255)));  // 200 + 102 is 255, not 46
  host.options.diffuseType = kLightDown;
  ASSERT_TRUE(run(src, false));
  EXPECT_TRUE(isSolid(ws.mFrames[2], core::rgb(98, 0, 153)));
  EXPECT_TRUE(isSolid(ws.mFrames[4], core::rgb(0, 0, 51)));

  core::Surface s(2, 1, core::rgb(100, 200, 0));
  effects::AdjustBrightness(s, 102);
  EXPECT_EQ(s.point(1, 0), core::rgb(202, 255, 102));
}

TEST_F(Diffuse, FrameFiveIsPlainWhiteOrBlackBackgroundIncluded) {
  host.options.mask[core::kMaskDiffuse] = true;
  host.options.bannerColor = 0x2040FF;
  host.options.diffuseType = kLightUp;
  ASSERT_TRUE(run(gradient(9, 5), true));
  EXPECT_TRUE(isSolid(ws.mFrames[5], core::kWhite));
  host.options.diffuseType = kLightDown;
  ASSERT_TRUE(run(gradient(9, 5), true));
  EXPECT_TRUE(isSolid(ws.mFrames[5], core::kBlack));
  // Frame 0 is the picture through the mask: the black corner pixel turns
  // into banner AND black.
  EXPECT_EQ(ws.mFrames[0].pixel(0, 0), core::kBlack);
  EXPECT_EQ(ws.mFrames[0].pixel(3, 2), gradient(9, 5).pixel(3, 2));
}

TEST_F(Diffuse, SandDrawsHalfTheHighestIndexPlusOneGrainsPerFrame) {
  const core::Picture src = gradient(10, 10);  // highest 99: 50 grains a frame
  const effects::RandomSource start = ws.rng;
  ASSERT_TRUE(run(src, false));
  effects::RandomSource replay = start;
  for (int i = 0; i < 4 * 50; ++i) replay.next();
  EXPECT_EQ(ws.rng.next(), replay.next());

  // The save paints the grains in the corner colour.
  const auto expected = modelSand(src, start, src.pixel(0, 0), false, 0);
  for (int k = 0; k <= 4; ++k) EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[k], expected[k])) << k;
  EXPECT_TRUE(isSolid(ws.mFrames[5], src.pixel(0, 0)));
}

TEST_F(Diffuse, PreviewGrainsShowTheBannerColourSavedGrainsTurnIntoBackground) {
  constexpr core::Color kBanner = 0x44CC88;
  const core::Picture src = testutil::withCornerBlock(gradient(12, 8), 2, 2, 0x101010);
  host.options.mask[core::kMaskDiffuse] = true;
  host.options.bannerColor = kBanner;

  effects::RandomSource start = ws.rng;
  ASSERT_TRUE(run(src, true));
  auto expected = modelSand(src, start, kBanner, true, kBanner);
  for (int k = 0; k <= 4; ++k) EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[k], expected[k])) << "preview " << k;
  EXPECT_TRUE(isSolid(ws.mFrames[5], kBanner));

  start = ws.rng;  // the sequence continues; it is never re-seeded
  ASSERT_TRUE(run(src, false));
  expected = modelSand(src, start, 0x101010, true, kBanner);
  for (int k = 0; k <= 4; ++k) EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[k], expected[k])) << "save " << k;
  EXPECT_TRUE(isSolid(ws.mFrames[5], kBanner));
}

TEST_F(Diffuse, SandOnOnePixelPaintsItOncePerFrame) {
  constexpr core::Color kBanner = 0x0000FF;
  const core::Picture src = testutil::solid(1, 1, 0x00FF00);
  host.options.bannerColor = kBanner;
  ASSERT_TRUE(run(src, true));
  EXPECT_EQ(ws.mFrames[0].pixel(0, 0), 0x00FF00u);
  for (int k = 1; k <= 5; ++k) EXPECT_EQ(ws.mFrames[k].pixel(0, 0), kBanner) << k;
  ASSERT_TRUE(run(src, false));
  for (int k = 0; k <= 5; ++k) EXPECT_EQ(ws.mFrames[k].pixel(0, 0), 0x00FF00u) << k;
}

TEST_F(Diffuse, ProgressAndAYieldAfterEveryFrame) {
  std::vector<std::size_t> filledAtYield;
  host.onYield = [&](int) {
    std::size_t n = 0;
    for (const auto& f : ws.mFrames) n += f.isEmpty() ? 0 : 1;
    filledAtYield.push_back(n);
  };
  ASSERT_TRUE(run(gradient(5, 5), true));
  EXPECT_EQ(filledAtYield, (std::vector<std::size_t>{1, 2, 3, 4, 5, 6}));
  ASSERT_EQ(host.progress.size(), 7u);
  EXPECT_EQ(host.progress[0], 0.0);
  EXPECT_DOUBLE_EQ(host.progress[1], 1.0 / 6);
  EXPECT_EQ(host.progress[6], 1.0);
}

TEST(DiffuseOrders, ForwardThenBackward) {
  auto gen = effects::makeDiffuseGenerator();
  const effects::PlaybackPlan plan = gen->playback(effects::Options{});
  EXPECT_EQ(plan.entries, (std::vector<int>{0, 1, 2, 3, 4, 5, 5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(plan.labels[5], "BaseName-d-05.bmp");
  EXPECT_EQ(plan.labels[6], "BaseName-d-05.bmp");
  EXPECT_EQ(plan.intervalMs, 150);
  EXPECT_EQ(gen->fileOrder(), (std::vector<int>{0, 1, 2, 3, 4, 5}));
  EXPECT_FALSE(gen->backAndForth(effects::Options{}));
}

}  // namespace
