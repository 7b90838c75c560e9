#include "core/surface.h"

#include <gtest/gtest.h>

#include "testutil.h"

using core::Color;
using core::Picture;
using core::Surface;

namespace {

Picture solid(int w, int h, Color c) { return Picture::fromBitmap(core::Bitmap(w, h, c)); }

}  // namespace

TEST(Surface, AssigningPictureFillsBackColorAndDrawsClippedAtOrigin) {
  Surface s(4, 3, 0x00FF00);
  s.setPixel(3, 2, 0x123456);
  s.setPicture(solid(2, 2, 0x0000FF));
  // Drawn before is lost; the picture covers (0..1, 0..1); the rest is BackColor.
  EXPECT_EQ(s.point(0, 0), 0x0000FFu);
  EXPECT_EQ(s.point(1, 1), 0x0000FFu);
  EXPECT_EQ(s.point(2, 0), 0x00FF00u);
  EXPECT_EQ(s.point(3, 2), 0x00FF00u);

  s.setPicture(solid(10, 10, 0xABCDEF));  // larger than the surface: clipped
  EXPECT_EQ(s.width(), 4);
  EXPECT_EQ(s.point(3, 2), 0xABCDEFu);
}

TEST(Surface, SettingBackColorRefillsAndRedrawsPicture) {
  Surface s(3, 1, core::kWhite);
  s.setPicture(solid(1, 1, 0x111111));
  s.setPixel(2, 0, 0x222222);
  s.setBackColor(0x333333);
  EXPECT_EQ(s.point(0, 0), 0x111111u);
  EXPECT_EQ(s.point(1, 0), 0x333333u);
  EXPECT_EQ(s.point(2, 0), 0x333333u);  // the drawn pixel is gone
}

TEST(Surface, ClearingAssignsTheEmptyPicture) {
  Surface s(2, 2, 0x445566);
  s.setPicture(solid(2, 2, 1));
  EXPECT_NE(s.picture().handle(), 0u);
  s.clear();
  EXPECT_EQ(s.picture().handle(), 0u);
  EXPECT_EQ(s.point(1, 1), 0x445566u);
}

TEST(Surface, ImageIsASnapshotThatLaterDrawingDoesNotChange) {
  Surface s(2, 2, core::kBlack);
  const Picture before = s.image();
  EXPECT_NE(before.handle(), 0u);
  s.setPixel(0, 0, 0x0000FF);
  EXPECT_EQ(before.pixel(0, 0), core::kBlack);
  EXPECT_EQ(s.image().pixel(0, 0), 0x0000FFu);

  // A picture shared by assignment is not written through either.
  const Picture frame = solid(2, 2, 0x00FF00);
  s.setPicture(frame);
  s.setPixel(1, 1, 0xFF0000);
  EXPECT_EQ(frame.pixel(1, 1), 0x00FF00u);
  EXPECT_EQ(s.point(1, 1), 0xFF0000u);
}

TEST(Surface, PixelsOutsideTheSurface) {
  Surface s(2, 2, core::kWhite);
  s.setPixel(-1, 0, 0);
  s.setPixel(2, 1, 0);
  s.setPixel(0, 2, 0);
  EXPECT_EQ(s.image().bitmap()->px, core::PixelVector(4, core::kWhite));
  EXPECT_EQ(s.point(2, 0), core::kInvalidColor);
  EXPECT_EQ(s.point(0, -1), core::kInvalidColor);
}

TEST(Surface, StoresSystemColoursAsTheirRgbValue) {
  Surface s(1, 1, core::kButtonFace);
  EXPECT_EQ(s.backColor(), core::kButtonFace);
  EXPECT_EQ(s.point(0, 0), core::resolveColor(core::kButtonFace));
  EXPECT_EQ(s.point(0, 0) & 0xFF000000u, 0u);
}

TEST(Surface, ResizeKeepsTheOverlapAndFillsNewAreaWithBackColor) {
  Surface s(2, 1, 0x010101);
  s.setPixel(1, 0, 0x0A0A0A);
  s.resize(3, 2);
  EXPECT_EQ(s.point(1, 0), 0x0A0A0Au);
  EXPECT_EQ(s.point(2, 0), 0x010101u);
  EXPECT_EQ(s.point(0, 1), 0x010101u);
  s.resize(1, 1);
  EXPECT_EQ(s.width(), 1);
  EXPECT_EQ(s.point(1, 0), core::kInvalidColor);
}

TEST(Surface, ClearForOverwriteLeavesAnEmptyPictureAndTheNewBackColor) {
  Surface s(2, 1, core::kWhite);
  s.setPicture(Picture::fromBitmap(core::Bitmap(2, 1, 0x010203)));
  const Picture before = s.image();
  Color* px = s.clearForOverwrite(0x0000FF);
  px[0] = 7;
  px[1] = 8;
  EXPECT_EQ(s.picture().handle(), 0u);
  EXPECT_EQ(s.backColor(), 0x0000FFu);
  EXPECT_EQ(s.point(1, 0), 8u);
  EXPECT_EQ(before.pixel(0, 0), 0x010203u);  // the snapshot is not written through
  s.clear();
  EXPECT_EQ(s.point(0, 0), 0x0000FFu);
  // Written whole through bitsForOverwrite, the surface keeps its picture
  // and back colour, and a snapshot taken before stays as it was.
  s.setPicture(Picture::fromBitmap(core::Bitmap(2, 1, 0x040506)));
  const Picture shared = s.image();
  Color* whole = s.bitsForOverwrite();
  whole[0] = 9;
  whole[1] = 10;
  EXPECT_EQ(s.point(0, 0), 9u);
  EXPECT_EQ(s.backColor(), 0x0000FFu);
  EXPECT_NE(s.picture().handle(), 0u);
  EXPECT_EQ(shared.pixel(1, 0), 0x040506u);
}
