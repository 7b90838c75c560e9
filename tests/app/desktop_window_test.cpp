// Between the window and the desktop: the help opened with whatever the
// desktop has (CHM viewer, else the browser), and a picture handed over on
// the command line.
#include <filesystem>
#include <fstream>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QThread>

#include "app/drop_field.h"
#include "app/help_documents.h"
#include "app/picture_view.h"
#include "app/prompts.h"
#include "window_fixture.h"

namespace {

namespace fs = std::filesystem;

QString u(const char* s) { return QString::fromUtf8(s); }

const QString kChm = QStringLiteral("application/vnd.ms-htmlhelp");
const QString kHtml = QStringLiteral("text/html");

// An installed program: the help pages and brenlo.chm in the help folder,
// nothing beside the program.
class HelpTest : public apptest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    help = dir / "share" / "help";
    fs::create_directories(help / "en");
    std::ofstream(help / "brenlo.chm") << "ITSF";
    std::ofstream(help / "index.html") << "<html lang=ja>";
    std::ofstream(help / "en" / "index.html") << "<html lang=en>";
    env.helpFolder = QString::fromStdString(help.string()) + "/";
  }
  QString helpFile(const char* name) const { return QString::fromStdString((help / name).string()); }
  static QString noViewer(const fs::path& folder) {
    return u("ヘルプを表示できるアプリケーションがありません。(CHM ビューアーか Web ブラウザーが必要です)\n"
             "ヘルプのページは次のフォルダーにあります。\n") +
           QString::fromStdString(folder.string());
  }

  fs::path help;
};

TEST_F(HelpTest, TheChmOpensWhenTheDesktopHasAViewerForIt) {
  log->applications = QStringList{kChm, kHtml};
  start().mnuHelpOpen_Click();
  ASSERT_EQ(log->opened.size(), 1u);
  EXPECT_EQ(log->opened[0], helpFile("brenlo.chm"));
  EXPECT_TRUE(log->messages.empty());
}

TEST_F(HelpTest, WithoutAChmViewerTheHtmlIndexOpensInTheBrowser) {
  log->applications = QStringList{kHtml};
  start().mnuHelpOpen_Click();
  ASSERT_EQ(log->opened.size(), 1u);
  EXPECT_EQ(log->opened[0], helpFile("index.html"));
  EXPECT_TRUE(log->messages.empty());
}

TEST_F(HelpTest, WithNeitherViewerNorBrowserAMessageSaysWhatIsMissing) {
  log->applications = QStringList{};
  start().mnuHelpOpen_Click();
  EXPECT_TRUE(log->opened.empty());
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Exclamation);
  EXPECT_EQ(log->messages[0].text, noViewer(help));
}

TEST_F(HelpTest, AViewerThatFailsToStartGivesTheSameMessageOnceItSaysSo) {
  log->applications = QStringList{kChm, kHtml};
  start().mnuHelpOpen_Click();
  ASSERT_EQ(log->opened.size(), 1u);
  EXPECT_TRUE(log->messages.empty());
  log->openFailures[0]();  // the desktop: the CHM viewer did not start
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Exclamation);
  EXPECT_EQ(log->messages[0].text, noViewer(help));
  window->mnuHelpOpen_Click();
  window.reset();
  // Word of a failure that comes after the window has gone is dropped.
  log->openFailures[1]();
  EXPECT_EQ(log->messages.size(), 1u);
}

TEST_F(HelpTest, TheEnglishInterfaceNamesTheFolderOfItsOwnPage) {
  env.language = app::UiLanguage::English;
  log->applications = QStringList{};
  start().mnuHelpOpen_Click();
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].text, noViewer(help / "en"));
  EXPECT_EQ(app::helpFolderToShow({}), QString());
  EXPECT_EQ(app::helpFolderToShow({helpFile("brenlo.chm"), {}}), QString::fromStdString(help.string()));
}

// The real opener: xdg-open's exit status is the desktop's word on whether
// the viewer started. A stand-in xdg-open earlier in PATH plays the desktop.
TEST_F(HelpTest, TheRealOpenerReportsAFailedXdgOpenAndNothingElse) {
  const fs::path bin = dir / "bin";
  fs::create_directories(bin);
  const auto opener = [&](int exitCode) {
    std::ofstream(bin / "xdg-open") << "#!/bin/sh\nexit " << exitCode << "\n";
    fs::permissions(bin / "xdg-open", fs::perms::owner_all);
  };
  const QByteArray path = qgetenv("PATH");
  qputenv("PATH", QByteArray::fromStdString(bin.string()) + ":" + path);
  app::QtPrompts prompts(nullptr);
  for (int exitCode : {4, 0}) {
    SCOPED_TRACE(exitCode);
    opener(exitCode);
    int failures = 0;
    ASSERT_TRUE(prompts.openDocument(helpFile("index.html"), [&] { ++failures; }));
    QElapsedTimer waited;
    waited.start();
    while (waited.elapsed() < (exitCode == 0 ? 1500 : 10000) && failures == 0) {
      QCoreApplication::processEvents();
      QThread::msleep(5);
    }
    EXPECT_EQ(failures, exitCode == 0 ? 0 : 1);
  }
  qputenv("PATH", path);
}

class FirstStartHelpTest : public HelpTest {
 protected:
  FirstStartHelpTest() { markFirstRunDone = false; }
};

TEST_F(FirstStartHelpTest, OnADesktopWithoutABrowserOnlySaysSo) {
  log->applications = QStringList{};
  start();
  EXPECT_TRUE(log->opened.empty());
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].text, noViewer(help));
}

TEST_F(HelpTest, TheChmBesideTheProgramComesFirstAndEnglishPrefersItsOwnPage) {
  std::ofstream(dir / "prog" / "brenlo.chm") << "ITSF";
  const app::HelpDocuments ja = app::findHelpDocuments(env.programFolder, env.helpFolder, app::UiLanguage::Japanese);
  EXPECT_EQ(ja.chm, env.programFolder + "brenlo.chm");
  EXPECT_EQ(ja.indexPage, helpFile("index.html"));
  const app::HelpDocuments en = app::findHelpDocuments(env.programFolder, env.helpFolder, app::UiLanguage::English);
  EXPECT_EQ(en.indexPage, helpFile("en/index.html"));
  // The CHM holds Japanese pages only: English readers get the English page
  // when a browser is there.
  const auto order = app::helpOpeningOrder(en, app::UiLanguage::English);
  ASSERT_EQ(order.size(), 2u);
  EXPECT_EQ(order[0].path, helpFile("en/index.html"));
  EXPECT_EQ(order[1].path, env.programFolder + "brenlo.chm");

  env.language = app::UiLanguage::English;
  log->applications = QStringList{kChm};
  start().mnuHelpOpen_Click();
  ASSERT_EQ(log->opened.size(), 1u);
  EXPECT_EQ(log->opened[0], env.programFolder + "brenlo.chm");
}

TEST_F(HelpTest, NoHelpAtAllIsStillTheMissingFile) {
  fs::remove_all(help);
  start().mnuHelpOpen_Click();
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].text, u("ヘルプファイルが見つかりません。"));
  EXPECT_TRUE(log->opened.empty());
}

using StartupPictureTest = apptest::WindowTest;

TEST_F(StartupPictureTest, APictureOnTheCommandLineIsOpenedAsFromTheOpenDialog) {
  const fs::path pictures = dir / "写真 集";
  fs::create_directories(pictures);
  apptest::writePicture(pictures, "banner.gif.bmp", 468, 60, QColor(10, 20, 30), QColor(200, 100, 50));
  // Relative to the folder the program was started in.
  const QString before = QDir::currentPath();
  ASSERT_TRUE(QDir::setCurrent(QString::fromStdString(dir.string())));
  env.startupPicture = u("写真 集/banner.gif.bmp");
  app::frmMain& w = start();
  EXPECT_TRUE(w.lblSize->text().isEmpty());  // not yet: once the window is up
  QCoreApplication::processEvents();
  QDir::setCurrent(before);

  const QString full = QString::fromStdString((pictures / "banner.gif.bmp").string());
  EXPECT_TRUE(log->messages.empty());
  EXPECT_EQ(w.txtSource->text(), full);
  EXPECT_EQ(w.lblSize->text(), "[ 468 x 60 ]");
  EXPECT_EQ(w.workState().picSource.width(), 468);
  EXPECT_TRUE(w.cmdPrev->isEnabled());
  // As the open dialog does: the start folder and the filter follow it.
  EXPECT_EQ(w.sourceFolder(), QString::fromStdString(pictures.string()));
  w.cmdOpen_Click();
  ASSERT_EQ(log->openRequests.size(), 1u);
  EXPECT_EQ(log->openRequests[0].startFolder, QString::fromStdString(pictures.string()));
  EXPECT_EQ(log->openRequests[0].selectedFilter, 1);  // "bmp"
}

TEST_F(StartupPictureTest, AMissingPictureGetsTheUsualMessage) {
  env.startupPicture = QString::fromStdString((dir / "nothing.bmp").string());
  app::frmMain& w = start();
  QCoreApplication::processEvents();
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Critical);
  EXPECT_EQ(log->messages[0].text, u("ファイルが見つかりません。"));
  EXPECT_FALSE(w.cmdPrev->isEnabled());
}

}  // namespace
