// A real preview in the main window: playback from tmr1, pause, single step,
// resume, Esc, the save that writes the previewed frames, a save that cannot
// write, and a drop or a close that arrives while the driver is busy.
#include <cstdio>
#include <fstream>

#include <QComboBox>
#include <QFrame>
#include <QImageReader>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include "app/frm_gif_setting.h"
#include "app/picture_view.h"
#include "intake/image_adapter.h"
#include "play/animation_plan.h"
#include "window_fixture.h"

namespace {

using apptest::WindowTest;

QString u(const char* s) { return QString::fromUtf8(s); }

class PreviewTest : public WindowTest {
 protected:
  app::frmMain& startWithPicture() {
    app::frmMain& w = start();
    load(apptest::writePicture(dir, "src.bmp", 40, 20, QColor(0, 0, 255), QColor(255, 255, 255)));
    return w;
  }
  // The frame on display is cache entry k.
  static bool showing(app::frmMain& w, int k) {
    return w.workState().picX.image().samePixels(w.workState().mFrames[static_cast<std::size_t>(k)]);
  }
};

TEST_F(PreviewTest, PlaysFromTheTimerAndLocksTheOptions) {
  app::frmMain& w = startWithPicture();
  w.cmdPrev_Click();
  EXPECT_EQ(w.driver().state(), effects::PreviewState::Playing);
  EXPECT_EQ(w.cmdPrev->text(), u("中止(&V)"));
  EXPECT_EQ(w.menus.mnuPreview->text(), u("プレビュー中止(&V)"));
  EXPECT_TRUE(w.tmr1->isActive());
  EXPECT_TRUE(w.fraMsg->isVisibleTo(&w));
  EXPECT_EQ(w.lblMsg->text(), "BaseName-x-06.bmp");
  EXPECT_TRUE(showing(w, 0));
  EXPECT_TRUE(w.cmdPrev->isEnabled());
  EXPECT_TRUE(w.cmdClose->isEnabled());
  EXPECT_FALSE(w.cmdSave->isEnabled());
  EXPECT_FALSE(w.cboType->isEnabled());
  EXPECT_FALSE(w.menus.mnuSetting->isEnabled());
  EXPECT_FALSE(w.cmdCopy->isEnabled());

  w.tmr1_Timer();
  EXPECT_EQ(w.lblMsg->text(), "BaseName-x-07.bmp");
  EXPECT_TRUE(showing(w, 1));
  EXPECT_EQ(w.picX->shown(), intake::toQImage(w.workState().mFrames[1]));
}

TEST_F(PreviewTest, PauseStepResumeAndEsc) {
  app::frmMain& w = startWithPicture();
  w.cmdPrev_Click();
  w.cmdPause_Click(0);  // "I>": pause on the current frame
  EXPECT_EQ(w.driver().playState(), "pause");
  EXPECT_TRUE(w.cmdCopy->isEnabled());
  EXPECT_TRUE(w.menus.mnuEditCopy->isEnabled());
  w.tmr1_Timer();
  EXPECT_TRUE(showing(w, 0));

  w.cmdPause_Click(0);  // "I>" again: exactly one more frame
  EXPECT_TRUE(showing(w, 1));
  w.tmr1_Timer();
  w.tmr1_Timer();
  EXPECT_TRUE(showing(w, 1));
  EXPECT_EQ(w.driver().playState(), "pause");

  // ">": the frame's time has passed, so the next one comes at once; then
  // the normal rate, and no copying.
  w.cmdPause_Click(1);
  EXPECT_TRUE(showing(w, 2));
  EXPECT_FALSE(w.cmdCopy->isEnabled());
  EXPECT_FALSE(w.menus.mnuEditCopy->isEnabled());
  w.tmr1_Timer();
  EXPECT_TRUE(showing(w, 3));

  w.cmdPause_Click(0);
  w.Form_KeyDown(Qt::Key_Escape);  // stops a paused preview too
  EXPECT_EQ(w.driver().state(), effects::PreviewState::Idle);
  EXPECT_FALSE(w.tmr1->isActive());
  EXPECT_FALSE(w.fraMsg->isVisibleTo(&w));
  EXPECT_EQ(w.cmdPrev->text(), u("プレビュー(&V)"));
  EXPECT_TRUE(w.cmdSave->isEnabled());
  EXPECT_TRUE(w.cboType->isEnabled());
  EXPECT_TRUE(w.workState().picX.image().samePixels(w.workState().picSource.picture()));

  w.Form_KeyDown(Qt::Key_Escape);  // no preview: nothing happens
  EXPECT_EQ(w.driver().state(), effects::PreviewState::Idle);
}

TEST_F(PreviewTest, SaveAfterPreviewWritesThePreviewedFrames) {
  app::frmMain& w = startWithPicture();
  w.cmdPrev_Click();
  w.cmdPrev_Click();  // stop
  const std::vector<core::Picture> previewed = w.workState().mFrames;
  ASSERT_EQ(previewed.size(), 22u);

  std::filesystem::create_directories(dir / "out");
  log->saveAnswers = {QString::fromStdString((dir / "out" / "banner.v2.bmp").string())};
  w.cmdSave_Click();
  ASSERT_EQ(log->saveRequests.size(), 1u);
  EXPECT_EQ(log->saveRequests[0].startFolder, QString::fromStdString((dir / "prog" / "SaveImages").string()));
  EXPECT_TRUE(log->messages.empty());
  for (int i = 0; i < 22; ++i) {
    SCOPED_TRACE(i);
    char name[32];
    std::snprintf(name, sizeof name, "banner-s-%03d.bmp", i);
    const QImage written(QString::fromStdString((dir / "out" / name).string()));
    ASSERT_FALSE(written.isNull());
    // The very pictures of the preview: the save did not compose again.
    EXPECT_EQ(w.workState().mFrames[static_cast<std::size_t>(i)].handle(),
              previewed[static_cast<std::size_t>(i)].handle());
    EXPECT_TRUE(testutil::surfacesEqual(intake::fromQImage(written), previewed[static_cast<std::size_t>(i)]));
  }
  EXPECT_EQ(w.workState().SavePath, (dir / "out").string());
  EXPECT_TRUE(w.cmdSave->isEnabled());
  EXPECT_TRUE(w.cmdClose->isEnabled());
  // The next save dialog starts where this one ended.
  w.cmdSave_Click();
  EXPECT_EQ(log->saveRequests[1].startFolder, QString::fromStdString((dir / "out").string()));
}

TEST_F(PreviewTest, SaveThatCannotWriteNamesTheFileAndUnlocks) {
  app::frmMain& w = startWithPicture();
  std::ofstream(dir / "plainfile") << "x";
  // Its "folder" is a file: nothing can be written below it.
  log->saveAnswers = {QString::fromStdString((dir / "plainfile" / "banner").string())};
  w.cmdSave_Click();
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Exclamation);
  EXPECT_TRUE(log->messages[0].text.contains("banner-s-000.bmp")) << log->messages[0].text.toStdString();
  EXPECT_TRUE(w.cmdSave->isEnabled());
  EXPECT_TRUE(w.cmdPrev->isEnabled());
  EXPECT_TRUE(w.cmdOpen->isEnabled());
  EXPECT_TRUE(w.menus.mnuSetting->isEnabled());
}

TEST_F(PreviewTest, DropDuringPlaybackStopsThePreviewThenLoads) {
  app::frmMain& w = startWithPicture();
  w.cmdPrev_Click();
  w.tmr1_Timer();
  w.txtSource_OLEDragDrop(apptest::writePicture(dir, "next.bmp", 30, 10, QColor(0, 255, 0)));
  EXPECT_EQ(w.driver().state(), effects::PreviewState::Idle);
  EXPECT_FALSE(w.tmr1->isActive());
  EXPECT_EQ(w.workState().picSource.width(), 30);
  EXPECT_EQ(w.workState().picX.point(5, 5), core::rgb(0, 255, 0));
  EXPECT_EQ(w.picX->shown().pixelColor(5, 5), QColor(0, 255, 0));
  EXPECT_TRUE(w.cmdPrev->isEnabled());
}

TEST_F(PreviewTest, DropInsideARenderWaitsUntilTheRenderReturns) {
  app::frmMain& w = startWithPicture();
  w.setEventInterval(0);
  const QString next = apptest::writePicture(dir, "next.bmp", 30, 10, QColor(0, 255, 0));
  // Delivered by the first yield of the render.
  QTimer::singleShot(0, &w, [&] { w.txtSource_OLEDragDrop(next); });
  w.cmdPrev_Click();
  EXPECT_EQ(w.driver().state(), effects::PreviewState::Idle);
  EXPECT_EQ(w.txtSource->text(), next);
  EXPECT_EQ(w.workState().picSource.width(), 30);
  EXPECT_EQ(w.picX->shown().pixelColor(5, 5), QColor(0, 255, 0));
  EXPECT_FALSE(w.workState().framesComplete);
  EXPECT_TRUE(w.cmdPrev->isEnabled());
  EXPECT_EQ(w.cmdPrev->text(), u("プレビュー(&V)"));
}

TEST_F(PreviewTest, CloseInsideARenderEndsTheProgramAfterIt) {
  app::frmMain& w = startWithPicture();
  w.show();
  w.setEventInterval(0);
  QTimer::singleShot(0, &w, [&] { w.close(); });
  w.cmdPrev_Click();
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.driver().state(), effects::PreviewState::Idle);
  EXPECT_TRUE(std::filesystem::exists(dir / "prog" / "brenlo.ini"));
}

TEST_F(PreviewTest, CloseDuringPlaybackStopsAndUnloads) {
  app::frmMain& w = startWithPicture();
  w.show();
  w.cmdPrev_Click();
  w.cmdPause_Click(0);
  EXPECT_TRUE(w.close());
  EXPECT_FALSE(w.tmr1->isActive());
  EXPECT_TRUE(std::filesystem::exists(dir / "prog" / "brenlo.ini"));
}

TEST_F(PreviewTest, DebugCommandLineShowsTheRenderTimeOfTurn) {
  env.debugCommandLine = true;
  app::frmMain& w = startWithPicture();
  w.cboType->setCurrentIndex(1);  // Turn
  w.cmdPrev_Click();
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Information);
  EXPECT_TRUE(QRegularExpression("^-?\\d+\\.\\d{3}\\(s\\)$").match(log->messages[0].text).hasMatch())
      << log->messages[0].text.toStdString();
  EXPECT_EQ(w.driver().state(), effects::PreviewState::Playing);
  w.cmdPrev_Click();
  w.cboType->setCurrentIndex(0);  // Slide shows no render time
  w.cmdPrev_Click();
  EXPECT_EQ(log->messages.size(), 1u);
}

TEST_F(PreviewTest, AnimatedGifSaveAsksTheDialogAndJoinsTheFrames) {
  app::frmMain& w = startWithPicture();
  w.gifSetting().setModalRunner([](app::frmGifSetting& d) {
    d.optType[1]->click();
    d.setIntervalText("0.2");
    d.cmdSet_Click();
  });
  std::filesystem::create_directories(dir / "gif");
  log->saveAnswers = {QString::fromStdString((dir / "gif" / "anim.gif").string())};
  w.cmdSave_Click();
  EXPECT_TRUE(log->messages.empty());
  QImageReader reader(QString::fromStdString((dir / "gif" / "anim-s-.gif").string()));
  ASSERT_TRUE(reader.canRead());
  // 22 frames of 0.2 s; equal neighbours share one image showing for both.
  const int images = reader.imageCount();
  EXPECT_GE(images, 20);
  int total = 0;
  for (int i = 0; i < images; ++i) {
    ASSERT_FALSE(reader.read().isNull());
    const int delay = reader.nextImageDelay();  // after a frame: its delay in milliseconds
    EXPECT_EQ(delay % 200, 0);
    total += delay;
  }
  EXPECT_EQ(total, 22 * 200);
  EXPECT_FALSE(std::filesystem::exists(dir / "gif" / "anim-s-000.bmp"));
  EXPECT_EQ(w.gifSetting().choice(), 1);
}

// The dialog knows the animation (Slide, 22 files) when the preset is
// picked; the file plays six times and stops; its size comes with the
// information icon against Google's budget.
TEST_F(PreviewTest, AnimatedGifSaveWithAPresetPlaysAsChosenAndReportsTheBudget) {
  app::frmMain& w = startWithPicture();
  QString summary;
  w.gifSetting().setModalRunner([&](app::frmGifSetting& d) {
    d.optType[1]->click();
    d.setIntervalText("0.1");
    d.cboPreset_Click(1);
    summary = d.lblSummary->text();
    d.cmdSet_Click();
  });
  std::filesystem::create_directories(dir / "gif");
  log->saveAnswers = {QString::fromStdString((dir / "gif" / "ad.gif").string())};
  w.cmdSave_Click();
  EXPECT_EQ(summary, QStringLiteral("0.20 秒 × 23 フレーム = 4.6 秒、6 回再生 = 27.6 秒"));
  const std::filesystem::path gif = dir / "gif" / "ad-s-.gif";
  QImageReader reader(QString::fromStdString(gif.string()));
  EXPECT_EQ(reader.loopCount(), 5);
  int shownMs = 0;  // repeated frames may be stored once, for their summed time
  for (QImage image; reader.read(&image);) shownMs += reader.nextImageDelay();
  EXPECT_EQ(shownMs, 4600);
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Information);
  EXPECT_EQ(
      log->messages[0].text,
      QStringLiteral("アニメーションGIFのサイズは %1 バイトです。\nGoogle 広告の上限 150,000 バイトに収まっています。")
          .arg(QString::fromStdString(output::groupedNumber(std::filesystem::file_size(gif)))));
}

// The dialog's OK leaves a byte budget (as its budget box will): the file
// is fitted and written in one piece; one that cannot fit asks first with
// the warning icon, and No leaves the folder as it was.
TEST_F(PreviewTest, AnimatedGifSaveWithABudgetFitsOrAsksBeforeWriting) {
  app::frmMain& w = start();
  QImage noise(90, 30, QImage::Format_RGB32);
  std::uint32_t state = 7;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 90; ++x) {
      state = state * 1664525u + 1013904223u;
      noise.setPixel(x, y, qRgb(static_cast<int>(state >> 24), static_cast<int>((state >> 16) & 0xFF), x * 2));
    }
  ASSERT_TRUE(noise.save(QString::fromStdString((dir / "noise.bmp").string()), "BMP"));
  load(QString::fromStdString((dir / "noise.bmp").string()));
  int budgetKb = 1;
  w.gifSetting().setModalRunner([&](app::frmGifSetting& d) {
    d.optType[1]->click();
    d.setIntervalText("0.1");
    d.setBudgetKb(budgetKb);
    d.cmdSet_Click();
  });
  const std::filesystem::path folder = dir / "budget";
  std::filesystem::create_directories(folder);
  const auto names = [&] {
    QStringList list;
    for (const auto& e : std::filesystem::directory_iterator(folder))
      list << QString::fromStdString(e.path().filename().string());
    list.sort();
    return list;
  };

  log->saveAnswers = {QString::fromStdString((folder / "over.gif").string())};
  w.cmdSave_Click();
  ASSERT_EQ(log->questions.size(), 1u);
  EXPECT_EQ(log->questions[0].icon, app::MessageIcon::Exclamation);
  const QRegularExpression question(QStringLiteral(
      "^アニメーションGIFを上限 1,000 バイトに収められません。\n最も小さくしても [0-9,]+ バイト（PSNR [0-9]+\\.[0-9] "
      "dB）です。\nこのまま保存しますか？$"));
  EXPECT_TRUE(question.match(log->questions[0].text).hasMatch()) << log->questions[0].text.toStdString();
  EXPECT_TRUE(names().isEmpty());
  EXPECT_TRUE(log->messages.empty());

  log->questionAnswers = {true};
  log->saveAnswers = {QString::fromStdString((folder / "over.gif").string())};
  w.cmdSave_Click();
  ASSERT_EQ(log->questions.size(), 2u);
  EXPECT_EQ(names(), QStringList{QStringLiteral("over-s-.gif")});
  const auto over = std::filesystem::file_size(folder / "over-s-.gif");
  EXPECT_GT(over, 1000u);
  EXPECT_TRUE(log->questions[1].text.contains(QString::fromStdString(output::groupedNumber(over) + " バイト（PSNR")));
  EXPECT_GE(QImageReader(QString::fromStdString((folder / "over-s-.gif").string())).imageCount(), 20);

  // A budget it can keep to: no question, a file within it.
  budgetKb = static_cast<int>(over * 3 / 1000);
  log->saveAnswers = {QString::fromStdString((folder / "fits.gif").string())};
  w.cmdSave_Click();
  EXPECT_EQ(log->questions.size(), 2u);
  EXPECT_LE(std::filesystem::file_size(folder / "fits-s-.gif"), static_cast<std::uintmax_t>(budgetKb) * 1000);
  EXPECT_EQ(names(), (QStringList{QStringLiteral("fits-s-.gif"), QStringLiteral("over-s-.gif")}));
  EXPECT_TRUE(log->messages.empty());
}

TEST_F(PreviewTest, DropAndCloseInsideASaveWaitForItsEnd) {
  app::frmMain& w = startWithPicture();
  w.show();
  w.setEventInterval(0);
  std::filesystem::create_directories(dir / "out");
  log->saveAnswers = {QString::fromStdString((dir / "out" / "b.bmp").string())};
  const QString next = apptest::writePicture(dir, "next.bmp", 30, 10, QColor(0, 255, 0));
  QTimer::singleShot(0, &w, [&] {
    w.txtSource_OLEDragDrop(next);
    w.close();
  });
  w.cmdSave_Click();
  // Every frame of the first picture was written, then the drop loaded and
  // the window closed.
  for (int i = 0; i < 22; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "b-s-%03d.bmp", i);
    const QImage frame(QString::fromStdString((dir / "out" / name).string()));
    ASSERT_EQ(frame.size(), QSize(40, 20)) << name;
  }
  EXPECT_EQ(w.workState().picSource.width(), 30);
  EXPECT_FALSE(w.isVisible());
  EXPECT_TRUE(std::filesystem::exists(dir / "prog" / "brenlo.ini"));
}

TEST_F(PreviewTest, EscapeKeyStopsThePreview) {
  app::frmMain& w = startWithPicture();
  w.show();
  w.activateWindow();
  if (!QTest::qWaitForWindowActive(&w)) GTEST_SKIP() << "no active window on this platform";
  w.cmdPrev_Click();
  QTest::keyClick(w.cboType, Qt::Key_Escape);
  EXPECT_EQ(w.driver().state(), effects::PreviewState::Idle);
  EXPECT_FALSE(w.menus.mnuEditCopy->isEnabled());
}

}  // namespace
