// PNG and WebP sources, made here from known pixels: each kind decodes to
// exactly those pixels, sizes over the limit are refused from the header,
// broken files with a message; transparency becomes the white key.
#include <gtest/gtest.h>

#include <QImage>

#include <webp/decode.h>
#include <webp/demux.h>

#include "intake/picture_header.h"
#include "intake/picture_loader.h"
#include "intake/transparency.h"
#include "made_pictures.h"
#include "testutil.h"

namespace {

using intake::LoadStatus;
using madepics::Bytes;
using madepics::PngSpec;
using Samples = std::vector<std::uint16_t>;

// Made once: the zlib bomb takes a moment to compress.
const std::vector<std::pair<std::string, Bytes>>& hostile() {
  static const auto samples = madepics::hostileSamples(64);
  return samples;
}

intake::LoadResult load(const Bytes& b) {
  return intake::loadPictureData(QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size())));
}

// Samples that differ from pixel to pixel and channel to channel.
Samples samplesFor(int w, int h, int channels, int bitDepth, std::uint32_t seed = 1) {
  Samples s;
  const std::uint32_t max = (1u << bitDepth) - 1;
  for (int i = 0; i < w * h * channels; ++i)
    s.push_back(static_cast<std::uint16_t>(((i + seed) * 2654435761u >> 9) % (max + 1)));
  return s;
}

// The reference: what the loader must give for 8-bit unpremultiplied ARGB
// pixels (opaque ones as they are, the others as flattenTransparency says).
core::Picture expectedFrom(const std::vector<std::uint32_t>& argb, int w, int h) {
  return core::Picture::fromBitmap(intake::flattenTransparency(argb.data(), w, h).bitmap);
}

// A 16-bit sample to 8 bits, rounded to nearest: round(v * 255 / 65535).
std::uint32_t to8(std::uint32_t v) { return (v * 255 + 32767) / 65535; }

std::vector<std::uint32_t> argbOf(const PngSpec& s, const Samples& px, const std::vector<std::uint32_t>& palette = {}) {
  std::vector<std::uint32_t> out;
  const std::uint32_t max = (1u << s.bitDepth) - 1;
  auto scale = [&](std::uint32_t v) { return s.bitDepth == 16 ? to8(v) : v * 255 / max; };
  for (std::size_t i = 0; i < static_cast<std::size_t>(s.width * s.height); ++i) {
    std::uint32_t a = 255, r = 0, g = 0, b = 0;
    switch (s.colourType) {
      case 0:
        r = g = b = scale(px[i]);
        break;
      case 2:
        r = scale(px[3 * i]), g = scale(px[3 * i + 1]), b = scale(px[3 * i + 2]);
        break;
      case 3:
        out.push_back(palette.at(px[i]));
        continue;
      case 4:
        r = g = b = scale(px[2 * i]);
        a = scale(px[2 * i + 1]);
        break;
      default:
        r = scale(px[4 * i]), g = scale(px[4 * i + 1]), b = scale(px[4 * i + 2]);
        a = scale(px[4 * i + 3]);
    }
    out.push_back(a << 24 | r << 16 | g << 8 | b);
  }
  return out;
}

void expectPngLoads(const PngSpec& s, const Samples& px, const std::vector<std::uint32_t>& palette = {}) {
  const auto r = load(madepics::makePng(s, px));
  ASSERT_EQ(r.status, LoadStatus::Loaded) << r.message;
  EXPECT_TRUE(testutil::surfacesEqual(r.picture, expectedFrom(argbOf(s, px, palette), s.width, s.height)));
}

TEST(PngSource, EveryColourTypeAndDepthLoadsPixelExact) {
  for (bool interlaced : {false, true}) {
    SCOPED_TRACE(interlaced ? "Adam7" : "progressive");
    for (int depth : {1, 2, 4, 8, 16}) {
      SCOPED_TRACE(depth);
      expectPngLoads({37, 11, depth, 0, interlaced}, samplesFor(37, 11, 1, depth));  // grey
    }
    for (int depth : {8, 16}) {
      SCOPED_TRACE(depth);
      expectPngLoads({37, 11, depth, 2, interlaced}, samplesFor(37, 11, 3, depth));  // 24 / 48-bit RGB
      expectPngLoads({37, 11, depth, 4, interlaced}, samplesFor(37, 11, 2, depth));  // grey + alpha
      expectPngLoads({37, 11, depth, 6, interlaced}, samplesFor(37, 11, 4, depth));  // 32 / 64-bit RGBA
    }
  }
}

TEST(PngSource, PalettesWithAndWithoutTransparency) {
  for (int depth : {1, 2, 4, 8}) {
    SCOPED_TRACE(depth);
    const int entries = 1 << std::min(depth, 3);
    PngSpec s{29, 7, depth, 3};
    std::vector<std::uint32_t> argb;
    for (int i = 0; i < entries; ++i) {
      const auto c = static_cast<std::uint8_t>(i * 30);
      s.palette.insert(s.palette.end(), {c, static_cast<std::uint8_t>(255 - c), static_cast<std::uint8_t>(i)});
      argb.push_back(0xFF000000u | std::uint32_t{c} << 16 | std::uint32_t(255 - c) << 8 | std::uint32_t(i));
    }
    Samples idx = samplesFor(29, 7, 1, depth);
    for (auto& v : idx) v = static_cast<std::uint16_t>(v % entries);
    expectPngLoads(s, idx, argb);
    // tRNS: entry 0 fully transparent, entry 1 half transparent.
    s.trns = {0, 128};
    argb[0] &= 0x00FFFFFFu;
    argb[1] = (argb[1] & 0x00FFFFFFu) | 0x80000000u;
    expectPngLoads(s, idx, argb);
  }
}

TEST(PngSource, ColourKeyTransparencyOfGreyAndRgb) {
  PngSpec grey{5, 1, 8, 0};
  grey.trns = {0, 40};
  const auto g = load(madepics::makePng(grey, {40, 41, 40, 0, 255}));
  ASSERT_EQ(g.status, LoadStatus::Loaded) << g.message;
  EXPECT_EQ(g.picture.pixel(0, 0), core::kWhite);  // the key
  EXPECT_EQ(g.picture.pixel(1, 0), core::rgb(41, 41, 41));
  EXPECT_EQ(g.picture.pixel(2, 0), core::kWhite);
  EXPECT_EQ(g.picture.pixel(4, 0), core::rgb(255, 255, 254));  // opaque white stays part of the picture
  PngSpec rgb{2, 1, 8, 2};
  rgb.trns = {0, 1, 0, 2, 0, 3};
  const auto c = load(madepics::makePng(rgb, {1, 2, 3, 255, 0, 255}));
  ASSERT_EQ(c.status, LoadStatus::Loaded) << c.message;
  EXPECT_EQ(c.picture.pixel(0, 0), core::kWhite);
  EXPECT_EQ(c.picture.pixel(1, 0), core::rgb(255, 0, 255));
}

TEST(PngSource, OpaqueRgbaLoadsExactlyAsRgb) {
  const Samples rgb = samplesFor(40, 9, 3, 8);
  Samples rgba;
  for (std::size_t i = 0; i < rgb.size(); i += 3) rgba.insert(rgba.end(), {rgb[i], rgb[i + 1], rgb[i + 2], 255});
  const auto a = load(madepics::makePng({40, 9, 8, 2}, rgb));
  const auto b = load(madepics::makePng({40, 9, 8, 6}, rgba));
  ASSERT_EQ(a.status, LoadStatus::Loaded);
  ASSERT_EQ(b.status, LoadStatus::Loaded);
  EXPECT_TRUE(testutil::surfacesEqual(a.picture, b.picture));
  EXPECT_EQ(a.picture.pixel(3, 2),
            core::rgb(rgb[(2 * 40 + 3) * 3], rgb[(2 * 40 + 3) * 3 + 1], rgb[(2 * 40 + 3) * 3 + 2]));
}

TEST(PngSource, TextAndForeignChunksAreLeftOutAndDataMaySpanChunks) {
  PngSpec s{30, 6, 8, 2};
  s.idatChunks = 5;
  s.before = {{"tEXt", {'a', 0, 'b'}}, {"acTL", Bytes(8, 0)}, {"zTXt", {'k', 0, 0, 0x78, 0x9C, 0, 0}}};
  s.after = {{"tIME", Bytes(7, 1)}};
  expectPngLoads(s, samplesFor(30, 6, 3, 8));
  s.iend = false;  // a file that ends after its image data is complete enough
  expectPngLoads(s, samplesFor(30, 6, 3, 8));
}

TEST(PngSource, SizeLimitFromTheHeaderBeforeAnyDecoding) {
  EXPECT_EQ(load(madepics::makePng({1000, 200, 1, 0}, Samples(200000, 0))).status, LoadStatus::Loaded);
  for (auto [w, h] : {std::pair{1001, 200}, std::pair{1000, 201}}) {
    // Four pixels of data behind a header claiming more: only the header decides.
    Bytes png = madepics::makePng({w, h, 1, 0}, Samples(static_cast<std::size_t>(w * h), 1));
    const auto r = load(png);
    EXPECT_EQ(r.status, LoadStatus::TooLarge);
    EXPECT_EQ(r.message, "画像が大きすぎます。(～1000x200pixels)");
    EXPECT_EQ(r.width, w);
    EXPECT_EQ(r.height, h);
  }
  for (const auto& [name, bytes] : hostile())
    if (name == "png: IHDR 65535 x 65535") {
      EXPECT_EQ(load(bytes).status, LoadStatus::TooLarge);
    }
}

TEST(PngSource, BrokenFilesAreRefusedWithAMessage) {
  const Bytes good = madepics::makePng({60, 20, 8, 2}, samplesFor(60, 20, 3, 8));
  for (std::size_t len : {9ul, 20ul, 33ul, 40ul, good.size() / 2, good.size() - 13}) {
    const auto r = load(Bytes(good.begin(), good.begin() + static_cast<std::ptrdiff_t>(len)));
    EXPECT_EQ(r.status, LoadStatus::Unreadable) << len;
    EXPECT_EQ(r.message, "PNG ファイルが途中で切れています。") << len;
  }
  Bytes badCrc = good;
  badCrc[30] ^= 1;  // inside IHDR
  EXPECT_EQ(load(badCrc).message, "PNG ファイルが壊れています。(CRC が一致しません)");
  Bytes badData = good;
  badData[good.size() - 20] ^= 1;  // inside the IDAT data
  EXPECT_EQ(load(badData).message, "PNG ファイルが壊れています。(CRC が一致しません)");
  // Image data that is valid zlib but too short for the picture.
  PngSpec shortData{60, 20, 8, 2};
  Bytes png = madepics::makePng({60, 10, 8, 2}, samplesFor(60, 10, 3, 8));
  png[23] = 20;  // IHDR height 10 -> 20
  const std::uint32_t crc = intake::crc32(0, png.data() + 12, 17);
  for (int i = 0; i < 4; ++i) png[29 + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(crc >> (24 - 8 * i));
  const auto r = load(png);
  EXPECT_EQ(r.status, LoadStatus::Unreadable);
  EXPECT_EQ(r.message, "画像を読み込めませんでした。(ファイルが壊れているか、対応していない種類です)");
  PngSpec noPalette{4, 4, 8, 3};
  EXPECT_EQ(load(madepics::makePng(noPalette, Samples(16, 0))).message, "PNG ファイルの構造が壊れています。");
  PngSpec foreign{4, 4, 8, 0};
  foreign.before = {{"QQQQ", Bytes(3, 0)}};  // an unknown critical chunk
  EXPECT_EQ(load(madepics::makePng(foreign, Samples(16, 0))).message, "PNG ファイルの構造が壊れています。");
}

TEST(PngSource, HostileSamplesAreRefusedOrLoadWithinTheLimit) {
  for (const auto& [name, bytes] : hostile()) {
    SCOPED_TRACE(name);
    const auto r = load(bytes);
    if (r.status == LoadStatus::Loaded) {
      EXPECT_LE(r.picture.width(), 1000);
      EXPECT_LE(r.picture.height(), 200);
    } else {
      EXPECT_FALSE(r.message.empty());
    }
  }
}

// ---- WebP -------------------------------------------------------------------

Bytes rgbaPixels(int w, int h, bool holes) {
  Bytes px;
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const bool hole = holes && (x < 3 || (x + y) % 11 == 0);
      const bool edge = holes && x == 3;
      px.insert(px.end(),
                {static_cast<std::uint8_t>(x * 5), static_cast<std::uint8_t>(y * 20), static_cast<std::uint8_t>(x * y),
                 static_cast<std::uint8_t>(hole   ? 0
                                           : edge ? 100
                                                  : 255)});
    }
  return px;
}

std::vector<std::uint32_t> argbFromRgba(const std::uint8_t* rgba, int w, int h) {
  std::vector<std::uint32_t> out;
  for (int i = 0; i < w * h; ++i, rgba += 4)
    out.push_back(std::uint32_t{rgba[3]} << 24 | std::uint32_t{rgba[0]} << 16 | std::uint32_t{rgba[1]} << 8 | rgba[2]);
  return out;
}

// libwebp's own decode of the whole file, flattened as the loader does.
core::Picture libwebpReference(const Bytes& file) {
  int w = 0, h = 0;
  std::uint8_t* rgba = WebPDecodeRGBA(file.data(), file.size(), &w, &h);
  EXPECT_NE(rgba, nullptr);
  if (!rgba) return {};
  const auto argb = argbFromRgba(rgba, w, h);
  WebPFree(rgba);
  return expectedFrom(argb, w, h);
}

TEST(WebpSource, LosslessLoadsTheKnownPixels) {
  for (bool holes : {false, true}) {
    const Bytes px = rgbaPixels(50, 12, holes);
    const auto r = load(madepics::makeWebpLossless(px, 50, 12));
    ASSERT_EQ(r.status, LoadStatus::Loaded) << r.message;
    EXPECT_TRUE(testutil::surfacesEqual(r.picture, expectedFrom(argbFromRgba(px.data(), 50, 12), 50, 12)));
  }
}

TEST(WebpSource, LossyWithAndWithoutAlphaMatchesLibwebpsOwnDecode) {
  for (bool holes : {false, true}) {
    SCOPED_TRACE(holes);
    const Bytes file = madepics::makeWebpLossy(rgbaPixels(64, 20, holes), 64, 20, 70);
    ASSERT_EQ(std::string(file.begin() + 12, file.begin() + 16), holes ? "VP8X" : "VP8 ");
    const auto r = load(file);
    ASSERT_EQ(r.status, LoadStatus::Loaded) << r.message;
    EXPECT_TRUE(testutil::surfacesEqual(r.picture, libwebpReference(file)));
    if (holes) {
      EXPECT_EQ(r.picture.pixel(0, 0), core::kWhite);
    }
  }
}

TEST(WebpSource, AnimationLoadsItsFirstFrameAsLibwebpComposesIt) {
  const Bytes a = rgbaPixels(40, 10, true);
  const Bytes b = rgbaPixels(40, 10, false);
  const Bytes file = madepics::makeWebpAnimation({a, b}, 40, 10);
  const auto r = load(file);
  ASSERT_EQ(r.status, LoadStatus::Loaded) << r.message;
  WebPData data{file.data(), file.size()};
  WebPAnimDecoderOptions options;
  WebPAnimDecoderOptionsInit(&options);
  options.color_mode = MODE_RGBA;
  WebPAnimDecoder* dec = WebPAnimDecoderNew(&data, &options);
  ASSERT_NE(dec, nullptr);
  std::uint8_t* first = nullptr;
  int timestamp = 0;
  ASSERT_TRUE(WebPAnimDecoderGetNext(dec, &first, &timestamp));
  EXPECT_TRUE(testutil::surfacesEqual(r.picture, expectedFrom(argbFromRgba(first, 40, 10), 40, 10)));
  WebPAnimDecoderDelete(dec);
}

TEST(WebpSource, SizeLimitFromTheHeaderAndBrokenFilesWithAMessage) {
  for (auto [w, h] : {std::pair{1001, 200}, std::pair{1000, 201}}) {
    const Bytes px(static_cast<std::size_t>(w * h * 4), 200);
    for (const Bytes& file : {madepics::makeWebpLossless(px, w, h), madepics::makeWebpLossy(px, w, h, 50)}) {
      const auto r = load(file);
      EXPECT_EQ(r.status, LoadStatus::TooLarge);
      EXPECT_EQ(r.width, w);
      EXPECT_EQ(r.height, h);
    }
  }
  const Bytes ok = madepics::makeWebpLossless(Bytes(1000 * 200 * 4, 90), 1000, 200);
  EXPECT_EQ(load(ok).status, LoadStatus::Loaded);
  for (const auto& [name, bytes] : hostile()) {
    SCOPED_TRACE(name);
    if (name == "webp: VP8X canvas 16777216 x 16777216") {
      EXPECT_EQ(load(bytes).status, LoadStatus::TooLarge);
    }
    if (name == "webp: lossy cut in half") {
      EXPECT_EQ(load(bytes).message, "WebP ファイルが途中で切れています。");
    }
    if (name == "webp: frame outside its canvas") {
      EXPECT_EQ(load(bytes).message, "WebP ファイルの画像の大きさが不正です。");
    }
  }
  const Bytes lossless = madepics::makeWebpLossless(rgbaPixels(30, 8, false), 30, 8);
  // A VP8X canvas that its one picture does not fill.
  const std::size_t vp8lSize = lossless[16] | (lossless[17] << 8u) | (lossless[18] << 16u);
  const Bytes vp8l(lossless.begin() + 20, lossless.begin() + 20 + static_cast<std::ptrdiff_t>(vp8lSize));
  EXPECT_EQ(load(madepics::webpFile({{"VP8X", Bytes{0, 0, 0, 0, 30, 0, 0, 7, 0, 0}}, {"VP8L", vp8l}})).message,
            "WebP ファイルの画像の大きさが不正です。");
  EXPECT_EQ(load(madepics::webpFile({{"VP8X", Bytes{0, 0, 0, 0, 29, 0, 0, 7, 0, 0}}, {"VP8L", vp8l}})).status,
            LoadStatus::Loaded);
  Bytes badSignature = lossless;
  badSignature[20] = 0x2E;
  EXPECT_EQ(load(badSignature).message, "WebP ファイルのヘッダーが壊れています。");
  Bytes garbage = lossless;
  for (std::size_t i = 30; i < garbage.size(); ++i) garbage[i] = static_cast<std::uint8_t>(i * 7);
  const auto g = load(garbage);
  EXPECT_EQ(g.status, LoadStatus::Unreadable);
  EXPECT_EQ(g.message, "画像を読み込めませんでした。(ファイルが壊れているか、対応していない種類です)");
  EXPECT_EQ(load(madepics::webpFile({{"VP8X", Bytes{0, 0, 0, 0, 9, 0, 0, 9, 0, 0}}, {"EXIF", Bytes(5, 1)}})).message,
            "WebP ファイルに画像が含まれていません。");
}

// ---- transparency -----------------------------------------------------------

TEST(Transparency, KeyIsWhiteVisibleWhiteMovesOffItAndPartialPixelsGoOverWhite) {
  const std::vector<std::uint32_t> argb = {0x00123456, 0xFFFFFFFF, 0xFFFFFFFE, 0x80FF00FB,
                                           0x00000000, 0x80000000, 0x01FFFFFF, 0x01C8C8C8};
  const intake::Flattened f = intake::flattenTransparency(argb.data(), 4, 2);
  ASSERT_TRUE(f.keyed);
  EXPECT_EQ(f.key, core::kWhite);
  const auto& px = f.bitmap.px;
  EXPECT_EQ(px[0], core::kWhite);
  // Opaque white and its neighbour one level of blue down become the same
  // colour: the only white left is the key.
  EXPECT_EQ(px[1], core::rgb(255, 255, 254));
  EXPECT_EQ(px[2], core::rgb(255, 255, 254));
  // (c * 128 + 255 * 127 + 127) / 255: 255 -> 255, 0 -> 127, 251 -> 253.
  EXPECT_EQ(px[3], core::rgb(255, 127, 253));
  EXPECT_EQ(px[4], core::kWhite);
  EXPECT_EQ(px[5], core::rgb(127, 127, 127));
  // Laid over white, a nearly transparent pixel (white, or grey at alpha 1)
  // would be white; it too stays part of the picture.
  EXPECT_EQ(px[6], core::rgb(255, 255, 254));
  EXPECT_EQ(px[7], core::rgb(255, 255, 254));
  // No fully transparent pixel: nothing is keyed and white stays white.
  const std::uint32_t half[2] = {0x01000000, 0xFFFFFFFF};
  const intake::Flattened h = intake::flattenTransparency(half, 2, 1);
  EXPECT_FALSE(h.keyed);
  EXPECT_EQ(h.bitmap.px[0], core::rgb(254, 254, 254));
  EXPECT_EQ(h.bitmap.px[1], core::kWhite);
}

TEST(Transparency, ClipboardImagesTakeTheSameRuleAndOpaqueOnesLoadAsBefore) {
  QImage img(3, 1, QImage::Format_ARGB32);
  img.setPixel(0, 0, qRgba(9, 9, 9, 0));
  img.setPixel(1, 0, qRgba(255, 0, 255, 255));
  img.setPixel(2, 0, qRgba(0, 0, 0, 255));
  const auto r = intake::loadPictureImage(img);
  ASSERT_EQ(r.status, LoadStatus::Loaded);
  EXPECT_EQ(r.picture.pixel(0, 0), core::kWhite);
  EXPECT_EQ(r.picture.pixel(1, 0), core::rgb(255, 0, 255));
  // Premultiplied clipboard data is read unpremultiplied.
  const QImage premultiplied = img.convertToFormat(QImage::Format_ARGB32_Premultiplied);
  EXPECT_EQ(intake::loadPictureImage(premultiplied).picture.pixel(0, 0), core::kWhite);
  img.setPixel(0, 0, qRgba(9, 9, 9, 255));
  EXPECT_EQ(intake::loadPictureImage(img).picture.pixel(0, 0), core::rgb(9, 9, 9));
}

}  // namespace
