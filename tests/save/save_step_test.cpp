// The one save step, grouped by what can break: files written whole or not
// at all, one encode per animated file, and a budget question answered No.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "core/color.h"
#include "frame_files/bmp_codec.h"
#include "save/save_step.h"
#include "testutil.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> bytesOf(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> filesIn(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

// Frames with many colours, so that a small budget needs a lossy fit.
save::FramesByFile framesOf(int count, int w = 24, int h = 12) {
  auto frames = std::make_shared<std::vector<core::Bitmap>>();
  for (int k = 0; k < count; ++k) {
    core::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x) b.row(y)[x] = core::rgb((x * 41 + k * 13) % 256, (y * 23 + x * 7) % 256, k * 30);
    frames->push_back(std::move(b));
  }
  return frames;
}

class SaveStep : public ::testing::Test {
 protected:
  void SetUp() override { dir = testutil::makeTempDir("save-step"); }

  save::SaveRequest request(const std::string& ext, bool animated, int frames = 3) {
    save::SaveRequest r;
    r.target = save::SaveTarget{dir.string(), "b", "-s-", ext};
    r.frames = framesOf(frames);
    r.shape.last = frames - 1;
    r.shape.width = (*r.frames)[0].width;
    r.shape.height = (*r.frames)[0].height;
    r.animated = animated;
    return r;
  }

  // Counts the encodes and passes them on to the real encoder.
  save::AnimationEncoder counting() {
    return [this](const output::AnimationRequest& a) {
      budgetsAsked.push_back(a.play.budgetBytes);
      return output::encodeAnimationFile(a);
    };
  }

  fs::path dir;
  std::vector<std::size_t> budgetsAsked;
};

class Answer final : public save::OverBudgetQuestion {
 public:
  explicit Answer(bool yes) : yes_(yes) {}
  bool writeOverBudget(const output::AnimationFile& file) override {
    asked.push_back(file);
    return yes_;
  }
  std::vector<output::AnimationFile> asked;

 private:
  bool yes_;
};

// ---- files written whole or not at all ----------------------------------------

TEST_F(SaveStep, NumberedFramesAreWrittenAndListedInFileOrder) {
  const save::SaveReport report = save::saveFrames(request(".bmp", false));
  ASSERT_TRUE(report.status);
  EXPECT_EQ(filesIn(dir), (std::vector<std::string>{"b-s-000.bmp", "b-s-001.bmp", "b-s-002.bmp"}));
  ASSERT_EQ(report.files.size(), 3u);
  EXPECT_EQ(report.files[2], (dir / "b-s-002.bmp").string());
  const auto decoded = output::decodeBmp(bytesOf(dir / "b-s-001.bmp"));
  ASSERT_TRUE(decoded);
  EXPECT_TRUE(decoded->px == (*framesOf(3))[1].px);
}

TEST_F(SaveStep, AnAnimationThatCannotBeWrittenKeepsItsWholeFrameFilesAndSaysWhich) {
  fs::create_directory(dir / "b-s-.gif");  // the name is taken by a folder
  const save::SaveReport report = save::saveFrames(request(".gif", true));
  ASSERT_FALSE(report.status);
  EXPECT_EQ(report.status.file, (dir / "b-s-.gif").string());
  EXPECT_EQ(report.files.size(), 3u);
  for (const std::string& f : report.files) EXPECT_TRUE(output::decodeBmp(bytesOf(f))) << f;
  EXPECT_TRUE(fs::is_directory(dir / "b-s-.gif"));
}

TEST_F(SaveStep, AFittedAnimationIntoAMissingFolderLeavesNothing) {
  save::SaveRequest r = request(".gif", true);
  r.target.folder = (dir / "gone").string();
  r.animation.play.budgetBytes = 100000;
  const save::SaveReport report = save::saveFrames(r);
  ASSERT_FALSE(report.status);
  EXPECT_EQ(report.status.file, (dir / "gone" / "b-s-.gif").string());
  EXPECT_TRUE(report.files.empty());
  EXPECT_FALSE(fs::exists(dir / "gone"));
  EXPECT_TRUE(fs::is_empty(dir));
}

TEST_F(SaveStep, AnAnimatedWebpReplacesItsFrameFiles) {
  const save::SaveReport report = save::saveFrames(request(".webp", true));
  ASSERT_TRUE(report.status);
  EXPECT_EQ(filesIn(dir), std::vector<std::string>{"b-s-.webp"});
  EXPECT_EQ(report.files, std::vector<std::string>{(dir / "b-s-.webp").string()});
  EXPECT_FALSE(report.gif);
}

TEST_F(SaveStep, NoFramesWriteNothing) {
  save::SaveRequest r = request(".gif", true);
  r.frames = std::make_shared<std::vector<core::Bitmap>>();
  const save::SaveReport report = save::saveFrames(r);
  EXPECT_TRUE(report.status);
  EXPECT_TRUE(fs::is_empty(dir));
}

// ---- one encode per animated file ---------------------------------------------

TEST_F(SaveStep, EveryAnimatedGifIsEncodedOnce) {
  const save::SaveReport plain = save::saveFrames(request(".gif", true), nullptr, counting());
  EXPECT_EQ(budgetsAsked, std::vector<std::size_t>{0});
  ASSERT_TRUE(plain.gif);
  EXPECT_EQ(bytesOf(dir / "b-s-.gif"), plain.gif->bytes);
  EXPECT_EQ(filesIn(dir), std::vector<std::string>{"b-s-.gif"});

  budgetsAsked.clear();
  save::SaveRequest fitted = request(".gif", true);
  fitted.animation.play.budgetBytes = 1500;
  const save::SaveReport fit = save::saveFrames(fitted, nullptr, counting());
  EXPECT_EQ(budgetsAsked, std::vector<std::size_t>{1500});  // the fit, no plain file before it
  ASSERT_TRUE(fit.gif);
  EXPECT_EQ(fit.gif->budget, 1500u);
  EXPECT_EQ(bytesOf(dir / "b-s-.gif"), fit.gif->bytes);

  budgetsAsked.clear();
  save::saveFrames(request(".bmp", false), nullptr, counting());
  save::saveFrames(request(".webp", true), nullptr, counting());
  EXPECT_TRUE(budgetsAsked.empty());
}

TEST_F(SaveStep, TheMeasuredFileIsWrittenAsItIsWithoutAnEncode) {
  save::SaveRequest r = request(".gif", true);
  r.animation.play.budgetBytes = 1500;
  output::AnimationFile measured;
  measured.bytes = {'G', 'I', 'F', '8', '9', 'a', 0x3B};
  measured.budget = 1500;
  r.animation.measured = measured;
  save::saveFrames(r, nullptr, counting());
  EXPECT_TRUE(budgetsAsked.empty());
  EXPECT_EQ(bytesOf(dir / "b-s-.gif"), measured.bytes);

  // Measured for another budget: not this file.
  r.animation.play.budgetBytes = 1600;
  save::saveFrames(r, nullptr, counting());
  EXPECT_EQ(budgetsAsked, std::vector<std::size_t>{1600});
  EXPECT_NE(bytesOf(dir / "b-s-.gif"), measured.bytes);
}

TEST_F(SaveStep, APresetBudgetIsFittedIntoOnlyWhenThePlainFileIsOverIt) {
  save::SaveRequest r = request(".gif", true);
  r.animation.play.preset = output::AdPreset::Google;  // 150,000 bytes: far more than these frames need
  r.animation.presetBudgetWhenOver = true;
  const save::SaveReport report = save::saveFrames(r, nullptr, counting());
  EXPECT_EQ(budgetsAsked, std::vector<std::size_t>{150000});  // one encoding, of the plain file within it
  ASSERT_TRUE(report.gif);
  EXPECT_EQ(report.gif->budget, 0u);
  ASSERT_TRUE(report.budget);
  EXPECT_TRUE(report.budget->within);
  EXPECT_EQ(report.budget->bytes, report.gif->bytes.size());
}

TEST_F(SaveStep, APlainFileOverThePresetBudgetIsFittedInTheSameEncoding) {
  save::SaveRequest r = request(".gif", true);
  r.animation.play.preset = output::AdPreset::Google;
  r.animation.presetBudgetWhenOver = true;
  std::vector<output::AnimationRequest> seen;
  const std::vector<std::uint8_t> fittedBytes = {'G', 'I', 'F', '8', '9', 'a', 0x3B};
  // The encoder answers as for frames too heavy for the budget: fitted.
  const save::AnimationEncoder fitting = [&](const output::AnimationRequest& a) {
    seen.push_back(a);
    output::AnimationFile f;
    f.bytes = fittedBytes;
    f.budget = a.play.budgetBytes;
    f.quality = 40;
    return std::optional<output::AnimationFile>(f);
  };
  const save::SaveReport report = save::saveFrames(r, nullptr, fitting);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_TRUE(seen[0].plainWhenWithin);
  EXPECT_EQ(seen[0].play.budgetBytes, 150000u);
  EXPECT_EQ(bytesOf(dir / "b-s-.gif"), fittedBytes);
  EXPECT_EQ(filesIn(dir), std::vector<std::string>{"b-s-.gif"});  // no frame files left behind
  ASSERT_TRUE(report.gif);
  EXPECT_EQ(report.gif->budget, 150000u);
}

// ---- a budget question answered No writes nothing ----------------------------

TEST_F(SaveStep, NoToTheOverBudgetQuestionWritesNothingAndKeepsAnEarlierFile) {
  const std::vector<std::uint8_t> earlier = {1, 2, 3};
  std::ofstream(dir / "b-s-.gif", std::ios::binary).write("\1\2\3", 3);
  save::SaveRequest r = request(".gif", true);
  r.animation.play.budgetBytes = 100;  // below anything a GIF of these frames can be
  Answer no(false);
  const save::SaveReport report = save::saveFrames(r, &no);
  EXPECT_TRUE(report.declined);
  EXPECT_TRUE(report.status);
  EXPECT_TRUE(report.files.empty());
  ASSERT_EQ(no.asked.size(), 1u);
  EXPECT_FALSE(no.asked[0].fits);
  EXPECT_EQ(no.asked[0].budget, 100u);
  EXPECT_EQ(filesIn(dir), std::vector<std::string>{"b-s-.gif"});
  EXPECT_EQ(bytesOf(dir / "b-s-.gif"), earlier);

  Answer yes(true);
  const save::SaveReport written = save::saveFrames(r, &yes);
  EXPECT_FALSE(written.declined);
  ASSERT_TRUE(written.gif);
  EXPECT_EQ(bytesOf(dir / "b-s-.gif"), yes.asked.at(0).bytes);
}

}  // namespace
