#include "gif/lzw_plan.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "gif/gif_stream.h"

namespace {

// The bytes of the image data of a one-image GIF coded with the greedy parse:
// everything after the 10-byte image descriptor up to the trailer.
std::size_t greedyImageBytes(std::vector<std::uint8_t> indices, int w, int h, int tableBits) {
  output::GifPalette palette(std::size_t{1} << tableBits, core::kBlack);
  std::vector<std::uint8_t> out;
  output::GifStream gif(out, false);
  const output::GifRect rect{0, 0, w, h};
  EXPECT_TRUE(gif.putScreen(w, h, &palette, false));
  const std::size_t before = out.size();
  EXPECT_TRUE(gif.putImage(rect, nullptr, indices));
  EXPECT_TRUE(gif.close());
  return out.size() - before - 10 - 1;  // image descriptor, trailer
}

TEST(LzwPlanner, PredictsTheGreedyCodersOutputSizeExactly) {
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
      EXPECT_EQ(planner.codedBytes(indices, tableBits), greedyImageBytes(indices, w, h, tableBits))
          << "bits " << tableBits << " pattern " << pattern;
    }
  }
}

output::PixelOptions options(std::initializer_list<std::pair<int, unsigned>> list) {
  output::PixelOptions o;
  o.count = 0;
  for (auto [index, cost] : list) {
    o.index[o.count] = static_cast<std::uint8_t>(index);
    o.cost[o.count] = cost;
    ++o.count;
  }
  return o;
}

TEST(LzwPlanner, ChoosesOnlyOfferedOptionsWithinTheBudget) {
  std::mt19937 rng(3);
  std::vector<output::PixelOptions> pixels;
  for (int i = 0; i < 6000; ++i) {
    const int own = i / 50 % 3;
    if (rng() % 2)
      pixels.push_back(options({{own, 0}, {7, 0}}));  // may be transparent
    else if (rng() % 3 == 0)
      pixels.push_back(options({{own, 0}, {(own + 1) % 3, 5}}));  // a close colour
    else
      pixels.push_back(options({{own, 0}}));
  }
  output::LzwPlanner planner;
  for (double budget : {0.0, 40.0, 1e9}) {
    std::vector<std::uint8_t> chosen;
    double spent = 0.0;
    const std::size_t bytes = planner.choose(pixels, budget, 3, chosen, spent);
    ASSERT_EQ(chosen.size(), pixels.size());
    double cost = 0.0;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
      int k = 0;
      while (k < pixels[i].count && pixels[i].index[k] != chosen[i]) ++k;
      ASSERT_LT(k, pixels[i].count) << "pixel " << i << " got an index it was not offered";
      cost += pixels[i].cost[k];
    }
    EXPECT_EQ(spent, cost);
    EXPECT_LE(spent, budget);
    EXPECT_EQ(bytes, planner.codedBytes(chosen, 3));
  }
}

TEST(LzwPlanner, SpendsTheBudgetToTurnStrayPixelsIntoARun) {
  // A run of index 0 with every 97th pixel 1, which may become 0 for 1 each.
  std::vector<output::PixelOptions> pixels;
  std::vector<std::uint8_t> own;
  int strays = 0;
  for (int i = 0; i < 20000; ++i) {
    const bool stray = i % 97 == 50;
    strays += stray;
    pixels.push_back(stray ? options({{1, 0}, {0, 1}}) : options({{0, 0}}));
    own.push_back(stray ? 1 : 0);
  }
  output::LzwPlanner planner;
  std::vector<std::uint8_t> chosen;
  double spent = 0.0;
  const std::size_t bytes = planner.choose(pixels, strays, 1, chosen, spent);
  EXPECT_EQ(spent, strays);
  EXPECT_EQ(std::count(chosen.begin(), chosen.end(), 0), 20000);
  EXPECT_LT(bytes, planner.codedBytes(own, 1));
  // Without a budget nothing changes.
  spent = 0.0;
  planner.choose(pixels, 0.0, 1, chosen, spent);
  EXPECT_EQ(chosen, own);
  EXPECT_EQ(spent, 0.0);
}

}  // namespace
