#include "core/hsv.h"

#include <gtest/gtest.h>

#include <tuple>

using core::HSV;

namespace {

std::tuple<float, float, float> toHsv(int r, int g, int b) {
  HSV c;
  c.Red = static_cast<std::int16_t>(r);
  c.Green = static_cast<std::int16_t>(g);
  c.Blue = static_cast<std::int16_t>(b);
  c.ToHsv();
  return {c.Hue, c.Saturation, c.Value};
}

std::tuple<int, int, int> toRgb(float h, float s, float v) {
  HSV c;
  c.Hue = h;
  c.Saturation = s;
  c.Value = v;
  c.ToRgb();
  return {c.Red, c.Green, c.Blue};
}

}  // namespace

TEST(HSV, PrimariesWhiteAndBlack) {
  EXPECT_EQ(toHsv(255, 0, 0), std::make_tuple(0.0f, 100.0f, 100.0f));
  EXPECT_EQ(std::get<0>(toHsv(0, 255, 0)), 120.0f);
  EXPECT_EQ(std::get<0>(toHsv(0, 0, 255)), 240.0f);
  EXPECT_EQ(toHsv(255, 255, 255), std::make_tuple(0.0f, 0.0f, 100.0f));
  EXPECT_EQ(toHsv(0, 0, 0), std::make_tuple(0.0f, 0.0f, 0.0f));
}

TEST(HSV, RedWinsATieForTheMaximum) {
  // Yellow: red and green tie; the red formula gives bc - gc = 1 - 0.
  EXPECT_EQ(std::get<0>(toHsv(255, 255, 0)), 60.0f);
  // Cyan: green and blue tie; green's formula gives 2 + rc - bc = 3.
  EXPECT_EQ(std::get<0>(toHsv(0, 255, 255)), 180.0f);
  // Magenta: red and blue tie; red's formula gives bc - gc = -1, folded to 300.
  EXPECT_EQ(std::get<0>(toHsv(255, 0, 255)), 300.0f);
}

TEST(HSV, HueOutOfRangeAndFolding) {
  EXPECT_EQ(toRgb(0, 100, 100), std::make_tuple(255, 0, 0));
  EXPECT_EQ(toRgb(360, 100, 100), std::make_tuple(255, 0, 0));
  EXPECT_EQ(toRgb(400, 100, 100), std::make_tuple(0, 0, 0));
  EXPECT_EQ(toRgb(-10, 100, 100), std::make_tuple(0, 0, 0));
}

TEST(HSV, ChannelScaleGivesFullAndHalfChannels) {
  EXPECT_EQ(toRgb(0, 0, 50), std::make_tuple(127, 127, 127));
  EXPECT_EQ(toRgb(0, 0, 100), std::make_tuple(255, 255, 255));
  EXPECT_EQ(toRgb(120, 100, 100), std::make_tuple(0, 255, 0));
  EXPECT_EQ(toRgb(240, 100, 100), std::make_tuple(0, 0, 255));
  EXPECT_EQ(toRgb(60, 100, 100), std::make_tuple(255, 255, 0));
}

TEST(HSV, SingleConversionRoundTripsEveryGreyAndEveryPrimaryRamp) {
  HSV c;
  for (int v = 0; v < 256; ++v) {
    for (const auto& rgb : {std::make_tuple(v, v, v), std::make_tuple(v, 0, 0), std::make_tuple(0, v, 0),
                            std::make_tuple(0, 0, v), std::make_tuple(255, v, 0), std::make_tuple(v, 255, 255)}) {
      c.Red = static_cast<std::int16_t>(std::get<0>(rgb));
      c.Green = static_cast<std::int16_t>(std::get<1>(rgb));
      c.Blue = static_cast<std::int16_t>(std::get<2>(rgb));
      c.ToHsv();
      c.ToRgb();
      EXPECT_EQ(std::make_tuple(int{c.Red}, int{c.Green}, int{c.Blue}), rgb);
    }
  }
}
