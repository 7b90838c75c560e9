// The settings as the main window reads them at load and writes them at
// unload, the first-run record, and the save folder beside the program.
#include <fstream>

#include <QCheckBox>
#include <QComboBox>
#include <QDate>
#include <QLabel>
#include <QRadioButton>
#include <QSettings>

#include "app/frm_gif_setting.h"
#include "app/option_panel.h"
#include "settings/inifile_io.h"
#include "window_fixture.h"

namespace {

using apptest::WindowTest;

std::string iniValue(const std::filesystem::path& file, const char* section, const char* key) {
  settings::inifile_IO ini;
  ini.setFileName(file.string());
  return ini.ReadStr(section, key, "<missing>");
}

class FirstRunTest : public WindowTest {
 protected:
  FirstRunTest() { markFirstRunDone = false; }
};

TEST_F(FirstRunTest, StartsWithEveryDefaultAndOpensTheHelpFile) {
  app::frmMain& w = start();
  EXPECT_EQ(w.cboType->currentIndex(), 0);
  EXPECT_TRUE(w.fraSlide->isVisibleTo(&w));
  EXPECT_FALSE(w.fraTurn->isVisibleTo(&w));
  EXPECT_TRUE(w.menus.optionMenus[0]->menuAction()->isVisible());
  EXPECT_FALSE(w.menus.optionMenus[1]->menuAction()->isVisible());
  EXPECT_TRUE(w.menus.mnuAniModeType[0]->isChecked());
  for (QCheckBox* box : w.chkMask) EXPECT_FALSE(box->isChecked());
  EXPECT_FALSE(w.fraSlide->chkCross->isChecked());
  EXPECT_TRUE(w.fraRotate->optXY[0]->isChecked());
  EXPECT_TRUE(w.menus.mnuXY[0]->isChecked());
  EXPECT_TRUE(w.fraDiffuse->optDiffuseType[0]->isChecked());
  EXPECT_TRUE(w.menus.mnuDiffuseType[0]->isChecked());
  EXPECT_TRUE(w.fraHue->optHueType[0]->isChecked());
  EXPECT_TRUE(w.menus.mnuHueOptionType[0]->isChecked());
  EXPECT_EQ(w.hueX(), 0);
  EXPECT_EQ(w.fraHue->lblHueColor->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(w.formColor(), core::kButtonFace);
  EXPECT_EQ(w.gifSetting().intervalText(), "0.1");
  EXPECT_EQ(w.gifSetting().choice(), 0);
  EXPECT_FALSE(w.gifSetting().cboTime->isEnabled());
  EXPECT_EQ(w.pos(), QPoint(0, 0));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "prog" / "SaveImages"));
  EXPECT_EQ(w.workState().SavePath, (dir / "prog" / "SaveImages").string());
  EXPECT_EQ(w.sourceFolder(), env.programFolder);
  // The first start opens the help file (here missing, so it says so).
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].text, QString::fromUtf8("ヘルプファイルが見つかりません。"));

  EXPECT_TRUE(w.close());
  QSettings record(QStringLiteral("Kovatek"), QStringLiteral("Brenlo"));
  EXPECT_EQ(record.value("Install").toString(), QDate::currentDate().toString("yyyy/MM/dd"));
}

TEST_F(WindowTest, LaterStartsDoNotOpenTheHelpFile) {
  start();
  EXPECT_TRUE(log->messages.empty());
  EXPECT_TRUE(log->opened.empty());
}

TEST_F(WindowTest, StoredOptionsAreRestoredThroughTheirControls) {
  std::ofstream(dir / "prog" / "brenlo.ini") << "[Position]\nTop=150\nLeft=300\n"
                                                "[Path]\nSave="
                                             << (dir / "saves").string() << "\n"
                                             << "[Setting]\nType=2\nCross=1\nMask_Rotate=1\nMask_Hue=1\nRotateXY=1\n"
                                                "DiffuseType=2\nHueType=1\nHue=240\nFormColor=255\n"
                                                "[GIF]\nIsAni=1\nTime=0.25\n";
  app::frmMain& w = start();
  EXPECT_EQ(w.cboType->currentIndex(), 2);
  EXPECT_TRUE(w.fraRotate->isVisibleTo(&w));
  EXPECT_TRUE(w.menus.optionMenus[2]->menuAction()->isVisible());
  EXPECT_TRUE(w.fraSlide->chkCross->isChecked());
  EXPECT_TRUE(w.menus.mnuCross->isChecked());
  EXPECT_TRUE(w.chkMask[1]->isChecked());
  EXPECT_FALSE(w.chkMask[2]->isChecked());
  EXPECT_TRUE(w.chkMask[6]->isChecked());
  EXPECT_TRUE(w.menus.mnuMask[6]->isChecked());
  EXPECT_TRUE(w.fraRotate->optXY[1]->isChecked());
  EXPECT_TRUE(w.menus.mnuXY[1]->isChecked());
  EXPECT_FALSE(w.menus.mnuXY[0]->isChecked());
  EXPECT_TRUE(w.fraDiffuse->optDiffuseType[2]->isChecked());
  EXPECT_TRUE(w.fraHue->optHueType[1]->isChecked());
  EXPECT_EQ(w.hueX(), 240);
  EXPECT_EQ(w.fraHue->lblHueColor->palette().color(QPalette::Window), QColor(0, 0, 255));
  EXPECT_EQ(w.formColor(), core::rgb(255, 0, 0));
  EXPECT_EQ(w.Frame2->palette().color(QPalette::Window), QColor(255, 0, 0));
  EXPECT_EQ(w.gifSetting().choice(), 1);
  EXPECT_EQ(w.gifSetting().intervalText(), "0.25");
  EXPECT_TRUE(w.gifSetting().cboTime->isEnabled());
  EXPECT_EQ(w.pos(), QPoint(20, 10));
  EXPECT_TRUE(std::filesystem::is_directory(dir / "saves"));
}

TEST_F(WindowTest, LargePicturesComesBackFromTheFileAndIsWrittenOnceUsed) {
  std::ofstream(dir / "prog" / "brenlo.ini") << "[Setting]\nLargePictures=1\n";
  app::frmMain& w = start();
  EXPECT_TRUE(w.menus.mnuLargePictures->isChecked());
  w.menus.mnuLargePictures->trigger();
  w.close();
  EXPECT_EQ(iniValue(dir / "prog" / "brenlo.ini", "Setting", "LargePictures"), "0");
}

TEST_F(WindowTest, UnloadWritesWhatTheControlsShow) {
  app::frmMain& w = start();
  w.cboType->setCurrentIndex(5);
  w.chkMask[5]->click();
  w.chkMask[2]->click();
  w.fraDiffuse->optDiffuseType[1]->click();
  w.picHue_MouseUp(0, 0, 45.4, 3);
  w.gifSetting().setIntervalText("abc");
  w.gifSetting().setPlays(3);
  w.gifSetting().setHoldCs(120);
  w.gifSetting().cboPreset->setCurrentIndex(3);
  w.move(30, 40);
  w.close();
  const auto ini = dir / "prog" / "brenlo.ini";
  EXPECT_EQ(iniValue(ini, "Setting", "Type"), "5");
  EXPECT_EQ(iniValue(ini, "Setting", "Mask_Elastic"), "1");
  EXPECT_EQ(iniValue(ini, "Setting", "Mask_Turn"), "1");
  EXPECT_EQ(iniValue(ini, "Setting", "Mask_Rotate"), "0");
  EXPECT_EQ(iniValue(ini, "Setting", "DiffuseType"), "1");
  EXPECT_EQ(iniValue(ini, "Setting", "RotateXY"), "0");
  EXPECT_EQ(iniValue(ini, "Setting", "Hue"), "45");
  EXPECT_EQ(iniValue(ini, "Setting", "FormColor"), "-2147483633");
  EXPECT_EQ(iniValue(ini, "GIF", "Time"), "abc");  // the box's text, whatever it holds
  EXPECT_EQ(iniValue(ini, "GIF", "IsAni"), "0");
  EXPECT_EQ(iniValue(ini, "GIF", "Plays"), "3");
  EXPECT_EQ(iniValue(ini, "GIF", "Hold"), "1.2");
  EXPECT_EQ(iniValue(ini, "GIF", "Preset"), "3");
  EXPECT_EQ(iniValue(ini, "Position", "Left"), "450");
  EXPECT_EQ(iniValue(ini, "Position", "Top"), "600");
  EXPECT_EQ(iniValue(ini, "Path", "Save"), (dir / "prog" / "SaveImages").string());
  EXPECT_EQ(iniValue(ini, "Path", "Source"), env.programFolder.toStdString());

  // The next start reads the same back.
  window.reset();
  app::frmMain& again = start();
  EXPECT_EQ(again.cboType->currentIndex(), 5);
  EXPECT_TRUE(again.chkMask[5]->isChecked());
  EXPECT_EQ(again.hueX(), 45);
  EXPECT_EQ(again.gifSetting().intervalText(), "0.1");
  EXPECT_EQ(again.gifSetting().plays(), 3);
  EXPECT_EQ(again.gifSetting().holdCs(), 120);
  EXPECT_EQ(again.gifSetting().preset(), 3);
}

}  // namespace
