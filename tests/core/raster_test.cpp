#include "core/raster.h"

#include <gtest/gtest.h>

#include "testutil.h"

using namespace core;

namespace {

Surface filled(int w, int h, Color c) { return Surface(w, h, c); }

}  // namespace

TEST(BitBlt, RasterOperationsActBitwise) {
  Surface src = filled(2, 1, 0x0F0F0F);
  Surface dst = filled(2, 1, 0x00FF00);
  BitBlt(dst, 0, 0, 1, 1, src, 0, 0, SRCPAINT);
  EXPECT_EQ(dst.point(0, 0), 0x0FFF0Fu);
  BitBlt(dst, 0, 0, 1, 1, src, 0, 0, SRCAND);
  EXPECT_EQ(dst.point(0, 0), 0x0F0F0Fu);
  BitBlt(dst, 1, 0, 1, 1, src, 0, 0, SRCAND);
  EXPECT_EQ(dst.point(1, 0), 0x000F00u);
  dst.setPixel(0, 0, 0x123456);
  BitBlt(dst, 0, 0, 1, 1, src, 0, 0, SRCCOPY);
  EXPECT_EQ(dst.point(0, 0), 0x0F0F0Fu);
}

TEST(BitBlt, DestinationStaysWhereTheSourcePositionIsOutsideTheSource) {
  // A 500 x 100 picture seen through a source offset of (-100, 0), as Slide's
  // frame 4 does: frame columns 0..99 keep the cleared colour, columns
  // 100..499 show picture columns 0..399.
  Surface src = testutil::makeSurface(500, 100);
  Surface dst = filled(500, 100, 0x0000FF);
  BitBlt(dst, 0, 0, 500, 100, src, -100, 0, SRCCOPY);
  for (int y = 0; y < 100; y += 33) {
    EXPECT_EQ(dst.point(0, y), 0x0000FFu);
    EXPECT_EQ(dst.point(99, y), 0x0000FFu);
    EXPECT_EQ(dst.point(100, y), src.point(0, y));
    EXPECT_EQ(dst.point(499, y), src.point(399, y));
  }
  // And beyond the right and bottom edges of the source.
  Surface dst2 = filled(4, 4, 0x0000FF);
  Surface small = testutil::makeSurface(2, 2);
  BitBlt(dst2, 0, 0, 4, 4, small, 1, 1, SRCCOPY);
  EXPECT_EQ(dst2.point(0, 0), small.point(1, 1));
  EXPECT_EQ(dst2.point(1, 0), 0x0000FFu);
  EXPECT_EQ(dst2.point(0, 1), 0x0000FFu);
}

TEST(BitBlt, OverlappingCopyWithinOneSurfaceReadsTheOriginalPixels) {
  Surface s = testutil::makeSurface(5, 1);
  const Picture before = s.image();
  BitBlt(s, 1, 0, 4, 1, s, 0, 0, SRCCOPY);
  for (int x = 1; x < 5; ++x) EXPECT_EQ(s.point(x, 0), before.pixel(x - 1, 0));
}

TEST(StretchBlt, ScaleOneIsAnExactCopy) {
  Surface src = testutil::makeSurface(37, 11);
  Surface dst = filled(37, 11, 0);
  StretchBlt(dst, 0, 0, 37, 11, src, 0, 0, 37, 11);
  EXPECT_TRUE(testutil::surfacesEqual(dst.image(), src.image()));
}

TEST(StretchBlt, ShrinkingCombinesSourcePixelsWithAnd) {
  Surface src = filled(4, 2, 0);
  src.setPixel(0, 0, 0xF0F0F0);
  src.setPixel(1, 0, 0x3C3C3C);
  src.setPixel(0, 1, 0xFFFFFF);
  src.setPixel(1, 1, 0xFFFFF0);
  src.setPixel(2, 0, 0xFFFFFF);
  src.setPixel(3, 0, 0xFFFFFF);
  src.setPixel(2, 1, 0xFFFFFF);
  src.setPixel(3, 1, 0xFFFFFF);
  Surface dst = filled(2, 1, 0x123456);
  StretchBlt(dst, 0, 0, 2, 1, src, 0, 0, 4, 2);
  EXPECT_EQ(dst.point(0, 0), 0x303030u);  // F0 & 3C & FF & F0
  EXPECT_EQ(dst.point(1, 0), 0xFFFFFFu);  // a white block stays white: masks keep working
}

TEST(StretchBlt, EnlargingRepeatsTheNearestSourcePixel) {
  Surface src = testutil::makeSurface(2, 1);
  Surface dst = filled(6, 1, 0);
  StretchBlt(dst, 0, 0, 6, 1, src, 0, 0, 2, 1);
  for (int x = 0; x < 6; ++x) EXPECT_EQ(dst.point(x, 0), src.point(x / 3, 0)) << x;
}

TEST(StretchBlt, ReducedCopyLandsInItsRectangleOnly) {
  // Zoom's frame 1 of a 101 x 60 picture: 81 x 48 at (10, 6).
  Surface src = testutil::makeSurface(101, 60);
  Surface dst = filled(101, 60, 0x00FF00);
  StretchBlt(dst, 10, 6, 81, 48, src, 0, 0, 101, 60);
  EXPECT_EQ(dst.point(9, 30), 0x00FF00u);
  EXPECT_EQ(dst.point(91, 30), 0x00FF00u);
  EXPECT_EQ(dst.point(50, 5), 0x00FF00u);
  EXPECT_EQ(dst.point(50, 54), 0x00FF00u);
  EXPECT_EQ(dst.point(10, 6), src.point(0, 0));  // the corner takes the source corner alone
  EXPECT_NE(dst.point(90, 53), 0x00FF00u);
}

TEST(StretchBlt, OppositeSignsMirror) {
  Surface src;
  src.resize(6, 5);
  src.setPicture(testutil::asymmetricF());
  Surface dst = filled(6, 5, 0);
  StretchBlt(dst, 5, 0, -6, 5, src, 0, 0, 6, 5);  // left-right
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(dst.point(5 - x, y), src.point(x, y));
  StretchBlt(dst, 0, 0, 6, 5, src, 0, 4, 6, -5);  // source extent negative: top-bottom
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(dst.point(x, 4 - y), src.point(x, y));
}

TEST(PaintPicture, NegativeExtentsTurnThePictureAboutItsCentre) {
  const Picture f = testutil::asymmetricF();
  Surface dst = filled(6, 5, 0);
  PaintPicture(dst, f, 5, 4, -6, -5);
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x) EXPECT_EQ(dst.point(5 - x, 4 - y), f.pixel(x, y));
}

TEST(PaintPicture, RoundsFractionalRectanglesHalfToEven) {
  // 100 x 100 scaled by 0.9 at 5% margins: 90 x 90 at (5, 5).
  Surface src = testutil::makeSurface(100, 100);
  Surface dst = filled(100, 100, 0x0000FF);
  PaintPicture(dst, src.image(), 100 * 0.05, 100 * 0.05, 100 * 0.9, 100 * 0.9);
  EXPECT_EQ(dst.point(4, 50), 0x0000FFu);
  EXPECT_EQ(dst.point(95, 50), 0x0000FFu);
  EXPECT_EQ(dst.point(50, 95), 0x0000FFu);
  EXPECT_EQ(dst.point(5, 5), src.point(0, 0));
  // 2.5 rounds to 2: a 3-wide picture at x = 2.5 starts at column 2.
  Surface narrow = filled(6, 1, 0);
  PaintPicture(narrow, Picture::fromBitmap(Bitmap(3, 1, 0x111111)), 2.5, 0, 3, 1);
  EXPECT_EQ(narrow.point(1, 0), 0u);
  EXPECT_EQ(narrow.point(2, 0), 0x111111u);
  EXPECT_EQ(narrow.point(4, 0), 0x111111u);
  EXPECT_EQ(narrow.point(5, 0), 0u);
}

TEST(Line, SpansTheSurfaceAndSkipsOutsidePixels) {
  Surface s = filled(101, 60, 0xFFFFFF);
  Line(s, 0, 30, 101, 30, 0x0000FF);
  for (int x = 0; x < 101; ++x) EXPECT_EQ(s.point(x, 30), 0x0000FFu);
  EXPECT_EQ(s.point(50, 29), 0xFFFFFFu);
  Surface v = filled(101, 60, 0xFFFFFF);
  Line(v, 50, 0, 50, 60, 0x00FF00);
  for (int y = 0; y < 60; ++y) EXPECT_EQ(v.point(50, y), 0x00FF00u);
  EXPECT_EQ(v.point(49, 10), 0xFFFFFFu);
  EXPECT_EQ(v.point(51, 10), 0xFFFFFFu);
}

TEST(Line, EndPointIsNotDrawn) {
  Surface s = filled(5, 5, 0);
  Line(s, 0, 0, 3, 3, 0xFFFFFF);
  EXPECT_EQ(s.point(2, 2), 0xFFFFFFu);
  EXPECT_EQ(s.point(3, 3), 0u);
}
