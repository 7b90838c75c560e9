// Paths with Japanese characters and spaces through every way a file comes
// in or goes out: brenlo-render (as a real process, so the names pass
// through argv and the C library), the frame list save, the loader.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "framelist/frame_save.h"
#include "intake/picture_loader.h"
#include "frame_files/writer.h"
#include "testutil.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> linesOf(const fs::path& file) {
  std::ifstream in(file);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  return lines;
}

core::Picture source() {
  core::Bitmap b(40, 12);
  for (int y = 0; y < 12; ++y)
    for (int x = 0; x < 40; ++x) b.row(y)[x] = core::rgb(x * 6, y * 20, 90);
  return core::Picture::fromBitmap(std::move(b));
}

class JapanesePaths : public ::testing::Test {
 protected:
  void SetUp() override {
    fs::create_directories(in_);
    ASSERT_TRUE(output::SavePicture(source(), (in_ / "元の 画像.bmp").string()));
  }
  int render(const std::vector<std::string>& args, const fs::path& log) {
    std::string cmd = "'" BRENLO_RENDER "'";
    for (const std::string& a : args) cmd += " '" + a + "'";
    return std::system((cmd + " > '" + log.string() + "' 2>&1").c_str());
  }
  fs::path root_ = testutil::makeTempDir("paths");
  fs::path in_ = root_ / "素材 フォルダ";
  fs::path out_ = root_ / "保存 先" / "バナー 出力";
};

TEST_F(JapanesePaths, RenderReadsAndWritesThem) {
  const fs::path log = root_ / "ログ.txt";
  ASSERT_EQ(render({(in_ / "元の 画像.bmp").string(), (out_ / "横 移動.jpg").string()}, log), 0)
      << linesOf(log).front();
  const auto written = linesOf(log);
  ASSERT_EQ(written.size(), 22u);
  EXPECT_EQ(written[0], (out_ / "横 移動-s-000.jpg").string());
  EXPECT_EQ(written[21], (out_ / "横 移動-s-021.jpg").string());
  const auto frame = intake::loadPictureFile(written[21]);
  ASSERT_EQ(frame.status, intake::LoadStatus::Loaded) << frame.message;
  EXPECT_EQ(frame.width, 40);

  ASSERT_EQ(render({"--effect", "turn", (in_ / "元の 画像.bmp").string(), (out_ / "回転.bmp").string()}, log), 0);
  EXPECT_EQ(linesOf(log).back(), (out_ / "回転-t-011.bmp").string());
  EXPECT_EQ(intake::loadPictureFile((out_ / "回転-t-011.bmp").string()).status, intake::LoadStatus::Loaded);

  ASSERT_EQ(render({(in_ / "元の 画像.bmp").string(), (out_ / "アニメ 版.gif").string(), "--gif", "animated"}, log), 0);
  EXPECT_EQ(linesOf(log), std::vector<std::string>{(out_ / "アニメ 版-s-.gif").string()});
  EXPECT_EQ(intake::loadPictureFile((out_ / "アニメ 版-s-.gif").string()).status, intake::LoadStatus::Loaded);
  EXPECT_FALSE(fs::exists(out_ / "アニメ 版-s-000.bmp"));
}

TEST_F(JapanesePaths, RenderNamesAMissingSourceWithTheProgramsMessage) {
  const fs::path log = root_ / "ログ.txt";
  EXPECT_NE(render({(in_ / "無い 画像.bmp").string(), (out_ / "x.bmp").string(), "--lang", "ja"}, log), 0);
  EXPECT_EQ(linesOf(log), std::vector<std::string>{"ファイルが見つかりません。"});
}

TEST_F(JapanesePaths, FrameListSaveWritesThem) {
  fs::create_directories(out_);
  std::string saveExt;
  const std::vector<core::Picture> frames = {source(), source(), source()};
  const auto plan = framelist::planFrameSave((out_ / "コマ 一覧.v2.JPG").string(), saveExt, {}, frames);
  ASSERT_TRUE(plan.has_value());
  EXPECT_EQ(plan->base, (out_ / "コマ 一覧").string());
  EXPECT_EQ(saveExt, ".jpg");
  ASSERT_TRUE(framelist::writeFrameFiles(frames, *plan));
  const auto last = intake::loadPictureFile((out_ / "コマ 一覧002.jpg").string());
  ASSERT_EQ(last.status, intake::LoadStatus::Loaded) << last.message;
  EXPECT_EQ(last.width, 40);
  EXPECT_FALSE(fs::exists(out_ / "コマ 一覧002.bmp"));
}

}  // namespace
