#include <gtest/gtest.h>

#include <QGuiApplication>

#include "gif_reader.h"
#include "frame_files/file_io.h"
#include "gif/frame_coder.h"
#include "gif/frame_mapping.h"
#include "gif/gif_encoder.h"
#include "gif/lzw_encoder.h"
#include "gif/quantizer.h"
#include "output_test_support.h"

namespace {

using outtest::readGifWithGiflib;
using outtest::sameBitmap;

// A 40 x 24 banner: a blue square moving right by 3 px per frame over a
// two-colour background, with a red/green "F" that never moves.
core::Bitmap squareFrame(int k) {
  core::Bitmap b(40, 24, core::rgb(250, 250, 240));
  for (int y = 16; y < 24; ++y) {
    for (int x = 0; x < 40; ++x) b.row(y)[x] = core::rgb(20, 40, 60);
  }
  for (int y = 5; y < 11; ++y) {
    for (int x = 3 * k; x < 3 * k + 6 && x < 40; ++x) b.row(y)[x] = core::rgb(0, 0, 255);
  }
  // The "F": rows 0..4 of column 36, the top bar and the middle bar.
  for (int y = 0; y < 5; ++y) b.row(y)[36] = core::rgb(255, 0, 0);
  b.row(0)[37] = b.row(0)[38] = core::rgb(0, 200, 0);
  b.row(2)[37] = core::rgb(0, 200, 0);
  return b;
}

// More than 256 colours: a gradient whose colours shift with k.
core::Bitmap gradientFrame(int k, int w = 64, int h = 32) {
  core::Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b.row(y)[x] = core::rgb(x * 4 + k * 9, y * 8, (x + y) * 2 + k * 40);
  }
  return b;
}

std::vector<const core::Bitmap*> pointers(const std::vector<core::Bitmap>& frames) {
  std::vector<const core::Bitmap*> out;
  for (const core::Bitmap& f : frames) out.push_back(&f);
  return out;
}

std::string writeTemp(const outtest::TempDir& dir, const std::string& name, const std::vector<std::uint8_t>& bytes) {
  const std::string path = dir.file(name);
  EXPECT_TRUE(output::replaceFile(path, bytes));
  return path;
}

// Qt's image plugins need an application object.
class GifTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QGuiApplication::instance()) {
      static int argc = 1;
      static char name[] = "gif_test";
      static char* argv[] = {name, nullptr};
      static QGuiApplication app(argc, argv);
    }
  }
};

TEST_F(GifTest, StillPictureWithFewColoursIsExactInEveryReader) {
  outtest::TempDir dir("gif-still");
  const core::Bitmap picture = squareFrame(2);
  const auto bytes = output::encodeGif(picture);
  ASSERT_TRUE(bytes);
  const std::string path = writeTemp(dir, "still.gif", *bytes);
  const auto gif = readGifWithGiflib(path);
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->version, "GIF87a");
  ASSERT_EQ(gif->frames.size(), 1u);
  EXPECT_EQ(gif->globalColours, 8);  // 5 colours in a table of 8
  EXPECT_TRUE(sameBitmap(picture, gif->frames[0]));
  const auto qt = outtest::readGifWithQt(path);
  ASSERT_EQ(qt.size(), 1u);
  EXPECT_TRUE(sameBitmap(picture, qt[0]));
  if (!outtest::haveImageMagick()) GTEST_SKIP() << "ImageMagick not installed";
  const auto im = outtest::readGifWithImageMagick(path, 40, 24);
  ASSERT_TRUE(im && im->size() == 1u);
  EXPECT_TRUE(sameBitmap(picture, (*im)[0]));
}

TEST_F(GifTest, StillPictureWithManyColoursGetsA256ColourPalette) {
  outtest::TempDir dir("gif-still-many");
  const core::Bitmap picture = gradientFrame(0, 96, 64);
  const auto bytes = output::encodeGif(picture);
  ASSERT_TRUE(bytes);
  const auto gif = readGifWithGiflib(writeTemp(dir, "many.gif", *bytes));
  ASSERT_TRUE(gif && gif->frames.size() == 1u);
  EXPECT_EQ(gif->globalColours, 256);
  // Dithering trades PSNR for smooth gradients; a broken palette scores far lower.
  EXPECT_GT(outtest::psnrOf(picture, gif->frames[0]), 28.0);
}

TEST_F(GifTest, AnimationWithFewColoursDecodesExactlyAndLoopsForever) {
  outtest::TempDir dir("gif-ani");
  std::vector<core::Bitmap> frames;
  for (int k = 0; k < 8; ++k) frames.push_back(squareFrame(k));
  frames.push_back(squareFrame(7));  // a repeat: the image before shows twice as long
  const auto bytes = output::encodeGifAnimation(pointers(frames), 7);
  ASSERT_TRUE(bytes);
  const std::string path = writeTemp(dir, "ani.gif", *bytes);
  const auto gif = readGifWithGiflib(path);
  ASSERT_TRUE(gif);
  EXPECT_EQ(gif->version, "GIF89a");
  EXPECT_EQ(gif->loopCount, 0);
  ASSERT_EQ(gif->frames.size(), 8u);
  for (std::size_t k = 0; k < 8; ++k) {
    EXPECT_TRUE(sameBitmap(frames[k], gif->frames[k])) << "frame " << k;
    EXPECT_EQ(gif->info[k].delay, k == 7 ? 14 : 7);
    EXPECT_EQ(gif->info[k].disposal, 1);
    EXPECT_FALSE(gif->info[k].localPalette);
  }
  int qtLoops = -2;
  const auto qt = outtest::readGifWithQt(path, &qtLoops);
  ASSERT_EQ(qt.size(), 8u);
  for (std::size_t k = 0; k < 8; ++k) EXPECT_TRUE(sameBitmap(frames[k], qt[k])) << "Qt frame " << k;
  EXPECT_EQ(qtLoops, -1);  // Qt's way of saying "forever"
  if (!outtest::haveImageMagick()) GTEST_SKIP() << "ImageMagick not installed";
  const auto im = outtest::readGifWithImageMagick(path, 40, 24);
  ASSERT_TRUE(im);
  ASSERT_EQ(im->size(), 8u);
  for (std::size_t k = 0; k < 8; ++k) EXPECT_TRUE(sameBitmap(frames[k], (*im)[k])) << "IM frame " << k;
}

TEST_F(GifTest, RepeatsAreJoinedOnlyWhereTheTimeOnScreenStaysTheSame) {
  const core::Bitmap a = squareFrame(0), b = squareFrame(1);
  const std::vector<const core::Bitmap*> frames{&a, &a, &b, &b, &b, &a, &a};
  const output::ShownFrames shown = output::mergeRepeats(frames, {10, 5, 1, 2, 65535, 65000, 535});
  // 1 would be stretched by viewers, 2 + 65535 does not fit, 65000 + 535 does.
  EXPECT_EQ(shown.delays, (std::vector<int>{15, 1, 2, 65535, 65535}));
  EXPECT_EQ(shown.frames, (std::vector<const core::Bitmap*>{&a, &b, &b, &b, &a}));
}

TEST_F(GifTest, LaterFramesStoreOnlyTheRectangleThatChanged) {
  std::vector<core::Bitmap> frames{squareFrame(0), squareFrame(1), squareFrame(1)};
  outtest::TempDir dir("gif-rect");
  // A delay of 1 keeps the repeat an image of its own.
  const auto bytes = output::encodeGifAnimation(pointers(frames), output::AnimationTiming{{10, 10, 1}, 0});
  ASSERT_TRUE(bytes);
  const auto gif = readGifWithGiflib(writeTemp(dir, "rect.gif", *bytes));
  ASSERT_TRUE(gif && gif->info.size() == 3u);
  const outtest::GifFrameInfo& first = gif->info[0];
  EXPECT_EQ(first.width * 1000 + first.height, 40 * 1000 + 24);
  EXPECT_EQ(first.transparent, -1);
  // The square moved from x 0..5 to 3..8: columns 0..2 and 6..8 changed.
  const outtest::GifFrameInfo& moved = gif->info[1];
  EXPECT_EQ(moved.left, 0);
  EXPECT_EQ(moved.top, 5);
  EXPECT_EQ(moved.width, 9);
  EXPECT_EQ(moved.height, 6);
  // Nothing changed: one pixel keeps the frame's place in time.
  EXPECT_EQ(gif->info[2].width * gif->info[2].height, 1);
  EXPECT_TRUE(sameBitmap(frames[2], gif->frames[2]));
  EXPECT_EQ(output::changedRect(frames[1], frames[1]).area(), 1u);
}

// A hatched background that never changes, and a dotted square moving over
// it: inside the changed rectangle most pixels are unchanged texture.
core::Bitmap squareOverTexture(int k) {
  core::Bitmap b(200, 60, core::rgb(250, 250, 240));
  for (int y = 0; y < 60; ++y) {
    for (int x = 0; x < 200; ++x) {
      if ((x / 7 + y / 5) % 3 == 0) b.row(y)[x] = core::rgb(20 + (x % 9) * 20, 40, 60 + (y % 7) * 20);
    }
  }
  for (int y = 10; y < 50; ++y) {
    for (int x = 10 * k; x < 10 * k + 40; ++x) {
      if ((x + y) % 4 != 0) b.row(y)[x] = core::rgb(0, 0, 255);
    }
  }
  return b;
}

TEST_F(GifTest, UnchangedTextureInsideTheRectangleTurnsTransparent) {
  std::vector<core::Bitmap> frames;
  for (int k = 0; k < 10; ++k) frames.push_back(squareOverTexture(k));
  outtest::TempDir dir("gif-texture");
  const auto bytes = output::encodeGifAnimation(pointers(frames), 10);
  ASSERT_TRUE(bytes);
  const std::string path = writeTemp(dir, "texture.gif", *bytes);
  const auto gif = readGifWithGiflib(path);
  ASSERT_TRUE(gif && gif->frames.size() == 10u);
  int transparentFrames = 0;
  for (std::size_t k = 0; k < 10; ++k) {
    EXPECT_TRUE(sameBitmap(frames[k], gif->frames[k])) << k;
    if (gif->info[k].transparent >= 0) ++transparentFrames;
  }
  EXPECT_GT(transparentFrames, 0);
  const auto qt = outtest::readGifWithQt(path);
  ASSERT_EQ(qt.size(), 10u);
  for (std::size_t k = 0; k < 10; ++k) EXPECT_TRUE(sameBitmap(frames[k], qt[k])) << "Qt frame " << k;
  if (!outtest::haveImageMagick()) GTEST_SKIP() << "ImageMagick not installed";
  const auto im = outtest::readGifWithImageMagick(path, 200, 60);
  ASSERT_TRUE(im && im->size() == 10u);
  for (std::size_t k = 0; k < 10; ++k) EXPECT_TRUE(sameBitmap(frames[k], (*im)[k])) << "IM frame " << k;
}

TEST_F(GifTest, ExactlyTwoHundredFiftySixColoursStayExactAndLendAnUnusedIndexToTransparency) {
  std::vector<core::Bitmap> frames;
  for (int k = 0; k < 2; ++k) {
    core::Bitmap b(16, 16);
    for (int i = 0; i < 256; ++i) b.px[static_cast<std::size_t>(i)] = core::rgb(i, 255 - i, (i * 7 + k) & 0xFF);
    frames.push_back(b);
  }
  frames[1] = frames[0];
  std::swap(frames[1].px[0], frames[1].px[255]);
  outtest::TempDir dir("gif-256");
  const auto bytes = output::encodeGifAnimation(pointers(frames), 10);
  ASSERT_TRUE(bytes);
  const auto gif = readGifWithGiflib(writeTemp(dir, "256.gif", *bytes));
  ASSERT_TRUE(gif && gif->frames.size() == 2u);
  EXPECT_EQ(gif->globalColours, 256);
  // The second frame changes two pixels; a colour it does not need serves
  // as its transparent index, within the 256.
  EXPECT_LT(gif->info[1].transparent, 256);
  EXPECT_TRUE(sameBitmap(frames[0], gif->frames[0]));
  EXPECT_TRUE(sameBitmap(frames[1], gif->frames[1]));
}

TEST_F(GifTest, ManyColoursDifferentPerFrameGetTheirOwnPalettes) {
  std::vector<core::Bitmap> frames;
  for (int k = 0; k < 4; ++k) frames.push_back(gradientFrame(k * 3));
  const auto mapped = output::mapAnimation(pointers(frames));
  ASSERT_TRUE(mapped);
  EXPECT_EQ(mapped->mode, output::PaletteMode::PerFrame);
  outtest::TempDir dir("gif-perframe");
  const auto bytes = output::encodeGifAnimation(pointers(frames), 10);
  ASSERT_TRUE(bytes);
  const std::string path = writeTemp(dir, "pf.gif", *bytes);
  const auto gif = readGifWithGiflib(path);
  ASSERT_TRUE(gif && gif->frames.size() == 4u);
  // 128 colours per frame, or 255 where 128 would fall below the floor.
  for (std::size_t k = 0; k < 4; ++k) {
    EXPECT_GE(outtest::psnrOf(frames[k], gif->frames[k]), output::MappingSettings{}.perFrameFloorDb) << k;
  }
  EXPECT_TRUE(gif->info[1].localPalette);
  if (!outtest::haveImageMagick()) GTEST_SKIP() << "ImageMagick not installed";
  const auto im = outtest::readGifWithImageMagick(path, 64, 32);
  ASSERT_TRUE(im && im->size() == 4u);
  for (std::size_t k = 0; k < 4; ++k) EXPECT_TRUE(sameBitmap(gif->frames[k], (*im)[k])) << k;
}

TEST_F(GifTest, AFewColoursOverTheLimitShareOneNearLosslessPalette) {
  // 300 colours in all: a shared palette loses almost nothing.
  std::vector<core::Bitmap> frames;
  for (int k = 0; k < 3; ++k) {
    core::Bitmap b(60, 20, core::kWhite);
    for (int i = 0; i < 100; ++i) b.px[static_cast<std::size_t>(i * 7)] = core::rgb(i * 2, 100 + k * 50, 30);
    frames.push_back(b);
  }
  const auto mapped = output::mapAnimation(pointers(frames));
  ASSERT_TRUE(mapped);
  EXPECT_EQ(mapped->mode, output::PaletteMode::Shared);
  outtest::TempDir dir("gif-shared");
  const auto bytes = output::encodeGifAnimation(pointers(frames), 10);
  ASSERT_TRUE(bytes);
  const auto gif = readGifWithGiflib(writeTemp(dir, "shared.gif", *bytes));
  ASSERT_TRUE(gif && gif->frames.size() == 3u);
  for (std::size_t k = 0; k < 3; ++k) {
    EXPECT_GT(outtest::psnrOf(frames[k], gif->frames[k]), 45.0) << k;
    EXPECT_FALSE(gif->info[k].localPalette);
  }
}

// A logo-like picture sliding in from the right: 240 flat colours in
// columns, with scattered shades one step off them, about 300 colours in
// all.
core::Bitmap slidingLogo(int k) {
  core::Bitmap b(120, 30, core::kWhite);
  for (int y = 4; y < 26; ++y) {
    for (int x = 0; x < 80; ++x) {
      const int px = x + 100 - 20 * k;
      if (px < 0 || px >= 120) continue;
      const bool shade = (x * 7 + y * 13) % 11 == 0 && x % 4 != 0;
      b.row(y)[px] = core::rgb(3 * x + (shade ? 1 : 0), 100 + (y / 11) * 40, 50);
    }
  }
  return b;
}

TEST_F(GifTest, NearLosslessSharedPaletteKeepsEveryFrameAboveTheFloor) {
  std::vector<core::Bitmap> frames;
  for (int k = 0; k < 6; ++k) frames.push_back(slidingLogo(k));
  const auto mapped = output::mapAnimation(pointers(frames));
  ASSERT_TRUE(mapped);
  ASSERT_EQ(mapped->mode, output::PaletteMode::Shared);
  outtest::TempDir dir("gif-floor");
  const auto bytes = output::encodeGifAnimation(pointers(frames), 10);
  ASSERT_TRUE(bytes);
  const auto gif = readGifWithGiflib(writeTemp(dir, "floor.gif", *bytes));
  ASSERT_TRUE(gif && gif->frames.size() == 6u);
  // Stand-in colours may cost quality only down to the floor; a frame whose
  // nearest colours are already below it gets nothing worse than those.
  const output::GifPalette palette = mapped->global;
  output::NearestColour nearest(palette);
  // Whether stand-ins are used at all depends on what codes shortest; the
  // floor holds either way.
  for (std::size_t k = 0; k < 6; ++k) {
    core::Bitmap plain = frames[k];
    for (core::Color& c : plain.px) c = palette[nearest(c)];
    const double floor = std::min(output::FrameCoder::kNearLosslessFloorDb, outtest::psnrOf(frames[k], plain));
    EXPECT_GE(outtest::psnrOf(frames[k], gif->frames[k]), floor - 1e-9) << k;
  }
}

// A picture that fills the LZW table early, coded keeping the full table to
// the end and with the look-ahead parse: every reader must decode it.
TEST_F(GifTest, FullTableAndLookAheadParseDecodeInEveryReader) {
  const int w = 200, h = 150;
  const output::GifPalette palette{core::kBlack,           core::kWhite,          core::rgb(255, 0, 0),
                                   core::rgb(0, 255, 0),   core::rgb(0, 0, 255),  core::rgb(255, 255, 0),
                                   core::rgb(0, 255, 255), core::rgb(255, 0, 255)};
  std::vector<std::uint8_t> indices;
  unsigned noise = 12345;
  for (int i = 0; i < w * h; ++i) {
    noise = noise * 1103515245u + 12345u;
    // Noise fills the table in the first rows; stripes follow.
    indices.push_back(static_cast<std::uint8_t>(i < w * 40 ? (noise >> 16) % 8 : (i % w) / 9 % 8));
  }
  core::Bitmap expected(w, h);
  for (std::size_t i = 0; i < indices.size(); ++i) expected.px[i] = palette[indices[i]];
  outtest::TempDir dir("gif-full-table");
  for (int fullFor : {-1, 300, 1 << 30}) {
    std::vector<std::uint8_t> file;
    output::GifStream gif(file);
    ASSERT_TRUE(gif.putScreen(w, h, &palette, false));
    file.insert(file.end(), {0x2C, 0, 0, 0, 0, static_cast<std::uint8_t>(w), 0, static_cast<std::uint8_t>(h), 0, 0});
    output::appendLzw(indices, 3, output::LzwParse::LookAhead, file, fullFor);
    file.push_back(0x3B);
    const std::string path = writeTemp(dir, "full" + std::to_string(fullFor) + ".gif", file);
    const auto decoded = readGifWithGiflib(path);
    ASSERT_TRUE(decoded && decoded->frames.size() == 1u) << fullFor;
    EXPECT_TRUE(sameBitmap(expected, decoded->frames[0])) << "giflib, " << fullFor;
    const auto qt = outtest::readGifWithQt(path);
    ASSERT_EQ(qt.size(), 1u) << fullFor;
    EXPECT_TRUE(sameBitmap(expected, qt[0])) << "Qt, " << fullFor;
    if (!outtest::haveImageMagick()) continue;
    const auto im = outtest::readGifWithImageMagick(path, w, h);
    ASSERT_TRUE(im && im->size() == 1u) << fullFor;
    EXPECT_TRUE(sameBitmap(expected, (*im)[0])) << "ImageMagick, " << fullFor;
  }
}

TEST_F(GifTest, RefusesWhatItCannotEncode) {
  core::Bitmap small(3, 3), other(4, 3), empty;
  EXPECT_FALSE(output::encodeGif(empty));
  EXPECT_FALSE(output::encodeGifAnimation({}, 10));
  EXPECT_FALSE(output::encodeGifAnimation({&small, &other}, 10));
  EXPECT_FALSE(output::encodeGifAnimation({&small}, -1));
  EXPECT_FALSE(output::encodeGifAnimation({&small}, 65536));
  const auto one = output::encodeGifAnimation({&small}, 0);
  ASSERT_TRUE(one);
  outtest::TempDir dir("gif-one");
  const auto gif = readGifWithGiflib(writeTemp(dir, "one.gif", *one));
  ASSERT_TRUE(gif && gif->frames.size() == 1u);
  EXPECT_EQ(gif->info[0].delay, 0);
  EXPECT_TRUE(sameBitmap(small, gif->frames[0]));
}

TEST_F(GifTest, TimingGivesEachFrameItsDelayAndThePlaysBecomeTheLoopField) {
  core::Bitmap a(4, 2), b(4, 2);
  b.px.assign(b.px.size(), 0x0000FFu);
  outtest::TempDir dir("gif-timing");
  const struct {
    int plays;
    int expected;  // the loop field as read back, -1 = no loop block
  } cases[] = {{0, 0}, {3, 2}, {301, 300}, {2, 1}, {1, -1}, {65536, 65535}};
  // N plays store N - 1; one play has no loop block, since a stored 0 would
  // mean forever to every browser.
  EXPECT_FALSE(output::encodeGifAnimation({&a, &b, &a}, output::AnimationTiming{{120, 20, 7}, 65537}));
  EXPECT_FALSE(output::encodeGifAnimation({&a, &b, &a}, output::AnimationTiming{{120, 20, 7}, -1}));
  for (const auto& c : cases) {
    const auto bytes = output::encodeGifAnimation({&a, &b, &a}, output::AnimationTiming{{120, 20, 7}, c.plays});
    ASSERT_TRUE(bytes) << c.plays;
    const auto gif = readGifWithGiflib(writeTemp(dir, "t.gif", *bytes));
    ASSERT_TRUE(gif && gif->frames.size() == 3u);
    EXPECT_EQ(gif->loopCount, c.expected);
    EXPECT_EQ(gif->info[0].delay, 120);
    EXPECT_EQ(gif->info[1].delay, 20);
    EXPECT_EQ(gif->info[2].delay, 7);
  }
  EXPECT_FALSE(output::encodeGifAnimation({&a, &b}, output::AnimationTiming{{10}, 0}));
  EXPECT_FALSE(output::encodeGifAnimation({&a}, output::AnimationTiming{{10}, 65537}));
  EXPECT_FALSE(output::encodeGifAnimation({&a}, output::AnimationTiming{{10}, -1}));
}

}  // namespace

namespace {

// The nearest entry as a plain scan in palette order finds it: the lowest
// index among equally near ones, also for repeated entries and ties.
TEST(NearestColourSearch, FindsWhatAScanInPaletteOrderFinds) {
  std::uint32_t seed = 7;
  const auto next = [&seed] {
    seed = seed * 1664525u + 1013904223u;
    return static_cast<int>(seed >> 24);
  };
  for (int size : {1, 2, 3, 16, 255, 256}) {
    output::GifPalette palette;
    // Coarse channels give many ties and repeats.
    for (int i = 0; i < size; ++i) palette.push_back(core::rgb(next() & 0xF0, next() & 0xE0, next() & 0xC0));
    output::NearestColour nearest(palette);
    for (int n = 0; n < 3000; ++n) {
      const core::Color c = core::rgb(next(), next(), next());
      int expected = 0;
      for (int i = 1; i < size; ++i)
        if (core::squaredDistance(c, palette[static_cast<std::size_t>(i)]) <
            core::squaredDistance(c, palette[static_cast<std::size_t>(expected)]))
          expected = i;
      ASSERT_EQ(nearest(c), expected) << size << " " << n;
    }
  }
}

}  // namespace
