// brenlo-render over a picture and with a project of scenes.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include "app/render_cli.h"
#include "frame_files/bmp_codec.h"
#include "frame_files/writer.h"
#include "scenes/project_file.h"
#include "testutil.h"

namespace {

namespace fs = std::filesystem;
using app::runRender;

core::Picture blocks(int w, int h, core::Color a, core::Color b) {
  core::Bitmap bm(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) bm.row(y)[x] = ((x / 4 + y / 3) % 2 == 0) ? a : b;
  return core::Picture::fromBitmap(std::move(bm));
}

std::vector<std::uint8_t> bytesOf(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

core::Picture readBmp(const fs::path& name) {
  auto bitmap = output::decodeBmp(bytesOf(name));
  return bitmap ? core::Picture::fromBitmap(std::move(*bitmap)) : core::Picture{};
}

class RenderProject : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(output::SavePicture(blocks(24, 12, 0x102030, 0xF0E0D0), (dir / "brand.bmp").string()));
    ASSERT_TRUE(output::SavePicture(blocks(24, 12, 0x0000FF, 0x00FF00), (dir / "offer.bmp").string()));
    ASSERT_TRUE(output::SavePicture(blocks(24, 12, 0xFF0000, 0xFFFFFF), (dir / "action.bmp").string()));
    ASSERT_TRUE(output::SavePicture(blocks(25, 12, 0xFF0000, 0xFFFFFF), (dir / "wide.bmp").string()));
  }
  int run(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    return runRender(args, out, err);
  }
  std::string project(const std::vector<std::pair<std::string, std::string>>& scenes, int plays = 0) {
    scenes::Project p;
    p.plays = plays;
    for (const auto& [picture, effect] : scenes) {
      scenes::ProjectScene s;
      s.picture = picture;
      s.options.effect = scenes::effectNamed(effect);
      s.holdCs = 100;
      p.scenes.push_back(s);
    }
    const std::string path = (dir / ("p" + std::to_string(++made) + ".pictorell")).string();
    EXPECT_TRUE(scenes::writeProjectFile(path, p));
    return path;
  }
  fs::path dir = testutil::makeTempDir("render-project");
  std::ostringstream out;
  std::ostringstream err;
  int made = 0;
};

TEST_F(RenderProject, OverAPictureComposesOverItAndRefusesAnotherSize) {
  const fs::path target = dir / "over" / "z.bmp";
  ASSERT_EQ(run({"--effect", "zoom", "--over", (dir / "brand.bmp").string(), (dir / "offer.bmp").string(),
                 target.string()}),
            0)
      << err.str();
  // Zoom's blank frame (file 4) shows the picture behind.
  const core::Picture blank = readBmp(dir / "over" / "z-z-004.bmp");
  EXPECT_TRUE(testutil::surfacesEqual(blank, blocks(24, 12, 0x102030, 0xF0E0D0)));

  EXPECT_EQ(run({"--over", (dir / "wide.bmp").string(), (dir / "offer.bmp").string(), (dir / "o2" / "z.bmp").string()}),
            1);
  EXPECT_NE(err.str().find("25 x 12"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("24 x 12"), std::string::npos) << err.str();
  EXPECT_FALSE(fs::exists(dir / "o2"));
}

TEST_F(RenderProject, AOneSceneProjectWritesTodaysFileByteForByte) {
  for (const std::string ext : {".gif", ".webp"}) {
    const fs::path today = dir / ("today" + ext);
    const fs::path fromProject = dir / ("project" + ext);
    ASSERT_EQ(run({"--effect", "turn", "--gif", "animated", "--plays", "2", (dir / "offer.bmp").string(),
                   today.string()}),
              0)
        << err.str();
    ASSERT_EQ(run({"--gif", "animated", "--plays", "2", project({{"offer.bmp", "turn"}}), fromProject.string()}), 0)
        << err.str();
    const std::string tag = "-t-";
    EXPECT_EQ(bytesOf(dir / ("today" + tag + ext)), bytesOf(dir / ("project" + tag + ext))) << ext;
    EXPECT_FALSE(bytesOf(dir / ("today" + tag + ext)).empty());
  }
}

TEST_F(RenderProject, ThreeScenesMakeOneBannerAndBadProjectsExitOneNamingTheScene) {
  const std::string three = project({{"brand.bmp", "zoom"}, {"offer.bmp", "slide"}, {"action.bmp", "turn"}}, 2);
  ASSERT_EQ(run({"--gif", "animated", three, (dir / "b" / "banner.gif").string()}), 0) << err.str();
  EXPECT_EQ(out.str().substr(0, out.str().find('\n')), (dir / "b" / "banner.gif").string());
  EXPECT_NE(out.str().find("animation: 11 frames"), std::string::npos) << out.str();
  EXPECT_NE(out.str().find("2 plays"), std::string::npos) << out.str();
  // Numbered frames: 1 + 6 + 4 with two plays, the last the last scene's picture.
  ASSERT_EQ(run({three, (dir / "f" / "banner.bmp").string()}), 0) << err.str();
  EXPECT_TRUE(fs::exists(dir / "f" / "banner010.bmp"));
  EXPECT_FALSE(fs::exists(dir / "f" / "banner011.bmp"));
  EXPECT_TRUE(testutil::surfacesEqual(readBmp(dir / "f" / "banner010.bmp"), blocks(24, 12, 0xFF0000, 0xFFFFFF)));

  EXPECT_EQ(run({project({{"brand.bmp", "zoom"}, {"gone.bmp", "slide"}}), (dir / "x" / "a.gif").string()}), 1);
  EXPECT_NE(err.str().find("scene 2"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("gone.bmp"), std::string::npos) << err.str();
  EXPECT_EQ(run({project({{"brand.bmp", "zoom"}, {"wide.bmp", "slide"}}), (dir / "x" / "a.gif").string()}), 1);
  EXPECT_NE(err.str().find("scene 2"), std::string::npos) << err.str();
  EXPECT_NE(err.str().find("25 x 12 pixels, scene 1's 24 x 12"), std::string::npos) << err.str();
  const fs::path cut = dir / "cut.pictorell";
  std::ofstream(cut) << "Pictorell project 1\nscene 1\npicture brand.bmp\n";
  EXPECT_EQ(run({cut.string(), (dir / "x" / "a.gif").string()}), 1);
  EXPECT_NE(err.str().find("cut off"), std::string::npos) << err.str();
  EXPECT_EQ(run({"--over", (dir / "brand.bmp").string(), three, (dir / "x" / "a.gif").string()}), 2);
  EXPECT_NE(err.str().find("--over applies to a single picture"), std::string::npos) << err.str();
  EXPECT_FALSE(fs::exists(dir / "x"));
}

}  // namespace
