#include "core/mask.h"

#include <gtest/gtest.h>

#include "core/raster.h"
#include "testutil.h"

using namespace core;

namespace {

// A 4 x 3 picture on a corner colour `corner` with an object of two colours.
Surface pictureOn(Color corner) {
  Surface s(4, 3, corner);
  s.setPixel(1, 1, 0x00FF00);
  s.setPixel(2, 1, 0x0000FF);
  testutil::adoptAsPicture(s);
  return s;
}

// Composes picSource through its mask over a surface cleared to `back`.
Surface compose(const Surface& picSource, Color back, bool maskOn) {
  Surface picTurn(picSource.width(), picSource.height(), back);
  picTurn.setPicture(picSource.image());
  Surface picMask;
  PrepareMask(picSource, picTurn, picMask, maskOn);
  Surface picX(picSource.width(), picSource.height(), back);
  MaskThenSourceBlit(picX, picMask, picTurn, picSource.width(), picSource.height());
  return picX;
}

}  // namespace

TEST(BuildMask, WhiteWhereTheWorkingPictureDiffersFromTheCorner) {
  Surface src = pictureOn(kWhite);
  Surface mask(1, 1, 0x123456);
  BuildMask(src, src, mask);
  ASSERT_EQ(mask.width(), 4);
  ASSERT_EQ(mask.height(), 3);
  EXPECT_EQ(mask.point(0, 0), kBlack);
  EXPECT_EQ(mask.point(1, 1), kWhite);
  EXPECT_EQ(mask.point(2, 1), kWhite);
  EXPECT_EQ(mask.point(3, 2), kBlack);
}

TEST(BuildMask, DoesNothingWithoutASourcePicture) {
  Surface noPicture(4, 3, kWhite);
  Surface mask(2, 2, 0x123456);
  BuildMask(noPicture, noPicture, mask);
  EXPECT_EQ(mask.width(), 2);
  EXPECT_EQ(mask.point(1, 1), 0x123456u);
}

TEST(MaskedComposition, WhiteCornerOverRedShowsRedBackgroundAndExactObject) {
  const Surface src = pictureOn(kWhite);
  const Surface x = compose(src, 0x0000FF, true);
  EXPECT_EQ(x.point(0, 0), 0x0000FFu);
  EXPECT_EQ(x.point(3, 2), 0x0000FFu);
  EXPECT_EQ(x.point(1, 1), 0x00FF00u);
  EXPECT_EQ(x.point(2, 1), 0x0000FFu);
}

TEST(MaskedComposition, ColouredCornerMixesWithTheBackgroundByAnd) {
  const Color corner = 0x3366CC;
  const Color back = 0x0F0FF0;
  const Surface x = compose(pictureOn(corner), back, true);
  EXPECT_EQ(x.point(0, 0), back & corner);
  EXPECT_EQ(x.point(1, 1), 0x00FF00u);
}

TEST(MaskedComposition, MaskOffDrawsAnOpaqueRectangle) {
  const Surface src = pictureOn(0x3366CC);
  const Surface x = compose(src, 0x0F0FF0, false);
  EXPECT_TRUE(testutil::surfacesEqual(x.image(), src.image()));
}

TEST(MaskedComposition, UncoveredPixelsKeepTheClearedColour) {
  const Surface src = pictureOn(0x3366CC);
  Surface mask;
  PrepareMask(src, src, mask, false);
  Surface x(4, 3, 0x0000FF);
  MaskThenSourceBlit(x, mask, src, 4, 3, 2, 0);  // picture shifted two columns left
  EXPECT_EQ(x.point(0, 1), src.point(2, 1));
  EXPECT_EQ(x.point(1, 1), src.point(3, 1));
  EXPECT_EQ(x.point(2, 1), 0x0000FFu);
  EXPECT_EQ(x.point(3, 2), 0x0000FFu);
}

TEST(MaskedComposition, ObjectPixelOfTheCornerColourBecomesBackground) {
  Surface src = pictureOn(kWhite);
  src.setPixel(1, 1, kWhite);  // drawn after the picture; the working copy sees it
  Surface turn(4, 3, kWhite);
  turn.setPicture(src.image());
  Surface mask;
  BuildMask(src, turn, mask);
  EXPECT_EQ(mask.point(1, 1), kBlack);
}

TEST(PrepareMask, UntickedBoxGivesAnAllWhiteMask) {
  const Surface src = pictureOn(kWhite);
  Surface mask(1, 1, kBlack);
  PrepareMask(src, src, mask, false);
  ASSERT_EQ(mask.width(), 4);
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 4; ++x) EXPECT_EQ(mask.point(x, y), kWhite);
  PrepareMask(src, src, mask, true);
  EXPECT_EQ(mask.point(0, 0), kBlack);
  EXPECT_EQ(mask.point(1, 1), kWhite);
}
