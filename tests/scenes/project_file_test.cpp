// The project file: written and read back unchanged, written whole or not at
// all, and every bad file refused with a message.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/effect_kind.h"
#include "scenes/project_file.h"
#include "testutil.h"

namespace {

scenes::Project sample() {
  scenes::Project p;
  p.bannerColor = core::rgb(0x20, 0x40, 0xA0);
  p.intervalCs = 12;
  p.plays = 3;
  p.preset = output::AdPreset::Google;
  for (int e = 0; e < core::kEffectCount; ++e) {
    scenes::ProjectScene s;
    s.picture = "pictures/scene " + std::to_string(e) + ".png";
    s.options.effect = e;
    s.options.mask[static_cast<std::size_t>(core::info(static_cast<core::EffectKind>(e)).maskBox)] = e % 2 == 0;
    s.options.cross = e == 0;
    s.options.axis = e % 2;
    s.options.diffuseType = e % 3;
    s.options.hueType = e % 2;
    s.options.hueX = 45 * e;
    s.holdCs = 25 * e;
    p.scenes.push_back(s);
  }
  return p;
}

TEST(ProjectFile, AProjectReadsBackUnchangedAndItsTextStaysTheSameAfterASave) {
  const scenes::Project p = sample();
  const std::string text = scenes::projectText(p);
  const scenes::ProjectRead r = scenes::parseProject(text);
  ASSERT_TRUE(r.project) << r.error;
  EXPECT_TRUE(*r.project == p);
  EXPECT_EQ(scenes::projectText(*r.project), text);

  scenes::Project corner;
  corner.scenes.push_back(p.scenes[3]);
  const scenes::ProjectRead c = scenes::parseProject(scenes::projectText(corner));
  ASSERT_TRUE(c.project) << c.error;
  EXPECT_FALSE(c.project->bannerColor);
  EXPECT_EQ(c.project->plays, 0);

  const auto dir = testutil::makeTempDir("project_round_trip");
  const std::string path = (dir / "banner.pictorell").string();
  ASSERT_TRUE(scenes::writeProjectFile(path, p));
  const scenes::ProjectRead back = scenes::readProjectFile(path);
  ASSERT_TRUE(back.project) << back.error;
  EXPECT_TRUE(*back.project == p);
  // Written whole or not at all: a folder that is not there leaves nothing
  // and says which file.
  const std::string nowhere = (dir / "missing" / "b.pictorell").string();
  const output::WriteStatus failed = scenes::writeProjectFile(nowhere, p);
  EXPECT_FALSE(failed);
  EXPECT_EQ(failed.file, nowhere);
  EXPECT_FALSE(std::filesystem::exists(nowhere));
}

TEST(ProjectFile, PicturePathsAreRelativeToTheProjectsFolder) {
  EXPECT_EQ(scenes::picturePath("/work/p/banner.pictorell", "a.bmp"), "/work/p/a.bmp");
  EXPECT_EQ(scenes::picturePath("/work/p/banner.pictorell", "../q/a.bmp"), "/work/q/a.bmp");
  EXPECT_EQ(scenes::picturePath("/work/p/banner.pictorell", "/abs/a.bmp"), "/abs/a.bmp");
  EXPECT_EQ(scenes::writtenPicturePath("/work/p/banner.pictorell", "/work/p/pics/a.bmp"), "pics/a.bmp");
  EXPECT_EQ(scenes::writtenPicturePath("/work/p/banner.pictorell", "/work/q/a.bmp"), "../q/a.bmp");
}

TEST(ProjectFile, BadFilesGiveOneClearMessage) {
  const std::string good = scenes::projectText(sample());
  const auto replaced = [&](const std::string& from, const std::string& to) {
    std::string t = good;
    t.replace(t.find(from), from.size(), to);
    return t;
  };
  const std::vector<std::pair<std::string, std::string>> cases{
      {"", "the project file is empty"},
      {"PNG\n", "this is not a Pictorell project"},
      {good.substr(0, good.size() / 2), "the project file is cut off"},
      {good.substr(0, good.size() - 4), "the project file is cut off"},
      {replaced("effect zoom", "effect zom"), "unknown effect 'zom'"},
      {replaced("hue 90", "hue 360"), "invalid hue '360'"},
      {replaced("hold 0.50", "hold 10.01"), "invalid hold '10.01' (0 to 10 seconds)"},
      {replaced("hold 0.50", "hold -1"), "invalid hold '-1'"},
      {replaced("plays 3", "plays 100"), "invalid plays '100'"},
      {replaced("interval 0.12", "interval fast"), "invalid interval 'fast'"},
      {replaced("banner-colour 2040a0", "banner-colour blue"), "invalid banner-colour 'blue'"},
      {replaced("preset google", "preset yahoo"), "invalid preset 'yahoo'"},
      {replaced("axis y", "axis z"), "invalid axis 'z'"},
      {replaced("scene 2\n", "scene 5\n"), "expected \"scene 2\""},
      {replaced("picture pictures/scene 1.png\n", ""), "scene 2 has no picture"},
      {replaced("picture pictures/scene 1.png", "picture "), "invalid picture ''"},
      {replaced("effect turn\n", ""), "scene 2 has no effect"},
      {replaced("mask on", "colour on"), "unknown scene setting 'colour'"},
      {replaced("preset google", "speed 3"), "unknown setting 'speed'"},
      {good + "scene 8\n", "text after \"end\""},
      {"Pictorell project 1\nend\n", "the project has no scene"},
  };
  for (const auto& [text, message] : cases) {
    const scenes::ProjectRead r = scenes::parseProject(text);
    EXPECT_FALSE(r.project) << message;
    EXPECT_NE(r.error.find(message), std::string::npos) << "got: " << r.error << "\nexpected: " << message;
  }
  // Lines name where the fault is.
  EXPECT_EQ(scenes::parseProject(replaced("effect zoom", "effect zom")).error.rfind("line ", 0), 0u);
  // A file that is not there, and one too large, are refused by name.
  const auto dir = testutil::makeTempDir("project_bad");
  const std::string missing = (dir / "none.pictorell").string();
  EXPECT_NE(scenes::readProjectFile(missing).error.find(missing), std::string::npos);
  const std::string large = (dir / "large.pictorell").string();
  std::ofstream(large) << std::string(scenes::kMaxProjectBytes + 1, 'x');
  EXPECT_NE(scenes::readProjectFile(large).error.find("too large"), std::string::npos);
}

}  // namespace
