#include <gtest/gtest.h>

#include <array>

#include "effect_fixture.h"
#include "effects/rotate.h"

namespace {

using core::EffectKind;
using testutil::gradientPicture;

class RotateFrames : public ::testing::Test, public testutil::EffectFixture {
 protected:
  // The colour of the single line in edge-on frame k, and checks that the
  // rest of the frame is `rest`.
  void expectLine(int k, bool vertical, core::Color line, core::Color rest) {
    const core::Picture& f = frame(k);
    for (int y = 0; y < f.height(); ++y)
      for (int x = 0; x < f.width(); ++x) {
        const bool onLine = vertical ? x == f.width() / 2 : y == f.height() / 2;
        ASSERT_EQ(f.pixel(x, y), onLine ? line : rest) << k << ": " << x << "," << y;
      }
  }
};

TEST_F(RotateFrames, EdgeOnFramesAreOneLineThroughTheCentre) {
  load(gradientPicture(101, 60));
  const core::Color corner = 0x000000;  // the gradient's corner
  host.options.axis = 1;
  ASSERT_TRUE(compose(EffectKind::Rotate, false));
  expectLine(0, true, corner, corner);  // without mask the frame is one colour
  host.options.mask[core::kMaskRotate] = true;
  host.options.bannerColor = 0x00FFFF;
  ASSERT_TRUE(compose(EffectKind::Rotate, false));
  expectLine(0, true, corner, 0x00FFFF);  // column 50, rows 0..59
  expectLine(6, true, corner, 0x00FFFF);
  host.options.axis = 0;
  ASSERT_TRUE(compose(EffectKind::Rotate, false));
  expectLine(0, false, corner, 0x00FFFF);  // row 30, columns 0..100
  expectLine(6, false, corner, 0x00FFFF);
}

TEST_F(RotateFrames, FaceOnFrameIsTheSourceScaledIntoTheMiddle) {
  load(gradientPicture(100, 100));
  host.options.mask[core::kMaskRotate] = true;
  host.options.bannerColor = 0xFF00FF;
  ASSERT_TRUE(compose(EffectKind::Rotate, false));
  const core::Picture& f = frame(3);
  const core::Picture& s = ws.picSource.picture();
  for (int i = 0; i < 100; ++i) {
    for (int edge : {4, 95}) {
      ASSERT_EQ(f.pixel(i, edge), 0xFF00FFu) << i;
      ASSERT_EQ(f.pixel(edge, i), 0xFF00FFu) << i;
    }
  }
  // 100 source pixels onto 90: the first takes pixel 0, the last the AND of
  // pixels 98 and 99 on both axes.
  EXPECT_EQ(f.pixel(5, 5), 0xFF00FFu & 0x000000u);  // the corner colour ANDed with the banner
  EXPECT_EQ(f.pixel(6, 5), s.pixel(1, 0));
  EXPECT_EQ(f.pixel(94, 94), s.pixel(98, 98) & s.pixel(99, 98) & s.pixel(98, 99) & s.pixel(99, 99));
}

TEST_F(RotateFrames, MirrorPartnersOnBothAxes) {
  load(gradientPicture(31, 17));
  for (int axis : {0, 1})
    for (bool mask : {false, true}) {
      host.options.axis = axis;
      host.options.mask[core::kMaskRotate] = mask;
      ASSERT_TRUE(compose(EffectKind::Rotate, false));
      for (auto [a, b] : std::array<std::pair<int, int>, 5>{{{10, 2}, {11, 1}, {9, 3}, {8, 4}, {7, 5}}})
        for (int y = 0; y < 17; ++y)
          for (int x = 0; x < 31; ++x) {
            const int mx = axis == 1 ? 30 - x : x;
            const int my = axis == 1 ? y : 16 - y;
            ASSERT_EQ(frame(a).pixel(mx, my), frame(b).pixel(x, y)) << a << "/" << b << " axis " << axis;
          }
    }
}

TEST_F(RotateFrames, SixtyDegreesAboutTheYAxisNarrowsAndLeansInPerspective) {
  load(gradientPicture(100, 60));
  host.options.axis = 1;
  ASSERT_TRUE(compose(EffectKind::Rotate, false));
  std::array<int, 100> columnHeight{};
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 100; ++x)
      if (frame(2).pixel(x, y) != 0) ++columnHeight[static_cast<std::size_t>(x)];
  for (int x = 0; x < 100; ++x) EXPECT_EQ(columnHeight[static_cast<std::size_t>(x)] > 0, x >= 11 && x <= 88) << x;
  EXPECT_GT(columnHeight[88], columnHeight[11]);
  // 120 degrees leans the other way.
  columnHeight.fill(0);
  for (int y = 0; y < 60; ++y)
    for (int x = 0; x < 100; ++x)
      if (frame(4).pixel(x, y) != 0) ++columnHeight[static_cast<std::size_t>(x)];
  EXPECT_LT(columnHeight[88], columnHeight[11]);
}

// The corners of a 101 x 60 card at 30 degrees: 0.45 across the axis, and
// along it 0.8134 at the left (top) edge and 0.9866 at the right (bottom).
TEST(ProjectPoints, PerspectiveFactorsAtThirtyDegrees) {
  const std::vector<core::PixelPoint> points{{0.0f, 0.0f, 0}, {100.0f, 59.0f, 0}};
  std::vector<core::PixelPoint> moved(2);
  effects::ProjectPoints(points, moved, 2, 101, 60, effects::rotateAngle(1), 1);
  EXPECT_EQ(moved[0].x, 27.774999618530273f);
  EXPECT_EQ(moved[0].y, 5.598076343536377f);
  EXPECT_EQ(moved[1].x, 72.7750015258789f);
  EXPECT_EQ(moved[1].y, 58.56174087524414f);
  effects::ProjectPoints(points, moved, 2, 101, 60, effects::rotateAngle(1), 0);
  EXPECT_EQ(moved[0].x, 9.423428535461426f);
  EXPECT_EQ(moved[0].y, 16.5f);
  EXPECT_EQ(moved[1].x, 99.19393157958984f);
  EXPECT_EQ(moved[1].y, 43.04999923706055f);
}

TEST(RotateOrder, FaceOnFrameIsFileZeroAndLabelsFollowTheFiles) {
  const auto g = effects::makeGenerator(EffectKind::Rotate);
  EXPECT_EQ(g->fileOrder(), (std::vector<int>{3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 1, 2}));
  const effects::PlaybackPlan plan = g->playback(effects::Options{});
  EXPECT_EQ(plan.intervalMs, 200);
  EXPECT_EQ(plan.entries, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}));
  EXPECT_EQ(plan.labels[0], "BaseName-r-09.bmp");
  EXPECT_EQ(plan.labels[3], "BaseName-r-00.bmp");
  EXPECT_EQ(plan.labels[11], "BaseName-r-08.bmp");
}

TEST_F(RotateFrames, StopWhilePlottingStoresThePartialFrameAndEnds) {
  load(gradientPicture(8, 5));
  std::string tag = "prev";
  host.onYield = [&](int n) {
    if (n == 3) tag.clear();
  };
  const auto g = effects::makeGenerator(EffectKind::Rotate);
  effects::RunContext ctx(ws, host, host.options, true, tag);
  EXPECT_FALSE(g->compose(ctx));
  EXPECT_EQ(host.yields, 3);
  for (int k : {0, 6, 2}) EXPECT_FALSE(frame(k).isEmpty()) << k;
  EXPECT_TRUE(frame(10).isEmpty());
}

}  // namespace
