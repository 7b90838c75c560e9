// The GIF dialog's checks of the banner: flashing of the current choice, the
// border option and Amazon's grey, and, after a save through the window,
// the file written read back by the same check as brenlo-render --check.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "app/animation_measure.h"
#include "app/frm_gif_setting.h"
#include "app/written_check.h"
#include "check/banner_check.h"
#include "save/border.h"
#include "window_fixture.h"

inline void PrintTo(const QString& s, std::ostream* os) { *os << s.toStdString(); }

namespace {

namespace fs = std::filesystem;
using Frames = std::shared_ptr<const std::vector<core::Bitmap>>;

QString u(const char* s) { return QString::fromUtf8(s); }
constexpr int kLongWaitMs = 120000;  // a bound for slow (sanitized) builds, not a goal

// Black and white in turn over the whole of a 400 x 100 banner; or a small
// bar walking over a still picture.
Frames frames(bool flashing) {
  auto out = std::make_shared<std::vector<core::Bitmap>>();
  for (int k = 0; k < 6; ++k) {
    core::Bitmap b(400, 100, flashing ? (k % 2 ? core::kWhite : core::kBlack) : core::rgb(40, 90, 160));
    if (!flashing)
      for (int y = 40; y < 60; ++y)
        for (int x = k * 20; x < k * 20 + 20; ++x) b.row(y)[x] = core::rgb(230, 200, 40);
    out->push_back(std::move(b));
  }
  return out;
}

class BannerCheckDialog : public ::testing::Test {
 protected:
  // The dialog as asked about `f` at `interval`, once its file is measured.
  QString warningsFor(const Frames& f, const char* interval) {
    shape = output::AnimationShape{static_cast<int>(f->size()) - 1, false, 0, 400, 100};
    dialog.setChoice(1);
    dialog.setIntervalText(QString::fromUtf8(interval));
    dialog.setFrames(f);
    dialog.setAnimationShape(&shape);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog.measure().isBusy(); }, kLongWaitMs));
    return dialog.lblWarning->isHidden() ? QString() : dialog.lblWarning->text();
  }

  QApplication& app = apptest::application();
  std::shared_ptr<apptest::RecordingPrompts::Log> log = std::make_shared<apptest::RecordingPrompts::Log>();
  apptest::RecordingPrompts prompts{log};
  app::frmGifSetting dialog{prompts, nullptr};
  output::AnimationShape shape;
};

TEST_F(BannerCheckDialog, AChoiceThatFlashesIsWarnedOfAndAnOrdinaryOneIsNot) {
  // 0.02 s a frame: 50 changes a second, over the whole banner.
  EXPECT_EQ(warningsFor(frames(true), "0.02"),
            u("明暗の変化が 1 秒間に 50 回あり、点滅の上限 6 回を超えています（WCAG 2.3.1）。"));
  EXPECT_FALSE(dialog.picWarning->isHidden());
  EXPECT_EQ(warningsFor(frames(false), "0.1"), QString());
  EXPECT_TRUE(dialog.picWarning->isHidden());
  // Red to black and back: both thresholds.
  check::FlashResult red;
  red.generalChanges = 10;
  red.redChanges = 10;
  EXPECT_EQ(app::frmGifSetting::flashWarnings(red).size(), 2);
  EXPECT_EQ(app::frmGifSetting::flashWarnings(red)[1],
            u("赤の変化が 1 秒間に 10 回あり、赤い点滅の上限 6 回を超えています（WCAG 2.3.1）。"));
}

TEST_F(BannerCheckDialog, TheBorderIsOffUntilChosenAndAmazonTurnsItOnInGrey) {
  EXPECT_FALSE(dialog.chkBorder->isChecked());
  EXPECT_FALSE(dialog.txtBorder->isEnabled());
  EXPECT_EQ(dialog.txtBorder->text(), "808080");
  EXPECT_FALSE(dialog.playSettings().border);

  dialog.setChoice(1);  // the section is enabled for the animation only
  dialog.chkBorder->click();
  dialog.txtBorder->selectAll();
  QTest::keyClicks(dialog.txtBorder, "ff00zz10");  // what is no hex digit is not taken
  EXPECT_EQ(dialog.txtBorder->text(), "ff0010");
  EXPECT_EQ(dialog.playSettings().border, core::rgb(255, 0, 16));
  // Half a colour goes back to the last whole one.
  QTest::keyClick(dialog.txtBorder, Qt::Key_Backspace);
  emit dialog.txtBorder->editingFinished();
  EXPECT_EQ(dialog.txtBorder->text(), "FF0010");
  EXPECT_EQ(dialog.playSettings().border, core::rgb(255, 0, 16));

  dialog.chkBorder->click();
  dialog.cboPreset_Click(3);  // Amazon
  EXPECT_TRUE(dialog.chkBorder->isChecked());
  EXPECT_EQ(dialog.playSettings().border, save::kBorderGrey);
  EXPECT_EQ(dialog.txtBorder->text(), "808080");
  dialog.cboPreset_Click(1);  // another network leaves it as it is
  EXPECT_TRUE(dialog.chkBorder->isChecked());

  // The WebP dialog has the same row, and takes the GIF dialog's choice.
  app::frmGifSetting webp(prompts, nullptr, save::AnimationFormat::Webp);
  ASSERT_TRUE(webp.chkBorder);
  webp.takeSharedChoices(dialog);
  EXPECT_EQ(webp.playSettings().border, save::kBorderGrey);
}

class BannerCheckWindow : public apptest::WindowTest {};

TEST_F(BannerCheckWindow, TheSavedFileHasTheBorderAndTheDialogDescribesItAsTheCheckDoes) {
  app::frmMain& w = start();
  load(apptest::writePicture(dir, "src.bmp", 60, 30, QColor(0, 0, 255), QColor(255, 255, 255)));
  w.gifSetting().setModalRunner([](app::frmGifSetting& d) {
    d.optType[1]->click();
    d.setIntervalText("0.1");
    d.setPlays(2);
    d.setBorder(true, core::rgb(255, 0, 0));
    d.cmdSet_Click();
  });
  fs::create_directories(dir / "out");
  log->saveAnswers = {QString::fromStdString((dir / "out" / "b.gif").string())};
  w.cmdSave_Click();
  const fs::path file = dir / "out" / "b-s-.gif";
  ASSERT_TRUE(fs::exists(file));

  std::ifstream in(file, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  int images = 0;
  EXPECT_EQ(check::composeFrames(bytes.data(), bytes.size(),
                                 [&](const core::Bitmap& shown, int) {
                                   ++images;
                                   EXPECT_EQ(shown.px, save::withBorder(shown, core::rgb(255, 0, 0)).px) << images;
                                   return true;
                                 }),
            "");
  EXPECT_EQ(images, 21);
  // The frames the window keeps have none.
  const auto red = core::rgb(255, 0, 0);
  for (const core::Picture& frame : w.workState().mFrames) {
    const core::Bitmap& b = *frame.bitmap();
    EXPECT_NE(b.row(0)[0], red);
    EXPECT_NE(b.px, save::withBorder(b, red).px);
  }

  // The dialog, opened again, says what --check says of the file.
  app::frmGifSetting& d = w.gifSetting();
  ASSERT_TRUE(QTest::qWaitFor([&] { return !d.writtenCheck().isBusy(); }, kLongWaitMs));
  ASSERT_TRUE(d.writtenCheck().last());
  const check::CheckOutcome checked = check::checkBannerFile(file.string(), output::AdPreset::None);
  ASSERT_TRUE(checked.ok);
  EXPECT_EQ(d.lblWritten->text(), app::writtenSummary(checked.check));
  EXPECT_EQ(d.lblWritten->text(), u("保存したファイル：") +
                                       QString::fromStdString(output::groupedNumber(fs::file_size(file))) +
                                       u(" バイト、21 フレーム、1 回の再生 2.30 秒、2 回再生 = 4.60 秒"));
  EXPECT_FALSE(d.lblWritten->isHidden());
  EXPECT_TRUE(d.lblWrittenWarning->isHidden());
}

TEST(WrittenCheckTexts, EachBrokenRuleIsOneSentenceWithTheCheckFigures) {
  check::BannerCheck c;
  c.facts.width = 300;
  c.facts.height = 200;
  c.rules = {{check::Rule::ShortestDelay, false, 20, 50},  {check::Rule::LengthenedDelay, false, 3, 0},
             {check::Rule::Endless, false, 0, 0},          {check::Rule::TotalTime, false, 31000, 30000},
             {check::Rule::Plays, false, 4, 3},            {check::Rule::Bytes, false, 160000, 150000},
             {check::Rule::Size, false, 0, 0},             {check::Rule::GeneralFlash, true, 2, 6},
             {check::Rule::RedFlash, false, 8, 6}};
  EXPECT_EQ(app::brokenRules(c),
            QStringList({u("最短の表示時間 0.02 秒が下限 0.05 秒より短くなっています。"),
                         u("表示時間 0 秒か 0.01 秒のフレームが 3 個あります（ブラウザーでは 0.1 秒になります）。"),
                         u("無限に繰り返します。再生回数の指定が必要です。"),
                         u("再生時間 31.00 秒が上限 30.00 秒を超えています。"),
                         u("再生回数 4 回が上限 3 回を超えています。"),
                         u("160,000 バイトが上限 150,000 バイトを超えています。"),
                         u("画像の大きさ 300 x 200 ピクセルは標準サイズにありません。"),
                         u("赤の変化が 1 秒間に 8 回あり、赤い点滅の上限 6 回を超えています（WCAG 2.3.1）。")}));
}

}  // namespace
