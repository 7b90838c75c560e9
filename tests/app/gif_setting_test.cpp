// The GIF options dialog: its texts, which option enables the interval, and
// what OK stores or refuses.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app/frm_gif_setting.h"
#include "output/gif_question.h"
#include "window_fixture.h"

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

class GifSettingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    output::GifIsAni = 0;
    output::GifTime = 0.0f;
  }
  QApplication& app = apptest::application();  // before any widget
  std::shared_ptr<apptest::RecordingPrompts::Log> log = std::make_shared<apptest::RecordingPrompts::Log>();
  apptest::RecordingPrompts prompts{log};
  app::frmGifSetting dialog{prompts, nullptr};
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
  EXPECT_NE(output::GifIsAni, 0);
  EXPECT_EQ(output::GifTime, 5.0f);
  for (auto [text, hundredths] : {std::pair{"1.50", 150}, {"0.125", 12}, {"327.67", 32767}, {"0", 0}}) {
    dialog.setIntervalText(text);
    dialog.cmdSet_Click();
    EXPECT_EQ(output::GifTime, static_cast<float>(hundredths)) << text;
  }
  dialog.optType[0]->click();
  dialog.setIntervalText("0.1");
  dialog.cmdSet_Click();
  EXPECT_EQ(output::GifIsAni, 0);
  EXPECT_EQ(output::GifTime, 10.0f);
  EXPECT_TRUE(log->messages.empty());
}

TEST_F(GifSettingTest, AnInvalidIntervalKeepsTheDialogOpenAndStoresNothing) {
  output::GifTime = 20.0f;
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
    EXPECT_EQ(output::GifTime, 20.0f);
    EXPECT_EQ(output::GifIsAni, 0);
  }
  // Checked even when the per-frame option leaves the box disabled.
  dialog.optType[0]->click();
  dialog.cmdSet_Click();
  EXPECT_EQ(log->messages.size(), 2u);
}

TEST_F(GifSettingTest, AskGifOutputAnswersWhatOkStored) {
  dialog.setModalRunner([](app::frmGifSetting& d) {
    d.optType[1]->click();
    d.setIntervalText("0.2");
    d.cmdSet_Click();
  });
  std::int16_t interval = 10;
  EXPECT_TRUE(output::AskGifOutput(dialog, interval));
  EXPECT_EQ(interval, 20);
  // Closed without OK: the last accepted answer stands.
  dialog.setModalRunner([](app::frmGifSetting& d) { d.reject(); });
  interval = 10;
  EXPECT_TRUE(output::AskGifOutput(dialog, interval));
  EXPECT_EQ(interval, 20);
}

}  // namespace

namespace {

TEST_F(GifSettingTest, TheWebpQuestionIsTheSameDialogForOneAnimationAndLeavesTheGifAnswerAlone) {
  dialog.setChoice(0);
  output::acceptGifSettings(false, 30);
  dialog.setModalRunner([](app::frmGifSetting& d) {
    EXPECT_TRUE(d.isAskingForWebp());
    EXPECT_EQ(d.windowTitle(), u("WebP出力形式設定"));
    EXPECT_EQ(d.optType[1]->text(), u("アニメーションWebPで１つのファイルに保存"));
    EXPECT_TRUE(d.optType[1]->isChecked());
    EXPECT_FALSE(d.optType[0]->isEnabled());
    EXPECT_TRUE(d.cboTime->isEnabled());
    d.cboTime->setEditText("abc");
    d.cmdSet_Click();  // refused: the dialog stays
    d.cboTime->setEditText("0.25");
    d.cmdSet_Click();
  });
  std::int16_t interval = 10;
  EXPECT_TRUE(dialog.askWebpInterval(interval));
  EXPECT_EQ(interval, 25);
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].text, u("フレーム表示間隔が不正です。"));
  // Back to the GIF dialog as it was; the interval box keeps the shared text.
  EXPECT_FALSE(dialog.isAskingForWebp());
  EXPECT_EQ(dialog.windowTitle(), u("GIF出力形式設定"));
  EXPECT_EQ(dialog.optType[1]->text(), u("アニメーションGIFで１つのファイルに保存"));
  EXPECT_TRUE(dialog.optType[0]->isEnabled());
  EXPECT_EQ(dialog.choice(), 0);
  EXPECT_FALSE(dialog.cboTime->isEnabled());
  EXPECT_EQ(dialog.intervalText(), "0.25");
  EXPECT_EQ(output::GifIsAni, 0);
  EXPECT_EQ(output::GifTime, 30.0f);
  // Closed without OK: no answer, nothing written.
  dialog.setModalRunner([](app::frmGifSetting& d) { d.reject(); });
  interval = 10;
  EXPECT_FALSE(dialog.askWebpInterval(interval));
  EXPECT_EQ(interval, 10);
}

}  // namespace
