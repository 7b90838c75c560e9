#include "intake/image_adapter.h"

#include <gtest/gtest.h>

#include "testutil.h"

TEST(ImageAdapter, RoundTripKeepsEveryChannelInItsPlace) {
  const core::Picture f = testutil::asymmetricF();
  const QImage q = intake::toQImage(f);
  ASSERT_EQ(q.size(), QSize(6, 5));
  EXPECT_EQ(q.pixel(1, 0), qRgb(255, 0, 0));  // the "F" is red
  EXPECT_EQ(q.pixel(0, 0), qRgb(0, 0, 255));
  EXPECT_TRUE(testutil::surfacesEqual(intake::fromQImage(q), f));
}

TEST(ImageAdapter, TransparencyIsLaidOverWhite) {
  QImage q(2, 1, QImage::Format_ARGB32);
  q.setPixel(0, 0, qRgba(0, 0, 0, 0));
  q.setPixel(1, 0, qRgba(10, 20, 30, 255));
  const core::Picture p = intake::fromQImage(q);
  EXPECT_EQ(p.pixel(0, 0), core::kWhite);
  EXPECT_EQ(p.pixel(1, 0), core::rgb(10, 20, 30));
  EXPECT_TRUE(intake::fromQImage(QImage()).isEmpty());
}
