#include <gtest/gtest.h>

#include <cmath>

#include "core/raster.h"
#include "effect_fixture.h"
#include "effects/mirror.h"

namespace {

// The one-pass mirror must give exactly what the general scaled drawing
// gives with negative extents, on every axis combination.
TEST(PaintMirrored, SamePixelsAsPaintPictureWithNegativeExtents) {
  const core::Picture pic = testutil::gradientPicture(7, 4);
  for (bool flipX : {false, true})
    for (bool flipY : {false, true}) {
      core::Surface fast(7, 4, 0x123456);
      core::Surface general(7, 4, 0x123456);
      effects::paintMirrored(fast, pic, flipX, flipY);
      core::PaintPicture(general, pic, flipX ? 6 : 0, flipY ? 3 : 0, flipX ? -7 : 7, flipY ? -4 : 4);
      EXPECT_TRUE(testutil::surfacesEqual(fast.image(), general.image())) << flipX << flipY;
    }
  core::Surface turned(7, 4);
  effects::paintMirrored(turned, pic, true, true);
  EXPECT_EQ(turned.point(6, 3), pic.pixel(0, 0));
  EXPECT_EQ(turned.point(0, 0), pic.pixel(6, 3));
}

TEST(RoundCoordinate, HalvesGoToTheEvenNeighbourLikeLrint) {
  for (float v : {0.0f, 0.5f, 1.5f, 2.5f, 0.49999997f, 0.50000006f, 199.5f, 998.5f, 999.49994f, 1000.5f, -0.5f, -1.5f,
                  -0.3f, 3.7f})
    EXPECT_EQ(effects::roundCoordinate(v), std::lrint(v)) << v;
}

}  // namespace
