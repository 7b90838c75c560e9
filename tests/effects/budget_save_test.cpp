// The save of an animated GIF with a byte budget: one encoding of the frames
// the GIF question was shown, written in one piece (the dialog's measured
// file when it has one), a question before a file over the budget, and no
// change at all without a budget.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include "effect_fixture.h"
#include "effects/driver.h"
#include "gif_reader.h"
#include "gif/animation_file.h"
#include "frame_files/file_io.h"
#include "core/psnr.h"

namespace {

namespace fs = std::filesystem;
using core::EffectKind;

// Coloured noise: the composed frames do not fit a small budget losslessly.
core::Picture noise(int w, int h) {
  core::Bitmap b(w, h);
  std::uint32_t state = 12345;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      state = state * 1664525u + 1013904223u;
      b.row(y)[x] = core::rgb(static_cast<int>(state >> 24), static_cast<int>((state >> 16) & 0xFF),
                              static_cast<int>((x * 2 + y) & 0xFF));
    }
  }
  return core::Picture::fromBitmap(std::move(b));
}

std::vector<std::string> namesIn(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

class BudgetSave : public ::testing::Test, public testutil::EffectFixture {
 protected:
  void SetUp() override {
    load(noise(90, 30));
    host.options.effect = static_cast<int>(EffectKind::Slide);
    host.gifAnimated = true;
    host.gifInterval = 10;
  }

  // Saves as base name `name`; returns the written GIF's path.
  fs::path save(const std::string& name) {
    driver.saveCommand((dir / (name + ".gif")).string());
    return dir / (name + "-s-.gif");
  }

  // The request the save's question was about.
  output::AnimationRequest asked() const {
    return output::AnimationRequest{host.askedFrames, host.askedShapes.back(), host.gifInterval, host.gifPlay};
  }

  static std::vector<std::uint8_t> bytesOf(const fs::path& file) {
    return output::readWholeFile(file.string(), 1 << 22).value_or(std::vector<std::uint8_t>{});
  }

  fs::path dir = testutil::makeTempDir("budget-save");
  effects::Driver driver{ws, host, false};
};

TEST_F(BudgetSave, TheQuestionGetsTheFramesByFileAndWithoutABudgetTheFileIsUnchanged) {
  for (const int plays : {0, 2}) {
    SCOPED_TRACE(plays);
    host.gifPlay.plays = plays;
    host.gifPlay.holdCs = plays == 0 ? 0 : 40;
    host.measuredAnswer.reset();
    const fs::path gif = save(plays == 0 ? "plain" : "played");
    ASSERT_TRUE(host.askedFrames);
    const auto order = effects::makeGenerator(EffectKind::Slide)->fileOrder();
    ASSERT_EQ(host.askedFrames->size(), order.size());
    for (std::size_t i = 0; i < order.size(); ++i)
      EXPECT_EQ((*host.askedFrames)[i].px, frame(order[i]).bitmap()->px) << i;
    // Written through the frame files as always; the same bytes as the one
    // encoding step gives for the question's request.
    const auto file = output::encodeAnimationFile(asked());
    ASSERT_TRUE(file);
    EXPECT_EQ(bytesOf(gif), file->bytes);
    EXPECT_EQ(driver.savedFiles(), std::vector<std::string>{gif.string()});
  }
  EXPECT_TRUE(host.overBudgetFiles.empty());
  EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"plain-s-.gif", "played-s-.gif"}));
}

TEST_F(BudgetSave, AMeasuredFileForTheBudgetIsWrittenByteForByte) {
  host.gifPlay.budgetBytes = 40000;
  output::AnimationFile measured;
  measured.bytes = {'G', 'I', 'F', '8', '9', 'a', 1, 2, 3, 0x3B};
  measured.budget = 40000;
  host.measuredAnswer = measured;
  const fs::path gif = save("measured");
  EXPECT_EQ(bytesOf(gif), measured.bytes);
  EXPECT_EQ(driver.savedFiles(), std::vector<std::string>{gif.string()});
  EXPECT_EQ(namesIn(dir), std::vector<std::string>{"measured-s-.gif"});

  // A measurement for another budget is not this save's file: it is encoded.
  measured.budget = 0;
  host.measuredAnswer = measured;
  const fs::path other = save("other");
  const auto file = output::encodeAnimationFile(asked());
  ASSERT_TRUE(file);
  EXPECT_EQ(bytesOf(other), file->bytes);
}

TEST_F(BudgetSave, ABudgetFitsTheFileWhichDecodesAtTheMeasuredPsnr) {
  host.gifPlay.preset = output::AdPreset::Google;
  host.gifPlay.plays = 3;
  save("lossless");
  const std::size_t lossless = fs::file_size(dir / "lossless-s-.gif");
  host.gifPlay.budgetBytes = lossless * 2 / 3 / 1000 * 1000;
  ASSERT_GE(host.gifPlay.budgetBytes, 1000u);
  const fs::path gif = save("fitted");
  const auto file = output::encodeAnimationFile(asked());
  ASSERT_TRUE(file);
  ASSERT_TRUE(file->fits);
  EXPECT_LT(file->quality, 100);
  const std::vector<std::uint8_t> bytes = bytesOf(gif);
  EXPECT_EQ(bytes, file->bytes);
  EXPECT_LE(bytes.size(), host.gifPlay.budgetBytes);
  EXPECT_TRUE(host.overBudgetFiles.empty());
  EXPECT_EQ(namesIn(dir), (std::vector<std::string>{"fitted-s-.gif", "lossless-s-.gif"}));
  // The report after the save reads the written size.
  ASSERT_EQ(host.budgets.size(), 2u);
  EXPECT_EQ(host.budgets[1].bytes, bytes.size());

  // giflib shows frames whose PSNR against the plan's frames is the one said.
  const auto decoded = outtest::readGifWithGiflib(gif.string());
  ASSERT_TRUE(decoded);
  const output::AnimationPlan plan = output::planAnimation(asked().shape, host.gifInterval, host.gifPlay);
  std::vector<core::Bitmap> slots;
  for (std::size_t i = 0; i < decoded->frames.size(); ++i)  // a stored image may stand for equal slots
    for (int d = 0; d < decoded->info[i].delay; d += host.gifInterval) slots.push_back(decoded->frames[i]);
  ASSERT_EQ(slots.size(), plan.files.size());
  double sum = 0.0;
  for (std::size_t i = 0; i < slots.size(); ++i)
    sum += core::framePsnr((*host.askedFrames)[static_cast<std::size_t>(plan.files[i])], slots[i]);
  EXPECT_NEAR(sum / static_cast<double>(slots.size()), file->psnr, 1e-9);
}

TEST_F(BudgetSave, AFileOverTheBudgetIsWrittenOnlyWhenTheQuestionSaysYes) {
  host.gifPlay.budgetBytes = 1000;
  fs::create_directories(dir / "keep");
  ASSERT_TRUE(output::replaceFile((dir / "unrelated.bmp").string(), std::vector<std::uint8_t>{1, 2, 3}));
  const std::vector<std::string> before = namesIn(dir);

  host.overBudgetAnswer = false;
  save("over");
  ASSERT_EQ(host.overBudgetFiles.size(), 1u);
  EXPECT_FALSE(host.overBudgetFiles[0].fits);
  EXPECT_EQ(host.overBudgetFiles[0].budget, 1000u);
  EXPECT_GT(host.overBudgetFiles[0].bytes.size(), 1000u);
  EXPECT_EQ(namesIn(dir), before);
  EXPECT_TRUE(driver.savedFiles().empty());
  EXPECT_TRUE(host.saveErrors.empty());
  EXPECT_FALSE(host.hourglass);

  host.overBudgetAnswer = true;
  const fs::path gif = save("over");
  ASSERT_EQ(host.overBudgetFiles.size(), 2u);
  EXPECT_EQ(bytesOf(gif), host.overBudgetFiles[1].bytes);
  EXPECT_EQ(driver.savedFiles(), std::vector<std::string>{gif.string()});
  std::vector<std::string> after = before;
  after.push_back("over-s-.gif");
  std::sort(after.begin(), after.end());
  EXPECT_EQ(namesIn(dir), after);
  EXPECT_TRUE(outtest::readGifWithGiflib(gif.string()));
}

}  // namespace
