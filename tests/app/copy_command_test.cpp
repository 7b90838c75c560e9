// The copy command: only a paused preview's frame on display reaches the
// frame list (and the clipboard); frames from two previews are collected,
// reordered, thinned out and saved as one animated GIF through the window's
// prompts and GIF dialog.
#include <filesystem>

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/frm_gif_setting.h"
#include "app/written_check.h"
#include "framelist/frm_frames.h"
#include "intake/image_adapter.h"
#include "window_fixture.h"

namespace {

using apptest::WindowTest;

class CopyTest : public WindowTest {
 protected:
  app::frmMain& startWithPicture() {
    app::frmMain& w = start();
    load(apptest::writePicture(dir, "src.bmp", 40, 20, QColor(0, 0, 255), QColor(255, 255, 255)));
    return w;
  }
  framelist::frmFrames& frames() { return *window->frameList(); }
  const core::Picture& shown() { return window->workState().picX.picture(); }
};

TEST_F(CopyTest, OnlyAPausedPreviewCopies) {
  app::frmMain& w = startWithPicture();
  EXPECT_FALSE(frames().isVisible());  // loaded hidden at start

  w.cmdCopy_Click();  // no preview
  w.cmdPrev_Click();
  w.cmdCopy_Click();  // playing
  EXPECT_FALSE(frames().isVisible());
  EXPECT_TRUE(frames().frames().isEmpty());

  w.cmdPause_Click(0);
  w.menus.mnuEditCopy->trigger();
  EXPECT_TRUE(frames().isVisible());
  ASSERT_EQ(frames().frames().frameCount(), 1);
  EXPECT_TRUE(frames().frames().entry(0).picture.samePixels(w.workState().mFrames[0]));
  EXPECT_EQ(QGuiApplication::clipboard()->image(), intake::toQImage(shown()));

  w.tmr1_Timer();       // frame 0's time is up while paused
  w.cmdPause_Click(0);  // one step: frame 1 on display
  w.cmdCopy_Click();
  ASSERT_EQ(frames().frames().frameCount(), 2);
  EXPECT_TRUE(frames().frames().entry(1).picture.samePixels(w.workState().mFrames[1]));
  EXPECT_EQ(frames().shaXTag(), QStringLiteral("1"));

  w.cmdPause_Click(1);  // resumed: copying stops again
  w.cmdCopy_Click();
  EXPECT_EQ(frames().frames().frameCount(), 2);
}

TEST_F(CopyTest, ClosingTheFrameListEmptiesItAndTheNextCopyShowsItAgain) {
  app::frmMain& w = startWithPicture();
  w.cmdPrev_Click();
  w.cmdPause_Click(0);
  w.cmdCopy_Click();
  frames().close();
  EXPECT_FALSE(frames().isVisible());
  EXPECT_TRUE(frames().frames().isEmpty());
  w.cmdCopy_Click();
  EXPECT_TRUE(frames().isVisible());
  EXPECT_EQ(frames().frames().frameCount(), 1);
}

TEST_F(CopyTest, FramesOfTwoPreviewsBecomeOneAnimatedGif) {
  app::frmMain& w = startWithPicture();
  // Slide frames 0 and 1.
  w.cmdPrev_Click();
  w.cmdPause_Click(0);
  const core::Picture slide0 = shown();
  w.cmdCopy_Click();
  w.tmr1_Timer();
  w.cmdPause_Click(0);
  w.cmdCopy_Click();
  w.Form_KeyDown(Qt::Key_Escape);
  // Zoom frame 0, then moved to the front.
  w.cboType->setCurrentIndex(3);
  w.cmdPrev_Click();
  w.cmdPause_Click(0);
  const core::Picture zoom0 = shown();
  w.cmdCopy_Click();
  w.Form_KeyDown(Qt::Key_Escape);
  frames().cmdMove(1)->click();
  frames().cmdMove(1)->click();
  EXPECT_EQ(frames().shaXTag(), QStringLiteral("0"));
  // Slide frame 1 (now the last) is checked and deleted.
  frames().chkX(2)->click();
  frames().cmdDelete(0)->click();
  ASSERT_EQ(frames().frames().frameCount(), 2);

  const std::filesystem::path out = dir / "prog" / "SaveImages";
  log->saveAnswers.push_back(QString::fromStdString((out / "anim.v1.gif").string()));
  w.gifSetting().setModalRunner([](app::frmGifSetting& d) {
    d.optType[1]->click();
    d.cboTime->setEditText(QStringLiteral("0.3"));
    d.cmdSet_Click();
  });
  frames().cmdFrameSave_Click();

  ASSERT_EQ(log->saveRequests.size(), 1u);
  EXPECT_EQ(log->saveRequests[0].title, QStringLiteral("保存先およびベース名の設定"));
  EXPECT_EQ(log->saveRequests[0].startFolder, QString::fromStdString(w.workState().SavePath));
  EXPECT_EQ(log->saveRequests[0].proposedName, QStringLiteral("BaseName"));
  EXPECT_EQ(w.workState().SaveExt, ".gif");
  EXPECT_TRUE(log->messages.empty());

  EXPECT_TRUE(std::filesystem::exists(out / "anim.gif"));
  EXPECT_FALSE(std::filesystem::exists(out / "anim000.bmp"));
  // The GIF dialog reads the file the list wrote back, as after the window's saves.
  while (w.gifSetting().writtenCheck().isBusy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  ASSERT_TRUE(w.gifSetting().writtenCheck().last());
  EXPECT_EQ(w.gifSetting().writtenCheck().last()->file, (out / "anim.gif").string());
  EXPECT_EQ(w.gifSetting().lblWritten->text().section(QStringLiteral("、"), 1, 1), QStringLiteral("2 フレーム"));
  QImageReader reader(QString::fromStdString((out / "anim.gif").string()));
  EXPECT_EQ(reader.imageCount(), 2);
  QImage first;
  ASSERT_TRUE(reader.read(&first));
  EXPECT_EQ(reader.nextImageDelay(), 300);
  EXPECT_EQ(first.convertToFormat(QImage::Format_RGB32), intake::toQImage(zoom0));
  QImage second;
  ASSERT_TRUE(reader.read(&second));
  EXPECT_EQ(second.convertToFormat(QImage::Format_RGB32), intake::toQImage(slide0));
  EXPECT_FALSE(zoom0.samePixels(slide0));
}

// The frame list asks the same dialog with its own animation: two frames,
// closed by the first again; its budget notice goes through the prompts.
TEST_F(CopyTest, AFrameListAnimationWithAPresetStopsOnItsFirstFrameAndReportsTheBudget) {
  app::frmMain& w = startWithPicture();
  w.cmdPrev_Click();
  w.cmdPause_Click(0);
  w.cmdCopy_Click();
  w.tmr1_Timer();
  w.cmdPause_Click(0);
  w.cmdCopy_Click();
  ASSERT_EQ(frames().frames().frameCount(), 2);
  const std::filesystem::path out = dir / "prog" / "SaveImages";
  log->saveAnswers.push_back(QString::fromStdString((out / "list.gif").string()));
  QString summary;
  w.gifSetting().setModalRunner([&](app::frmGifSetting& d) {
    d.optType[1]->click();
    d.setIntervalText("0.5");
    d.cboPreset_Click(1);
    summary = d.lblSummary->text();
    d.cmdSet_Click();
  });
  frames().cmdFrameSave_Click();
  EXPECT_EQ(summary, QStringLiteral("0.50 秒 × 3 フレーム = 1.5 秒、20 回再生 = 30.0 秒"));
  QImageReader reader(QString::fromStdString((out / "list.gif").string()));
  EXPECT_EQ(reader.imageCount(), 3);
  EXPECT_EQ(reader.loopCount(), 19);
  QImage first, second, last;
  ASSERT_TRUE(reader.read(&first) && reader.read(&second) && reader.read(&last));
  EXPECT_EQ(last, first);
  EXPECT_NE(second, first);
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Information);
  EXPECT_TRUE(log->messages[0].text.startsWith(QStringLiteral("アニメーションGIFのサイズは ")));
}

TEST_F(CopyTest, AFrameListSaveThatCannotWriteSaysSoThroughTheWindowsPrompts) {
  app::frmMain& w = startWithPicture();
  w.cmdPrev_Click();
  w.cmdPause_Click(0);
  w.cmdCopy_Click();
  const std::filesystem::path missing = dir / "nowhere" / "base.bmp";
  log->saveAnswers.push_back(QString::fromStdString(missing.string()));
  frames().cmdFrameSave_Click();
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Exclamation);
  EXPECT_TRUE(log->messages[0].text.contains(QString::fromStdString((dir / "nowhere" / "base000.bmp").string())));
  EXPECT_TRUE(frames().cmdFrameSave()->isEnabled());
}

}  // namespace

namespace {

// All frames of a running preview reach the list in play order while it
// keeps playing; the program then asks before closing over them, and No
// keeps it open.
TEST_F(CopyTest, AllFramesOfAPlayingPreviewAndTheQuestionBeforeClosing) {
  app::frmMain& w = startWithPicture();
  w.show();
  w.mnuEditCopyAll_Click();  // no preview: nothing
  EXPECT_FALSE(frames().isVisible());
  w.cmdPrev_Click();
  ASSERT_EQ(w.driver().state(), effects::PreviewState::Playing);
  emit w.menus.mnuEdit->aboutToShow();
  EXPECT_TRUE(w.menus.mnuEditCopyAll->isEnabled());
  const std::vector<core::Picture> playing = w.driver().previewFrames();
  ASSERT_GT(playing.size(), 1u);
  w.menus.mnuEditCopyAll->trigger();
  EXPECT_TRUE(frames().isVisible());
  ASSERT_EQ(frames().frames().frameCount(), static_cast<int>(playing.size()));
  for (std::size_t i = 0; i < playing.size(); ++i)
    EXPECT_EQ(frames().frames().entry(static_cast<int>(i)).picture.handle(), playing[i].handle()) << i;
  EXPECT_EQ(w.driver().state(), effects::PreviewState::Playing);
  EXPECT_TRUE(w.tmr1->isActive());

  EXPECT_FALSE(w.close());
  ASSERT_EQ(log->questions.size(), 1u);
  EXPECT_EQ(log->questions[0].text,
            QString::fromUtf8("フレーム・リストに保存していない変更があります。\n保存せずに閉じますか？"));
  EXPECT_TRUE(w.isVisible());
  log->questionAnswers.push_back(true);
  EXPECT_TRUE(w.close());
  EXPECT_EQ(log->questions.size(), 2u);
}

}  // namespace
