// The interface under an English system locale: the language follows the
// system, and the windows, dialogs and messages come from the English
// catalogue. (Its own process: the locale is set before Qt reads it.)
#include <cstdlib>
#include <fstream>

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "app/frm_gif_setting.h"
#include "app/option_panel.h"
#include "app/ui_language.h"
#include "app/ui_texts.h"
#include "framelist/frm_frames.h"
#include "window_fixture.h"

namespace {

// Before main, so before any QLocale exists.
const bool kEnglishLocale = [] {
  ::unsetenv("LC_ALL");
  ::unsetenv("LC_MESSAGES");
  ::unsetenv("LANGUAGE");
  ::setenv("LANG", "en_US.UTF-8", 1);
  return true;
}();

class EnglishWindowTest : public apptest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    language = app::chooseLanguage(std::nullopt, QString(), QLocale::system());
    ASSERT_TRUE(app::installTranslations(apptest::application(), language));
  }
  void TearDown() override {
    window.reset();
    app::removeTranslations(apptest::application());
    WindowTest::TearDown();
  }
  app::UiLanguage language = app::UiLanguage::Japanese;
};

QStringList menuTitles(const app::MainMenus& m) {
  return {m.mnuFile->title(), m.mnuEdit->title(), m.mnuDisplay->title(), m.mnuSetting->title(), m.mnuHelp->title()};
}

TEST_F(EnglishWindowTest, MenusControlsAndDialogsAreEnglish) {
  ASSERT_TRUE(kEnglishLocale);
  EXPECT_EQ(language, app::UiLanguage::English);
  app::frmMain& w = start();
  EXPECT_EQ(menuTitles(w.menus), (QStringList{"&File", "&Edit", "&View", "&Settings", "&Help"}));
  EXPECT_EQ(w.menus.mnuFileOpen->text(), "&Open Source Picture...");
  EXPECT_EQ(w.menus.mnuAniModeType[0]->text(), "&1: Slide");
  EXPECT_EQ(w.menus.mnuXY[1]->text(), "Rotate about the Y Axis");
  EXPECT_EQ(w.menus.mnuHelpOpen->text(), "Open &Help");
  EXPECT_EQ(w.cmdOpen->text(), "Br&owse...");
  EXPECT_EQ(w.cmdPrev->text(), "Pre&view");
  EXPECT_EQ(w.cmdClose->text(), "&Quit");
  EXPECT_EQ(w.Label1->text(), QString::fromUtf8("&Animation Type  →"));
  EXPECT_EQ(w.cboType->itemText(6), "Hue      color shift");
  EXPECT_EQ(w.fraSlide->chkCross->text(), "Cross from Both Ends");
  EXPECT_EQ(w.chkMask[0]->text(), "Mask");
  EXPECT_EQ(w.fraHue->optHueType[1]->text(), "Converge");
  EXPECT_EQ(w.gifSetting().windowTitle(), "GIF Output Settings");
  EXPECT_EQ(w.gifSetting().optType[1]->text(), "Save as one animated GIF file");
  EXPECT_EQ(w.frameList()->windowTitle(), "Pictorell -Frame List-");
  EXPECT_EQ(w.frameList()->cmdDelete(0)->text(), "&Delete Checked Frames");
  // The caption is the program's name and version in every language.
  EXPECT_EQ(w.windowTitle(), "Pictorell [Ver.2.1.0]");
}

TEST_F(EnglishWindowTest, MessagesAndFileDialogsAreEnglish) {
  app::frmMain& w = start();
  load(QString::fromStdString((dir / "missing.bmp").string()));
  apptest::writePicture(dir, "wide.bmp", 1001, 10);
  load(QString::fromStdString((dir / "wide.bmp").string()));
  std::ofstream(dir / "text.bmp") << "not a picture";
  load(QString::fromStdString((dir / "text.bmp").string()));
  ASSERT_EQ(log->messages.size(), 3u);
  EXPECT_EQ(log->messages[0].text, "The file cannot be found.");
  EXPECT_EQ(log->messages[1].text, "The picture is too large. (Up to 1000x200 pixels)");
  EXPECT_EQ(log->messages[2].text,
            "This is not a picture file, or its format is not supported. (Supported formats: BMP, JPEG, GIF)");

  w.cmdOpen_Click();
  ASSERT_EQ(log->openRequests.size(), 1u);
  EXPECT_EQ(log->openRequests[0].filters,
            (QStringList{"Supported pictures (*.bmp;*.jpg;*.gif)", "Bitmap (*.bmp)", "JPEG (*.jpg)", "GIF (*.gif)"}));
}

TEST_F(EnglishWindowTest, JapaneseStaysWhatItWasWhenAsked) {
  app::removeTranslations(apptest::application());
  EXPECT_EQ(app::chooseLanguage(app::UiLanguage::Japanese, QString(), QLocale::system()), app::UiLanguage::Japanese);
  app::installTranslations(apptest::application(), app::UiLanguage::Japanese);  // Qt's own texts, if installed
  app::frmMain& w = start();
  EXPECT_EQ(w.menus.mnuFile->title(), QString::fromUtf8(app::text::kMnuFile));
  EXPECT_EQ(w.menus.mnuAniModeType[0]->text(), QString::fromUtf8("&1：Sllide"));
  EXPECT_EQ(w.cboType->itemText(0), QString::fromUtf8("Slide    交差"));
}

}  // namespace
