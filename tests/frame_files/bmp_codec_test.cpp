#include "frame_files/bmp_codec.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "frame_files/file_io.h"
#include "testutil.h"

namespace {

using output::decodeBmp;
using output::encodeBmp;

core::Bitmap pattern(int w, int h) {
  core::Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b.row(y)[x] = core::rgb(x * 37 + 1, y * 53 + 2, (x ^ y) * 11 + 3);
  }
  return b;
}

TEST(BmpEncode, HeaderAndPaddedBottomUpRows) {
  core::Bitmap b(3, 2);
  b.row(0)[0] = core::rgb(1, 2, 3);  // top-left
  b.row(1)[2] = core::rgb(7, 8, 9);  // bottom-right
  const std::vector<std::uint8_t> f = encodeBmp(b);
  // 3 pixels * 3 bytes = 9, padded to 12 per row.
  ASSERT_EQ(f.size(), 54u + 24u);
  EXPECT_EQ(f[0], 'B');
  EXPECT_EQ(f[1], 'M');
  EXPECT_EQ(f[2], 78);   // file size
  EXPECT_EQ(f[10], 54);  // pixel offset
  EXPECT_EQ(f[14], 40);  // BITMAPINFOHEADER
  EXPECT_EQ(f[18], 3);   // width
  EXPECT_EQ(f[22], 2);   // height, positive: bottom-up
  EXPECT_EQ(f[28], 24);  // bits per pixel
  EXPECT_EQ(f[30], 0);   // BI_RGB
  EXPECT_EQ(f[34], 24);  // image size
  // First stored row is the bottom one: its third pixel is (7,8,9) as B,G,R.
  EXPECT_EQ(f[54 + 6], 9);
  EXPECT_EQ(f[54 + 7], 8);
  EXPECT_EQ(f[54 + 8], 7);
  EXPECT_EQ(f[54 + 9], 0);  // padding
  // Second stored row is the top one.
  EXPECT_EQ(f[66], 3);
  EXPECT_EQ(f[67], 2);
  EXPECT_EQ(f[68], 1);
}

TEST(BmpRoundTrip, OddWidthsAndOnePixel) {
  for (auto [w, h] : {std::pair{1, 1}, {2, 3}, {5, 4}, {7, 1}, {468, 60}}) {
    const core::Bitmap b = pattern(w, h);
    const std::optional<core::Bitmap> back = decodeBmp(encodeBmp(b));
    ASSERT_TRUE(back) << w << "x" << h;
    EXPECT_EQ(back->width, w);
    EXPECT_EQ(back->height, h);
    EXPECT_EQ(back->px, b.px) << w << "x" << h;
  }
}

TEST(BmpRoundTrip, TopByteOfAColourIsNotStored) {
  core::Bitmap b(1, 1, 0xAB123456);
  EXPECT_EQ(decodeBmp(encodeBmp(b))->px[0], 0x00123456u);
}

// Patches a little-endian 32-bit field.
void set32(std::vector<std::uint8_t>& f, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) f[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

TEST(BmpDecode, MalformedOrTruncatedFilesAreRefused) {
  const std::vector<std::uint8_t> good = encodeBmp(pattern(5, 4));
  ASSERT_TRUE(decodeBmp(good));
  for (std::size_t cut : {0ul, 1ul, 2ul, 13ul, 14ul, 53ul, 54ul, good.size() - 1}) {
    std::vector<std::uint8_t> f(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(cut));
    EXPECT_FALSE(decodeBmp(f)) << "cut at " << cut;
  }
  auto patched = [&](std::size_t at, std::uint32_t v) {
    std::vector<std::uint8_t> f = good;
    set32(f, at, v);
    return f;
  };
  EXPECT_FALSE(decodeBmp(patched(0, 0x4D42 + 1)));          // not "BM"
  EXPECT_FALSE(decodeBmp(patched(10, 1000)));               // pixels beyond the end
  EXPECT_FALSE(decodeBmp(patched(10, 20)));                 // pixels inside the header
  EXPECT_FALSE(decodeBmp(patched(14, 12)));                 // OS/2 core header
  EXPECT_FALSE(decodeBmp(patched(14, 0xFFFFFFFF)));         // absurd header size
  EXPECT_FALSE(decodeBmp(patched(18, 0)));                  // zero width
  EXPECT_FALSE(decodeBmp(patched(18, 0xFFFFFFFB)));         // negative width
  EXPECT_FALSE(decodeBmp(patched(18, 3000000)));            // huge width
  EXPECT_FALSE(decodeBmp(patched(22, 0)));                  // zero height
  EXPECT_FALSE(decodeBmp(patched(22, 0x80000000)));         // INT_MIN height
  EXPECT_FALSE(decodeBmp(patched(22, 5)));                  // one row more than stored
  EXPECT_FALSE(decodeBmp(patched(26, 2 | (24u << 16))));    // two planes
  EXPECT_FALSE(decodeBmp(patched(26, 1 | (8u << 16))));     // palette file
  EXPECT_FALSE(decodeBmp(patched(30, 1)));                  // RLE8
}

TEST(BmpDecode, TopDownAnd32Bit) {
  // A 2 x 2 top-down 32-bit file written by hand.
  std::vector<std::uint8_t> f(54 + 16, 0);
  f[0] = 'B';
  f[1] = 'M';
  set32(f, 2, 70);
  set32(f, 10, 54);
  set32(f, 14, 40);
  set32(f, 18, 2);
  set32(f, 22, static_cast<std::uint32_t>(-2));
  set32(f, 26, 1 | (32u << 16));
  const std::uint8_t px[16] = {1, 2, 3, 0xFF, 4, 5, 6, 0, 7, 8, 9, 0, 10, 11, 12, 0};
  std::copy(px, px + 16, f.begin() + 54);
  const std::optional<core::Bitmap> b = decodeBmp(f);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->row(0)[0], core::rgb(3, 2, 1));  // first stored row is the top one
  EXPECT_EQ(b->row(0)[1], core::rgb(6, 5, 4));
  EXPECT_EQ(b->row(1)[1], core::rgb(12, 11, 10));
}

TEST(BmpDecode, OutsideFilesNeverCrashAndTruncatedOnesAreRefused) {
  const std::filesystem::path data = testutil::testdataDir();
  if (data.empty()) GTEST_SKIP() << "PICTORELL_TESTDATA not set";
  int decoded = 0;
  for (const char* sub : {"bmpsuite/g", "bmpsuite/q", "bmpsuite/b", "size-limits"}) {
    for (const auto& e : std::filesystem::directory_iterator(data / sub)) {
      const auto bytes = output::readWholeFile(e.path().string(), 64u << 20);
      ASSERT_TRUE(bytes) << e.path();
      if (decodeBmp(*bytes)) ++decoded;
    }
  }
  EXPECT_GT(decoded, 5);
  for (const char* name : {"trunc-20b-bmp-468x60.bmp", "trunc-half-bmp-468x60.bmp", "empty.bmp"}) {
    const auto bytes = output::readWholeFile((data / "size-limits" / name).string(), 1u << 20);
    ASSERT_TRUE(bytes) << name;
    EXPECT_FALSE(decodeBmp(*bytes)) << name;
  }
  const auto good = output::readWholeFile((data / "bmpsuite/g/rgb24.bmp").string(), 1u << 20);
  ASSERT_TRUE(good);
  const auto b = decodeBmp(*good);
  ASSERT_TRUE(b);
  EXPECT_EQ(b->width, 127);
  EXPECT_EQ(b->height, 64);
}

}  // namespace
