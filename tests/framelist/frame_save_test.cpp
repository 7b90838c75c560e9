#include "framelist/frame_save.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include <QImage>
#include <QImageReader>
#include <QString>

#include "frame_files/file_io.h"
#include "core/psnr.h"
#include "testutil.h"

namespace {

namespace fs = std::filesystem;
using framelist::planFrameSave;
using framelist::SavePlan;
using framelist::writeFrameFiles;

// Frames told apart by their size: frame i is (10 + i) x (3 + i).
std::vector<core::Picture> frames(int count) {
  std::vector<core::Picture> out;
  for (int i = 0; i < count; ++i)
    out.push_back(core::Picture::fromBitmap(core::Bitmap(10 + i, 3 + i, core::rgb(20 * i, 100, 200))));
  return out;
}

// Frames of one size told apart by their colour: frame i is red 40 * i.
std::vector<core::Picture> sameSizeFrames(int count) {
  std::vector<core::Picture> out;
  for (int i = 0; i < count; ++i)
    out.push_back(core::Picture::fromBitmap(core::Bitmap(12, 5, core::rgb(40 * i, 100, 200))));
  return out;
}

std::set<std::string> filesIn(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

QSize imageSize(const fs::path& file) {
  const QImage image(QString::fromStdString(file.string()));
  return image.size();
}

// The save's question: records how it was asked and answers as told.
struct GifAnswer {
  bool animated = false;
  bool answered = true;  // false: closed without an answer
  std::int16_t interval = 10;
  output::PlaySettings play;
  int asked = 0;
  std::vector<save::AnimationAsk> asks;
  save::AnimationQuestion question() {
    return [this](const save::AnimationAsk& ask) -> std::optional<save::AnimationAnswer> {
      ++asked;
      asks.push_back(ask);
      if (!answered) return std::nullopt;
      save::AnimationAnswer answer;
      answer.animated = animated;
      answer.animation.intervalCs = interval;
      answer.animation.play = play;
      return answer;
    };
  }
};

TEST(PlanFrameSave, CancelledOrFolderlessNamesChangeNothing) {
  std::string saveExt = ".jpg";
  GifAnswer gif;
  EXPECT_FALSE(planFrameSave("", saveExt, gif.question(), frames(2)));
  EXPECT_FALSE(planFrameSave("anim.gif", saveExt, gif.question(), frames(2)));
  EXPECT_EQ(saveExt, ".jpg");
  EXPECT_EQ(gif.asked, 0);
}

TEST(PlanFrameSave, TwoDotsGiveTheFirstPartAsBaseAndTheLastAsExtension) {
  std::string saveExt;
  GifAnswer gif;
  gif.animated = true;
  gif.interval = 25;
  const std::optional<SavePlan> plan = planFrameSave("/tmp/out/a.b.GIF", saveExt, gif.question(), sameSizeFrames(2));
  ASSERT_TRUE(plan);
  EXPECT_EQ(saveExt, ".gif");
  EXPECT_EQ(plan->base, "/tmp/out/a");
  EXPECT_EQ(plan->saveExt, ".gif");
  EXPECT_TRUE(plan->animated);
  EXPECT_EQ(plan->interval, 25);
  EXPECT_EQ(gif.asked, 1);
  // The GIF dialog gets the frames to measure, and the plan keeps them.
  ASSERT_TRUE(gif.asks[0].frames);
  EXPECT_EQ(gif.asks[0].format, save::AnimationFormat::Gif);
  EXPECT_EQ(plan->frames, gif.asks[0].frames);
}

TEST(PlanFrameSave, OnlyGifAsksTheGifQuestion) {
  std::string saveExt;
  GifAnswer gif;
  gif.animated = true;
  for (const char* name : {"/tmp/x/base.bmp", "/tmp/x/base.jpg", "/tmp/x/base", "/tmp/x/base.png"}) {
    const std::optional<SavePlan> plan = planFrameSave(name, saveExt, gif.question(), frames(2));
    ASSERT_TRUE(plan) << name;
    EXPECT_EQ(plan->base, "/tmp/x/base");
    EXPECT_FALSE(plan->animated) << name;
  }
  EXPECT_EQ(saveExt, ".png");
  EXPECT_EQ(gif.asked, 0);
}

class WriteFrameFiles : public ::testing::Test {
 protected:
  fs::path dir = testutil::makeTempDir("framelist_save");
  SavePlan plan(const std::string& base, const std::string& ext, bool animated = false, std::int16_t interval = 10) {
    return SavePlan{(dir / base).string(), ext, animated, interval, {}, {}, {}, {}};
  }
};

TEST_F(WriteFrameFiles, BmpFramesAreNumberedInListOrder) {
  ASSERT_TRUE(writeFrameFiles(frames(3), plan("base", ".bmp")));
  EXPECT_EQ(filesIn(dir), (std::set<std::string>{"base000.bmp", "base001.bmp", "base002.bmp"}));
  EXPECT_EQ(imageSize(dir / "base000.bmp"), QSize(10, 3));
  EXPECT_EQ(imageSize(dir / "base002.bmp"), QSize(12, 5));
}

TEST_F(WriteFrameFiles, JpegFramesLeaveNoBmpFiles) {
  ASSERT_TRUE(writeFrameFiles(frames(3), plan("out", ".jpg")));
  EXPECT_EQ(filesIn(dir), (std::set<std::string>{"out000.jpg", "out001.jpg", "out002.jpg"}));
  EXPECT_EQ(imageSize(dir / "out001.jpg"), QSize(11, 4));
}

TEST_F(WriteFrameFiles, AnExtensionWeDoNotConvertStaysBmp) {
  ASSERT_TRUE(writeFrameFiles(frames(2), plan("base", ".png")));
  EXPECT_EQ(filesIn(dir), (std::set<std::string>{"base000.bmp", "base001.bmp"}));
}

TEST_F(WriteFrameFiles, GifPerFrame) {
  ASSERT_TRUE(writeFrameFiles(frames(2), plan("a", ".gif")));
  EXPECT_EQ(filesIn(dir), (std::set<std::string>{"a000.gif", "a001.gif"}));
  EXPECT_EQ(imageSize(dir / "a001.gif"), QSize(11, 4));
}

TEST_F(WriteFrameFiles, AnimatedGifHoldsEveryFrameWithTheInterval) {
  ASSERT_TRUE(writeFrameFiles(sameSizeFrames(3), plan("a", ".gif", true, 25)));
  EXPECT_EQ(filesIn(dir), (std::set<std::string>{"a.gif"}));
  QImageReader reader(QString::fromStdString((dir / "a.gif").string()));
  EXPECT_EQ(reader.imageCount(), 3);
  // Frame 2 is the last one in the file: list order is kept.
  QImage last;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(reader.read(&last)) << i;
    EXPECT_EQ(reader.nextImageDelay(), 250);
  }
  EXPECT_EQ(last.pixel(0, 0), qRgb(80, 100, 200));
}

TEST_F(WriteFrameFiles, OneFrameAnimatedGifBecomesBaseGifNotAStrayBmp) {
  ASSERT_TRUE(writeFrameFiles(frames(1), plan("a", ".gif", true, 10)));
  EXPECT_EQ(filesIn(dir), (std::set<std::string>{"a.gif"}));
  EXPECT_EQ(imageSize(dir / "a.gif"), QSize(10, 3));
}

// One play with a hold: the list's first frame opens with the hold and closes
// the file, no loop block is written, and the Google budget is reported.
TEST_F(WriteFrameFiles, APlayCountStartsAndEndsOnTheFirstFrameOfTheList) {
  const std::vector<core::Picture> list = sameSizeFrames(3);
  GifAnswer gif;
  gif.animated = true;
  gif.interval = 25;
  gif.play.plays = 1;
  gif.play.holdCs = 40;
  gif.play.preset = output::AdPreset::Google;
  std::string saveExt;
  const auto p = planFrameSave((dir / "a.gif").string(), saveExt, gif.question(), list);
  ASSERT_TRUE(p);
  const output::AnimationShape asked = gif.asks.at(0).shape;
  EXPECT_EQ(asked.last, 2);
  EXPECT_EQ(asked.restFile, 0);
  EXPECT_EQ(asked.width, 12);
  EXPECT_EQ(asked.height, 5);
  ASSERT_TRUE(writeFrameFiles(list, *p));
  EXPECT_EQ(filesIn(dir), (std::set<std::string>{"a.gif"}));
  QImageReader reader(QString::fromStdString((dir / "a.gif").string()));
  EXPECT_EQ(reader.imageCount(), 4);
  EXPECT_EQ(reader.loopCount(), 0);  // Qt's "no repeats": the file has no loop block
  const int reds[] = {0, 40, 80, 0};
  const int delays[] = {650, 250, 250, 250};
  for (int i = 0; i < 4; ++i) {
    QImage image;
    ASSERT_TRUE(reader.read(&image)) << i;
    EXPECT_EQ(image.pixel(0, 0), qRgb(reds[i], 100, 200)) << i;
    EXPECT_EQ(reader.nextImageDelay(), delays[i]) << i;
  }
  const auto budget = framelist::savedBudget(*p);
  ASSERT_TRUE(budget);
  EXPECT_TRUE(budget->within);
  EXPECT_EQ(budget->budget, 150000);
  EXPECT_FALSE(framelist::savedBudget(plan("a", ".gif", true)));  // no preset, no budget
}

TEST(PlanFrameSave, WebpIsOneAnimationAskedOnlyForItsInterval) {
  std::string saveExt = ".bmp";
  GifAnswer webp;
  webp.animated = false;  // a WebP answer is one animation whatever it says
  webp.interval = 40;
  webp.play.plays = 2;
  webp.play.preset = output::AdPreset::Google;  // the presets are the GIF's
  webp.play.budgetBytes = 5000;
  const std::optional<SavePlan> plan = planFrameSave("/tmp/out/anim.WebP", saveExt, webp.question(), sameSizeFrames(3));
  ASSERT_TRUE(plan);
  EXPECT_EQ(saveExt, ".webp");
  EXPECT_TRUE(plan->animated);
  EXPECT_EQ(plan->interval, 40);
  EXPECT_EQ(plan->base, "/tmp/out/anim");
  EXPECT_EQ(plan->play.plays, 2);
  EXPECT_EQ(plan->play.preset, output::AdPreset::None);
  EXPECT_EQ(plan->play.budgetBytes, 0u);
  ASSERT_EQ(webp.asked, 1);
  EXPECT_EQ(webp.asks[0].format, save::AnimationFormat::Webp);
  EXPECT_EQ(webp.asks[0].shape.last, 2);
  // A closed question writes nothing and changes nothing.
  webp.answered = false;
  saveExt = ".bmp";
  EXPECT_FALSE(planFrameSave("/tmp/out/anim.webp", saveExt, webp.question(), sameSizeFrames(3)));
  EXPECT_EQ(saveExt, ".bmp");
}

TEST_F(WriteFrameFiles, AnimatedWebpHoldsEveryFrameInListOrder) {
  ASSERT_TRUE(writeFrameFiles(sameSizeFrames(3), plan("a", ".webp", true, 25)));
  EXPECT_EQ(filesIn(dir), (std::set<std::string>{"a.webp"}));
  QImageReader reader(QString::fromStdString((dir / "a.webp").string()));
  ASSERT_EQ(reader.imageCount(), 3);
  QImage last;
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(reader.read(&last)) << i;
    EXPECT_EQ(reader.nextImageDelay(), 250);
  }
  EXPECT_EQ(last.pixel(0, 0), qRgb(80, 100, 200));
  ASSERT_TRUE(writeFrameFiles(frames(1), plan("one", ".webp", true, 10)));
  EXPECT_EQ(imageSize(dir / "one.webp"), QSize(10, 3));
}

TEST_F(WriteFrameFiles, AnEmptyListWritesNothing) {
  ASSERT_TRUE(writeFrameFiles({}, plan("a", ".gif", true)));
  ASSERT_TRUE(writeFrameFiles({}, plan("b", ".bmp")));
  EXPECT_TRUE(filesIn(dir).empty());
}

TEST_F(WriteFrameFiles, StopsAtTheFirstFileThatCannotBeWritten) {
  const SavePlan p{(dir / "missing" / "base").string(), ".bmp", false, 10, {}, {}, {}, {}};
  const output::WriteStatus status = writeFrameFiles(frames(3), p);
  ASSERT_FALSE(status);
  EXPECT_EQ(status.file, (dir / "missing" / "base000.bmp").string());
  EXPECT_FALSE(status.reason.empty());
  EXPECT_EQ(framelist::saveFailureMessage(status),
            "ファイルを保存できませんでした。\n" + status.file + "\n" + status.reason);
}

}  // namespace

// ---- an animated GIF with a byte budget --------------------------------------

namespace budget {

// Coloured noise moving right: too much for a small budget.
std::vector<core::Picture> noiseFrames(int count) {
  std::vector<core::Picture> out;
  for (int k = 0; k < count; ++k) {
    core::Bitmap b(60, 20);
    std::uint32_t state = 99;
    for (int y = 0; y < 20; ++y) {
      for (int x = 0; x < 60; ++x) {
        state = state * 1664525u + 1013904223u;
        const int v = static_cast<int>(state >> 24);
        b.row(y)[(x + 3 * k) % 60] = core::rgb(v, (v * 7 + y) & 0xFF, (x * 4) & 0xFF);
      }
    }
    out.push_back(core::Picture::fromBitmap(std::move(b)));
  }
  return out;
}

// Colour fields with a disc moving right: smaller when lossy.
std::vector<core::Picture> smoothFrames(int count) {
  std::vector<core::Picture> out;
  for (int k = 0; k < count; ++k) {
    core::Bitmap b(160, 40);
    for (int y = 0; y < 40; ++y) {
      for (int x = 0; x < 160; ++x) {
        b.row(y)[x] = core::rgb((x * 3 + y * 5) & 0xFF, (y * 6 + x + k * 9) & 0xFF, (x + 2 * y) & 0xFF);
        const int dx = x - (20 + 15 * k), dy = y - 20;
        if (dx * dx + dy * dy < 80) b.row(y)[x] = core::rgb(250, 240, 30);
      }
    }
    out.push_back(core::Picture::fromBitmap(std::move(b)));
  }
  return out;
}

// The GIF question with frames: records them, answers as told.
struct FileAnswer {
  output::PlaySettings play;
  std::optional<output::AnimationFile> measured;
  framelist::FramesByFile frames;
  save::AnimationQuestion question() {
    return [this](const save::AnimationAsk& ask) -> std::optional<save::AnimationAnswer> {
      frames = ask.frames;
      save::AnimationAnswer answer;
      answer.animated = true;
      answer.animation.play = play;
      answer.animation.measured = measured;
      return answer;
    };
  }
};

core::Bitmap fromQImage(const QImage& image) {
  const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
  core::Bitmap b(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y)
    for (int x = 0; x < rgb.width(); ++x) {
      const QRgb c = rgb.pixel(x, y);
      b.row(y)[x] = core::rgb(qRed(c), qGreen(c), qBlue(c));
    }
  return b;
}

std::vector<std::uint8_t> fileBytes(const fs::path& file) {
  return output::readWholeFile(file.string(), 1 << 22).value_or(std::vector<std::uint8_t>{});
}

output::AnimationRequest requestOf(const SavePlan& p) {
  return output::AnimationRequest{p.frames, p.shape, p.interval, p.play};
}

}  // namespace budget

TEST(SaveFrameList, WithoutABudgetTheFileIsTheOneEncodingOfTheListsFrames) {
  const fs::path dir = testutil::makeTempDir("framelist-nobudget");
  const std::vector<core::Picture> list = budget::noiseFrames(4);
  budget::FileAnswer answer;
  answer.play.plays = 2;
  std::string saveExt;
  const auto p = planFrameSave((dir / "a.gif").string(), saveExt, answer.question(), list);
  ASSERT_TRUE(p && p->animated && p->frames);
  ASSERT_EQ(p->frames->size(), list.size());
  for (std::size_t i = 0; i < list.size(); ++i) EXPECT_EQ((*p->frames)[i].px, list[i].bitmap()->px);
  const auto status = framelist::saveFrameList(list, *p, {});
  ASSERT_TRUE(status && *status);
  const auto file = output::encodeAnimationFile(budget::requestOf(*p));
  ASSERT_TRUE(file);
  EXPECT_EQ(budget::fileBytes(dir / "a.gif"), file->bytes);
  EXPECT_EQ(filesIn(dir), (std::set<std::string>{"a.gif"}));
}

TEST(SaveFrameList, AMeasuredOrEncodedFileIsWrittenInOnePieceWithinTheBudget) {
  const fs::path dir = testutil::makeTempDir("framelist-budget");
  const std::vector<core::Picture> list = budget::smoothFrames(6);
  budget::FileAnswer answer;
  answer.play.budgetBytes = 3000;
  output::AnimationFile measured;
  measured.bytes = {'G', 'I', 'F', '8', '9', 'a', 0x3B};
  measured.budget = 3000;
  answer.measured = measured;
  std::string saveExt;
  auto p = planFrameSave((dir / "m.gif").string(), saveExt, answer.question(), list);
  ASSERT_TRUE(p && p->measured);
  int questions = 0;
  const framelist::OverBudgetQuestion ask = [&](const output::AnimationFile&) { return ++questions, true; };
  ASSERT_TRUE(framelist::saveFrameList(list, *p, ask).value());
  EXPECT_EQ(budget::fileBytes(dir / "m.gif"), measured.bytes);

  // No measurement: the same encoding as the dialog's, within the budget,
  // decoding (Qt) to the PSNR it says.
  answer.measured.reset();
  output::AnimationRequest unbudgeted = budget::requestOf(*p);
  unbudgeted.play.budgetBytes = 0;
  const std::size_t lossless = output::encodeAnimationFile(unbudgeted)->bytes.size();
  answer.play.budgetBytes = lossless * 2 / 3 / 1000 * 1000;
  ASSERT_GE(answer.play.budgetBytes, 1000u);
  p = planFrameSave((dir / "e.gif").string(), saveExt, answer.question(), list);
  ASSERT_TRUE(p && !p->measured);
  ASSERT_TRUE(framelist::saveFrameList(list, *p, ask).value());
  const auto file = output::encodeAnimationFile(budget::requestOf(*p));
  ASSERT_TRUE(file && file->fits);
  EXPECT_LT(file->quality, 100);
  const auto bytes = budget::fileBytes(dir / "e.gif");
  EXPECT_EQ(bytes, file->bytes);
  EXPECT_LE(bytes.size(), answer.play.budgetBytes);
  QImageReader reader(QString::fromStdString((dir / "e.gif").string()));
  double sum = 0.0;
  std::size_t n = 0;
  for (QImage image; reader.read(&image); ++n) sum += core::framePsnr(*list[n].bitmap(), budget::fromQImage(image));
  ASSERT_EQ(n, list.size());
  EXPECT_NEAR(sum / static_cast<double>(n), file->psnr, 1e-9);
  EXPECT_EQ(questions, 0);
  EXPECT_EQ(filesIn(dir), (std::set<std::string>{"e.gif", "m.gif"}));
}

TEST(SaveFrameList, AFileOverTheBudgetIsWrittenOnlyWhenTheQuestionSaysYes) {
  const fs::path dir = testutil::makeTempDir("framelist-over");
  const std::vector<core::Picture> list = budget::noiseFrames(6);
  budget::FileAnswer answer;
  answer.play.budgetBytes = 1000;
  std::string saveExt;
  const auto p = planFrameSave((dir / "o.gif").string(), saveExt, answer.question(), list);
  ASSERT_TRUE(p);
  std::vector<output::AnimationFile> asked;
  bool yes = false;
  const framelist::OverBudgetQuestion ask = [&](const output::AnimationFile& f) {
    asked.push_back(f);
    return yes;
  };
  EXPECT_FALSE(framelist::saveFrameList(list, *p, ask));
  ASSERT_EQ(asked.size(), 1u);
  EXPECT_FALSE(asked[0].fits);
  EXPECT_TRUE(filesIn(dir).empty());
  EXPECT_FALSE(framelist::savedBudget(*p));

  yes = true;
  ASSERT_TRUE(framelist::saveFrameList(list, *p, ask).value());
  ASSERT_EQ(asked.size(), 2u);
  EXPECT_EQ(budget::fileBytes(dir / "o.gif"), asked[1].bytes);
  EXPECT_EQ(filesIn(dir), (std::set<std::string>{"o.gif"}));
  EXPECT_EQ(QImageReader(QString::fromStdString((dir / "o.gif").string())).imageCount(), 6);
}
