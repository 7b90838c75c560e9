// Every kind of file the writer makes, read back by Qt and by a second,
// independent decoder (ImageMagick's identify/convert, giflib's giftext):
// the intended size, frame count, frame order, delays and endless looping.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QMovie>

#include "gif_reader.h"
#include "intake/image_adapter.h"
#include "play/animation_plan.h"
#include "frame_files/writer.h"
#include "testutil.h"

namespace {

namespace fs = std::filesystem;

// Standard output of a shell command ("" when it cannot run).
std::string run(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen((command + " 2>/dev/null").c_str(), "r")) {
    char buf[4096];
    for (std::size_t n; (n = std::fread(buf, 1, sizeof buf, p)) > 0;) out.append(buf, n);
    ::pclose(p);
  }
  return out;
}

bool haveTools() { return !run("command -v identify convert giftext").empty(); }

std::string shellArg(const fs::path& p) { return "'" + p.string() + "'"; }

int count(const std::string& text, const std::string& what) {
  int n = 0;
  for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
  return n;
}

// Frame k of four: 30 x 20, 4 x 5 x 4 = 80 colours over all frames.
core::Picture frame(int k) {
  core::Bitmap b(30, 20);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) b.row(y)[x] = core::rgb((x / 8) * 60, (y / 4) * 50, k * 80);
  return core::Picture::fromBitmap(std::move(b));
}

// All frames of an animation as ImageMagick composes them, as pictures.
std::vector<core::Picture> magickFrames(const fs::path& gif, int w, int h) {
  const std::string raw = run("convert " + shellArg(gif) + " -coalesce -depth 8 rgb:-");
  std::vector<core::Picture> frames;
  const std::size_t size = static_cast<std::size_t>(w * h * 3);
  for (std::size_t at = 0; at + size <= raw.size(); at += size) {
    core::Bitmap b(w, h);
    for (std::size_t i = 0; i < b.px.size(); ++i) {
      const auto* p = reinterpret_cast<const unsigned char*>(raw.data() + at + i * 3);
      b.px[i] = core::rgb(p[0], p[1], p[2]);
    }
    frames.push_back(core::Picture::fromBitmap(std::move(b)));
  }
  return frames;
}

class OutputDecoders : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!haveTools()) GTEST_SKIP() << "ImageMagick or giflib-tools missing (scripts/setup-deps.sh installs them)";
    fs::create_directories(dir_);
    for (int k = 0; k < 4; ++k) ASSERT_TRUE(output::SavePicture(frame(k), bmp(k)));
  }
  std::string bmp(int k) const { return base_ + output::formatNumber(k) + ".bmp"; }
  core::Picture qtRead(const std::string& file) const {
    return intake::fromQImage(QImage(QString::fromStdString(file)));
  }

  fs::path dir_ = testutil::makeTempDir("decoders") / "出力 テスト";
  std::string base_ = (dir_ / "バナー -s-").string();
};

TEST_F(OutputDecoders, BmpAndJpegFrames) {
  EXPECT_EQ(run("identify -format '%m %w %h' " + shellArg(bmp(2))), "BMP3 30 20");
  EXPECT_TRUE(testutil::surfacesEqual(qtRead(bmp(2)), frame(2)));
  const std::string jpg = base_ + "002.jpg";
  ASSERT_TRUE(output::BmpToJpg(jpg, bmp(2), 100, 0));
  EXPECT_EQ(run("identify -format '%m %w %h %Q' " + shellArg(jpg)), "JPEG 30 20 100");
  const core::Picture back = qtRead(jpg);
  ASSERT_EQ(back.width(), 30);
  EXPECT_GE(testutil::psnr(back, frame(2)), 35.0);
}

TEST_F(OutputDecoders, OneFrameGifIsExact) {
  const std::string gif = base_ + "001.gif";
  std::int16_t option = 0;
  ASSERT_TRUE(output::BmpToGif(gif, bmp(1), option));
  EXPECT_EQ(run("identify -format '%m %n %w %h;' " + shellArg(gif)), "GIF 1 30 20;");
  EXPECT_EQ(count(run("giftext " + shellArg(gif)), "Image #"), 1);
  EXPECT_TRUE(testutil::surfacesEqual(qtRead(gif), frame(1)));
  const auto frames = magickFrames(gif, 30, 20);
  ASSERT_EQ(frames.size(), 1u);
  EXPECT_TRUE(testutil::surfacesEqual(frames[0], frame(1)));
}

// Frame order, delays and looping as Qt sees them.
void expectQtAnimation(const std::string& gif, const std::vector<int>& order, int delayMs) {
  QImageReader r(QString::fromStdString(gif));
  EXPECT_EQ(r.imageCount(), static_cast<int>(order.size()));
  EXPECT_EQ(r.loopCount(), -1);  // forever
  for (std::size_t i = 0; i < order.size(); ++i) {
    const QImage img = r.read();
    ASSERT_FALSE(img.isNull()) << i;
    EXPECT_TRUE(testutil::surfacesEqual(intake::fromQImage(img), frame(order[i]))) << "frame " << i;
    EXPECT_EQ(r.nextImageDelay(), delayMs) << i;
  }
}

TEST_F(OutputDecoders, AnimatedGifForward) {
  const std::string gif = base_ + ".gif";
  ASSERT_TRUE(output::MakeGifAnimation(gif, base_, "000", ".bmp", 3, 7, false));
  EXPECT_EQ(run("identify -format '%n %T %W %H;' " + shellArg(gif)), "4 7 30 20;4 7 30 20;4 7 30 20;4 7 30 20;");
  EXPECT_NE(run("identify -verbose " + shellArg(gif)).find("Iterations: 0"), std::string::npos);
  const std::string text = run("giftext " + shellArg(gif));
  EXPECT_EQ(count(text, "Image #"), 4);
  EXPECT_EQ(count(text, "DelayTime: 7\n"), 4);
  EXPECT_NE(text.find("Screen Size - Width = 30, Height = 20."), std::string::npos);
  const auto frames = magickFrames(gif, 30, 20);
  ASSERT_EQ(frames.size(), 4u);
  for (int k = 0; k < 4; ++k) EXPECT_TRUE(testutil::surfacesEqual(frames[static_cast<std::size_t>(k)], frame(k))) << k;
  expectQtAnimation(gif, {0, 1, 2, 3}, 70);
}

TEST_F(OutputDecoders, BackAndForthAnimationPlaysTheWayBack) {
  const std::string gif = base_ + ".gif";
  ASSERT_TRUE(output::MakeGifAnimation(gif, base_, "000", ".bmp", 3, 25, true));
  const std::vector<int> order = {0, 1, 2, 3, 2, 1};
  EXPECT_EQ(run("identify -format '%n %T;' " + shellArg(gif)), "6 25;6 25;6 25;6 25;6 25;6 25;");
  EXPECT_NE(run("identify -verbose " + shellArg(gif)).find("Iterations: 0"), std::string::npos);
  const auto frames = magickFrames(gif, 30, 20);
  ASSERT_EQ(frames.size(), order.size());
  for (std::size_t i = 0; i < order.size(); ++i)
    EXPECT_TRUE(testutil::surfacesEqual(frames[i], frame(order[i]))) << "frame " << i;
  expectQtAnimation(gif, order, 250);
}

// A play count as three independent readers see it: giflib's loop block
// (the stored count, N - 1 for N plays), Qt's loop count (the repeats after
// the first play; 0 = play once, -1 = forever) and ImageMagick 6's
// iterations (the plays; 0 = forever; one play, its default, is not listed).
// The frames start and end on the rest frame and only its first showing
// holds.
TEST_F(OutputDecoders, PlayCountsAndTheRestFrameAsThreeDecodersReadThem) {
  const output::AnimationShape shape{3, false, 2, 30, 20};
  static int argc = 1;
  static char name[] = "output_decoders_test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication app(argc, argv);  // QMovie draws into pixmaps
  const struct {
    int plays;
    int giflibLoop;  // the stored loop count, -1 without a loop block
    int qtLoops;
    const char* magickIterations;  // "" = no such line
  } cases[] = {
      {0, 0, -1, "Iterations: 0\n"}, {1, -1, 0, ""}, {2, 1, 1, "Iterations: 2\n"}, {6, 5, 5, "Iterations: 6\n"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.plays);
    output::PlaySettings play;
    play.plays = c.plays;
    play.holdCs = 30;
    const std::string gif = base_ + std::to_string(c.plays) + ".gif";
    ASSERT_TRUE(output::MakeGifAnimation(gif, base_, "000", ".bmp", output::planAnimation(shape, 20, play)));
    const std::vector<int> order = c.plays == 0 ? std::vector<int>{2, 3, 0, 1} : std::vector<int>{2, 3, 0, 1, 2};
    const auto decoded = outtest::readGifWithGiflib(gif);
    ASSERT_TRUE(decoded);
    EXPECT_EQ(decoded->loopCount, c.giflibLoop);
    const std::string text = run("giftext " + shellArg(gif));
    EXPECT_EQ(count(text, "application block"), c.plays == 1 ? 0 : 1);
    EXPECT_EQ(count(text, "Image #"), static_cast<int>(order.size()));

    QImageReader reader(QString::fromStdString(gif));
    EXPECT_EQ(reader.loopCount(), c.qtLoops);
    QMovie movie(QString::fromStdString(gif));
    EXPECT_EQ(movie.loopCount(), c.qtLoops);

    const std::string verbose = run("identify -verbose " + shellArg(gif + "[0]"));
    if (*c.magickIterations != '\0')
      EXPECT_NE(verbose.find(c.magickIterations), std::string::npos) << verbose;
    else
      EXPECT_EQ(verbose.find("Iterations:"), std::string::npos) << verbose;
    std::string delays;
    for (std::size_t i = 0; i < order.size(); ++i) delays += i == 0 ? "50;" : "20;";
    EXPECT_EQ(run("identify -format '%T;' " + shellArg(gif)), delays);
    const auto frames = magickFrames(gif, 30, 20);
    ASSERT_EQ(frames.size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
      EXPECT_TRUE(testutil::surfacesEqual(frames[i], frame(order[i]))) << "frame " << i;
  }
}

}  // namespace
