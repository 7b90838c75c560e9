#include "play/gif_interval.h"

#include <gtest/gtest.h>

namespace {

using output::parseGifInterval;

TEST(GifInterval, ListEntriesAndTypedValues) {
  EXPECT_EQ(parseGifInterval("0.05"), 5);
  EXPECT_EQ(parseGifInterval("0.10"), 10);
  EXPECT_EQ(parseGifInterval("0.1"), 10);
  EXPECT_EQ(parseGifInterval("0.30"), 30);
  EXPECT_EQ(parseGifInterval("0.70"), 70);
  EXPECT_EQ(parseGifInterval("1.10"), 110);
  EXPECT_EQ(parseGifInterval("1.50"), 150);
  EXPECT_EQ(parseGifInterval("2"), 200);
  EXPECT_EQ(parseGifInterval(".5"), 50);
  EXPECT_EQ(parseGifInterval("5."), 500);
  EXPECT_EQ(parseGifInterval("1e-1"), 10);
  EXPECT_EQ(parseGifInterval("+0.2"), 20);
  EXPECT_EQ(parseGifInterval(" 0.4 "), 40);
}

TEST(GifInterval, HalvesGoToTheEvenNeighbour) {
  EXPECT_EQ(parseGifInterval("0.125"), 12);
  EXPECT_EQ(parseGifInterval("0.375"), 38);
  EXPECT_EQ(parseGifInterval("0.005"), 0);  // 0.5 in float, rounds to 0
  EXPECT_EQ(parseGifInterval("0.015"), 2);  // 1.5 in float
}

TEST(GifInterval, SixteenBitLimit) {
  EXPECT_EQ(parseGifInterval("327.67"), 32767);
  EXPECT_EQ(parseGifInterval("327.674"), 32767);
  EXPECT_EQ(parseGifInterval("327.675"), 32767);         // 32767.498 in float
  EXPECT_EQ(parseGifInterval("327.676"), std::nullopt);  // 32767.6 rounds to 32768
  EXPECT_EQ(parseGifInterval("327.68"), std::nullopt);
  EXPECT_EQ(parseGifInterval("400"), std::nullopt);
  EXPECT_EQ(parseGifInterval("1e39"), std::nullopt);  // too large for a float
}

TEST(GifInterval, NoNumberIsRefused) {
  for (const char* text : {"", " ", "abc", "0.1s", "1,5", "..5", "1e", "e5", "-", "+", "inf", "nan", "0x10", "１"}) {
    EXPECT_EQ(parseGifInterval(text), std::nullopt) << "text: " << text;
  }
}

TEST(GifInterval, NegativeIntervalsAreRefusedZeroIsNot) {
  EXPECT_EQ(parseGifInterval("-1"), std::nullopt);
  EXPECT_EQ(parseGifInterval("-0.05"), std::nullopt);
  EXPECT_EQ(parseGifInterval("-0.001"), std::nullopt);
  EXPECT_EQ(parseGifInterval("0"), 0);
  EXPECT_EQ(parseGifInterval("0.00"), 0);
  EXPECT_EQ(parseGifInterval("-0"), 0);
  EXPECT_EQ(parseGifInterval("1e-50"), 0);  // too small for a float: zero
}

}  // namespace
