#include <gtest/gtest.h>

#include <cstdio>

#include "compose_fixture.h"
#include "core/effect_kind.h"
#include "core/hsv.h"
#include "effects/generators.h"
#include "effects/hue_step.h"
#include "testutil.h"

namespace {

using effects::HueStep;
using effects::hueStepColor;
using effects::kHueConvergence;
using effects::kHueRotation;

// The colour after frames 1..k of the run, each step working on the last.
core::Color afterFrames(core::Color c, int k, int type, int hueX = 0) {
  for (int i = 1; i <= k; ++i) c = hueStepColor(c, HueStep{i, type, hueX});
  return c;
}

float hueOf(core::Color c) {
  core::HSV hsv;
  hsv.Red = static_cast<std::int16_t>(core::redOf(c));
  hsv.Green = static_cast<std::int16_t>(core::greenOf(c));
  hsv.Blue = static_cast<std::int16_t>(core::blueOf(c));
  hsv.ToHsv();
  return hsv.Hue;
}

TEST(HueStep, RotationTurnsPureRedBy15Then45Then90Degrees) {
  const core::Color red = core::rgb(255, 0, 0);
  EXPECT_EQ(afterFrames(red, 1, kHueRotation), core::rgb(255, 63, 0));   // hue 15
  EXPECT_EQ(afterFrames(red, 2, kHueRotation), core::rgb(255, 191, 0));  // hue 45
  EXPECT_EQ(afterFrames(red, 3, kHueRotation), core::rgb(127, 255, 0));  // hue 90
  EXPECT_EQ(afterFrames(red, 4, kHueRotation), core::rgb(0, 255, 127));  // hue 150
}

TEST(HueStep, RotationWrapsAndRoundsTheSum) {
  // (255, 0, 42) has hue 350.12: + 15 = 365.12, rounded 365, modulo 360 = 5.
  const core::Color c = core::rgb(255, 0, 42);
  ASSERT_NEAR(hueOf(c), 350.12, 0.01);
  EXPECT_EQ(hueStepColor(c, HueStep{1, kHueRotation, 0}), core::rgb(255, 21, 0));
  EXPECT_FLOAT_EQ(hueOf(hueStepColor(c, HueStep{1, kHueRotation, 0})), 4.9411764f);
}

TEST(HueStep, ConvergenceMovesRedTowards240) {
  const core::Color red = core::rgb(255, 0, 0);
  // Frame 1: 0 - (0 - 240) / 12 * 1 = 20.
  EXPECT_EQ(afterFrames(red, 1, kHueConvergence, 240), core::rgb(255, 85, 0));
  // Frame 2: 20 + 220 / 12 * 2 = 56.67.
  EXPECT_EQ(afterFrames(red, 2, kHueConvergence, 240), core::rgb(255, 241, 0));
  // By frame 11 the hue sits on the target within a degree or so.
  EXPECT_NEAR(hueOf(afterFrames(red, 11, kHueConvergence, 240)), 240.0, 1.5);
}

TEST(HueStep, BlackAndWhiteStayAndGreyLosesOneStepInConvergence) {
  for (int type : {kHueRotation, kHueConvergence})
    for (int k = 1; k <= 11; ++k) {
      EXPECT_EQ(afterFrames(core::kBlack, k, type, 100), core::kBlack);
      EXPECT_EQ(afterFrames(core::kWhite, k, type, 100), core::kWhite);
    }
  const core::Color grey = core::rgb(128, 128, 128);
  EXPECT_EQ(hueStepColor(grey, HueStep{1, kHueRotation, 0}), grey);
  EXPECT_EQ(hueStepColor(grey, HueStep{1, kHueConvergence, 0}), core::rgb(127, 127, 127));
  // Neither mode selected: unchanged.
  EXPECT_EQ(hueStepColor(core::rgb(10, 200, 30), HueStep{3, 2, 0}), core::rgb(10, 200, 30));
}

// Both vector kernels must give every colour what the reference gives it.
TEST(HueStep, VectorKernelsMatchOneAtATime) {
  std::vector<core::Color> colours;
  for (int r = 0; r < 256; r += 5)
    for (int g = 0; g < 256; g += 3)
      for (int b = 0; b < 256; b += 7) colours.push_back(core::rgb(r, g, b));
  for (int v = 0; v < 256; ++v) colours.push_back(core::rgb(v, v, v));
  colours.push_back(core::rgb(1, 2, 3));  // an odd count exercises the tail
  const HueStep steps[] = {
      {1, kHueRotation, 0},      {7, kHueRotation, 0},       {11, kHueRotation, 0},     {1, kHueConvergence, 0},
      {5, kHueConvergence, 240}, {11, kHueConvergence, 359}, {3, kHueConvergence, 120}, {2, 5, 0}};
  if (!effects::hueStepHasWideKernel()) std::printf("note: no AVX2 here, only the four-lane kernel is checked\n");
  for (effects::HueKernel kernel : {effects::HueKernel::Baseline, effects::HueKernel::Best})
    for (const HueStep& step : steps) {
      std::vector<core::Color> out(colours.size());
      effects::hueStepColors(colours.data(), out.data(), colours.size(), step, kernel);
      for (std::size_t i = 0; i < colours.size(); ++i)
        if (out[i] != hueStepColor(colours[i], step)) {
          ADD_FAILURE() << std::hex << "colour " << colours[i] << " step k=" << std::dec << step.k << " type "
                        << step.hueType << " hueX " << step.hueX << ": " << std::hex << out[i] << " vs "
                        << hueStepColor(colours[i], step);
          break;
        }
    }
}

// Flat runs reuse the last four results; every pixel must still get its own
// colour's result, also where a run ends inside a group of four.
TEST(HueStep, ApplyHueStepGivesEveryPixelItsColoursResult) {
  core::Surface s = testutil::makeSurface(701, 30);
  core::Color* px = s.mutableBits();
  for (int i = 0; i < 701 * 30; ++i)
    if ((i / 9) % 3 == 0) px[i] = core::rgb(200, 40, 90);  // runs of 9 across group borders
  const core::Picture before = s.image();
  for (const HueStep& step : {HueStep{4, kHueRotation, 0}, HueStep{9, kHueConvergence, 200}}) {
    core::Surface work = s;
    effects::ApplyHueStep(work, step);
    for (int y = 0; y < 30; ++y)
      for (int x = 0; x < 701; ++x)
        ASSERT_EQ(work.point(x, y), hueStepColor(before.pixel(x, y), step)) << x << ", " << y;
  }
}

class HueRun : public ::testing::Test {
 protected:
  void SetUp() override {
    // A red picture on a blue background, with a white and a grey pixel.
    core::Bitmap b(6, 4, core::rgb(0, 0, 255));
    b.row(1)[1] = core::rgb(255, 0, 0);
    b.row(1)[2] = core::rgb(255, 0, 0);
    b.row(2)[3] = core::kWhite;
    b.row(2)[4] = core::rgb(128, 128, 128);
    source = core::Picture::fromBitmap(std::move(b));
    testutil::loadSource(ws, source);
  }
  effects::WorkState ws;
  testutil::FakeHost host;
  core::Picture source;
  std::unique_ptr<effects::Generator> gen = effects::makeHueGenerator();
};

TEST_F(HueRun, WithoutMaskTheBackgroundTurnsWithThePicture) {
  host.options.hueType = kHueRotation;
  ASSERT_TRUE(testutil::runCompose(*gen, ws, host, true));
  ASSERT_EQ(ws.mFrames.size(), 12u);
  EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[0], source));
  for (int k = 1; k <= 11; ++k) {
    const core::Picture& f = ws.mFrames[static_cast<std::size_t>(k)];
    EXPECT_EQ(f.pixel(0, 0), afterFrames(core::rgb(0, 0, 255), k, kHueRotation)) << k;
    EXPECT_EQ(f.pixel(1, 1), afterFrames(core::rgb(255, 0, 0), k, kHueRotation)) << k;
    EXPECT_EQ(f.pixel(3, 2), core::kWhite);
    EXPECT_EQ(f.pixel(4, 2), core::rgb(128, 128, 128));
  }
  EXPECT_EQ(ws.mFrames[3].pixel(1, 1), core::rgb(127, 255, 0));
}

TEST_F(HueRun, WithMaskTheCornerColourShowsTheBannerColour) {
  host.options.hueType = kHueConvergence;
  host.options.hueX = 120;
  host.options.mask[core::kMaskHue] = true;
  host.options.bannerColor = core::kWhite;
  ASSERT_TRUE(testutil::runCompose(*gen, ws, host, false));
  // Frame 0: the corner colour ANDed with white is the corner colour itself.
  EXPECT_TRUE(testutil::surfacesEqual(ws.mFrames[0], source));
  // Later frames: the background is no longer the corner colour after the
  // step, so it turns like the picture (only pixels equal to the original
  // corner colour would be masked).
  const core::Color blue5 = afterFrames(core::rgb(0, 0, 255), 5, kHueConvergence, 120);
  ASSERT_NE(blue5, core::rgb(0, 0, 255));
  EXPECT_EQ(ws.mFrames[5].pixel(0, 0), blue5);
  EXPECT_EQ(ws.mFrames[5].pixel(4, 2), core::rgb(127, 127, 127));
}

TEST_F(HueRun, ProgressAndAYieldBeforeEveryFrame) {
  std::vector<std::size_t> filledAtYield;
  host.onYield = [&](int) {
    std::size_t n = 0;
    for (const auto& f : ws.mFrames) n += f.isEmpty() ? 0 : 1;
    filledAtYield.push_back(n);
  };
  ASSERT_TRUE(testutil::runCompose(*gen, ws, host, false));
  EXPECT_EQ(host.yields, 12);
  EXPECT_EQ(filledAtYield, (std::vector<std::size_t>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  ASSERT_EQ(host.progress.size(), 14u);
  EXPECT_EQ(host.progress[0], 0.0);
  EXPECT_DOUBLE_EQ(host.progress[4], 3.0 / 12);
  EXPECT_EQ(host.progress.back(), 1.0);
}

TEST(HueOrders, ConvergencePlaysBackAndForth) {
  auto gen = effects::makeHueGenerator();
  effects::Options options;
  options.hueType = kHueRotation;
  EXPECT_EQ(gen->playback(options).entries, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_FALSE(gen->backAndForth(options));
  options.hueType = kHueConvergence;
  const effects::PlaybackPlan plan = gen->playback(options);
  EXPECT_EQ(plan.entries, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
  EXPECT_EQ(plan.labels[11], "BaseName-h-11.bmp");
  EXPECT_EQ(plan.labels[21], "BaseName-h-01.bmp");
  EXPECT_EQ(plan.intervalMs, 150);
  EXPECT_TRUE(gen->backAndForth(options));
}

}  // namespace
