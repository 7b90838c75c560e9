#include "gif/animation_file.h"

#include <gtest/gtest.h>

#include "gif_reader.h"
#include "frame_files/file_io.h"
#include "gif/gif_fit.h"
#include "gif/shown_quality.h"
#include "frame_files/writer.h"
#include "output_test_support.h"

namespace {

// Smooth colour fields with a disc moving right: more than 256 colours, so
// that the file can be made smaller than its lossless size.
core::Bitmap movingDisc(int k, int w = 160, int h = 40) {
  core::Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      b.row(y)[x] = core::rgb((x * 3 + y * 5 + k * 7) & 0xFF, (y * 6 + x) & 0xFF, (x + 2 * y + k * 13) & 0xFF);
      const int dx = x - (20 + 12 * k), dy = y - h / 2;
      if (dx * dx + dy * dy < 70) b.row(y)[x] = core::rgb(250, 240, 30);
    }
  }
  return b;
}

class AnimationFileTest : public ::testing::Test {
 protected:
  AnimationFileTest() {
    auto f = std::make_shared<std::vector<core::Bitmap>>();
    for (int k = 0; k < 7; ++k) f->push_back(movingDisc(k));
    request.frames = f;
    request.shape.last = 6;
    request.shape.backAndForth = true;
    request.shape.restFile = 3;
    request.shape.width = 160;
    request.shape.height = 40;
    request.intervalCs = 12;
  }

  // The frames as a viewer shows them, one per plan slot, from giflib.
  std::vector<core::Bitmap> decodedSlots(const std::vector<std::uint8_t>& bytes, const output::AnimationPlan& plan) {
    const std::string path = dir.file("decoded.gif");
    EXPECT_TRUE(output::replaceFile(path, bytes));
    const auto gif = outtest::readGifWithGiflib(path);
    std::vector<core::Bitmap> slots;
    if (!gif) return slots;
    // A repeated frame is stored once for the delays of all its slots.
    std::size_t image = 0;
    int left = 0;
    for (int delay : plan.timing.delays) {
      if (image >= gif->frames.size()) return {};
      if (left == 0) left = gif->info[image].delay;
      slots.push_back(gif->frames[image]);
      left -= delay;
      if (left <= 0) {
        ++image;
        left = 0;
      }
    }
    return slots;
  }

  outtest::TempDir dir{"animation-file"};
  output::AnimationRequest request;
};

// What the writer's MakeGifAnimation joins from the frame files.
std::vector<std::uint8_t> savedTheOldWay(const std::string& base, const output::AnimationRequest& r) {
  for (int i = 0; i <= r.shape.last; ++i) {
    const auto frame = core::Picture::fromBitmap((*r.frames)[static_cast<std::size_t>(i)]);
    EXPECT_TRUE(output::writeFrame(frame, base, i, ".gif", true));
  }
  const bool written =
      r.play.plain()
          ? output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", r.shape.last,
                                     static_cast<std::int16_t>(r.intervalCs), r.shape.backAndForth)
          : output::MakeGifAnimation(base + ".gif", base, "000", ".bmp",
                                     output::planAnimation(r.shape, r.intervalCs, r.play));
  EXPECT_TRUE(written);
  return output::readWholeFile(base + ".gif", 1 << 22).value_or(std::vector<std::uint8_t>{});
}

TEST_F(AnimationFileTest, WithoutABudgetTheBytesAreThoseTheSaveWrites) {
  output::PlaySettings played;
  played.plays = 3;
  played.holdCs = 50;
  played.preset = output::AdPreset::Google;  // a preset changes no byte
  for (const output::PlaySettings& play : {output::PlaySettings{}, played}) {
    SCOPED_TRACE(play.plain() ? "plain" : "played");
    request.play = play;
    const auto file = output::encodeAnimationFile(request);
    ASSERT_TRUE(file);
    EXPECT_EQ(file->bytes, savedTheOldWay(dir.file(play.plain() ? "plain" : "played"), request));
    EXPECT_TRUE(file->fits);
    EXPECT_EQ(file->quality, 100);
    EXPECT_EQ(file->budget, 0u);
  }
  // A budget the plain file keeps to changes nothing either.
  const auto plain = output::encodeAnimationFile(request);
  request.play.budgetBytes = (plain->bytes.size() / 1000 + 1) * 1000;
  const auto roomy = output::encodeAnimationFile(request);
  ASSERT_TRUE(roomy);
  EXPECT_EQ(roomy->bytes, plain->bytes);
  EXPECT_EQ(roomy->budget, request.play.budgetBytes);
}

TEST_F(AnimationFileTest, ABudgetToTheByteFitsTheFileWithTheDecodedPsnr) {
  request.play.plays = 2;
  request.play.holdCs = 30;
  const auto plain = output::encodeAnimationFile(request);
  ASSERT_TRUE(plain);
  // Not a whole number of KB: brenlo-render's --max-bytes counts single bytes.
  request.play.budgetBytes = plain->bytes.size() * 2 / 3 + 7;
  const auto fitted = output::encodeAnimationFile(request);
  ASSERT_TRUE(fitted);
  EXPECT_TRUE(fitted->fits);
  EXPECT_LT(fitted->quality, 100);
  EXPECT_EQ(fitted->budget, request.play.budgetBytes);
  EXPECT_LE(fitted->bytes.size(), fitted->budget);

  // The PSNR said is that of the decoded file against the plan's frames.
  const output::AnimationPlan plan = output::planAnimation(request.shape, request.intervalCs, request.play);
  const std::vector<core::Bitmap> shown = decodedSlots(fitted->bytes, plan);
  ASSERT_EQ(shown.size(), plan.files.size());
  double sum = 0.0;
  for (std::size_t i = 0; i < shown.size(); ++i)
    sum += core::framePsnr((*request.frames)[static_cast<std::size_t>(plan.files[i])], shown[i]);
  EXPECT_NEAR(fitted->psnr, sum / static_cast<double>(shown.size()), 1e-9);

  // The same request gives the same file; without the budget, the plain one.
  const auto again = output::encodeAnimationFile(request);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->bytes, fitted->bytes);
  output::AnimationRequest unbounded = request;
  unbounded.play.budgetBytes = 0;
  const auto unbudgeted = output::encodeAnimationFile(unbounded);
  ASSERT_TRUE(unbudgeted);
  EXPECT_EQ(unbudgeted->bytes, plain->bytes);
}

TEST_F(AnimationFileTest, TooSmallABudgetGivesTheClosestFileAndItsQuestion) {
  request.play.budgetBytes = 1000;
  const auto file = output::encodeAnimationFile(request);
  ASSERT_TRUE(file);
  EXPECT_FALSE(file->fits);
  EXPECT_GT(file->bytes.size(), 1000u);
  EXPECT_GE(file->psnr, output::kLowestFitDb);

  output::AnimationFile shown;
  shown.bytes.resize(53599);
  shown.psnr = 25.06;
  shown.budget = 50000;
  shown.fits = false;
  EXPECT_EQ(output::overBudgetQuestion(shown),
            "アニメーションGIFを上限 50,000 バイトに収められません。\n"
            "最も小さくしても 53,599 バイト（PSNR 25.1 dB）です。\n"
            "このまま保存しますか？");
  const auto english = [](const char* text, int) { return std::string("<") + text + ">"; };
  EXPECT_EQ(output::overBudgetQuestion(shown, english),
            "<アニメーションGIFを上限 50,000 バイトに収められません。>\n"
            "<最も小さくしても 53,599 バイト（PSNR 25.1 dB）です。>\n<このまま保存しますか？>");
}

TEST_F(AnimationFileTest, ProgressRisesToTheWholeAndChangesNoByte) {
  // Parts within a step; a search that runs past the steps expected stays
  // short of the whole until the file is there; nothing ever falls.
  output::WorkProgress p;
  p.expect(4);
  p.part(1, 2);
  EXPECT_EQ(p.thousandths(), 125);
  p.stepDone();
  p.part(0, 3);
  EXPECT_EQ(p.thousandths(), 250);
  for (int i = 0; i < 5; ++i) p.stepDone();
  EXPECT_EQ(p.thousandths(), 857);
  p.part(1, 1);
  EXPECT_EQ(p.thousandths(), output::WorkProgress::kWhole - 1);
  p.finish();
  EXPECT_EQ(p.thousandths(), output::WorkProgress::kWhole);

  const auto plain = output::encodeAnimationFile(request);
  ASSERT_TRUE(plain);
  for (std::size_t budget : {std::size_t{0}, plain->bytes.size() * 7 / 10}) {
    SCOPED_TRACE(budget);
    request.play.budgetBytes = budget;
    output::WorkProgress progress;
    const auto watched = output::encodeAnimationFile(request, nullptr, &progress);
    ASSERT_TRUE(watched);
    EXPECT_EQ(watched->bytes, output::encodeAnimationFile(request)->bytes);
    EXPECT_EQ(progress.thousandths(), output::WorkProgress::kWhole);
  }
  output::CancelFlag cancelled{true};
  output::WorkProgress stopped;
  EXPECT_FALSE(output::encodeAnimationFile(request, &cancelled, &stopped));
  EXPECT_LT(stopped.thousandths(), output::WorkProgress::kWhole);
}

TEST_F(AnimationFileTest, RefusedFramesGiveNothing) {
  output::AnimationRequest missing = request;
  missing.frames = nullptr;
  EXPECT_FALSE(output::encodeAnimationFile(missing));
  output::AnimationRequest tooFew = request;
  tooFew.shape.last = 7;
  EXPECT_FALSE(output::encodeAnimationFile(tooFew));
}

}  // namespace
