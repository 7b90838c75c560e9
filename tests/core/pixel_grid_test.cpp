#include "core/pixel_grid.h"

#include <gtest/gtest.h>

#include "core/point_list.h"
#include "testutil.h"

using namespace core;

TEST(PixelGrid, ElementXYPlusOneHoldsPixelXYInBlueGreenRedOrder) {
  Surface s(3, 2, kBlack);
  s.setPixel(2, 1, rgb(0x11, 0x22, 0x33));
  PixelGrid grid(3, 2);
  bool failed = false;
  GetPixelGrid(s, grid, failed);
  EXPECT_FALSE(failed);
  EXPECT_EQ(grid.red(2, 2), 0x11);
  EXPECT_EQ(grid.green(2, 2), 0x22);
  EXPECT_EQ(grid.blue(2, 2), 0x33);
  EXPECT_EQ(grid.at(2, 2), 0x00112233u);
  EXPECT_EQ(grid.at(2, 1), 0u);
}

TEST(PixelGrid, RoundTripLeavesTheSurfaceUnchangedAndIgnoresTheSpareRowAndColumn) {
  Surface s = testutil::makeSurface(7, 5);
  const Picture before = s.image();
  PixelGrid grid(7, 5);
  bool failed = false;
  GetPixelGrid(s, grid, failed);
  for (int x = 0; x <= 7; ++x) grid.at(x, 0) = 0xFFFFFFFF;  // row 0: no picture data
  for (int y = 0; y <= 5; ++y) grid.at(7, y) = 0xFFFFFFFF;  // column w: none either
  PutPixelGrid(s, grid, failed);
  EXPECT_FALSE(failed);
  EXPECT_TRUE(testutil::surfacesEqual(s.image(), before));
}

TEST(PixelGrid, TooSmallGridOrEmptySurfaceFails) {
  Surface s = testutil::makeSurface(4, 4);
  PixelGrid small(3, 4);
  small.at(1, 1) = 42;
  bool failed = false;
  GetPixelGrid(s, small, failed);
  EXPECT_TRUE(failed);
  EXPECT_EQ(small.at(1, 1), 42u);
  failed = false;
  Surface empty;
  PixelGrid grid(0, 0);
  GetPixelGrid(empty, grid, failed);
  EXPECT_TRUE(failed);
}

TEST(BuildPointList, RowOrderWithColoursAndZeroedMovedPoints) {
  Surface s(2, 2, kBlack);
  s.setPixel(0, 0, 1);
  s.setPixel(1, 0, 2);
  s.setPixel(0, 1, 3);
  s.setPixel(1, 1, 4);
  std::vector<PixelPoint> points;
  std::vector<PixelPoint> moved(9, PixelPoint{5, 5, 5});
  BuildPointList(s, points, moved);
  ASSERT_EQ(points.size(), 4u);
  const float xs[] = {0, 1, 0, 1};
  const float ys[] = {0, 0, 1, 1};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(points[i].x, xs[i]);
    EXPECT_EQ(points[i].y, ys[i]);
    EXPECT_EQ(points[i].color, i + 1);
  }
  ASSERT_EQ(moved.size(), 4u);
  for (const auto& p : moved) {
    EXPECT_EQ(p.x, 0.0f);
    EXPECT_EQ(p.y, 0.0f);
    EXPECT_EQ(p.color, 0);
  }
}
