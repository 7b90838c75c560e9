#include "intake/picture_header.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdint>
#include <initializer_list>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;
using intake::MemorySource;

void putLe(Bytes& b, std::uint32_t v, int n) {
  for (int i = 0; i < n; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void putBe16(Bytes& b, unsigned v) {
  b.push_back(static_cast<std::uint8_t>(v >> 8));
  b.push_back(static_cast<std::uint8_t>(v));
}

// File header plus the start of an info header of the given length.
Bytes bmp(std::uint32_t infoSize, std::int32_t w, std::int32_t h) {
  Bytes b = {'B', 'M'};
  putLe(b, 0, 4);
  putLe(b, 0, 4);
  putLe(b, 54, 4);
  putLe(b, infoSize, 4);
  const int fieldBytes = infoSize == 12 ? 2 : 4;
  putLe(b, static_cast<std::uint32_t>(w), fieldBytes);
  putLe(b, static_cast<std::uint32_t>(h), fieldBytes);
  b.resize(b.size() + 16, 0);
  return b;
}

intake::HeaderInfo readBmp(const Bytes& b) {
  MemorySource src(b.data(), b.size());
  return intake::readBmpHeader(src);
}

TEST(BmpHeader, ReadsEveryHeaderVersionAndMakesTopDownHeightsPositive) {
  for (std::uint32_t infoSize : {40u, 52u, 56u, 108u, 124u, 16u, 64u}) {
    const auto h = readBmp(bmp(infoSize, 1000, 200));
    ASSERT_TRUE(h.valid) << infoSize;
    EXPECT_EQ(h.width, 1000);
    EXPECT_EQ(h.height, 200);
  }
  const auto os2 = readBmp(bmp(12, 1001, 60));
  ASSERT_TRUE(os2.valid);
  EXPECT_EQ(os2.width, 1001);
  EXPECT_EQ(os2.height, 60);
  const auto topDown = readBmp(bmp(40, 1000, -201));
  ASSERT_TRUE(topDown.valid);
  EXPECT_EQ(topDown.height, 201);
  // The most negative height must not overflow when made positive.
  const auto extreme = readBmp(bmp(124, 3, INT_MIN));
  ASSERT_TRUE(extreme.valid);
  EXPECT_EQ(extreme.height, INT_MAX);
}

TEST(BmpHeader, RefusesNonsenseSizesAndShortHeaders) {
  EXPECT_FALSE(readBmp(bmp(40, -5, 10)).valid);
  EXPECT_FALSE(readBmp(bmp(40, 5, 0)).valid);
  EXPECT_FALSE(readBmp(bmp(8, 5, 5)).valid);
  Bytes shortFile = bmp(40, 5, 5);
  shortFile.resize(20);
  const auto h = readBmp(shortFile);
  EXPECT_FALSE(h.valid);
  EXPECT_EQ(h.problem, "BMP ファイルが途中で切れています。(ヘッダーが不完全です)");
}

// A GIF with a 2-entry global colour table, some extensions, then (unless
// imageW is 0) one image descriptor.
Bytes gif(unsigned screenW, unsigned screenH, int extensions, unsigned imageW, unsigned imageH) {
  Bytes b = {'G', 'I', 'F', '8', '9', 'a'};
  putLe(b, screenW, 2);
  putLe(b, screenH, 2);
  b.insert(b.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255});
  for (int i = 0; i < extensions; ++i) b.insert(b.end(), {0x21, 0xFE, 3, 'a', 'b', 'c', 2, 'd', 'e', 0});
  if (imageW == 0) {
    b.push_back(0x3B);
    return b;
  }
  b.push_back(0x2C);
  putLe(b, 7, 2);
  putLe(b, 9, 2);
  putLe(b, imageW, 2);
  putLe(b, imageH, 2);
  b.insert(b.end(), {0, 2, 2, 0x4C, 0x01, 0, 0x3B});
  return b;
}

intake::HeaderInfo readGif(const Bytes& b) {
  MemorySource src(b.data(), b.size());
  return intake::readGifHeader(src);
}

TEST(GifHeader, TakesTheScreenSizeAndTheFirstImageSize) {
  const auto h = readGif(gif(1000, 200, 3, 30, 40));
  ASSERT_TRUE(h.valid);
  EXPECT_EQ(h.width, 1000);
  EXPECT_EQ(h.height, 200);
  EXPECT_EQ(h.frameWidth, 30);
  EXPECT_EQ(h.frameHeight, 40);
  // A zero screen takes the first image's extent (offset 7, 9 included).
  const auto zero = readGif(gif(0, 0, 0, 30, 40));
  ASSERT_TRUE(zero.valid);
  EXPECT_EQ(zero.width, 37);
  EXPECT_EQ(zero.height, 49);
}

TEST(GifHeader, RefusesMissingImagesTruncationAndBlockFloods) {
  EXPECT_EQ(readGif(gif(10, 10, 1, 0, 0)).problem, "GIF ファイルに画像が含まれていません。");
  Bytes cut = gif(10, 10, 2, 5, 5);
  cut.resize(30);
  EXPECT_EQ(readGif(cut).problem, "GIF ファイルが途中で切れています。");
  EXPECT_TRUE(readGif(gif(10, 10, intake::kMaxGifBlocksBeforeImage, 5, 5)).valid);
  EXPECT_FALSE(readGif(gif(10, 10, intake::kMaxGifBlocksBeforeImage + 1, 5, 5)).valid);
  EXPECT_FALSE(readGif(gif(10, 10, 0, 5, 0)).valid);
}

// SOI, `comments` COM segments, SOF0 (w x h), `scans` SOS segments each with
// two bytes of data, then EOI.
Bytes jpeg(unsigned w, unsigned h, int comments, int scans = 1, std::uint8_t sof = 0xC0) {
  Bytes b = {0xFF, 0xD8};
  for (int i = 0; i < comments; ++i) b.insert(b.end(), {0xFF, 0xFE, 0x00, 0x03, 'x'});
  b.insert(b.end(), {0xFF, sof, 0x00, 0x0B, 8});
  putBe16(b, h);
  putBe16(b, w);
  b.insert(b.end(), {1, 1, 0x11, 0});
  for (int i = 0; i < scans; ++i) {
    b.insert(b.end(), {0xFF, 0xDA, 0x00, 0x08, 1, 1, 0, 0, 63, 0});
    b.insert(b.end(), {0x12, 0xFF, 0x00, 0x34, 0xFF, 0xD3});  // stuffed byte and a restart marker
  }
  b.insert(b.end(), {0xFF, 0xD9});
  return b;
}

intake::HeaderInfo readJpeg(const Bytes& b) {
  MemorySource src(b.data(), b.size());
  return intake::readJpegHeader(src);
}

std::string jpegScanProblem(const Bytes& b) {
  MemorySource src(b.data(), b.size());
  const auto h = intake::readJpegHeader(src);
  return h.valid ? intake::checkJpegScans(src, h.scanOffset) : "header: " + h.problem;
}

TEST(JpegHeader, FindsTheFrameSizeBehindOtherSegments) {
  const auto h = readJpeg(jpeg(65500, 65500, 5));
  ASSERT_TRUE(h.valid);
  EXPECT_EQ(h.width, 65500);
  EXPECT_EQ(h.height, 65500);
  const auto progressive = readJpeg(jpeg(468, 60, 0, 1, 0xC2));
  ASSERT_TRUE(progressive.valid);
  EXPECT_EQ(progressive.width, 468);
  EXPECT_EQ(jpegScanProblem(jpeg(468, 60, 0, intake::kMaxJpegScans)), "");
}

TEST(JpegHeader, RefusesMarkerAndScanFloodsAndBrokenFrames) {
  EXPECT_TRUE(readJpeg(jpeg(8, 8, intake::kMaxJpegSegmentsBeforeScan - 2)).valid);
  EXPECT_EQ(readJpeg(jpeg(8, 8, intake::kMaxJpegSegmentsBeforeScan)).problem,
            "JPEG ファイルの構造が不正です。(マーカーが多すぎます)");
  EXPECT_EQ(jpegScanProblem(jpeg(8, 8, 0, intake::kMaxJpegScans + 1)),
            "JPEG ファイルの構造が不正です。(スキャンが多すぎます)");
  EXPECT_EQ(readJpeg(jpeg(8, 0, 0)).problem, "JPEG ファイルの画像の大きさが不正です。");
  EXPECT_FALSE(readJpeg(Bytes{0xFF, 0xD8, 0xFF, 0xD9}).valid);              // no frame at all
  EXPECT_FALSE(readJpeg(Bytes{0xFF, 0xD8, 0xFF, 0xDA, 0x00, 0x02}).valid);  // scan before frame
  Bytes fill = {0xFF, 0xD8};
  fill.resize(2 + intake::kMaxJpegStrayBytes + 10, 0xFF);
  EXPECT_FALSE(readJpeg(fill).valid);
}

TEST(Sniff, DecidesByContentAndNamesWhatItRefuses) {
  auto sniff = [](const Bytes& b) {
    MemorySource src(b.data(), b.size());
    return intake::sniffFormat(src);
  };
  using intake::PictureFormat;
  EXPECT_EQ(sniff({}), PictureFormat::Empty);
  EXPECT_EQ(sniff(bmp(40, 1, 1)), PictureFormat::Bmp);
  EXPECT_EQ(sniff(gif(1, 1, 0, 1, 1)), PictureFormat::Gif);
  EXPECT_EQ(sniff(jpeg(1, 1, 0)), PictureFormat::Jpeg);
  EXPECT_EQ(sniff({0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n', 0}), PictureFormat::Png);
  EXPECT_EQ(sniff({'I', 'I', '*', 0, 8}), PictureFormat::Tiff);
  EXPECT_EQ(sniff({'G', 'I', 'F', '8', '8', 'a'}), PictureFormat::Unknown);
  EXPECT_EQ(sniff({'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'E', 'B', 'P'}), PictureFormat::Webp);
  EXPECT_TRUE(intake::refusalMessage(PictureFormat::Png).empty());
  EXPECT_TRUE(intake::refusalMessage(PictureFormat::Webp).empty());
  EXPECT_EQ(intake::refusalMessage(PictureFormat::Tiff),
            "TIFF 形式の画像には対応していません。(対応形式: BMP・JPEG・GIF・PNG・WebP)");
  EXPECT_EQ(intake::refusalMessage(PictureFormat::Empty), "ファイルが空です。(0 バイト)");
  EXPECT_TRUE(intake::refusalMessage(PictureFormat::Gif).empty());
}

}  // namespace
