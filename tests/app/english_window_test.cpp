// The interface under an English system locale: the language follows the
// system, and the windows, dialogs and messages come from the English
// catalogue. (Its own process: the locale is set before Qt reads it.)
#include <cstdlib>
#include <fstream>

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "app/frm_gif_setting.h"
#include "app/option_panel.h"
#include "app/ui_language.h"
#include "app/ui_texts.h"
#include "framelist/frm_frames.h"
#include "play/animation_plan.h"
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
  std::ofstream(dir / "cut.png", std::ios::binary) << std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR", 16);
  load(QString::fromStdString((dir / "cut.png").string()));
  ASSERT_EQ(log->messages.size(), 4u);
  EXPECT_EQ(log->messages[0].text, "The file cannot be found.");
  EXPECT_EQ(log->messages[1].text, "The picture is too large. (Up to 1000x200 pixels)");
  EXPECT_EQ(log->messages[2].text,
            "This is not a picture file, or its format is not supported. (Supported formats: BMP, JPEG, GIF, PNG, "
            "WebP)");
  EXPECT_EQ(log->messages[3].text, "The PNG file is cut short.");

  w.cmdOpen_Click();
  ASSERT_EQ(log->openRequests.size(), 1u);
  EXPECT_EQ(log->openRequests[0].filters,
            (QStringList{"Supported pictures (*.bmp;*.jpg;*.gif;*.png;*.webp)", "Bitmap (*.bmp)", "JPEG (*.jpg)",
                         "GIF (*.gif)", "PNG (*.png)", "WebP (*.webp)"}));
  EXPECT_EQ(framelist::frameSaveDialogRequest("").filters,
            (QStringList{"Bitmap (*.bmp)", "JPEG (*.jpg)", "GIF (*.gif)", "WebP (*.webp)"}));
}

// The play section's texts, and the summary and warnings that play/ puts
// together from translated pieces, with "1 play" but "6 plays".
TEST_F(EnglishWindowTest, TheGifDialogsPlaySectionSummaryAndWarningsAreEnglish) {
  app::frmMain& w = start();
  app::frmGifSetting& d = w.gifSetting();
  EXPECT_EQ(d.fraPlay->title(), "Animated GIF Playback");
  EXPECT_EQ(d.lblPlays->text(), "Play count  →  ");
  EXPECT_EQ(d.optPlays[0]->text(), "Loop forever");
  EXPECT_EQ(d.optPlays[1]->text(), "Stop after");
  EXPECT_EQ(d.lblHold->text(), "Hold (seconds)  →  ");
  EXPECT_EQ(d.lblPreset->text(), "Ad rules  →  ");
  ASSERT_EQ(d.cboPreset->count(), 4);
  EXPECT_EQ(d.cboPreset->itemText(0), "None");
  EXPECT_EQ(d.cboPreset->itemText(1), "Google Ads");
  EXPECT_EQ(d.cboPreset->itemText(3), "Amazon");

  const output::AnimationShape slide{21, false, 5, 468, 60};
  d.optType[1]->click();
  d.setAnimationShape(&slide);
  EXPECT_EQ(d.lblSummary->text(), QString::fromUtf8("0.10 s × 22 frames = 2.2 s, loops forever"));
  d.cboPreset_Click(1);
  EXPECT_EQ(d.lblSummary->text(), QString::fromUtf8("0.20 s × 23 frames = 4.6 s, 6 plays = 27.6 s"));
  EXPECT_EQ(d.spnPlays->suffix(), " plays");
  d.setIntervalText("0.1");
  d.optPlays[0]->click();
  EXPECT_EQ(d.lblWarning->text(),
            "The interval is shorter than the Google Ads minimum of 0.20 s.\n"
            "Google Ads does not allow endless loops. Set a play count.");
  d.cboPreset_Click(3);  // Amazon
  d.setPlays(5);
  d.spnHold->setValue(2.0);
  EXPECT_EQ(d.lblSummary->text(), QString::fromUtf8("0.10 s × 23 frames + hold 2.0 s = 4.3 s, 5 plays = 21.5 s"));
  EXPECT_EQ(d.lblWarning->text(),
            "The play time of 21.5 s exceeds the Amazon limit of 15 s.\n"
            "The play count of 5 exceeds the Amazon limit of 3.");
  d.setPlays(1);
  EXPECT_EQ(d.spnPlays->suffix(), " play");
  EXPECT_TRUE(d.lblSummary->text().endsWith(", 1 play = 4.3 s"));
  EXPECT_TRUE(d.lblWarning->isHidden());
  // The box is as wide for "1 play" as for "2 plays": the dialog keeps its size.
  const auto laidOutWidth = [&] { return d.spnPlays->sizeHint().expandedTo(d.spnPlays->minimumSize()).width(); };
  const int singularWidth = laidOutWidth();
  d.setPlays(2);
  EXPECT_EQ(laidOutWidth(), singularWidth);
  d.setAnimationShape(nullptr);

  // The WebP dialog.
  w.webpSetting().setModalRunner([](app::frmGifSetting& webp) {
    EXPECT_EQ(webp.windowTitle(), "WebP Output Settings");
    EXPECT_EQ(webp.optType[1]->text(), "Save as one animated WebP file");
    EXPECT_EQ(webp.fraPlay->title(), "Animated WebP Playback");
    webp.setHoldCs(0);
    webp.setPlays(0);
    EXPECT_EQ(webp.lblSummary->text(), QString::fromUtf8("0.10 s × 1 frame = 0.1 s, loops forever"));
    webp.cmdSet_Click();
  });
  const output::AnimationShape oneFrame{0, false, 0, 468, 60};
  EXPECT_TRUE(w.askAnimation(save::AnimationAsk{save::AnimationFormat::Webp, oneFrame, nullptr}));
}

TEST_F(EnglishWindowTest, TheBudgetNoticeIsEnglish) {
  const auto within = output::budgetReport(output::AdPreset::Google, 468, 60, 118204);
  ASSERT_TRUE(within);
  EXPECT_EQ(framelist::shownBudget(*within),
            "The animated GIF is 118,204 bytes.\nThat is within the Google Ads limit of 150,000 bytes.");
  const auto over = output::budgetReport(output::AdPreset::Iab, 320, 50, 50001);
  ASSERT_TRUE(over);
  EXPECT_EQ(framelist::shownBudget(*over),
            "The animated GIF is 50,001 bytes.\nThat exceeds the IAB limit of 50,000 bytes by 1 byte.");
  const auto far = output::budgetReport(output::AdPreset::Iab, 320, 50, 52000);
  ASSERT_TRUE(far);
  EXPECT_EQ(framelist::shownBudget(*far),
            "The animated GIF is 52,000 bytes.\nThat exceeds the IAB limit of 50,000 bytes by 2,000 bytes.");
  // The report itself keeps the Japanese text.
  EXPECT_TRUE(QString::fromStdString(over->text).startsWith(QString::fromUtf8("アニメーションGIFのサイズは")));
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
