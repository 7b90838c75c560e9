// Zoom, Diffuse, Elastic and Hue through the driver: playback orders and
// labels, cache reuse by a save and renewal after an option change, and the
// file order on disk.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "compose_fixture.h"
#include "effects/driver.h"
#include "frame_files/bmp_codec.h"

namespace {

namespace fs = std::filesystem;
using core::EffectKind;
using effects::Driver;

core::Picture readBmp(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  auto bitmap = output::decodeBmp(bytes);
  return bitmap ? core::Picture::fromBitmap(std::move(*bitmap)) : core::Picture{};
}

class ScaleColourDriver : public ::testing::Test, public testutil::EffectFixture {
 protected:
  void SetUp() override { load(testutil::gradientPicture(24, 12)); }
  void select(EffectKind kind) { host.options.effect = static_cast<int>(kind); }
  // Plays `positions` frames and returns the cache entries shown, in order.
  std::vector<int> play(int positions) {
    std::vector<int> shown;
    for (int i = 0; i < positions; ++i) {
      int entry = -1;
      for (std::size_t k = 0; k < ws.mFrames.size(); ++k)
        if (ws.picX.picture().handle() == ws.mFrames[k].handle()) entry = static_cast<int>(k);
      shown.push_back(entry);
      driver.timerFired();
    }
    return shown;
  }
  fs::path dir = testutil::makeTempDir("scale-colour-save");
  Driver driver{ws, host, false};
};

TEST_F(ScaleColourDriver, ZoomPlaysNineDownToZeroLabelledFromZero) {
  select(EffectKind::Zoom);
  driver.previewCommand();
  EXPECT_EQ(host.timerInterval, 150);
  EXPECT_EQ(play(11), (std::vector<int>{9, 8, 7, 6, 5, 4, 3, 2, 1, 0, 9}));
  EXPECT_EQ(host.messages[0], "BaseName-z-00.bmp");
  EXPECT_EQ(host.messages[9], "BaseName-z-09.bmp");
}

TEST_F(ScaleColourDriver, DiffuseAndHueConvergencePlayBackAndForth) {
  select(EffectKind::Diffuse);
  driver.previewCommand();
  EXPECT_EQ(play(13), (std::vector<int>{0, 1, 2, 3, 4, 5, 5, 4, 3, 2, 1, 0, 0}));
  driver.previewCommand();  // stop

  select(EffectKind::Hue);
  host.options.hueType = 1;
  host.messages.clear();
  driver.previewCommand();
  EXPECT_EQ(play(23), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0}));
  EXPECT_EQ(host.messages[12], "BaseName-h-10.bmp");
}

TEST_F(ScaleColourDriver, ZoomSaveWritesFrameNineAsFileZero) {
  select(EffectKind::Zoom);
  driver.saveCommand((dir / "banner.bmp").string());
  ASSERT_EQ(driver.savedFiles().size(), 10u);
  for (int i = 0; i < 10; ++i) {
    const fs::path file = dir / ("banner-z-00" + std::to_string(i) + ".bmp");
    EXPECT_TRUE(testutil::surfacesEqual(readBmp(file), ws.mFrames[static_cast<std::size_t>(9 - i)])) << file;
  }
  // File 009 is the picture itself, file 004 the blank frame.
  EXPECT_TRUE(testutil::surfacesEqual(readBmp(dir / "banner-z-009.bmp"), ws.picSource.picture()));
  EXPECT_EQ(readBmp(dir / "banner-z-004.bmp").pixel(5, 5), ws.picSource.point(0, 0));
}

TEST_F(ScaleColourDriver, DiffuseSaveAfterPreviewWritesThePreviewGrains) {
  select(EffectKind::Diffuse);
  host.options.bannerColor = 0x00FF00;  // preview grains are green, a save's would be black
  driver.previewCommand();
  driver.previewCommand();
  ASSERT_TRUE(ws.framesComplete);
  const effects::RandomSource before = ws.rng;
  driver.saveCommand((dir / "d.bmp").string());
  effects::RandomSource after = ws.rng, expected = before;
  EXPECT_EQ(after.next(), expected.next());  // nothing was drawn again
  EXPECT_TRUE(testutil::surfacesEqual(readBmp(dir / "d-d-005.bmp"), testutil::solid(24, 12, 0x00FF00)));

  // A new Diffuse type empties the cache (the window does that); the save
  // then composes its own frames: "Light down" ends in black.
  ws.emptyCache(22);
  host.options.diffuseType = 2;
  driver.saveCommand((dir / "d.bmp").string());
  EXPECT_TRUE(testutil::surfacesEqual(readBmp(dir / "d-d-005.bmp"), testutil::solid(24, 12, core::kBlack)));
  EXPECT_TRUE(testutil::surfacesEqual(readBmp(dir / "d-d-000.bmp"), ws.picSource.picture()));
}

TEST_F(ScaleColourDriver, HueTypeChangeKeepsThePreviewedFramesForTheSave) {
  select(EffectKind::Hue);
  driver.previewCommand();
  driver.previewCommand();
  const core::Picture rotated = ws.mFrames[6];
  host.options.hueType = 1;  // does not empty the cache
  const int yields = host.yields;
  driver.saveCommand((dir / "h.bmp").string());
  EXPECT_EQ(host.yields, yields);
  EXPECT_TRUE(testutil::surfacesEqual(readBmp(dir / "h-h-006.bmp"), rotated));
}

TEST_F(ScaleColourDriver, ElasticStopDuringItsYieldStillFinishesTheFramesButDoesNotPlay) {
  select(EffectKind::Elastic);
  host.onYield = [&](int n) {
    if (n == 1) driver.previewCommand();  // the stop request
  };
  driver.previewCommand();
  EXPECT_EQ(driver.state(), effects::PreviewState::Idle);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(ws.framesComplete);
  EXPECT_TRUE(host.controlsEnabled);
  EXPECT_EQ(ws.picX.picture().handle(), ws.picSource.picture().handle());
}

}  // namespace
