#include "output/lzw_plan.h"

#include <gtest/gtest.h>

#include <random>

#include "output/gif_stream.h"

namespace {

// The bytes giflib wrote for the image data of a one-image GIF: everything
// after the 10-byte image descriptor up to the trailer.
std::size_t giflibImageBytes(std::vector<std::uint8_t> indices, int w, int h, int tableBits) {
  output::GifPalette palette(std::size_t{1} << tableBits, core::kBlack);
  std::vector<std::uint8_t> out;
  output::GifStream gif(out);
  const output::GifRect rect{0, 0, w, h};
  EXPECT_TRUE(gif.putScreen(w, h, &palette, false));
  const std::size_t before = out.size();
  EXPECT_TRUE(gif.putImage(rect, nullptr, indices));
  EXPECT_TRUE(gif.close());
  return out.size() - before - 10 - 1;  // image descriptor, trailer
}

TEST(LzwPlanner, PredictsGiflibsOutputSizeExactly) {
  std::mt19937 rng(7);
  output::LzwPlanner planner;
  for (int tableBits : {1, 2, 4, 8}) {
    for (int pattern = 0; pattern < 3; ++pattern) {
      const int w = 173, h = 61;  // long enough for several dictionary resets
      std::vector<std::uint8_t> indices(static_cast<std::size_t>(w * h));
      for (std::size_t i = 0; i < indices.size(); ++i) {
        const unsigned r = rng();
        const unsigned v = pattern == 0 ? r : pattern == 1 ? (i / 37) : (r % 5 == 0 ? r : i % 11);
        indices[i] = static_cast<std::uint8_t>(v & ((1u << tableBits) - 1));
      }
      EXPECT_EQ(planner.codedBytes(indices, tableBits), giflibImageBytes(indices, w, h, tableBits))
          << "bits " << tableBits << " pattern " << pattern;
    }
  }
}

TEST(LzwPlanner, ChangesOnlyFreePixelsAndOnlyToTransparent) {
  std::mt19937 rng(3);
  std::vector<std::uint8_t> want(5000), isFree(5000);
  for (std::size_t i = 0; i < want.size(); ++i) {
    want[i] = static_cast<std::uint8_t>(i / 50 % 3);
    isFree[i] = rng() % 2;
  }
  output::LzwPlanner planner;
  std::vector<std::uint8_t> chosen;
  const std::size_t bytes = planner.chooseFree(want, isFree, 7, 3, chosen);
  ASSERT_EQ(chosen.size(), want.size());
  for (std::size_t i = 0; i < want.size(); ++i) {
    if (!isFree[i]) ASSERT_EQ(chosen[i], want[i]) << i;
    else ASSERT_TRUE(chosen[i] == want[i] || chosen[i] == 7) << i;
  }
  EXPECT_EQ(bytes, planner.codedBytes(chosen, 3));
}

}  // namespace
