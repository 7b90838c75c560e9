// The settings file: the INI reader and writer, every key's default and
// check, and the round trip through the file.
#include "settings/settings.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "settings/inifile_io.h"
#include "testutil.h"

namespace {

using settings::inifile_IO;

inifile_IO fromText(const std::string& text) {
  inifile_IO ini;
  ini.loadText(text);
  return ini;
}

std::string readFile(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

// A screen of 1280 x 1024 pixels, the main window at its design size, the
// frame list 600 x 400 pixels.
settings::SettingsContext context() {
  settings::SettingsContext ctx;
  ctx.programFolder = "/opt/brenlo/";
  ctx.screenWidth = 1280 * 15;
  ctx.screenHeight = 1024 * 15;
  ctx.mainWidth = 7890;
  ctx.mainHeight = 5500;
  ctx.framesWidth = 9000;
  ctx.framesHeight = 6000;
  return ctx;
}

TEST(IniFile, ReadsLikeTheProfileFunctions) {
  const inifile_IO ini = fromText(
      "\xEF\xBB\xBF; settings\r\n"
      "[Setting]\r\n"
      "  type = 3 \r\n"
      "Empty=\r\n"
      "Type=5\r\n"
      "# note\r\n"
      "[setting]\r\n"
      "Cross=1\r\n"
      "[GIF]\r\n"
      "Time=0.25\r\n");
  EXPECT_EQ(ini.ReadStr("SETTING", "Type", "d"), "3");  // names in any case, first occurrence wins
  EXPECT_EQ(ini.ReadStr("Setting", "Empty", "d"), "d");
  EXPECT_EQ(ini.ReadStr("Setting", "Missing", "d"), "d");
  EXPECT_EQ(ini.ReadStr("Setting", "Cross", "d"), "d");  // only the first [Setting] section counts
  EXPECT_EQ(ini.ReadStr("Nowhere", "Type", ""), "");
  EXPECT_EQ(ini.ReadSng("GIF", "Time", 0.1f), 0.25f);
  EXPECT_EQ(ini.GetSectionNames(), (std::vector<std::string>{"Setting", "setting", "GIF"}));
}

TEST(IniFile, NumbersConvertOrFallBackToTheDefault) {
  const inifile_IO ini = fromText(
      "[N]\nhalf=2.5\nhalf2=3.5\nneg=-32768\nover=32768\nword=12abc\nspaced=  7  \nexp=1e2\n"
      "lng=-2147483633\nlngover=2147483648\nhuge=1e39\ntiny=1e-50\nhex=&H10\nplus=+4\ndot=.5\n");
  EXPECT_EQ(ini.ReadInt("N", "half", 9), 2);  // halves to even
  EXPECT_EQ(ini.ReadInt("N", "half2", 9), 4);
  EXPECT_EQ(ini.ReadInt("N", "neg", 9), -32768);
  EXPECT_EQ(ini.ReadInt("N", "over", 9), 9);
  EXPECT_EQ(ini.ReadInt("N", "word", 9), 9);
  EXPECT_EQ(ini.ReadInt("N", "spaced", 9), 7);
  EXPECT_EQ(ini.ReadInt("N", "exp", 9), 100);
  EXPECT_EQ(ini.ReadInt("N", "hex", 9), 9);
  EXPECT_EQ(ini.ReadInt("N", "plus", 9), 4);
  EXPECT_EQ(ini.ReadInt("N", "dot", 9), 0);
  EXPECT_EQ(ini.ReadLng("N", "lng", 9), -2147483633);
  EXPECT_EQ(ini.ReadLng("N", "lngover", 9), 9);
  EXPECT_EQ(ini.ReadSng("N", "huge", 0.5f), 0.5f);
  EXPECT_EQ(ini.ReadSng("N", "tiny", 0.5f), 0.0f);
  EXPECT_EQ(ini.ReadLng("N", "missing", -1), -1);
}

TEST(IniFile, LongValuesAreCutAtTheBufferSize) {
  const inifile_IO ini = fromText("[S]\nK=" + std::string(2000, 'x') + "\n");
  EXPECT_EQ(ini.ReadStr("S", "K", "").size(), 1023u);
}

TEST(IniFile, WritesKeepEverythingElseAndLeaveNoTemporaryFile) {
  const auto dir = testutil::makeTempDir("ini-write");
  const auto path = dir / "brenlo.ini";
  std::ofstream(path) << "; mine\n[Position]\nTop=1\n\n[Other]\nx=y\n";
  inifile_IO ini;
  ini.setFileName(path.string());
  EXPECT_TRUE(ini.WriteStr("Position", "Left", "20"));
  EXPECT_TRUE(ini.WriteStr("Position", "top", "5"));
  EXPECT_TRUE(ini.WriteStr("GIF", "Time", "0.3"));
  EXPECT_EQ(readFile(path), "; mine\n[Position]\ntop=5\nLeft=20\n\n[Other]\nx=y\n\n[GIF]\nTime=0.3\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator()), 1);
  EXPECT_FALSE(ini.WriteStr("Bad", "key=x", "1"));
  EXPECT_FALSE(ini.WriteStr("Bad", "Key", "two\nlines"));
  EXPECT_TRUE(ini.DeleteSection("other"));
  EXPECT_EQ(ini.GetSectionNames(), (std::vector<std::string>{"Position", "GIF"}));
}

TEST(IniFile, AnUpdateWritesOnceAtItsEndAndReportsFailure) {
  const auto dir = testutil::makeTempDir("ini-update");
  inifile_IO ini;
  ini.setFileName((dir / "a.ini").string());
  ini.beginUpdate();
  EXPECT_TRUE(ini.WriteStr("S", "A", "1"));
  EXPECT_FALSE(std::filesystem::exists(dir / "a.ini"));
  EXPECT_TRUE(ini.endUpdate());
  EXPECT_EQ(readFile(dir / "a.ini"), "[S]\nA=1\n");

  inifile_IO nowhere;
  nowhere.setFileName((dir / "missing-folder" / "a.ini").string());
  EXPECT_FALSE(nowhere.WriteStr("S", "A", "1"));
}

TEST(Settings, AFirstStartGetsEveryDefault) {
  const settings::Settings s = settings::loadSettings(fromText(""), context());
  EXPECT_EQ(s.type, 0);
  EXPECT_EQ(s.cross, 0);
  EXPECT_EQ(s.mask, (std::array<int, 7>{}));
  EXPECT_EQ(s.rotateXY, 0);
  EXPECT_EQ(s.diffuseType, 0);
  EXPECT_EQ(s.hueType, 0);
  EXPECT_EQ(s.hue, 0);
  EXPECT_EQ(s.formColor, -2147483633);
  EXPECT_EQ(s.gifIsAni, 0);
  EXPECT_EQ(s.gifTimeText, "0.1");
  EXPECT_EQ(s.top, 0);
  EXPECT_EQ(s.left, 0);
  EXPECT_EQ(s.framesTop, 0);
  EXPECT_EQ(s.framesWidth, 9000);
  EXPECT_EQ(s.framesHeight, 6000);
  EXPECT_EQ(s.saveFolder, "/opt/brenlo/SaveImages");
  EXPECT_EQ(s.sourceFolder, "/opt/brenlo/");
}

TEST(Settings, OutOfRangeValuesFallBackKeyByKey) {
  const settings::Settings s =
      settings::loadSettings(fromText("[Setting]\nType=9\nMask_Zoom=2\nMask_Elastic=1\nMask_Hue=1\n"
                                      "DiffuseType=3\nRotateXY=1\nHueType=-1\nCross=5\nHue=500\n"
                                      "FormColor=255\n[GIF]\nIsAni=7\nTime=abc\n"),
                             context());
  EXPECT_EQ(s.type, 0);
  EXPECT_EQ(s.mask[3], 0);
  EXPECT_EQ(s.mask[5], 1);  // Mask_Elastic: box 5
  EXPECT_EQ(s.mask[6], 1);  // Mask_Hue: box 6
  EXPECT_EQ(s.diffuseType, 0);
  EXPECT_EQ(s.rotateXY, 1);
  EXPECT_EQ(s.hueType, 0);
  EXPECT_EQ(s.cross, 0);
  EXPECT_EQ(s.hue, 359);
  EXPECT_EQ(s.formColor, 255);
  EXPECT_EQ(s.gifIsAni, 0);
  EXPECT_EQ(s.gifTimeText, "0.1");
  EXPECT_EQ(settings::loadSettings(fromText("[Setting]\nType=-1\n"), context()).type, 0);
  EXPECT_EQ(settings::loadSettings(fromText("[Setting]\nType=6\n"), context()).type, 6);
}

// The animated GIF's play choices: a bad value gives its default, each on its
// own; the hold is seconds like the interval, read to hundredths.
TEST(Settings, PlayChoicesFallBackToTheirDefaultsKeyByKey) {
  const settings::Settings none = settings::loadSettings(fromText(""), context());
  EXPECT_EQ(none.gifPlays, 0);
  EXPECT_EQ(none.gifHoldCs, 0);
  EXPECT_EQ(none.gifPreset, 0);
  EXPECT_EQ(none.gifBudgetKb, 0);
  const struct {
    const char* text;
    int plays, holdCs, preset, budgetKb;
  } cases[] = {
      {"[GIF]\nPlays=6\nHold=1.5\nPreset=1\nBudget=150\n", 6, 150, 1, 150},
      {"[GIF]\nPlays=99\nHold=10\nPreset=3\nBudget=10000\n", 99, 1000, 3, 10000},
      {"[GIF]\nPlays=100\nHold=10.01\nPreset=4\nBudget=10001\n", 0, 0, 0, 0},
      {"[GIF]\nPlays=-1\nHold=-0.5\nPreset=-1\nBudget=-150\n", 0, 0, 0, 0},
      {"[GIF]\nPlays=many\nHold=long\nPreset=google\nBudget=150KB\n", 0, 0, 0, 0},
      {"[GIF]\nPlays=2\nHold=1e39\nPreset=2\nBudget=1\n", 2, 0, 2, 1},
      {"[GIF]\nHold=0.125\n", 0, 12, 0, 0},  // hundredths, a half to even
  };
  for (const auto& c : cases) {
    const settings::Settings s = settings::loadSettings(fromText(c.text), context());
    EXPECT_EQ(s.gifPlays, c.plays) << c.text;
    EXPECT_EQ(s.gifHoldCs, c.holdCs) << c.text;
    EXPECT_EQ(s.gifPreset, c.preset) << c.text;
    EXPECT_EQ(s.gifBudgetKb, c.budgetKb) << c.text;
  }
}

TEST(Settings, PositionsOffTheScreenComeBackToZero) {
  // Screen 15360 twips high, main window 5500: tops up to 9860 fit.
  const settings::Settings s = settings::loadSettings(fromText("[Position]\nTop=9861\nLeft=-15\nFramesTop=9860\n"
                                                               "FramesLeft=11310\nFramesWidth=abc\nFramesHeight=0\n"),
                                                      context());
  EXPECT_EQ(s.top, 0);
  EXPECT_EQ(s.left, 0);
  // The frame list is clamped against the main window's size, not its own.
  EXPECT_EQ(s.framesTop, 9860);
  EXPECT_EQ(s.framesLeft, 11310);  // 19200 - 7890
  EXPECT_EQ(s.framesWidth, 9000);
  EXPECT_EQ(s.framesHeight, 6000);
  const settings::Settings t = settings::loadSettings(fromText("[Position]\nTop=9860\nFramesLeft=11311\n"), context());
  EXPECT_EQ(t.top, 9860);
  EXPECT_EQ(t.framesLeft, 0);
}

TEST(Settings, RoundTripThroughTheFile) {
  const auto dir = testutil::makeTempDir("settings-roundtrip");
  settings::Settings s;
  s.top = 150;
  s.left = 300;
  s.framesTop = 450;
  s.framesLeft = 600;
  s.framesWidth = 7500;
  s.framesHeight = 4500;
  s.sourceFolder = "/home/u/写真 1";
  s.saveFolder = "/home/u/out";
  s.type = 6;
  s.cross = 1;
  s.mask = {1, 0, 1, 0, 1, 0, 1};
  s.rotateXY = 1;
  s.diffuseType = 2;
  s.hueType = 1;
  s.hue = 222;
  s.formColor = 0x00C0FFEE;
  s.gifIsAni = 1;
  s.gifTimeText = "0.40";
  s.gifPlays = 6;
  s.gifHoldCs = 25;
  s.gifPreset = 2;
  s.gifBudgetKb = 150;
  inifile_IO out;
  out.setFileName((dir / "b.ini").string());
  ASSERT_TRUE(settings::saveSettings(out, s, {}));
  inifile_IO in;
  in.setFileName((dir / "b.ini").string());
  const settings::Settings r = settings::loadSettings(in, context());
  EXPECT_EQ(r.top, 150);
  EXPECT_EQ(r.left, 300);
  EXPECT_EQ(r.framesTop, 450);
  EXPECT_EQ(r.framesLeft, 600);
  EXPECT_EQ(r.framesWidth, 7500);
  EXPECT_EQ(r.framesHeight, 4500);
  EXPECT_EQ(r.sourceFolder, s.sourceFolder);
  EXPECT_EQ(r.saveFolder, s.saveFolder);
  EXPECT_EQ(r.type, 6);
  EXPECT_EQ(r.cross, 1);
  EXPECT_EQ(r.mask, s.mask);
  EXPECT_EQ(r.rotateXY, 1);
  EXPECT_EQ(r.diffuseType, 2);
  EXPECT_EQ(r.hueType, 1);
  EXPECT_EQ(r.hue, 222);
  EXPECT_EQ(r.formColor, 0x00C0FFEE);
  EXPECT_EQ(r.gifIsAni, 1);
  EXPECT_EQ(r.gifTimeText, "0.4");  // read back as a number
  EXPECT_EQ(in.ReadStr("GIF", "Time", ""), "0.40");
  EXPECT_EQ(in.ReadStr("GIF", "Plays", ""), "6");
  EXPECT_EQ(in.ReadStr("GIF", "Hold", ""), "0.25");
  EXPECT_EQ(in.ReadStr("GIF", "Preset", ""), "2");
  EXPECT_EQ(in.ReadStr("GIF", "Budget", ""), "150");
  EXPECT_EQ(r.gifBudgetKb, 150);
  EXPECT_EQ(r.gifPlays, 6);
  EXPECT_EQ(r.gifHoldCs, 25);
  EXPECT_EQ(r.gifPreset, 2);
  EXPECT_EQ(in.ReadStr("Setting", "Mask_Turn", ""), "1");    // box 2
  EXPECT_EQ(in.ReadStr("Setting", "Mask_Rotate", ""), "0");  // box 1
}

TEST(Settings, MinimisedWindowsAndNoEffectLeaveTheirKeysAlone) {
  const auto dir = testutil::makeTempDir("settings-conditions");
  std::ofstream(dir / "c.ini") << "[Position]\nTop=45\nLeft=60\nFramesTop=75\n[Setting]\nType=4\n";
  settings::Settings s;
  s.top = 900;
  s.framesTop = 900;
  s.type = -1;
  inifile_IO ini;
  ini.setFileName((dir / "c.ini").string());
  settings::SaveConditions when;
  when.mainWindowNormal = false;
  when.framesWindowNormal = false;
  ASSERT_TRUE(settings::saveSettings(ini, s, when));
  inifile_IO back;
  back.setFileName((dir / "c.ini").string());
  EXPECT_EQ(back.ReadStr("Position", "Top", ""), "45");
  EXPECT_EQ(back.ReadStr("Position", "Left", ""), "60");
  EXPECT_EQ(back.ReadStr("Position", "FramesTop", ""), "75");
  EXPECT_EQ(back.ReadStr("Setting", "Type", ""), "4");
  EXPECT_EQ(back.ReadStr("Setting", "Hue", ""), "0");
}

TEST(Settings, LanguageIsJaOrEnAndOtherwiseFollowsTheSystem) {
  EXPECT_EQ(settings::loadSettings(fromText(""), context()).language, "");
  EXPECT_EQ(settings::readLanguage(fromText("[Setting]\nLanguage=EN\n")), "en");
  EXPECT_EQ(settings::readLanguage(fromText("[Setting]\nLanguage=ja\n")), "ja");
  for (const char* bad : {"fr", "english", "e", "1"})
    EXPECT_EQ(settings::readLanguage(fromText(std::string("[Setting]\nLanguage=") + bad + "\n")), "") << bad;

  // Written only when chosen, so a first start adds no key; a value the
  // program does not know is left in the file as it stands.
  const auto dir = testutil::makeTempDir("settings-language");
  std::ofstream(dir / "l.ini") << "[Setting]\nLanguage=fr\n";
  inifile_IO ini;
  ini.setFileName((dir / "l.ini").string());
  ASSERT_TRUE(settings::saveSettings(ini, settings::loadSettings(ini, context()), {}));
  EXPECT_EQ(ini.ReadStr("Setting", "Language", ""), "fr");
  std::ofstream(dir / "none.ini") << "";
  inifile_IO none;
  none.setFileName((dir / "none.ini").string());
  ASSERT_TRUE(settings::saveSettings(none, settings::Settings{}, {}));
  EXPECT_EQ(readFile(dir / "none.ini").find("Language"), std::string::npos);
  settings::Settings english;
  english.language = "en";
  ASSERT_TRUE(settings::saveSettings(none, english, {}));
  EXPECT_EQ(none.ReadStr("Setting", "Language", ""), "en");
}

TEST(Settings, LargePicturesIsOneOrOffAndWrittenOnlyOnceUsed) {
  EXPECT_EQ(settings::loadSettings(fromText(""), context()).largePictures, 0);
  EXPECT_EQ(settings::loadSettings(fromText("[Setting]\nLargePictures=1\n"), context()).largePictures, 1);
  for (const char* bad : {"2", "-1", "yes", "", "1200"})
    EXPECT_EQ(settings::loadSettings(fromText(std::string("[Setting]\nLargePictures=") + bad + "\n"), context())
                  .largePictures,
              0)
        << bad;

  const auto dir = testutil::makeTempDir("settings-large");
  std::ofstream(dir / "l.ini") << "";
  inifile_IO ini;
  ini.setFileName((dir / "l.ini").string());
  ASSERT_TRUE(settings::saveSettings(ini, settings::Settings{}, {}));
  EXPECT_EQ(readFile(dir / "l.ini").find("LargePictures"), std::string::npos);
  settings::Settings on;
  on.largePictures = 1;
  ASSERT_TRUE(settings::saveSettings(ini, on, {}));
  EXPECT_EQ(ini.ReadStr("Setting", "LargePictures", ""), "1");
  ASSERT_TRUE(settings::saveSettings(ini, settings::Settings{}, {}));
  EXPECT_EQ(ini.ReadStr("Setting", "LargePictures", ""), "0");
}

TEST(Settings, TheBorderIsOnOrOffInAWebColourAndWrittenOnlyOnceUsed) {
  const settings::Settings none = settings::loadSettings(fromText(""), context());
  EXPECT_EQ(none.gifBorder, 0);
  EXPECT_EQ(none.gifBorderRgb, 0x808080u);
  const settings::Settings on = settings::loadSettings(fromText("[GIF]\nBorder=1\nBorderColor=1a2B3c\n"), context());
  EXPECT_EQ(on.gifBorder, 1);
  EXPECT_EQ(on.gifBorderRgb, 0x1A2B3Cu);
  for (const char* bad : {"2", "-1", "yes", ""})
    EXPECT_EQ(settings::loadSettings(fromText(std::string("[GIF]\nBorder=") + bad + "\n"), context()).gifBorder, 0)
        << bad;
  // A colour that is not six hex digits is the grey.
  for (const char* bad : {"12345", "1234567", "#123456", "12345g", "red", ""})
    EXPECT_EQ(settings::loadSettings(fromText(std::string("[GIF]\nBorderColor=") + bad + "\n"), context()).gifBorderRgb,
              0x808080u)
        << bad;

  const auto dir = testutil::makeTempDir("settings-border");
  std::ofstream(dir / "b.ini") << "";
  inifile_IO ini;
  ini.setFileName((dir / "b.ini").string());
  ASSERT_TRUE(settings::saveSettings(ini, settings::Settings{}, {}));
  EXPECT_EQ(readFile(dir / "b.ini").find("Border"), std::string::npos);
  settings::Settings framed;
  framed.gifBorder = 1;
  framed.gifBorderRgb = 0x00FF7F;
  ASSERT_TRUE(settings::saveSettings(ini, framed, {}));
  EXPECT_EQ(ini.ReadStr("GIF", "Border", ""), "1");
  EXPECT_EQ(ini.ReadStr("GIF", "BorderColor", ""), "00FF7F");
  const settings::Settings back = settings::loadSettings(ini, context());
  EXPECT_EQ(back.gifBorder, 1);
  EXPECT_EQ(back.gifBorderRgb, 0x00FF7Fu);
  ASSERT_TRUE(settings::saveSettings(ini, settings::Settings{}, {}));
  EXPECT_EQ(ini.ReadStr("GIF", "Border", ""), "0");
}

TEST(Settings, LastProjectIsAProjectPathOrNoneAndWrittenOnlyWhenThere) {
  EXPECT_EQ(settings::loadSettings(fromText(""), context()).lastProject, "");
  EXPECT_EQ(settings::readLastProject(fromText("[Path]\nLastProject=/home/u/b.pictorell\n")), "/home/u/b.pictorell");
  EXPECT_EQ(settings::readLastProject(fromText("[Path]\nLastProject=/x/B.PICTORELL\n")), "/x/B.PICTORELL");
  for (const std::string& bad : {std::string(".pictorell"), std::string("/x/b.gif"), std::string("/x/b.pictorel"),
                                std::string("/x/\tb.pictorell"), "/" + std::string(5000, 'a') + ".pictorell"})
    EXPECT_EQ(settings::readLastProject(fromText("[Path]\nLastProject=" + bad + "\n")), "") << bad;

  const auto dir = testutil::makeTempDir("settings-project");
  std::ofstream(dir / "none.ini") << "";
  inifile_IO none;
  none.setFileName((dir / "none.ini").string());
  ASSERT_TRUE(settings::saveSettings(none, settings::Settings{}, {}));
  EXPECT_EQ(readFile(dir / "none.ini").find("LastProject"), std::string::npos);
  settings::Settings with;
  with.lastProject = "/home/u/b.pictorell";
  ASSERT_TRUE(settings::saveSettings(none, with, {}));
  EXPECT_EQ(settings::loadSettings(none, context()).lastProject, "/home/u/b.pictorell");
}

TEST(Settings, FolderDefaultsCanPointAwayFromTheProgram) {
  settings::SettingsContext ctx = context();
  ctx.sourceFolderDefault = "/home/u/Pictures/";
  ctx.saveFolderDefault = "/home/u/Pictures/Pictorell";
  const settings::Settings s = settings::loadSettings(fromText(""), ctx);
  EXPECT_EQ(s.sourceFolder, "/home/u/Pictures/");
  EXPECT_EQ(s.saveFolder, "/home/u/Pictures/Pictorell");
  // Stored folders win as before.
  EXPECT_EQ(settings::loadSettings(fromText("[Path]\nSave=/x\nSource=/y\n"), ctx).saveFolder, "/x");
}

TEST(Settings, FloatTextIsTheShortestThatReadsBack) {
  EXPECT_EQ(settings::shortestFloatText(0.1f), "0.1");
  EXPECT_EQ(settings::shortestFloatText(0.05f), "0.05");
  EXPECT_EQ(settings::shortestFloatText(1.5f), "1.5");
  EXPECT_EQ(settings::shortestFloatText(100000.0f), "100000");
  EXPECT_EQ(settings::shortestFloatText(-0.125f), "-0.125");
}

}  // namespace
