#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "effect_fixture.h"
#include "effects/driver.h"
#include "frame_files/bmp_codec.h"
#include "frame_files/writer.h"

namespace {

namespace fs = std::filesystem;
using core::EffectKind;
using effects::Driver;
using testutil::gradientPicture;

core::Picture readBmp(const std::string& name) {
  std::ifstream in(name, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  auto bitmap = output::decodeBmp(bytes);
  return bitmap ? core::Picture::fromBitmap(std::move(*bitmap)) : core::Picture{};
}

class DriverSave : public ::testing::Test, public testutil::EffectFixture {
 protected:
  void SetUp() override { load(gradientPicture(20, 10)); }
  std::string folder(const std::string& name) {
    const fs::path p = dir / name;
    fs::create_directories(p);
    return p.string();
  }
  fs::path dir = testutil::makeTempDir("effects-save");
  Driver driver{ws, host, false};
};

TEST_F(DriverSave, NameWithTwoDotsGivesFolderBaseAndLastExtension) {
  const std::string out = folder("out");
  driver.saveCommand(out + "/banner.v2.JPG");
  EXPECT_EQ(ws.SavePath, out);
  EXPECT_EQ(ws.BaseName, "banner");
  EXPECT_EQ(ws.SaveExt, ".jpg");
  ASSERT_EQ(driver.savedFiles().size(), 22u);
  EXPECT_EQ(driver.savedFiles().front(), out + "/banner-s-000.jpg");
  EXPECT_EQ(driver.savedFiles().back(), out + "/banner-s-021.jpg");
  for (int i = 0; i < 22; ++i) {
    const std::string stem = out + "/banner-s-" + output::formatNumber(i);
    EXPECT_TRUE(fs::exists(stem + ".jpg")) << i;
    EXPECT_FALSE(fs::exists(stem + ".bmp")) << i;
  }
  EXPECT_EQ(host.gifQuestions, 0);
  EXPECT_TRUE(host.controlsEnabled);
  EXPECT_TRUE(host.allEnabled);
  EXPECT_FALSE(host.hourglass);
  // After a save the display shows only its background colour.
  EXPECT_TRUE(ws.picX.picture().isEmpty());
  EXPECT_EQ(ws.picX.point(3, 3), ws.picX.backColor());
}

TEST_F(DriverSave, NameWithoutExtensionWritesBmpFilesOfTheFrames) {
  const std::string out = folder("plain");
  driver.saveCommand(out + "/banner");
  EXPECT_EQ(ws.SaveExt, "");
  ASSERT_EQ(driver.savedFiles().size(), 22u);
  EXPECT_EQ(driver.savedFiles()[7], out + "/banner-s-007.bmp");
  EXPECT_TRUE(testutil::surfacesEqual(readBmp(out + "/banner-s-007.bmp"), ws.mFrames[7]));
}

TEST_F(DriverSave, ANameWithoutFolderChangesNothing) {
  ws.SavePath = "/kept";
  driver.saveCommand("/banner.bmp");
  driver.saveCommand("");
  EXPECT_EQ(ws.SavePath, "/kept");
  EXPECT_EQ(host.yields, 0);
}

TEST_F(DriverSave, SaveAfterPreviewWritesThePreviewedFramesAndAnOptionChangeRenewsThem) {
  driver.previewCommand();
  driver.previewCommand();
  ASSERT_TRUE(ws.framesComplete);
  const core::Picture previewed = ws.mFrames[4];
  const int yields = host.yields;
  driver.saveCommand(folder("a") + "/x.bmp");
  EXPECT_EQ(host.yields, yields);  // nothing composed
  EXPECT_EQ(ws.mFrames[4].handle(), previewed.handle());

  ws.emptyCache();  // what the window does when the mask option changes
  host.options.mask[core::kMaskSlide] = true;
  host.options.bannerColor = 0x00FF00;
  driver.saveCommand(folder("b") + "/x.bmp");
  EXPECT_EQ(host.yields, yields + 22);
  EXPECT_EQ(readBmp((dir / "b/x-s-000.bmp").string()).pixel(0, 0), 0x00FF00u);
}

TEST_F(DriverSave, GifQuestionComesOnceAfterComposing) {
  host.options.effect = static_cast<int>(EffectKind::Rotate);
  host.gifAnimated = true;
  driver.saveCommand(folder("g") + "/anim.gif");
  EXPECT_EQ(host.gifQuestions, 1);
  EXPECT_EQ(host.yieldsAtGifQuestion, 4 * 200);  // every plotted point yielded before it
  EXPECT_TRUE(host.saveErrors.empty());
}

TEST_F(DriverSave, WebpIsOneAnimationAskedForItsIntervalAndAClosedQuestionWritesNothing) {
  host.gifAnimated = false;  // the GIF answer plays no part
  host.gifInterval = 20;
  const std::string out = folder("w");
  driver.saveCommand(out + "/banner.webp");
  EXPECT_EQ(host.webpQuestions, 1);
  EXPECT_EQ(host.gifQuestions, 0);
  EXPECT_TRUE(host.saveErrors.empty());
  EXPECT_EQ(driver.savedFiles(), std::vector<std::string>{out + "/banner-s-.webp"});
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(out)) names.push_back(e.path().filename().string());
  EXPECT_EQ(names, std::vector<std::string>{"banner-s-.webp"});

  host.webpAnswered = false;
  const std::string closed = folder("closed");
  driver.saveCommand(closed + "/banner.webp");
  EXPECT_EQ(host.webpQuestions, 2);
  EXPECT_TRUE(fs::is_empty(closed));
  EXPECT_TRUE(driver.savedFiles().empty());
  EXPECT_TRUE(host.controlsEnabled);
}

TEST_F(DriverSave, RotateWritesTheFaceOnFrameFirst) {
  host.options.effect = static_cast<int>(EffectKind::Rotate);
  const std::string out = folder("r");
  driver.saveCommand(out + "/card.bmp");
  const int entries[12] = {3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 1, 2};
  for (int i = 0; i < 12; ++i)
    EXPECT_TRUE(testutil::surfacesEqual(readBmp(out + "/card-r-" + output::formatNumber(i) + ".bmp"),
                                        ws.mFrames[static_cast<std::size_t>(entries[i])]))
        << i;
}

TEST_F(DriverSave, StoppedTurnPreviewIsComposedAgainBeforeSaving) {
  host.options.effect = static_cast<int>(EffectKind::Turn);
  host.onYield = [this](int n) {
    if (n == 200 + 5) driver.previewCommand();  // stop inside frame 1
  };
  driver.previewCommand();
  ASSERT_FALSE(ws.mFrames[1].isEmpty());
  ASSERT_FALSE(ws.framesComplete);
  host.onYield = nullptr;
  const int yields = host.yields;
  const std::string out = folder("missing-parent") + "/turn";  // Turn makes the missing folder
  driver.saveCommand(out + "/t.bmp");
  EXPECT_EQ(host.yields - yields, 5 * 200);  // all five turned frames, no stop
  EXPECT_TRUE(ws.framesComplete);

  testutil::EffectFixture fresh;
  fresh.load(gradientPicture(20, 10));
  ASSERT_TRUE(fresh.compose(EffectKind::Turn, false));
  for (int k = 0; k < 12; ++k)
    EXPECT_TRUE(testutil::surfacesEqual(readBmp(out + "/t-t-" + output::formatNumber(k) + ".bmp"), fresh.frame(k)))
        << k;
}

TEST_F(DriverSave, UnwritableFolderIsReportedAndUnlocksTheControls) {
  const fs::path blocker = dir / "file";
  std::ofstream(blocker) << "not a folder";
  driver.saveCommand((blocker / "banner.bmp").string());  // Slide makes no folder
  ASSERT_EQ(host.saveErrors.size(), 1u);
  EXPECT_EQ(host.saveErrors[0].first, (blocker / "banner-s-000.bmp").string());
  EXPECT_FALSE(host.saveErrors[0].second.empty());
  EXPECT_TRUE(driver.savedFiles().empty());
  EXPECT_TRUE(host.controlsEnabled);
  EXPECT_TRUE(host.allEnabled);
  EXPECT_FALSE(host.hourglass);
  EXPECT_FALSE(driver.isSaving());
}

}  // namespace
