#include "frame_files/image_library.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>

#include <filesystem>
#include <fstream>

#include "gif_reader.h"
#include "frame_files/file_io.h"
#include "frame_files/writer.h"
#include "output_test_support.h"

namespace {

using output::defaultImageLibrary;
using output::liveImageCount;

core::Bitmap pattern(int w, int h, int k) {
  core::Bitmap b(w, h, core::rgb(240, 240, 240));
  for (int y = 2; y < h - 2; ++y) {
    for (int x = 2 + k; x < w / 2 + k && x < w; ++x) b.row(y)[x] = core::rgb(200, 30 + k * 10, 40);
  }
  b.row(0)[0] = core::rgb(0, 0, 255);  // marks the top-left corner
  return b;
}

core::Picture pictureOf(core::Bitmap b) { return core::Picture::fromBitmap(std::move(b)); }

class ImageLibraryTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    if (!QGuiApplication::instance()) {
      static int argc = 1;
      static char name[] = "image_library_test";
      static char* argv[] = {name, nullptr};
      static QGuiApplication app(argc, argv);
    }
  }
  void SetUp() override { baseline_ = liveImageCount(); }
  void TearDown() override { EXPECT_EQ(liveImageCount(), baseline_) << "an image was not released"; }
  std::size_t baseline_ = 0;
};

TEST_F(ImageLibraryTest, HandlesAreNeverZeroAndUnknownOnesFail) {
  outtest::TempDir dir("lib-handles");
  outtest::writeSolidBmp(dir.file("a.bmp"), 3, 2, core::kWhite);
  std::ofstream(dir.file("bad.bmp")) << "BM not really";
  output::ImageLibrary& lib = defaultImageLibrary();
  EXPECT_EQ(lib.BMPtoDIB(dir.file("bad.bmp")), 0);
  EXPECT_EQ(lib.BMPtoDIB(dir.file("missing.bmp")), 0);
  EXPECT_EQ(lib.BMPtoDIB(dir.path().string()), 0);  // a folder
  const std::int32_t a = lib.BMPtoDIB(dir.file("a.bmp"));
  const std::int32_t b = lib.BMPtoDIB(dir.file("a.bmp"));
  EXPECT_NE(a, 0);
  EXPECT_NE(b, 0);
  EXPECT_NE(a, b);
  EXPECT_EQ(liveImageCount(), baseline_ + 2);
  lib.DeleteDIB(a);
  lib.DeleteDIB(a);  // a second release does nothing
  lib.DeleteDIB(0);
  EXPECT_EQ(lib.DIBtoGIF(dir.file("x.gif"), a, 0), 0);  // released
  EXPECT_EQ(lib.DIBtoGIF(dir.file("x.gif"), b, 1), 0);  // undefined option
  EXPECT_EQ(lib.DIBtoJPG(dir.file("x.jpg"), b, 0, 0), 0);    // quality out of range
  EXPECT_EQ(lib.DIBtoJPG(dir.file("x.jpg"), b, 101, 0), 0);
  const std::int32_t both[2] = {b, a};
  EXPECT_EQ(lib.DIBtoGIFAni(dir.file("x.gif"), both, 1, 10), 0);  // one image is gone
  EXPECT_EQ(lib.DIBtoGIFAni(dir.file("x.gif"), both, 0, -100), 0);  // negative interval
  EXPECT_EQ(lib.DIBtoGIFAni(dir.file("x.gif"), nullptr, 0, 10), 0);
  lib.DeleteDIB(b);
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"a.bmp", "bad.bmp"}));
}

// The JPEG is baseline (SOF0) with every component sampled 1x1 (4:4:4).
void expectBaseline444(const std::vector<std::uint8_t>& jpeg) {
  bool found = false;
  for (std::size_t i = 0; i + 18 < jpeg.size(); ++i) {
    if (jpeg[i] != 0xFF || jpeg[i + 1] != 0xC0) continue;
    found = true;
    EXPECT_EQ(jpeg[i + 9], 3);  // components
    for (int c = 0; c < 3; ++c) EXPECT_EQ(jpeg[i + 11 + static_cast<std::size_t>(c) * 3], 0x11) << "component " << c;
    break;
  }
  EXPECT_TRUE(found) << "no baseline frame header";
}

TEST_F(ImageLibraryTest, JpegIsBaseline444AndCloseToTheFrame) {
  outtest::TempDir dir("lib-jpeg");
  const core::Bitmap frame = pattern(37, 23, 3);  // odd sizes: partial MCUs
  ASSERT_TRUE(output::SavePicture(pictureOf(frame), dir.file("f.bmp")));
  ASSERT_TRUE(output::BmpToJpg(dir.file("f.jpg"), dir.file("f.bmp"), 100, 0));
  const auto jpeg = output::readWholeFile(dir.file("f.jpg"), 1 << 20);
  ASSERT_TRUE(jpeg);
  expectBaseline444(*jpeg);
  const QImage decoded = QImage(QString::fromStdString(dir.file("f.jpg"))).convertToFormat(QImage::Format_RGB32);
  ASSERT_EQ(decoded.width(), 37);
  ASSERT_EQ(decoded.height(), 23);
  core::Bitmap back(37, 23);
  for (int y = 0; y < 23; ++y) {
    for (int x = 0; x < 37; ++x) {
      const QRgb p = decoded.pixel(x, y);
      back.row(y)[x] = core::rgb(qRed(p), qGreen(p), qBlue(p));
    }
  }
  EXPECT_GT(outtest::psnrOf(frame, back), 40.0);
  EXPECT_LT(core::redOf(back.row(0)[0]), 60);  // the blue corner stayed top-left
  EXPECT_GT(core::blueOf(back.row(0)[0]), 150);
}

TEST_F(ImageLibraryTest, AnimationRunLeavesOneGifThatDecodesToTheFrames) {
  outtest::TempDir dir("lib-ani");
  const std::string base = dir.file("banner-e-");
  std::vector<core::Bitmap> frames;
  for (int k = 0; k < 10; ++k) {
    frames.push_back(pattern(30, 12, k));
    ASSERT_TRUE(output::writeFrame(pictureOf(frames.back()), base, k, ".gif", true));
  }
  EXPECT_EQ(dir.names().size(), 10u);
  ASSERT_TRUE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", 9, 10, false));
  EXPECT_EQ(dir.names().size(), 11u);  // the frame files go in the save step, once the GIF is there
  EXPECT_EQ(dir.names().front(), "banner-e-.gif");
  const auto gif = outtest::readGifWithGiflib(base + ".gif");
  ASSERT_TRUE(gif && gif->frames.size() == 10u);
  for (int k = 0; k < 10; ++k) EXPECT_TRUE(outtest::sameBitmap(frames[static_cast<std::size_t>(k)], gif->frames[static_cast<std::size_t>(k)])) << k;
}

TEST_F(ImageLibraryTest, BackAndForthPlaysTheFramesBackTo1) {
  outtest::TempDir dir("lib-bf");
  const std::string base = dir.file("b-h-");
  std::vector<core::Bitmap> frames;
  for (int k = 0; k < 4; ++k) {
    frames.push_back(pattern(20, 10, k * 2));
    ASSERT_TRUE(output::writeFrame(pictureOf(frames.back()), base, k, ".gif", true));
  }
  ASSERT_TRUE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", 3, 15, true));
  const auto gif = outtest::readGifWithGiflib(base + ".gif");
  ASSERT_TRUE(gif);
  const std::vector<int> order{0, 1, 2, 3, 2, 1};
  ASSERT_EQ(gif->frames.size(), order.size());
  for (std::size_t i = 0; i < order.size(); ++i) {
    EXPECT_TRUE(outtest::sameBitmap(frames[static_cast<std::size_t>(order[i])], gif->frames[i])) << i;
    EXPECT_EQ(gif->info[i].delay, 15);
  }
}

TEST_F(ImageLibraryTest, PerFrameGifsReplaceTheirBmpFiles) {
  outtest::TempDir dir("lib-gifs");
  const std::string base = dir.file("x-s-");
  const core::Bitmap frame = pattern(9, 9, 1);
  ASSERT_TRUE(output::writeFrame(pictureOf(frame), base, 0, ".gif", false));
  ASSERT_TRUE(output::writeFrame(pictureOf(frame), base, 1, ".gif", false));
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"x-s-000.gif", "x-s-001.gif"}));
  const auto gif = outtest::readGifWithGiflib(base + "001.gif");
  ASSERT_TRUE(gif && gif->frames.size() == 1u);
  EXPECT_TRUE(outtest::sameBitmap(frame, gif->frames[0]));
}

TEST_F(ImageLibraryTest, AFailedAnimationKeepsTheFramesAndAnEarlierGif) {
  outtest::TempDir dir("lib-ani-fail");
  const std::string base = dir.file("b-z-");
  std::ofstream(base + ".gif") << "earlier";
  for (int k = 0; k < 3; ++k) ASSERT_TRUE(output::writeFrame(pictureOf(pattern(8, 8, k)), base, k, ".gif", true));
  std::filesystem::remove(base + "001.bmp");
  EXPECT_FALSE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", 2, 10, false));
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"b-z-.gif", "b-z-000.bmp", "b-z-002.bmp"}));
  std::ifstream in(base + ".gif");
  std::string text;
  in >> text;
  EXPECT_EQ(text, "earlier");
}

}  // namespace
