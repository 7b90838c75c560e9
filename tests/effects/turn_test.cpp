#include <gtest/gtest.h>

#include <cmath>

#include "core/point_list.h"
#include "effect_fixture.h"
#include "effects/turn.h"

namespace {

using core::EffectKind;
using testutil::Dot;
using testutil::dotsPicture;
using testutil::gradientPicture;

TEST(TurnAngles, SinglePrecisionFromSinglePi) {
  EXPECT_EQ(effects::turnAngle(1), 0.5235988f);
  EXPECT_EQ(effects::turnAngle(2), 1.0471976f);
  EXPECT_EQ(effects::turnAngle(3), 1.5707964f);
  EXPECT_EQ(effects::turnAngle(4), 2.0943952f);
  EXPECT_EQ(effects::turnAngle(5), 2.6179938f);
}

TEST(TurnPlayback, TwoDigitLabelsInIndexOrderEvery200Ms) {
  const effects::PlaybackPlan plan = effects::makeGenerator(EffectKind::Turn)->playback(effects::Options{});
  EXPECT_EQ(plan.intervalMs, 200);
  EXPECT_EQ(plan.entries, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(plan.labels[7], "BaseName-t-07.bmp");
  EXPECT_EQ(plan.labels[11], "BaseName-t-11.bmp");
}

TEST(RotatePoints, CentreStaysAndQuarterTurnIsCounterClockwise) {
  core::Surface s(5, 4);
  s.setPicture(gradientPicture(5, 4));
  std::vector<core::PixelPoint> points;
  std::vector<core::PixelPoint> moved;
  core::BuildPointList(s, points, moved);
  for (int k = 1; k <= 5; ++k) {
    effects::RotatePoints(points, moved, 20, 2.0f, 2.0f, effects::turnAngle(k));
    EXPECT_EQ(moved[2 * 5 + 2].x, 2.0f);
    EXPECT_EQ(moved[2 * 5 + 2].y, 2.0f);
  }
  // A quarter turn takes the point right of the centre to the one above it.
  effects::RotatePoints(points, moved, 20, 2.0f, 2.0f, effects::turnAngle(3));
  EXPECT_EQ(std::lrint(moved[2 * 5 + 3].x), 2);
  EXPECT_EQ(std::lrint(moved[2 * 5 + 3].y), 1);
  EXPECT_EQ(moved[2 * 5 + 3].color, 0);  // colours are not touched
}

class TurnFrames : public ::testing::Test, public testutil::EffectFixture {
 protected:
  std::string stopTag = "prev";
};

TEST_F(TurnFrames, HalfTurnFramesMirrorTheirPartners) {
  load(gradientPicture(7, 5));
  ASSERT_TRUE(compose(EffectKind::Turn, false));
  EXPECT_TRUE(testutil::surfacesEqual(frame(0), ws.picSource.picture()));
  for (int k = 0; k < 6; ++k)
    for (int y = 0; y < 5; ++y)
      for (int x = 0; x < 7; ++x) ASSERT_EQ(frame(k + 6).pixel(6 - x, 4 - y), frame(k).pixel(x, y)) << k;
}

TEST_F(TurnFrames, CentreOfAnEvenPictureMovesUpLeftInTheHalfTurn) {
  load(dotsPicture(4, 4, core::kWhite, {{2, 2, 0x00FF00}}));
  ASSERT_TRUE(compose(EffectKind::Turn, false));
  EXPECT_EQ(frame(6).pixel(1, 1), 0x00FF00u);
  EXPECT_EQ(frame(6).pixel(2, 2), core::kWhite);
}

// A 1 x 5 column turned about (0, 2): at 30 degrees only the points of rows
// 2 and 3 stay inside, at (0, 2) and (0.5, 2.866), and each is drawn twice,
// the second time one row lower; at 90 degrees only row 2 stays, drawn once.
TEST_F(TurnFrames, SecondPlotOneRowLowerExceptAtNinetyDegrees) {
  const core::Color bg = 0x101010;
  load(dotsPicture(1, 5, bg, {{0, 1, 0x000011}, {0, 2, 0x000022}, {0, 3, 0x000033}, {0, 4, 0x000044}}));
  ASSERT_TRUE(compose(EffectKind::Turn, false));
  const core::Color turned30[5] = {bg, bg, 0x000022, 0x000033, 0x000033};
  const core::Color turned90[5] = {bg, bg, 0x000022, bg, bg};
  for (int y = 0; y < 5; ++y) {
    EXPECT_EQ(frame(1).pixel(0, y), turned30[y]) << y;
    EXPECT_EQ(frame(3).pixel(0, y), turned90[y]) << y;
  }
}

// In a 2 x 2 picture turned by 60 degrees the top-right point lands at
// (0.134, 0.5): the first plot rounds to row 0, the second to round(1.5) = 2,
// outside, rather than simply to the next row.
TEST_F(TurnFrames, SecondPlotRoundsTheShiftedPosition) {
  load(dotsPicture(2, 2, 0x000000, {{1, 0, 0x000033}, {0, 1, 0x000018}, {1, 1, 0x000034}}));
  ASSERT_TRUE(compose(EffectKind::Turn, false));
  EXPECT_EQ(frame(2).pixel(0, 0), 0x000033u);
  EXPECT_EQ(frame(2).pixel(1, 0), 0x000000u);
  EXPECT_EQ(frame(2).pixel(0, 1), 0x000000u);
  EXPECT_EQ(frame(2).pixel(1, 1), 0x000034u);
}

TEST_F(TurnFrames, SinglePixelShowsInEveryFrame) {
  load(dotsPicture(1, 1, 0x345678, {}));
  ASSERT_TRUE(compose(EffectKind::Turn, false));
  for (int k = 0; k < 12; ++k) EXPECT_EQ(frame(k).pixel(0, 0), 0x345678u) << k;
  host.options.mask[core::kMaskTurn] = true;
  host.options.bannerColor = 0x0F0F0F;
  ASSERT_TRUE(compose(EffectKind::Turn, false));
  for (int k = 0; k < 12; ++k) EXPECT_EQ(frame(k).pixel(0, 0), 0x0F0F0Fu & 0x345678u) << k;
}

TEST_F(TurnFrames, MaskShowsTheBannerWhereNoPointLands) {
  load(dotsPicture(9, 9, core::kWhite, {{4, 1, 0x0000FF}}));
  host.options.mask[core::kMaskTurn] = true;
  host.options.bannerColor = 0x00FF00;
  ASSERT_TRUE(compose(EffectKind::Turn, false));
  EXPECT_EQ(frame(3).pixel(1, 4), 0x0000FFu);  // a quarter turn takes the top to the left
  EXPECT_EQ(frame(3).pixel(4, 1), 0x00FF00u);
  EXPECT_EQ(frame(1).pixel(0, 0), 0x00FF00u);  // a corner no point reaches
}

TEST_F(TurnFrames, StopInsideFrameOneKeepsTheFramesMadeBefore) {
  load(gradientPicture(6, 4));
  host.onYield = [this](int n) {
    if (n == 24 + 5) stopTag.clear();  // frame 2 has 24 points; stop in frame 1
  };
  const auto g = effects::makeGenerator(EffectKind::Turn);
  effects::RunContext ctx(ws, host, host.options, true, stopTag);
  EXPECT_FALSE(g->compose(ctx));
  EXPECT_EQ(host.yields, 29);
  for (int k : {0, 6, 2, 8, 1}) EXPECT_FALSE(frame(k).isEmpty()) << k;
  for (int k : {3, 4, 5, 7, 9, 10, 11}) EXPECT_TRUE(frame(k).isEmpty()) << k;
  EXPECT_EQ(host.progress.size(), 5u);
}

}  // namespace
