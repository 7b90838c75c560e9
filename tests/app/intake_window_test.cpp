// Taking a source picture into the main window: the messages and icons, the
// size limit, what the surfaces, the size caption, the banner colour and the
// commands show afterwards, and how the window is fitted.
#include <fstream>
#include <tuple>

#include <QClipboard>
#include <QComboBox>
#include <QFrame>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>

#include "app/drop_field.h"
#include "app/picture_view.h"
#include "app/source_intake.h"
#include "app/window_fit.h"
#include "window_fixture.h"

namespace {

using apptest::WindowTest;

QString u(const char* s) { return QString::fromUtf8(s); }

TEST(WindowFit, SmallPicturesKeepTheDesignSize) {
  const app::WindowFit f = app::fitWindow(468, 60, 38);
  EXPECT_EQ(f.widthTwips, 500 * 15 + 390);
  EXPECT_EQ(f.heightTwips, 5500);
  EXPECT_EQ(f.frame1Height, 145);
  EXPECT_EQ(f.frame2Top, 38 + 147);
  EXPECT_EQ(f.frame1Width, 509);
}

TEST(WindowFit, LargerPicturesGrowTheWindowByTheirExcess) {
  const app::WindowFit f = app::fitWindow(800, 150, 38);
  EXPECT_EQ(f.widthTwips, 800 * 15 + 390);
  EXPECT_EQ(f.heightTwips, 50 * 15 + 5500);
  EXPECT_EQ(f.frame1Height, 195);
  EXPECT_EQ(f.frame2Top, 38 + 195 + 2);
  EXPECT_EQ(f.frame1Width, 809);
  // Exactly at the design area nothing grows.
  EXPECT_EQ(app::fitWindow(500, 100, 0).heightTwips, 5500);
  EXPECT_EQ(app::fitWindow(501, 101, 0).widthTwips, 501 * 15 + 390);
}

TEST(WindowFit, LargePicturesShowAtMostTheScreensRoomAndBannersIgnoreIt) {
  const app::ScreenRoom room{800, 400, 15};
  // Within 1000 x 200 the room plays no part, however small.
  for (auto [w, h] : {std::pair{1000, 200}, std::pair{468, 60}, std::pair{800, 150}}) {
    const app::WindowFit f = app::fitWindow(w, h, 38, app::ScreenRoom{300, 50, 15});
    const app::WindowFit g = app::fitWindow(w, h, 38);
    EXPECT_EQ(f.widthTwips, g.widthTwips);
    EXPECT_EQ(f.heightTwips, g.heightTwips);
    EXPECT_EQ(f.frame2Top, g.frame2Top);
    EXPECT_EQ(f.viewWidth, w);
    EXPECT_EQ(f.viewHeight, h);
  }
  // A 300 x 250 picture with room: shown whole, the window grows by its excess.
  const app::WindowFit medium = app::fitWindow(300, 250, 38, room);
  EXPECT_EQ(medium.viewWidth, 300);
  EXPECT_EQ(medium.viewHeight, 250);
  EXPECT_EQ(medium.widthTwips, 500 * 15 + 390);
  EXPECT_EQ(medium.heightTwips, 150 * 15 + 5500);
  EXPECT_EQ(medium.frame1Height, 295);
  // Too tall: the height is the room's and a bar down the side widens it.
  const app::WindowFit tall = app::fitWindow(300, 1050, 38, room);
  EXPECT_EQ(tall.viewWidth, 315);
  EXPECT_EQ(tall.viewHeight, 400);
  EXPECT_EQ(tall.heightTwips, 300 * 15 + 5500);
  // Too wide: the width is the room's and a bar across adds its height.
  const app::WindowFit wide = app::fitWindow(970, 250, 38, room);
  EXPECT_EQ(wide.viewWidth, 800);
  EXPECT_EQ(wide.viewHeight, 265);
  // Both: exactly the room.
  const app::WindowFit square = app::fitWindow(1200, 1200, 38, room);
  EXPECT_EQ(square.viewWidth, 800);
  EXPECT_EQ(square.viewHeight, 400);
  EXPECT_EQ(square.widthTwips, 800 * 15 + 390);
}

TEST_F(WindowTest, Loading468x60FitsAndTakesTheCornerColour) {
  app::frmMain& w = start();
  load(apptest::writePicture(dir, "banner.bmp", 468, 60, QColor(10, 20, 30), QColor(200, 100, 50)));
  ASSERT_TRUE(log->messages.empty());
  EXPECT_EQ(w.lblSize->text(), u("[ 468 x 60 ]"));
  EXPECT_EQ(w.fit().widthTwips, 7890);
  EXPECT_EQ(w.fit().heightTwips, 5500);
  EXPECT_EQ(w.Frame1->height(), 145);
  EXPECT_EQ(w.bannerColor(), core::rgb(200, 100, 50));
  EXPECT_EQ(w.lblColor->palette().color(QPalette::Window), QColor(200, 100, 50));
  EXPECT_TRUE(w.cmdPrev->isEnabled());
  EXPECT_TRUE(w.cmdSave->isEnabled());
  EXPECT_TRUE(w.menus.mnuPreview->isEnabled());
  EXPECT_TRUE(w.menus.mnuFileSave->isEnabled());
  const auto& ws = w.workState();
  EXPECT_EQ(ws.picSource.width(), 468);
  EXPECT_EQ(ws.picX.height(), 60);
  EXPECT_EQ(ws.picX.backColor(), core::rgb(200, 100, 50));
  EXPECT_EQ(ws.picSource.point(1, 1), core::rgb(10, 20, 30));
  EXPECT_EQ(w.picX->size(), QSize(468, 60));
  EXPECT_EQ(w.picX->shown().pixelColor(5, 5), QColor(10, 20, 30));
}

TEST_F(WindowTest, ATransparentLogoStartsOnAWhiteBanner) {
  QImage logo(40, 10, QImage::Format_ARGB32);
  logo.fill(Qt::transparent);
  for (int x = 10; x < 30; ++x)
    for (int y = 2; y < 8; ++y) logo.setPixelColor(x, y, x < 20 ? QColor(20, 40, 200) : QColor(Qt::white));
  const QString path = QString::fromStdString((dir / "logo.png").string());
  ASSERT_TRUE(logo.save(path, "PNG"));
  app::frmMain& w = start();
  load(path);
  ASSERT_TRUE(log->messages.empty());
  EXPECT_EQ(w.bannerColor(), core::kWhite);
  EXPECT_EQ(w.lblColor->palette().color(QPalette::Window), QColor(Qt::white));
  const auto& ws = w.workState();
  EXPECT_EQ(ws.picSource.point(0, 0), core::kWhite);
  EXPECT_EQ(ws.picSource.point(25, 5), core::rgb(255, 255, 254));  // the logo's own white stays its own
  EXPECT_EQ(ws.picSource.point(15, 5), core::rgb(20, 40, 200));
}

TEST_F(WindowTest, Loading800x150GrowsTheWindowAndFrame1) {
  app::frmMain& w = start();
  const int heightBefore = w.height();
  load(apptest::writePicture(dir, "wide.bmp", 800, 150));
  EXPECT_EQ(w.fit().widthTwips, 800 * 15 + 390);
  EXPECT_EQ(w.fit().heightTwips, 50 * 15 + 5500);
  EXPECT_EQ(w.Frame1->height(), 195);
  EXPECT_EQ(w.Frame2->y(), w.Frame1->y() + 195 + 2);
  EXPECT_EQ(w.height(), heightBefore + 50);
  EXPECT_GE(w.Frame1->width(), 800 + 9);
}

TEST_F(WindowTest, SizeLimitAcceptsTheBoundaryAndRefusesOnePixelMore) {
  app::frmMain& w = start();
  load(apptest::writePicture(dir, "max.bmp", 1000, 200));
  EXPECT_TRUE(log->messages.empty());
  EXPECT_EQ(w.lblSize->text(), u("[ 1000 x 200 ]"));
  const int fittedWidth = w.fit().widthTwips;

  for (auto [name, width, height] : {std::tuple{"wide.bmp", 1001, 200}, std::tuple{"high.bmp", 1000, 201}}) {
    SCOPED_TRACE(name);
    log->messages.clear();
    load(apptest::writePicture(dir, name, width, height));
    ASSERT_EQ(log->messages.size(), 1u);
    EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Critical);
    EXPECT_EQ(log->messages[0].text, u("画像が大きすぎます。(～1000x200pixels)"));
    EXPECT_EQ(w.lblSize->text(), QString());
    EXPECT_EQ(w.workState().picSource.width(), 500);
    EXPECT_EQ(w.workState().picX.height(), 100);
    EXPECT_FALSE(w.workState().hasSource());
    EXPECT_FALSE(w.cmdPrev->isEnabled());
    EXPECT_FALSE(w.menus.mnuFileSave->isEnabled());
    EXPECT_EQ(w.fit().widthTwips, fittedWidth);  // the window keeps its size
  }
}

TEST_F(WindowTest, LargePicturesOpenOnlyWithTheMenuCheckedAndScrollOneToOne) {
  app::frmMain& w = start();
  w.show();
  const QString rect = apptest::writePicture(dir, "rect.bmp", 300, 250);
  load(rect);
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].text, u("画像が大きすぎます。(～1000x200pixels)"));
  EXPECT_FALSE(w.workState().hasSource());

  w.menus.mnuLargePictures->trigger();
  ASSERT_TRUE(w.menus.mnuLargePictures->isChecked());
  log->messages.clear();
  load(rect);
  ASSERT_TRUE(log->messages.empty());
  EXPECT_EQ(w.lblSize->text(), u("[ 300 x 250 ]"));
  EXPECT_EQ(w.picX->size(), QSize(300, 250));
  const QRect available = w.screen()->availableGeometry();
  for (auto [name, width, height] :
       {std::tuple{"tall.bmp", 300, 1050}, std::tuple{"square.bmp", 1200, 1200}, std::tuple{"narrow.bmp", 160, 600}}) {
    SCOPED_TRACE(name);
    load(apptest::writePicture(dir, name, width, height));
    ASSERT_TRUE(log->messages.empty());
    EXPECT_EQ(w.picX->size(), QSize(width, height));  // never scaled
    EXPECT_EQ(w.picSource->size(), QSize(width, height));
    EXPECT_LE(w.frameGeometry().height(), available.height());
    EXPECT_LE(w.frameGeometry().width(), available.width());
    EXPECT_TRUE(available.contains(w.frameGeometry()));
    EXPECT_EQ(w.picScroll->size(), QSize(w.fit().viewWidth, w.fit().viewHeight));
    // What does not fit scrolls, one picture pixel per scroll step.
    const int hiddenRows = height - w.picScroll->viewport()->height();
    EXPECT_EQ(w.picScroll->verticalScrollBar()->maximum(), std::max(0, hiddenRows));
  }

  log->messages.clear();
  load(apptest::writePicture(dir, "over.bmp", 1200, 1201));
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].text, u("画像が大きすぎます。(～1200x1200pixels)"));
  EXPECT_FALSE(w.workState().hasSource());
}

TEST_F(WindowTest, MissingFileEmptiesTheSourceButKeepsTheSizeCaption) {
  app::frmMain& w = start();
  load(apptest::writePicture(dir, "a.bmp", 40, 30));
  w.workState().mFrames[0] = core::Picture::fromBitmap(core::Bitmap(1, 1));
  load(QString::fromStdString((dir / "gone.bmp").string()));
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Critical);
  EXPECT_EQ(log->messages[0].text, u("ファイルが見つかりません。"));
  EXPECT_EQ(w.lblSize->text(), u("[ 40 x 30 ]"));
  EXPECT_FALSE(w.workState().hasSource());
  EXPECT_EQ(w.workState().picSource.width(), 500);
  EXPECT_TRUE(w.workState().mFrames[0].isEmpty());
  EXPECT_FALSE(w.cmdPrev->isEnabled());
}

TEST_F(WindowTest, UnreadableFileKeepsThePreviousSourceWithCommandsDisabled) {
  app::frmMain& w = start();
  load(apptest::writePicture(dir, "a.bmp", 40, 30));
  std::ofstream(dir / "text.gif") << "this is not a picture";
  load(QString::fromStdString((dir / "text.gif").string()));
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Critical);
  EXPECT_FALSE(log->messages[0].text.isEmpty());
  EXPECT_TRUE(w.workState().hasSource());
  EXPECT_EQ(w.workState().picSource.width(), 40);
  EXPECT_TRUE(w.workState().picX.picture().isEmpty());
  EXPECT_FALSE(w.cmdSave->isEnabled());
}

TEST_F(WindowTest, OpenCommandSetsTheSourceFolderAndCancelChangesNothing) {
  app::frmMain& w = start();
  std::filesystem::create_directories(dir / "pics");
  const QString path = apptest::writePicture(dir / "pics", "Logo.JPG", 20, 10);
  log->openAnswers = {path, QString()};
  w.cmdOpen_Click();
  EXPECT_EQ(w.txtSource->text(), path);
  EXPECT_EQ(w.sourceFolder(), QString::fromStdString((dir / "pics").string()));
  EXPECT_EQ(w.lblSize->text(), u("[ 20 x 10 ]"));
  w.workState().mFrames[3] = core::Picture::fromBitmap(core::Bitmap(1, 1));

  w.menus.mnuFileOpen->trigger();  // cancelled
  EXPECT_EQ(w.txtSource->text(), path);
  EXPECT_FALSE(w.workState().mFrames[3].isEmpty());
  EXPECT_TRUE(w.cmdPrev->isEnabled());
  ASSERT_EQ(log->openRequests.size(), 2u);
  EXPECT_EQ(log->openRequests[1].startFolder, w.sourceFolder());
  EXPECT_EQ(log->openRequests[0].selectedFilter, 0);  // no previous name
  EXPECT_EQ(log->openRequests[1].selectedFilter, 2);  // the previous name ended in "JPG"
}

TEST_F(WindowTest, DropLoadsWithoutMovingTheOpenDialogsFolder) {
  app::frmMain& w = start();
  const QString before = w.sourceFolder();
  const QString path = apptest::writePicture(dir, "dropped.bmp", 30, 20);
  w.txtSource_OLEDragDrop(path);
  EXPECT_EQ(w.txtSource->text(), path);
  EXPECT_EQ(w.sourceFolder(), before);
  EXPECT_TRUE(w.workState().hasSource());
}

TEST_F(WindowTest, PasteTakesTheClipboardBitmapOrSaysThereIsNone) {
  app::frmMain& w = start();
  QGuiApplication::clipboard()->clear();
  w.mnuEditPaste_Click();
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Exclamation);
  EXPECT_EQ(log->messages[0].text, u("クリップボードに画像がありません。"));

  QImage image(64, 32, QImage::Format_RGB32);
  image.fill(QColor(1, 2, 3));
  QGuiApplication::clipboard()->setImage(image);
  if (QGuiApplication::clipboard()->image().isNull()) GTEST_SKIP() << "this platform keeps no clipboard";
  w.mnuEditPaste_Click();
  EXPECT_EQ(w.txtSource->text(), u("(クリップボード)"));
  EXPECT_EQ(w.lblSize->text(), u("[ 64 x 32 ]"));
  EXPECT_EQ(w.bannerColor(), core::rgb(1, 2, 3));

  QImage large(1001, 10, QImage::Format_RGB32);
  large.fill(Qt::red);
  QGuiApplication::clipboard()->setImage(large);
  w.mnuEditPaste_Click();
  EXPECT_EQ(log->messages.back().text, u("画像が大きすぎます。(～1000x200pixels)"));
  EXPECT_EQ(w.workState().picSource.width(), 500);
  EXPECT_EQ(w.workState().picX.width(), 500);
  EXPECT_FALSE(w.cmdPrev->isEnabled());
}

TEST(SourceIntake, DropIsOfferedForExactlyOnePictureFile) {
  auto urls = [](std::initializer_list<const char*> names) {
    QList<QUrl> out;
    for (const char* n : names) out << QUrl::fromLocalFile(QString::fromUtf8(n));
    return out;
  };
  EXPECT_TRUE(app::isDropOffered(urls({"/pics/PHOTO.JPG"})));
  EXPECT_TRUE(app::isDropOffered(urls({"/pics/Logo.GIF"})));
  EXPECT_TRUE(app::isDropOffered(urls({"/pics/a.bmp"})));
  EXPECT_TRUE(app::isDropOffered(urls({"/pics/photo.jpeg"})));
  EXPECT_TRUE(app::isDropOffered(urls({"/pics/a.PNG"})));
  EXPECT_TRUE(app::isDropOffered(urls({"/pics/Anim.WebP"})));
  EXPECT_FALSE(app::isDropOffered(urls({"/pics/a.tif"})));
  EXPECT_FALSE(app::isDropOffered(urls({"/pics/a.xwebp.txt"})));
  EXPECT_FALSE(app::isDropOffered(urls({"/pics/a.png", "/pics/b.webp"})));
  EXPECT_FALSE(app::isDropOffered(urls({"/pics/a.bmp", "/pics/b.bmp"})));
  EXPECT_FALSE(app::isDropOffered({}));
  EXPECT_FALSE(app::isDropOffered({QUrl("https://example.org/a.gif")}));
}

TEST(SourceIntake, DialogsCarryTheirTextsAndPreselection) {
  const app::FileDialogRequest open = app::openDialogRequest("/src", "");
  EXPECT_EQ(open.filters,
            QStringList({u("対応画像ファイル(*.bmp;*.jpg;*.gif;*.png;*.webp)"), u("ビットマップ(*.bmp)"),
                         u("ＪＰＥＧ(*.jpg)"), u("ＧＩＦ(*.gif)"), u("ＰＮＧ(*.png)"), u("ＷｅｂＰ(*.webp)")}));
  EXPECT_EQ(open.patterns[0], QStringList({"*.bmp", "*.jpg", "*.jpeg", "*.gif", "*.png", "*.webp"}));
  EXPECT_EQ(open.patterns[2], QStringList({"*.jpg", "*.jpeg"}));
  EXPECT_EQ(open.patterns[5], QStringList({"*.webp"}));
  EXPECT_EQ(open.selectedFilter, 0);
  EXPECT_EQ(open.title, QString());
  EXPECT_EQ(app::openFilterIndexFor("/a/b.GIF"), 3);
  EXPECT_EQ(app::openFilterIndexFor("/a/b.jpg"), 2);
  EXPECT_EQ(app::openFilterIndexFor("/a/b.Bmp"), 1);
  EXPECT_EQ(app::openFilterIndexFor("/a/b.jpeg"), 0);
  EXPECT_EQ(app::openFilterIndexFor("/a/b.Png"), 4);
  EXPECT_EQ(app::openFilterIndexFor("/a/b.WEBP"), 5);

  const app::FileDialogRequest save = app::saveDialogRequest("/out");
  EXPECT_EQ(save.title, u("保存先およびベース名の設定"));
  EXPECT_EQ(save.filters,
            QStringList({u("ビットマップ(*.bmp)"), u("ＪＰＥＧ(*.jpg)"), u("ＧＩＦ(*.gif)"), u("ＷｅｂＰ(*.webp)")}));
  EXPECT_EQ(save.patterns[3], QStringList({"*.webp"}));
  EXPECT_EQ(save.selectedFilter, 0);
  EXPECT_EQ(save.proposedName, "BaseName");
  EXPECT_EQ(save.startFolder, "/out");
}

}  // namespace
