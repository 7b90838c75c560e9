#include "framelist/frm_frames.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include <QApplication>
#include <QCheckBox>
#include <QFrame>
#include <QPalette>
#include <QPushButton>
#include <QScrollBar>

#include "testutil.h"

namespace {

using framelist::frmFrames;

QApplication& app() {
  static int argc = 1;
  static char name[] = "frm_frames_test";
  static char* argv[] = {name, nullptr};
  static QApplication instance(argc, argv);
  return instance;
}

core::Picture frame(int w, int h) { return core::Picture::fromBitmap(core::Bitmap(w, h, core::rgb(w, h, 7))); }

class FrmFramesTest : public ::testing::Test {
 protected:
  void SetUp() override {
    app();
    auto askGif = [this](const save::AnimationAsk& ask) -> std::optional<save::AnimationAnswer> {
      ++gifQuestions;
      askedFrames = ask.frames ? ask.frames->size() : 0;
      if (askOverride) return askOverride(ask);
      save::AnimationAnswer given;
      given.animated = gifAnimated;
      given.animation.intervalCs = 20;
      return given;
    };
    window = std::make_unique<frmFrames>(framelist::SaveSettings{saveExt, savePath}, askGif);
    window->setSaveNameAsker([this](const framelist::SaveDialogRequest& request) {
      lastRequest = request;
      ++dialogs;
      return answer;
    });
    window->setMessageShower([this](const QString& caption, const QString& text) {
      captions.push_back(caption);
      messages.push_back(text);
    });
    window->setFramesRect(QRect(0, 0, 600, 400));
  }

  // Frame heights from top to bottom, as the strip shows them.
  std::vector<int> heights() const {
    std::vector<int> out;
    for (int i = 0; i < window->picStockCount(); ++i)
      if (!window->picStock(i)->isHidden()) out.push_back(window->picStock(i)->height());
    return out;
  }

  std::string saveExt = ".bmp";
  std::string savePath = "/nowhere";
  int dialogs = 0;
  QString answer;  // what the save dialog returns; "" = cancelled
  framelist::SaveDialogRequest lastRequest;
  bool gifAnimated = false;
  int gifQuestions = 0;
  std::size_t askedFrames = 0;
  save::AnimationQuestion askOverride;  // answers instead, when set
  std::vector<QString> captions;
  std::vector<QString> messages;
  std::unique_ptr<frmFrames> window;
};

TEST_F(FrmFramesTest, CaptionsAndStartState) {
  EXPECT_EQ(window->windowTitle(), QStringLiteral("Pictorell -フレーム・リスト-"));
  EXPECT_EQ(window->cmdMove(1)->text(), QStringLiteral("▲"));
  EXPECT_EQ(window->cmdMove(0)->text(), QStringLiteral("▼"));
  EXPECT_EQ(window->cmdDelete(1)->text(), QStringLiteral("全フレーム削除(&A)"));
  EXPECT_EQ(window->cmdDelete(0)->text(), QStringLiteral("チェックフレーム削除(&D)"));
  EXPECT_EQ(window->cmdFrameSave()->text(), QStringLiteral("保存(&S)"));
  EXPECT_FALSE(window->isVisible());

  ASSERT_EQ(window->picStockCount(), 1);
  EXPECT_TRUE(window->picStock(0)->isHidden());
  EXPECT_TRUE(window->chkX(0)->isHidden());
  EXPECT_TRUE(window->shaX()->isHidden());
  EXPECT_EQ(window->shaXTag(), QStringLiteral("0"));
  EXPECT_FALSE(window->cmdMove(0)->isEnabled());
  EXPECT_FALSE(window->cmdMove(1)->isEnabled());

  const QColor bar = window->shaX()->palette().color(QPalette::Window);
  EXPECT_EQ(bar, QColor(255, 192, 192));
}

TEST_F(FrmFramesTest, FirstFrameFillsElementZeroAndIsSelected) {
  window->Add_Stock(frame(468, 60));
  ASSERT_EQ(window->picStockCount(), 1);
  EXPECT_FALSE(window->picStock(0)->isHidden());
  EXPECT_FALSE(window->chkX(0)->isHidden());
  EXPECT_FALSE(window->chkX(0)->isChecked());
  EXPECT_EQ(window->picStock(0)->geometry(), QRect(50, 0, 468, 60));
  const int chkH = window->chkX(0)->height();
  EXPECT_EQ(window->chkX(0)->pos(), QPoint(20, (60 - chkH) / 2));
  EXPECT_FALSE(window->shaX()->isHidden());
  EXPECT_EQ(window->shaX()->geometry(), QRect(0, 0, 50, 60));
  EXPECT_EQ(window->shaXTag(), QStringLiteral("0"));
  EXPECT_FALSE(window->cmdMove(0)->isEnabled());
  EXPECT_FALSE(window->cmdMove(1)->isEnabled());
}

TEST_F(FrmFramesTest, AddAfterSelectedFrameSelectsTheNewOne) {
  window->Add_Stock(frame(100, 10));  // A
  window->Add_Stock(frame(100, 20));  // B
  window->Add_Stock(frame(100, 30));  // C
  window->picStock_Click(1);
  window->Add_Stock(frame(100, 40));  // D
  EXPECT_EQ(heights(), (std::vector<int>{10, 20, 40, 30}));
  EXPECT_EQ(window->shaXTag(), QStringLiteral("2"));
  EXPECT_EQ(window->shaX()->geometry(), QRect(0, 30, 50, 40));
  EXPECT_EQ(window->picStock(3)->pos(), QPoint(50, 70));
  EXPECT_EQ(window->picBase()->height(), 100);
  EXPECT_TRUE(window->cmdMove(0)->isEnabled());
  EXPECT_TRUE(window->cmdMove(1)->isEnabled());
}

TEST_F(FrmFramesTest, MoveButtonsFollowTheSelection) {
  window->Add_Stock(frame(100, 10));
  window->Add_Stock(frame(100, 20));
  window->Add_Stock(frame(100, 30));

  window->picStock_Click(0);
  EXPECT_FALSE(window->cmdMove(1)->isEnabled());  // the first cannot go up
  EXPECT_TRUE(window->cmdMove(0)->isEnabled());

  window->cmdMove(0)->click();
  EXPECT_EQ(heights(), (std::vector<int>{20, 10, 30}));
  EXPECT_EQ(window->shaXTag(), QStringLiteral("1"));
  // Frames of other heights changed places: the strip still touches.
  EXPECT_EQ(window->picStock(1)->pos(), QPoint(50, 20));
  EXPECT_EQ(window->shaX()->geometry(), QRect(0, 20, 50, 10));

  window->cmdMove(0)->click();
  EXPECT_EQ(heights(), (std::vector<int>{20, 30, 10}));
  EXPECT_TRUE(window->cmdMove(1)->isEnabled());
  EXPECT_FALSE(window->cmdMove(0)->isEnabled());  // the last cannot go down
  window->cmdMove_Click(0);
  EXPECT_EQ(heights(), (std::vector<int>{20, 30, 10}));

  window->picStock_Click(99);  // clamps to the last frame
  EXPECT_EQ(window->shaXTag(), QStringLiteral("2"));
}

TEST_F(FrmFramesTest, DeleteCheckedKeepsTheOthersInOrder) {
  for (int h : {10, 20, 30, 40}) window->Add_Stock(frame(100, h));
  window->chkX(1)->click();
  window->chkX(2)->click();
  window->cmdDelete(0)->click();
  EXPECT_EQ(heights(), (std::vector<int>{10, 40}));
  EXPECT_EQ(window->picStockCount(), 2);
  EXPECT_FALSE(window->chkX(0)->isChecked());
  EXPECT_FALSE(window->chkX(1)->isChecked());
  // The selection (3) was clamped to the new last frame.
  EXPECT_EQ(window->shaXTag(), QStringLiteral("1"));
  EXPECT_EQ(window->shaX()->geometry(), QRect(0, 10, 50, 40));
}

TEST_F(FrmFramesTest, DeletingEveryCheckedFrameHidesElementZero) {
  for (int h : {10, 20, 30}) window->Add_Stock(frame(100, h));
  for (int i = 0; i < 3; ++i) window->chkX(i)->click();
  window->cmdDelete_Click(0);
  ASSERT_EQ(window->picStockCount(), 1);
  EXPECT_TRUE(window->picStock(0)->isHidden());
  EXPECT_TRUE(window->chkX(0)->isHidden());
  EXPECT_FALSE(window->chkX(0)->isChecked());
  EXPECT_TRUE(window->shaX()->isHidden());
  EXPECT_EQ(window->shaXTag(), QStringLiteral("0"));
  EXPECT_FALSE(window->cmdMove(0)->isEnabled());
  EXPECT_FALSE(window->cmdMove(1)->isEnabled());
  EXPECT_EQ(window->picBase()->height(), 0);
}

TEST_F(FrmFramesTest, DeleteAllEmptiesTheList) {
  for (int h : {10, 20}) window->Add_Stock(frame(100, h));
  window->cmdDelete(1)->click();
  EXPECT_EQ(window->picStockCount(), 1);
  EXPECT_TRUE(window->picStock(0)->isHidden());
  EXPECT_TRUE(window->frames().isEmpty());
  window->Add_Stock(frame(100, 50));
  EXPECT_EQ(heights(), (std::vector<int>{50}));
}

TEST_F(FrmFramesTest, ViewportFollowsTheWindowSize) {
  const int bar = window->vsbY()->width();
  EXPECT_EQ(window->picCont()->geometry(), QRect(10, 50, 600 - 20 - bar, 400 - 70));
  EXPECT_EQ(window->vsbY()->geometry(), QRect(10 + 600 - 20 - bar, 50, bar, 330));
}

TEST_F(FrmFramesTest, ShortStripDisablesTheScrollBar) {
  const int inner = window->viewport()->height();
  window->Add_Stock(frame(100, inner - 1));
  EXPECT_FALSE(window->vsbY()->isEnabled());
  EXPECT_EQ(window->picBase()->pos(), QPoint(0, 0));
}

TEST_F(FrmFramesTest, LongStripScrollsAndFitsAgainAfterADeletion) {
  const int inner = window->viewport()->height();
  window->Add_Stock(frame(100, inner));
  EXPECT_FALSE(window->vsbY()->isEnabled());  // exactly fitting needs no bar
  window->Add_Stock(frame(100, 25));
  ASSERT_TRUE(window->vsbY()->isEnabled());
  EXPECT_EQ(window->vsbY()->minimum(), 0);
  EXPECT_EQ(window->vsbY()->maximum(), 25);

  window->vsbY()->setValue(20);
  EXPECT_EQ(window->picBase()->pos(), QPoint(0, -20));

  window->chkX(1)->click();
  window->cmdDelete_Click(0);
  EXPECT_FALSE(window->vsbY()->isEnabled());
  EXPECT_EQ(window->picBase()->pos(), QPoint(0, 0));
  EXPECT_EQ(window->vsbY()->value(), 0);
}

TEST_F(FrmFramesTest, ResizeResetsTheScrollBarToTheTop) {
  for (int i = 0; i < 8; ++i) window->Add_Stock(frame(100, 60));
  window->show();
  window->vsbY()->setValue(100);
  window->resize(600, 300);
  ASSERT_EQ(window->height(), 300);
  EXPECT_TRUE(window->vsbY()->isEnabled());
  EXPECT_EQ(window->vsbY()->value(), 0);
  EXPECT_EQ(window->vsbY()->maximum(), 480 - window->viewport()->height());
  EXPECT_EQ(window->picBase()->pos(), QPoint(0, 0));
}

TEST_F(FrmFramesTest, AddedAndMovedFramesAreScrolledIntoView) {
  const int inner = window->viewport()->height();
  for (int i = 0; i < 8; ++i) window->Add_Stock(frame(100, 60));
  ASSERT_TRUE(window->vsbY()->isEnabled());
  EXPECT_EQ(window->vsbY()->value(), 480 - inner);  // the new last frame shows whole
  EXPECT_EQ(window->picBase()->pos(), QPoint(0, inner - 480));

  window->picStock_Click(1);  // a click does not scroll
  EXPECT_EQ(window->vsbY()->value(), 480 - inner);
  window->cmdMove_Click(1);  // moved to the top: scrolled up to it
  EXPECT_EQ(window->shaXTag(), QStringLiteral("0"));
  EXPECT_EQ(window->vsbY()->value(), 0);
  window->cmdMove_Click(0);  // still in view: no scrolling
  EXPECT_EQ(window->vsbY()->value(), 0);
}

TEST_F(FrmFramesTest, NarrowingBelowTheMinimumSnapsBack) {
  window->show();
  window->resize(300, 400);
  EXPECT_EQ(window->width(), framelist::kMinimumWidthPx);
  window->setFramesRect(QRect(5, 6, 100, 250));
  EXPECT_EQ(window->framesRect().size(), QSize(framelist::kMinimumWidthPx, 250));
}

TEST_F(FrmFramesTest, ClosingEmptiesTheList) {
  window->show();
  for (int h : {10, 20}) window->Add_Stock(frame(100, h));
  window->close();
  EXPECT_FALSE(window->isVisible());
  EXPECT_TRUE(window->frames().isEmpty());
  EXPECT_TRUE(window->picStock(0)->isHidden());
  EXPECT_EQ(window->picStockCount(), 1);
  window->show();
  window->Add_Stock(frame(100, 30));
  EXPECT_EQ(heights(), (std::vector<int>{30}));
}

// Which of the list's buttons are enabled: ▲ ▼ all checked save.
std::string buttons(const frmFrames& w) {
  std::string out;
  for (const QPushButton* b : {w.cmdMove(1), w.cmdMove(0), w.cmdDelete(1), w.cmdDelete(0), w.cmdFrameSave()})
    out += b->isEnabled() ? '1' : '0';
  return out;
}

TEST_F(FrmFramesTest, SaveDialogStartsInSavePathAndACancelChangesNothing) {
  for (int h : {10, 20, 30}) window->Add_Stock(frame(100, h));
  window->picStock_Click(1);
  window->cmdFrameSave()->click();
  EXPECT_EQ(dialogs, 1);
  EXPECT_EQ(lastRequest.title, QStringLiteral("保存先およびベース名の設定"));
  EXPECT_EQ(lastRequest.filters, (QStringList{QStringLiteral("ビットマップ(*.bmp)"), QStringLiteral("ＪＰＥＧ(*.jpg)"),
                                              QStringLiteral("ＧＩＦ(*.gif)"), QStringLiteral("ＷｅｂＰ(*.webp)")}));
  EXPECT_EQ(lastRequest.initialDir, QStringLiteral("/nowhere"));
  EXPECT_EQ(lastRequest.proposedName, QStringLiteral("BaseName"));
  EXPECT_EQ(saveExt, ".bmp");
  EXPECT_EQ(gifQuestions, 0);
  EXPECT_EQ(buttons(*window), "11111");
  EXPECT_TRUE(messages.empty());
}

TEST_F(FrmFramesTest, AnEmptyListSaysThereIsNothingToSaveAndAsksNothing) {
  const std::filesystem::path dir = testutil::makeTempDir("frm_frames_empty");
  answer = QString::fromStdString((dir / "a.gif").string());
  gifAnimated = true;
  const std::string buttonsBefore = buttons(*window);
  window->cmdFrameSave()->click();
  EXPECT_EQ(dialogs, 0);
  EXPECT_EQ(gifQuestions, 0);
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(messages[0], QStringLiteral("保存するフレームがありません。"));
  EXPECT_EQ(captions[0], QStringLiteral("Pictorell"));
  EXPECT_EQ(buttons(*window), buttonsBefore);
  EXPECT_TRUE(std::filesystem::is_empty(dir));
  // Once all frames are deleted the list is empty again.
  window->Add_Stock(frame(100, 10));
  window->cmdDelete(1)->click();
  window->cmdFrameSave()->click();
  EXPECT_EQ(dialogs, 0);
  EXPECT_EQ(messages.size(), 2u);
}

TEST_F(FrmFramesTest, SaveWritesTheListAndLeavesSavePathAlone) {
  const std::filesystem::path dir = testutil::makeTempDir("frm_frames_save");
  for (int h : {10, 20}) window->Add_Stock(frame(100, h));
  answer = QString::fromStdString((dir / "a.b.jpg").string());
  window->cmdFrameSave_Click();
  EXPECT_EQ(gifQuestions, 0);
  EXPECT_EQ(saveExt, ".jpg");
  EXPECT_EQ(savePath, "/nowhere");
  EXPECT_TRUE(std::filesystem::exists(dir / "a000.jpg"));
  EXPECT_TRUE(std::filesystem::exists(dir / "a001.jpg"));
  EXPECT_FALSE(std::filesystem::exists(dir / "a000.bmp"));
  EXPECT_EQ(buttons(*window), "10111");  // the second of two frames is selected
  EXPECT_TRUE(messages.empty());
}

TEST_F(FrmFramesTest, AnimatedGifSaveAsksOnceAndWritesOneFile) {
  const std::filesystem::path dir = testutil::makeTempDir("frm_frames_gif");
  for (int i = 0; i < 2; ++i) window->Add_Stock(frame(100, 20));
  answer = QString::fromStdString((dir / "a.b.gif").string());
  gifAnimated = true;
  window->cmdFrameSave_Click();
  EXPECT_EQ(gifQuestions, 1);
  EXPECT_EQ(saveExt, ".gif");
  EXPECT_TRUE(std::filesystem::exists(dir / "a.gif"));
  EXPECT_FALSE(std::filesystem::exists(dir / "a000.bmp"));
  EXPECT_FALSE(std::filesystem::exists(dir / "a001.bmp"));
}

// With the frame asker the question gets the list's frames; a budget that
// not even the smallest file keeps to asks first, and No writes nothing.
TEST_F(FrmFramesTest, AGifOverItsBudgetIsWrittenOnlyAfterAYes) {
  const std::filesystem::path dir = testutil::makeTempDir("frm_frames_budget");
  for (int k = 0; k < 3; ++k) {
    core::Bitmap b(80, 30);
    std::uint32_t state = static_cast<std::uint32_t>(k) + 1;
    for (core::Color& c : b.px) {
      state = state * 1664525u + 1013904223u;
      c = core::rgb(static_cast<int>(state >> 24), static_cast<int>((state >> 16) & 0xFF), 40);
    }
    window->Add_Stock(core::Picture::fromBitmap(std::move(b)));
  }
  askOverride = [](const save::AnimationAsk&) -> std::optional<save::AnimationAnswer> {
    save::AnimationAnswer given;
    given.animated = true;
    given.animation.play.budgetBytes = 1000;
    return given;
  };
  std::vector<QString> questions;
  bool yes = false;
  window->setOverBudgetAsker([&](const QString& text) {
    questions.push_back(text);
    return yes;
  });
  answer = QString::fromStdString((dir / "b.gif").string());
  window->cmdFrameSave_Click();
  EXPECT_EQ(askedFrames, 3u);
  ASSERT_EQ(questions.size(), 1u);
  EXPECT_TRUE(questions[0].startsWith(QStringLiteral("アニメーションGIFを上限 1,000 バイトに収められません。\n")))
      << questions[0].toStdString();
  EXPECT_TRUE(std::filesystem::is_empty(dir));
  EXPECT_EQ(gifQuestions, 1);  // one question per save

  yes = true;
  window->cmdFrameSave_Click();
  ASSERT_EQ(questions.size(), 2u);
  EXPECT_TRUE(std::filesystem::exists(dir / "b.gif"));
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir), std::filesystem::directory_iterator{}), 1);
  EXPECT_TRUE(messages.empty());
  EXPECT_EQ(buttons(*window), "10111");
}

TEST_F(FrmFramesTest, AFileThatCannotBeWrittenIsReportedAndTheButtonsComeBack) {
  const std::filesystem::path dir = testutil::makeTempDir("frm_frames_fail");
  for (int h : {10, 20}) window->Add_Stock(frame(100, h));
  window->picStock_Click(0);
  answer = QString::fromStdString((dir / "gone" / "base.bmp").string());
  window->cmdFrameSave_Click();
  ASSERT_EQ(messages.size(), 1u);
  EXPECT_EQ(captions[0], QStringLiteral("Pictorell"));
  EXPECT_TRUE(messages[0].startsWith(QStringLiteral("ファイルを保存できませんでした。\n") +
                                     QString::fromStdString((dir / "gone" / "base000.bmp").string()) + "\n"))
      << messages[0].toStdString();
  EXPECT_EQ(buttons(*window), "01111");
}

}  // namespace
