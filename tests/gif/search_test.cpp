// The fast searches of the coder against the plain scans they replace: the
// same answers, ties included.
#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <random>

#include "gif/lzw_encoder.h"
#include "gif/quantizer.h"

namespace {

// A palette of few distinct levels, so that many colours lie equally far
// from several entries, with repeated entries.
output::GifPalette coarsePalette(std::mt19937& rng, int size) {
  std::uniform_int_distribution<int> level(0, 8);
  output::GifPalette p;
  for (int i = 0; i < size; ++i) p.push_back(core::rgb(level(rng) * 32, level(rng) * 32, level(rng) * 32));
  p.push_back(p[static_cast<std::size_t>(size / 2)]);
  return p;
}

TEST(PaletteSearch, CloseColoursAreThoseAScanInPaletteOrderFinds) {
  std::mt19937 rng(7);
  std::uniform_int_distribution<int> channel(0, 255);
  for (int round = 0; round < 20; ++round) {
    const output::GifPalette palette = coarsePalette(rng, 1 + round * 12);
    const int radius = round % 2 == 0 ? 10 : 2000;
    output::CloseColours close(palette, radius);
    for (int n = 0; n < 400; ++n) {
      const core::Color c = n < 100 ? palette[static_cast<std::size_t>(n) % palette.size()] + 0x010101u * (n % 3)
                                    : core::rgb(channel(rng), channel(rng), channel(rng));
      int nearest = std::numeric_limits<int>::max();
      for (core::Color e : palette) nearest = std::min(nearest, core::squaredDistance(c, e));
      std::vector<int> expected;
      bool skipped = false;
      for (std::size_t i = 0; i < palette.size() && expected.size() < 2; ++i) {
        const int d = core::squaredDistance(c, palette[i]);
        if (d == nearest && !skipped) {
          skipped = true;
        } else if (d <= nearest + radius) {
          expected.push_back(static_cast<int>(i));
        }
      }
      const output::CloseColours::Close& got = close(c);
      ASSERT_EQ(got.count, expected.size()) << round << " " << n;
      for (std::size_t k = 0; k < expected.size(); ++k) EXPECT_EQ(got.index[k], expected[k]) << round << " " << n;
    }
  }
}

TEST(PaletteSearch, NearestIsTheFirstNearestEntry) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> channel(0, 255);
  for (int round = 0; round < 10; ++round) {
    const output::GifPalette palette = coarsePalette(rng, 2 + round * 25);
    output::NearestColour nearest(palette);
    for (int n = 0; n < 400; ++n) {
      const core::Color c = core::rgb(channel(rng) & ~15, channel(rng) & ~15, channel(rng) & ~15);
      std::size_t best = 0;
      for (std::size_t i = 1; i < palette.size(); ++i) {
        if (core::squaredDistance(c, palette[i]) < core::squaredDistance(c, palette[best])) best = i;
      }
      ASSERT_EQ(nearest.search(c), best);
      ASSERT_EQ(nearest(c), best);
    }
  }
}

// The shortest coding is the shortest of the separate codings it chooses
// among, for images that fill the table once, many times, or never.
TEST(LzwEncoder, ShortestIsTheShortestOfEachCoding) {
  std::mt19937 rng(3);
  for (const auto& [size, colours, runs] : {std::tuple{300, 4, 3}, std::tuple{40000, 5, 4}, std::tuple{60000, 256, 2},
                                             std::tuple{90000, 16, 1}, std::tuple{90000, 3, 60}}) {
    std::vector<std::uint8_t> indices;
    std::uniform_int_distribution<int> value(0, colours - 1), run(1, runs);
    while (indices.size() < static_cast<std::size_t>(size)) indices.insert(indices.end(), run(rng), value(rng));
    indices.resize(static_cast<std::size_t>(size));
    const int codeSize = output::lzwCodeSizeFor(indices);
    std::vector<std::uint8_t> expected;
    int bestFullFor = -1;
    for (int fullFor : {-1, 1024, 1 << 30}) {
      std::vector<std::uint8_t> coded;
      output::appendLzw(indices, codeSize, output::LzwParse::Greedy, coded, fullFor);
      if (expected.empty() || coded.size() < expected.size()) {
        expected = coded;
        bestFullFor = fullFor;
      }
    }
    std::vector<std::uint8_t> lookAhead;
    output::appendLzw(indices, codeSize, output::LzwParse::LookAhead, lookAhead, bestFullFor);
    if (lookAhead.size() < expected.size()) expected = lookAhead;
    std::vector<std::uint8_t> shortest;
    output::appendShortestLzw(indices, codeSize, shortest);
    EXPECT_EQ(shortest, expected) << size << " " << colours;
  }
}

}  // namespace
