// The main window with hostile input: a program folder and a dropped file
// with Japanese names and spaces, content that is not what its name says, and
// a save onto a full disk.
#include <fstream>

#include <QComboBox>
#include <QPushButton>

#include "small_fs.h"
#include "window_fixture.h"

namespace {

QString u(const char* s) { return QString::fromUtf8(s); }

class HostileWindow : public apptest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    // The program, its settings file and the pictures all live below names
    // with Japanese characters and spaces.
    const auto prog = dir / "プログラム フォルダ";
    std::filesystem::create_directories(prog);
    env.programFolder = QString::fromStdString(prog.string()) + "/";
    env.iniPath = env.programFolder + "brenlo.ini";
  }
};

TEST_F(HostileWindow, JapaneseProgramFolderKeepsItsSettings) {
  app::frmMain& w = start();
  w.cboType->setCurrentIndex(4);
  EXPECT_TRUE(w.close());
  const auto ini = dir / "プログラム フォルダ" / "brenlo.ini";
  ASSERT_TRUE(std::filesystem::exists(ini));
  window.reset();
  app::frmMain& again = start();
  EXPECT_EQ(again.cboType->currentIndex(), 4);
  EXPECT_TRUE(std::filesystem::is_directory(dir / "プログラム フォルダ" / "SaveImages"));
}

TEST_F(HostileWindow, RefusedContentAfterAPreviewLeavesNothingToSave) {
  app::frmMain& w = start();
  load(apptest::writePicture(dir, "元の 画像.bmp", 40, 20));
  EXPECT_EQ(w.txtSource->text(), QString::fromStdString((dir / "元の 画像.bmp").string()));
  ASSERT_TRUE(w.cmdPrev->isEnabled());
  w.cmdPrev_Click();
  w.cmdPrev_Click();  // stop
  ASSERT_FALSE(w.workState().mFrames[0].isEmpty());

  QImage tiff(30, 10, QImage::Format_RGB32);
  tiff.fill(Qt::green);
  const auto named = dir / "写真 です.jpg";  // TIFF bytes under a JPEG name
  ASSERT_TRUE(tiff.save(QString::fromStdString(named.string()), "TIFF"));
  load(QString::fromStdString(named.string()));
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Critical);
  EXPECT_EQ(log->messages[0].text, u("TIFF 形式の画像には対応していません。(対応形式: BMP・JPEG・GIF・PNG・WebP)"));
  EXPECT_FALSE(w.cmdPrev->isEnabled());
  EXPECT_FALSE(w.cmdSave->isEnabled());
  for (const auto& frame : w.workState().mFrames) EXPECT_TRUE(frame.isEmpty());
  EXPECT_EQ(w.workState().picSource.width(), 40);  // the previous source stays
  EXPECT_TRUE(w.workState().picX.picture().isEmpty());
}

TEST_F(HostileWindow, SaveOntoAFullDiskNamesTheFileAndTheReason) {
  testutil::SmallFs disk(64);
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot();
  app::frmMain& w = start();
  load(apptest::writePicture(dir, "src.bmp", 200, 100));
  log->saveAnswers = {QString::fromStdString((disk.path() / "バナー.bmp").string())};
  w.cmdSave_Click();
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Exclamation);
  const QString text = log->messages[0].text;
  EXPECT_TRUE(text.contains(QString::fromStdString((disk.path() / "バナー-s-001.bmp").string()))) << text.toStdString();
  EXPECT_TRUE(text.contains(u("No space left on device"))) << text.toStdString();
  EXPECT_TRUE(w.cmdSave->isEnabled());
  EXPECT_TRUE(w.cmdPrev->isEnabled());
  EXPECT_TRUE(w.cmdOpen->isEnabled());
}

}  // namespace
