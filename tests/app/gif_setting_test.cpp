// The GIF options dialog: its texts, which option enables the interval, and
// what OK stores or refuses.
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include "app/frm_gif_setting.h"
#include "window_fixture.h"

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

class GifSettingTest : public ::testing::Test {
 protected:
  const save::AnimationAnswer& answer() const { return dialog.lastAnswer(); }
  std::optional<save::AnimationAnswer> ask(const output::AnimationShape& shape,
                                           save::AnimationFormat format = save::AnimationFormat::Gif) {
    return (format == save::AnimationFormat::Gif ? dialog : webp).askAnimation(save::AnimationAsk{format, shape, nullptr});
  }
  QApplication& app = apptest::application();  // before any widget
  std::shared_ptr<apptest::RecordingPrompts::Log> log = std::make_shared<apptest::RecordingPrompts::Log>();
  apptest::RecordingPrompts prompts{log};
  app::frmGifSetting dialog{prompts, nullptr};
  app::frmGifSetting webp{prompts, nullptr, save::AnimationFormat::Webp};
};

TEST_F(GifSettingTest, TextsAndListAreExact) {
  EXPECT_EQ(dialog.windowTitle(), u("GIF出力形式設定"));
  EXPECT_EQ(dialog.optType[1]->text(), u("アニメーションGIFで１つのファイルに保存"));
  EXPECT_EQ(dialog.optType[0]->text(), u("フレーム単位で複数のファイルに保存"));
  EXPECT_EQ(dialog.Label1->text(), u("フレームの表示間隔　(秒）　→　"));
  EXPECT_EQ(dialog.cmdSet->text(), "&OK");
  ASSERT_EQ(dialog.cboTime->count(), 16);
  EXPECT_EQ(dialog.cboTime->itemText(0), "0.05");
  EXPECT_EQ(dialog.cboTime->itemText(1), "0.10");
  EXPECT_EQ(dialog.cboTime->itemText(15), "1.50");
  EXPECT_TRUE(dialog.cboTime->isEditable());
}

TEST_F(GifSettingTest, TheIntervalIsEnabledOnlyForTheAnimatedGif) {
  EXPECT_TRUE(dialog.optType[0]->isChecked());
  EXPECT_FALSE(dialog.cboTime->isEnabled());
  EXPECT_FALSE(dialog.Label1->isEnabled());
  dialog.optType[1]->click();
  EXPECT_TRUE(dialog.cboTime->isEnabled());
  EXPECT_TRUE(dialog.Label1->isEnabled());
  dialog.optType[0]->click();
  EXPECT_FALSE(dialog.cboTime->isEnabled());
  dialog.setChoice(1);
  EXPECT_TRUE(dialog.cboTime->isEnabled());
  dialog.setChoice(7);  // not a choice: one file per frame
  EXPECT_EQ(dialog.choice(), 0);
}

TEST_F(GifSettingTest, OkStoresTheChoiceAndTheIntervalInHundredths) {
  dialog.optType[1]->click();
  dialog.cboTime->setCurrentIndex(0);  // "0.05"
  dialog.cmdSet_Click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_TRUE(answer().animated);
  EXPECT_EQ(answer().animation.intervalCs, 5);
  for (auto [text, hundredths] : {std::pair{"1.50", 150}, {"0.125", 12}, {"327.67", 32767}, {"0", 0}}) {
    dialog.setIntervalText(text);
    dialog.cmdSet_Click();
    EXPECT_EQ(answer().animation.intervalCs, hundredths) << text;
  }
  dialog.optType[0]->click();
  dialog.setIntervalText("0.1");
  dialog.cmdSet_Click();
  EXPECT_FALSE(answer().animated);
  EXPECT_EQ(answer().animation.intervalCs, 10);
  EXPECT_TRUE(log->messages.empty());
}

TEST_F(GifSettingTest, AnInvalidIntervalKeepsTheDialogOpenAndStoresNothing) {
  dialog.setIntervalText("0.2");
  dialog.cmdSet_Click();
  for (const char* bad : {"abc", "", "327.68", "-1"}) {
    SCOPED_TRACE(bad);
    log->messages.clear();
    dialog.setResult(0);
    dialog.optType[1]->click();
    dialog.setIntervalText(bad);
    dialog.cmdSet_Click();
    ASSERT_EQ(log->messages.size(), 1u);
    EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Exclamation);
    EXPECT_EQ(log->messages[0].text, u("フレーム表示間隔が不正です。"));
    EXPECT_EQ(dialog.result(), 0);
    EXPECT_EQ(answer().animation.intervalCs, 20);
    EXPECT_FALSE(answer().animated);
  }
  // Checked even when the per-frame option leaves the box disabled.
  dialog.optType[0]->click();
  dialog.cmdSet_Click();
  EXPECT_EQ(log->messages.size(), 2u);
}

// Slide's 22 files, resting on file 5, at a size Google lists.
constexpr output::AnimationShape kSlide{21, false, 5, 468, 60};

void expectAnimatedAt20Twice(const std::optional<save::AnimationAnswer>& a) {
  ASSERT_TRUE(a);
  EXPECT_TRUE(a->animated);
  EXPECT_EQ(a->animation.intervalCs, 20);
  EXPECT_EQ(a->animation.play.plays, 2);
}

TEST_F(GifSettingTest, TheQuestionAnswersWithTheLastOk) {
  // Closed before any OK: one file per frame, interval 0.
  dialog.setModalRunner([](app::frmGifSetting& d) { d.reject(); });
  auto a = ask(kSlide);
  ASSERT_TRUE(a);
  EXPECT_FALSE(a->animated);
  EXPECT_EQ(a->animation.intervalCs, 0);
  dialog.setModalRunner([](app::frmGifSetting& d) {
    d.optType[1]->click();
    d.setIntervalText("0.2");
    d.setPlays(2);
    d.cmdSet_Click();
  });
  expectAnimatedAt20Twice(ask(kSlide));
  // Closed without OK, whatever was changed meanwhile: the last OK stands.
  dialog.setModalRunner([](app::frmGifSetting& d) {
    d.setIntervalText("0.5");
    d.reject();
  });
  expectAnimatedAt20Twice(ask(kSlide));
}

TEST_F(GifSettingTest, ThePlaySectionSitsBelowAndIsEnabledOnlyForTheAnimatedGif) {
  EXPECT_EQ(dialog.fraPlay->title(), u("アニメーションGIFの再生"));
  EXPECT_EQ(dialog.lblPlays->text(), u("再生回数　→　"));
  EXPECT_EQ(dialog.optPlays[0]->text(), u("無限に繰り返す"));
  EXPECT_EQ(dialog.optPlays[1]->text(), u("回数を指定"));
  EXPECT_EQ(dialog.spnPlays->suffix(), u(" 回"));
  EXPECT_EQ(dialog.spnPlays->maximum(), 99);
  EXPECT_EQ(dialog.lblHold->text(), u("静止時間　(秒）　→　"));
  EXPECT_EQ(dialog.spnHold->maximum(), 10.0);
  EXPECT_EQ(dialog.lblPreset->text(), u("広告の規定　→　"));
  ASSERT_EQ(dialog.cboPreset->count(), 4);
  EXPECT_EQ(dialog.cboPreset->itemText(0), u("なし"));
  EXPECT_EQ(dialog.cboPreset->itemText(1), u("Google 広告"));
  EXPECT_EQ(dialog.cboPreset->itemText(2), u("IAB"));
  EXPECT_EQ(dialog.cboPreset->itemText(3), u("Amazon"));
  // Defaults: forever, no hold, no preset; nothing to summarise without an animation.
  EXPECT_EQ(dialog.plays(), 0);
  EXPECT_EQ(dialog.holdCs(), 0);
  EXPECT_EQ(dialog.preset(), 0);
  EXPECT_FALSE(dialog.spnPlays->isEnabled());
  EXPECT_TRUE(dialog.lblSummary->isHidden());
  EXPECT_TRUE(dialog.lblWarning->isHidden());

  EXPECT_FALSE(dialog.fraPlay->isEnabled());
  dialog.optType[1]->click();
  EXPECT_TRUE(dialog.fraPlay->isEnabled());
  dialog.optPlays[1]->click();
  EXPECT_TRUE(dialog.spnPlays->isEnabled());
  dialog.optType[0]->click();
  EXPECT_FALSE(dialog.fraPlay->isEnabled());
  // The existing controls keep their place above the section.
  dialog.layout()->activate();
  EXPECT_LT(dialog.optType[0]->geometry().bottom(), dialog.fraPlay->geometry().top());
}

TEST_F(GifSettingTest, APresetRaisesTheIntervalAndPlaysAsOftenAsItAllows) {
  dialog.optType[1]->click();
  dialog.setAnimationShape(&kSlide);
  EXPECT_EQ(dialog.lblSummary->text(), u("0.10 秒 × 22 フレーム = 2.2 秒、無限に繰り返し"));
  dialog.cboPreset_Click(1);  // Google
  EXPECT_EQ(dialog.intervalText(), "0.20");
  EXPECT_EQ(dialog.plays(), 6);
  EXPECT_EQ(dialog.lblSummary->text(), u("0.20 秒 × 23 フレーム = 4.6 秒、6 回再生 = 27.6 秒"));
  EXPECT_TRUE(dialog.lblWarning->isHidden());
  // A choice that breaks the preset is said, and OK still takes it.
  dialog.setIntervalText("0.1");
  EXPECT_FALSE(dialog.lblWarning->isHidden());
  EXPECT_EQ(dialog.lblWarning->text(), u("表示間隔が Google 広告の下限 0.20 秒より短くなっています。"));
  dialog.optPlays[0]->click();
  EXPECT_EQ(dialog.lblWarning->text(), u("表示間隔が Google 広告の下限 0.20 秒より短くなっています。\n"
                                         "Google 広告では無限に繰り返せません。再生回数を指定してください。"));
  dialog.cmdSet_Click();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(answer().animation.play.plays, 0);
  EXPECT_EQ(answer().animation.play.preset, output::AdPreset::Google);
  // Amazon: no minimum interval, at most 3 plays within 15 s.
  dialog.cboPreset_Click(3);
  EXPECT_EQ(dialog.intervalText(), "0.1");
  EXPECT_EQ(dialog.plays(), 3);
  EXPECT_EQ(dialog.lblSummary->text(), u("0.10 秒 × 23 フレーム = 2.3 秒、3 回再生 = 6.9 秒"));
  dialog.spnHold->setValue(3.5);
  EXPECT_EQ(dialog.lblSummary->text(), u("0.10 秒 × 23 フレーム + 静止 3.5 秒 = 5.8 秒、3 回再生 = 17.4 秒"));
  EXPECT_EQ(dialog.lblWarning->text(), u("再生時間 17.4 秒が Amazon の上限 15 秒を超えています。"));
  dialog.cboPreset_Click(0);  // none: nothing else changes, nothing to warn about
  EXPECT_EQ(dialog.plays(), 3);
  EXPECT_TRUE(dialog.lblWarning->isHidden());
}

TEST_F(GifSettingTest, APresetWarnsOfASizeItsNetworkDoesNotList) {
  dialog.optType[1]->click();
  const output::AnimationShape mrec{21, false, 5, 300, 250};
  const output::AnimationShape odd{21, false, 5, 400, 60};
  dialog.setAnimationShape(&mrec);
  dialog.cboPreset_Click(1);  // Google
  EXPECT_TRUE(dialog.lblWarning->isHidden());
  dialog.setAnimationShape(&odd);
  EXPECT_FALSE(dialog.lblWarning->isHidden());
  EXPECT_EQ(dialog.lblWarning->text(), u("画像の大きさ 400 x 60 ピクセルは Google 広告の標準サイズにありません。"));
  dialog.setAnimationShape(&kSlide);
  dialog.cboPreset_Click(2);  // IAB: no 468 x 60
  EXPECT_EQ(dialog.lblWarning->text(), u("画像の大きさ 468 x 60 ピクセルは IAB の標準サイズにありません。"));
  dialog.cboPreset_Click(3);  // Amazon lists no sizes
  EXPECT_TRUE(dialog.lblWarning->isHidden());
}

TEST_F(GifSettingTest, OkHandsThePlayChoicesToTheQuestionForItsAnimation) {
  QString shownSummary;
  dialog.setModalRunner([&](app::frmGifSetting& d) {
    d.optType[1]->click();
    d.setPlays(4);
    d.setHoldCs(150);
    d.setPreset(2);
    shownSummary = d.lblSummary->text();
    d.cmdSet_Click();
  });
  const auto a = ask(kSlide);
  ASSERT_TRUE(a && a->animated);
  const output::PlaySettings play = a->animation.play;
  EXPECT_EQ(shownSummary, u("0.10 秒 × 23 フレーム + 静止 1.5 秒 = 3.8 秒、4 回再生 = 15.2 秒"));
  EXPECT_EQ(play.plays, 4);
  EXPECT_EQ(play.holdCs, 150);
  EXPECT_EQ(play.preset, output::AdPreset::Iab);
  EXPECT_TRUE(dialog.lblSummary->isHidden());  // the animation is forgotten with the question
  // Values the settings file may hold out of range give the defaults.
  dialog.setPlays(100);
  dialog.setHoldCs(1001);
  dialog.setPreset(4);
  EXPECT_EQ(dialog.playSettings().plays, 0);
  EXPECT_EQ(dialog.playSettings().holdCs, 0);
  EXPECT_EQ(dialog.playSettings().preset, output::AdPreset::None);
}

}  // namespace

namespace {

TEST_F(GifSettingTest, TheWebpDialogHasOnlyTheSectionsAWebpNeeds) {
  webp.setModalRunner([](app::frmGifSetting& d) {
    EXPECT_EQ(d.windowTitle(), u("WebP出力形式設定"));
    EXPECT_EQ(d.optType[1]->text(), u("アニメーションWebPで１つのファイルに保存"));
    EXPECT_TRUE(d.optType[1]->isChecked());
    EXPECT_EQ(d.optType[0], nullptr);  // a WebP is always one animation
    EXPECT_TRUE(d.cboTime->isEnabled());
    EXPECT_EQ(d.fraPlay->title(), u("アニメーションWebPの再生"));
    EXPECT_TRUE(d.fraPlay->isEnabled());
    // The ad networks take no WebP, and it has no budget or size readout.
    EXPECT_EQ(d.cboPreset, nullptr);
    EXPECT_EQ(d.chkBudget, nullptr);
    EXPECT_EQ(d.lblSize, nullptr);
    EXPECT_EQ(d.lblSummary->text(), u("0.10 秒 × 22 フレーム = 2.2 秒、無限に繰り返し"));
    d.cboTime->setEditText("abc");
    d.cmdSet_Click();  // refused: the dialog stays
    d.cboTime->setEditText("0.25");
    d.setPlays(2);
    d.cmdSet_Click();
  });
  auto a = ask(kSlide, save::AnimationFormat::Webp);
  ASSERT_TRUE(a);
  EXPECT_TRUE(a->animated);
  EXPECT_EQ(a->animation.intervalCs, 25);
  EXPECT_EQ(a->animation.play.plays, 2);
  EXPECT_EQ(a->animation.play.preset, output::AdPreset::None);
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].text, u("フレーム表示間隔が不正です。"));
  // Closed without OK: no answer, nothing written, even after an earlier OK.
  webp.setModalRunner([](app::frmGifSetting& d) { d.reject(); });
  EXPECT_FALSE(ask(kSlide, save::AnimationFormat::Webp));
  // What was typed is shared with the GIF dialog, which keeps its own answer.
  dialog.takeSharedChoices(webp);
  EXPECT_EQ(dialog.intervalText(), "0.25");
  EXPECT_EQ(dialog.plays(), 2);
  EXPECT_FALSE(dialog.lastAnswer().animated);
  EXPECT_EQ(dialog.lastAnswer().animation.intervalCs, 0);
}

}  // namespace
