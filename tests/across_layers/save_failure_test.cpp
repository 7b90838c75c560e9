// Save runs that cannot write: a full disk, a read-only file system, a folder
// that vanishes during the run. Each ends with the file and the reason
// reported, the controls enabled again, and every file left behind complete.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <QImage>

#include "effect_fixture.h"
#include "effects/driver.h"
#include "frame_files/bmp_codec.h"
#include "small_fs.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::uint8_t> bytesOf(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// Every file in the folder is a whole picture: BMPs decode with every row,
// JPEGs end with their end marker, GIFs with their trailer, and Qt reads the
// last two; no temporary file remains.
void expectEveryFileComplete(const fs::path& folder) {
  for (const auto& e : fs::directory_iterator(folder)) {
    const std::string name = e.path().filename().string();
    if (name == "filler") continue;
    SCOPED_TRACE(name);
    EXPECT_NE(name.front(), '.') << "temporary file left behind";
    const auto b = bytesOf(e.path());
    const std::string ext = e.path().extension().string();
    if (ext == ".bmp") {
      EXPECT_TRUE(output::decodeBmp(b).has_value());
    } else if (ext == ".jpg") {
      ASSERT_GE(b.size(), 4u);
      EXPECT_EQ(b[b.size() - 2], 0xFF);
      EXPECT_EQ(b[b.size() - 1], 0xD9);
      EXPECT_FALSE(QImage(QString::fromStdString(e.path().string())).isNull());
    } else if (ext == ".gif") {
      ASSERT_GE(b.size(), 14u);
      EXPECT_EQ(b.back(), 0x3B);
      EXPECT_FALSE(QImage(QString::fromStdString(e.path().string())).isNull());
    } else {
      ADD_FAILURE() << "unexpected file";
    }
  }
}

class SaveFailure : public ::testing::Test, public testutil::EffectFixture {
 protected:
  // 200 x 100: each frame's BMP is 60,054 bytes (15 pages of 4 KiB).
  void SetUp() override { load(testutil::gradientPicture(200, 100)); }

  void expectRunEndedCleanly() {
    EXPECT_TRUE(host.controlsEnabled);
    EXPECT_TRUE(host.allEnabled);
    EXPECT_FALSE(host.hourglass);
    EXPECT_FALSE(driver.isSaving());
  }

  effects::Driver driver{ws, host, false};
};

TEST_F(SaveFailure, FullDiskStopsAtTheFrameThatDidNotFit) {
  testutil::SmallFs disk(128);  // room for two frames
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot();
  driver.saveCommand((disk.path() / "banner.bmp").string());
  ASSERT_EQ(host.saveErrors.size(), 1u);
  EXPECT_EQ(host.saveErrors[0].first, (disk.path() / "banner-s-002.bmp").string());
  EXPECT_EQ(host.saveErrors[0].second, "No space left on device");
  const std::vector<std::string> kept = {(disk.path() / "banner-s-000.bmp").string(),
                                         (disk.path() / "banner-s-001.bmp").string()};
  EXPECT_EQ(driver.savedFiles(), kept);
  expectEveryFileComplete(disk.path());
  EXPECT_EQ(std::distance(fs::directory_iterator(disk.path()), fs::directory_iterator()), 2);
  expectRunEndedCleanly();
}

TEST_F(SaveFailure, FullDiskLeavesAnEarlierFileOfTheSameNameIntact) {
  testutil::SmallFs disk(96);
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot();
  const fs::path earlier = disk.path() / "banner-s-000.bmp";
  const auto earlierBytes = output::encodeBmp(core::Bitmap(3, 2, core::rgb(1, 2, 3)));
  std::ofstream(earlier, std::ios::binary).write(reinterpret_cast<const char*>(earlierBytes.data()),
                                                 static_cast<std::streamsize>(earlierBytes.size()));
  disk.fill();
  driver.saveCommand((disk.path() / "banner.jpg").string());
  ASSERT_EQ(host.saveErrors.size(), 1u);
  EXPECT_EQ(host.saveErrors[0].first, earlier.string());
  EXPECT_EQ(bytesOf(earlier), earlierBytes);
  expectEveryFileComplete(disk.path());
  expectRunEndedCleanly();
}

TEST_F(SaveFailure, JpegAndGifConversionsOnAFillingDiskLeaveOnlyWholeFiles) {
  for (const char* ext : {".jpg", ".gif"}) {
    SCOPED_TRACE(ext);
    testutil::SmallFs disk(128);
    if (!disk.mounted()) GTEST_SKIP() << disk.whyNot();
    host.saveErrors.clear();
    driver.saveCommand((disk.path() / (std::string("banner") + ext)).string());
    ASSERT_EQ(host.saveErrors.size(), 1u);
    EXPECT_EQ(host.saveErrors[0].second, "No space left on device");
    expectEveryFileComplete(disk.path());
    for (const std::string& f : driver.savedFiles()) EXPECT_TRUE(fs::exists(f)) << f;
    expectRunEndedCleanly();
  }
}

TEST_F(SaveFailure, AnimationThatDoesNotFitIsReportedAndKeepsTheFrameFiles) {
  // 22 frames of 15 pages fit; the joined GIF does not.
  testutil::SmallFs disk(22 * 60 + 8);
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot();
  host.gifAnimated = true;
  driver.saveCommand((disk.path() / "banner.gif").string());
  EXPECT_FALSE(fs::exists(disk.path() / "banner-s-.gif"));
  ASSERT_EQ(host.saveErrors.size(), 1u);
  EXPECT_EQ(host.saveErrors[0].first, (disk.path() / "banner-s-.gif").string());
  EXPECT_EQ(host.saveErrors[0].second, "No space left on device");
  ASSERT_EQ(driver.savedFiles().size(), 22u);
  EXPECT_EQ(driver.savedFiles().back(), (disk.path() / "banner-s-021.bmp").string());
  expectEveryFileComplete(disk.path());
  expectRunEndedCleanly();
}

TEST_F(SaveFailure, ReadOnlyFileSystemIsReportedWithTheFirstFile) {
  testutil::SmallFs disk(64);
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot();
  ASSERT_TRUE(disk.makeReadOnly());
  driver.saveCommand((disk.path() / "banner.bmp").string());
  ASSERT_EQ(host.saveErrors.size(), 1u);
  EXPECT_EQ(host.saveErrors[0].first, (disk.path() / "banner-s-000.bmp").string());
  EXPECT_EQ(host.saveErrors[0].second, "Read-only file system");
  EXPECT_TRUE(driver.savedFiles().empty());
  EXPECT_TRUE(fs::is_empty(disk.path()));
  expectRunEndedCleanly();
}

TEST_F(SaveFailure, FolderThatVanishesWhileComposingIsReported) {
  const fs::path folder = testutil::makeTempDir("vanishing") / "保存 先";
  fs::create_directories(folder);
  host.onYield = [&](int n) {
    if (n == 1) fs::remove_all(folder);
  };
  driver.saveCommand((folder / "バナー.bmp").string());
  ASSERT_EQ(host.saveErrors.size(), 1u);
  EXPECT_EQ(host.saveErrors[0].first, (folder / "バナー-s-000.bmp").string());
  EXPECT_EQ(host.saveErrors[0].second, "No such file or directory");
  EXPECT_TRUE(driver.savedFiles().empty());
  expectRunEndedCleanly();
}

}  // namespace
