// Bad settings files: whatever the file holds, the program starts with the
// default for every bad value, keeps the good ones, and places both windows
// on the screen. Writing the file is all or nothing.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "settings/inifile_io.h"
#include "settings/settings.h"
#include "small_fs.h"
#include "testutil.h"

namespace {

namespace fs = std::filesystem;
using settings::Settings;

// A 1920 x 1080 screen at 15 twips per pixel; the main window 7905 x 5500.
settings::SettingsContext screen() {
  settings::SettingsContext c;
  c.programFolder = "/opt/ピクトレル/";
  c.screenWidth = 28800;
  c.screenHeight = 16200;
  c.mainWidth = 7905;
  c.mainHeight = 5500;
  c.framesWidth = 7200;
  c.framesHeight = 4000;
  return c;
}

// What a first start gives.
Settings defaults() {
  Settings s;
  s.framesWidth = 7200;
  s.framesHeight = 4000;
  s.sourceFolder = "/opt/ピクトレル/";
  s.saveFolder = "/opt/ピクトレル/SaveImages";
  return s;
}

void expectSettings(const Settings& got, const Settings& want) {
  EXPECT_EQ(got.top, want.top);
  EXPECT_EQ(got.left, want.left);
  EXPECT_EQ(got.framesTop, want.framesTop);
  EXPECT_EQ(got.framesLeft, want.framesLeft);
  EXPECT_EQ(got.framesWidth, want.framesWidth);
  EXPECT_EQ(got.framesHeight, want.framesHeight);
  EXPECT_EQ(got.sourceFolder, want.sourceFolder);
  EXPECT_EQ(got.saveFolder, want.saveFolder);
  EXPECT_EQ(got.type, want.type);
  EXPECT_EQ(got.cross, want.cross);
  EXPECT_EQ(got.mask, want.mask);
  EXPECT_EQ(got.rotateXY, want.rotateXY);
  EXPECT_EQ(got.diffuseType, want.diffuseType);
  EXPECT_EQ(got.hueType, want.hueType);
  EXPECT_EQ(got.hue, want.hue);
  EXPECT_EQ(got.formColor, want.formColor);
  EXPECT_EQ(got.gifIsAni, want.gifIsAni);
  EXPECT_EQ(got.gifTimeText, want.gifTimeText);
}

struct BadFile {
  const char* what;
  std::string content;                   // written as the settings file
  std::function<void(Settings&)> keeps;  // the good values it still carries
};

template <std::size_t N>
std::string bytes(const char (&text)[N]) {
  return std::string(text, N - 1);  // NULs included
}

std::string repeated(const std::string& line, std::size_t bytes) {
  std::string s;
  while (s.size() < bytes) s += line;
  return s;
}

const BadFile kBadFiles[] = {
    {"empty", "", nullptr},
    {"no section headers", "Type=3\nHue=120\n[[Setting]\nMask_Zoom=1\n", nullptr},
    {"cut in the middle of a line", "[Setting]\nType=5\nMask_Zoom=1\nHueTy",
     [](Settings& s) {
       s.type = 5;
       s.mask[3] = 1;
     }},
    {"cut in the middle of a section header", "[GIF]\nIsAni=1\n[Sett", [](Settings& s) { s.gifIsAni = 1; }},
    {"binary", bytes("\x00\xFF\xFE[\x01]\x00=\x7F\n\x89PNG\r\n\x1A\n[Setting]\nType=\x00\x02"), nullptr},
    {"binary values among good ones", bytes("[Setting]\nHue=\xFF\xFE\nDiffuseType=2\nType=\x01\x02\n"),
     [](Settings& s) { s.diffuseType = 2; }},
    {"over a mebibyte", "[Setting]\nType=4\n" + repeated("; padding padding padding padding\n", 1100000), nullptr},
    {"words where numbers belong",
     "[Setting]\nType=abc\nHue=twelve\nFormColor=blue\nMask_Hue=yes\n[GIF]\nTime=fast\nIsAni=true\n"
     "[Position]\nTop=10px\n",
     nullptr},
    {"out of range",
     "[Setting]\nType=9\nMask_Zoom=2\nMask_Rotate=-1\nDiffuseType=3\nRotateXY=2\nHueType=-1\nCross=5\n"
     "[GIF]\nIsAni=2\n",
     nullptr},
    {"too big for their types",
     "[Setting]\nType=70000\nHue=99999\nFormColor=99999999999\n[GIF]\nTime=1e39\n[Position]\nTop=99999999999\n",
     nullptr},
    {"windows off the screen",
     "[Position]\nTop=-15\nLeft=21000\nFramesTop=10800\nFramesLeft=-1\nFramesWidth=-300\nFramesHeight=999999\n",
     [](Settings& s) { s.framesHeight = 16200; }},
    {"hues outside the circle", "[Setting]\nHue=400\n", [](Settings& s) { s.hue = 359; }},
    {"byte-order mark, CR LF, spaces and lower case",
     "\xEF\xBB\xBF[setting]\r\n type = 3 \r\nMASK_HUE=1\r\n[Position]\r\nTop=10700\r\n",
     [](Settings& s) {
       s.type = 3;
       s.mask[6] = 1;
       s.top = 10700;  // exactly the screen height minus the window's
     }},
    {"keys twice: the first wins", "[Setting]\nType=2\nType=6\n[Setting]\nType=1\n", [](Settings& s) { s.type = 2; }},
    {"a folder longer than a value may be", "[Path]\nSource=/" + std::string(1500, 'a') + "\n",
     [](Settings& s) { s.sourceFolder = "/" + std::string(1022, 'a'); }},
};

class BadSettingsFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadSettingsFile, StartsWithDefaultsForTheBadValues) {
  const BadFile& f = GetParam();
  const fs::path file = testutil::makeTempDir("ini") / "brenlo.ini";
  std::ofstream(file, std::ios::binary) << f.content;
  settings::inifile_IO ini;
  ini.setFileName(file.string());
  const auto t0 = std::chrono::steady_clock::now();
  const Settings got = settings::loadSettings(ini, screen());
  EXPECT_LT(std::chrono::steady_clock::now() - t0, std::chrono::seconds(5)) << "reading must not hang";
  Settings want = defaults();
  if (f.keeps) f.keeps(want);
  expectSettings(got, want);
}

INSTANTIATE_TEST_SUITE_P(Table, BadSettingsFile, ::testing::ValuesIn(kBadFiles),
                         [](const ::testing::TestParamInfo<BadFile>& p) {
                           std::string name;
                           for (const char* c = p.param.what; *c; ++c)
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           return name;
                         });

TEST(SettingsFile, MissingFileOrAFolderInItsPlaceGiveTheDefaults) {
  const fs::path dir = testutil::makeTempDir("ini-missing");
  settings::inifile_IO ini;
  ini.setFileName((dir / "brenlo.ini").string());
  expectSettings(settings::loadSettings(ini, screen()), defaults());
  fs::create_directory(dir / "folder.ini");
  ini.setFileName((dir / "folder.ini").string());
  expectSettings(settings::loadSettings(ini, screen()), defaults());
  EXPECT_FALSE(settings::saveSettings(ini, defaults(), {}));
  EXPECT_TRUE(fs::is_directory(dir / "folder.ini"));
}

TEST(SettingsFile, ReadOnlyFileIsReadAndAJapaneseFolderWorks) {
  const fs::path file = testutil::makeTempDir("ini-ro") / "設定 フォルダ" / "brenlo.ini";
  fs::create_directories(file.parent_path());
  std::ofstream(file) << "[Setting]\nType=6\n[Path]\nSave=/home/ユーザー/保存 先\n";
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  settings::inifile_IO ini;
  ini.setFileName(file.string());
  const Settings got = settings::loadSettings(ini, screen());
  EXPECT_EQ(got.type, 6);
  EXPECT_EQ(got.saveFolder, "/home/ユーザー/保存 先");
}

std::string contentOf(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(SettingsFile, AWriteThatFailsLeavesTheEarlierFileWhole) {
  testutil::SmallFs disk(32);
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot();
  const fs::path file = disk.path() / "brenlo.ini";
  const std::string earlier = "[Setting]\nType=4\n";
  std::ofstream(file) << earlier;
  disk.fill();
  settings::inifile_IO ini;
  ini.setFileName(file.string());
  Settings s = defaults();
  s.sourceFolder = std::string(1000, 'x');  // more than the full disk can take
  EXPECT_FALSE(settings::saveSettings(ini, s, {}));
  EXPECT_EQ(contentOf(file), earlier);
  for (const auto& e : fs::directory_iterator(disk.path()))
    EXPECT_TRUE(e.path().filename() == "brenlo.ini" || e.path().filename() == "filler") << e.path();
  ASSERT_TRUE(disk.makeReadOnly());
  EXPECT_FALSE(settings::saveSettings(ini, s, {}));
  EXPECT_EQ(contentOf(file), earlier);
}

TEST(SettingsFile, WhatIsSavedReadsBackTheSame) {
  const fs::path file = testutil::makeTempDir("ini-trip") / "brenlo.ini";
  settings::inifile_IO ini;
  ini.setFileName(file.string());
  Settings s = defaults();
  s.top = 1500;
  s.left = 3000;
  s.type = 4;
  s.mask = {1, 0, 1, 0, 0, 1, 1};
  s.diffuseType = 2;
  s.hue = 359;
  s.formColor = 0x00336699;
  s.gifIsAni = 1;
  s.gifTimeText = "0.25";
  s.saveFolder = "/home/ユーザー/保存 先";
  ASSERT_TRUE(settings::saveSettings(ini, s, {}));
  settings::inifile_IO again;
  again.setFileName(file.string());
  expectSettings(settings::loadSettings(again, screen()), s);
}

}  // namespace
