// The views on a scaled screen: each banner pixel is n x n device pixels, n
// the whole part of the device pixel ratio, never resampled. CTest runs this
// once per QT_SCALE_FACTOR (1, 1.25, 1.5, 2).
#include <cmath>
#include <cstdlib>

#include <QRandomGenerator>
#include <QScreen>
#include <QScrollArea>
#include <QWindow>

#include "app/picture_view.h"
#include "framelist/frm_frames.h"
#include "intake/device_pixels.h"
#include "intake/image_adapter.h"
#include "window_fixture.h"

namespace {

using apptest::WindowTest;

double requestedScale() {
  const char* s = std::getenv("QT_SCALE_FACTOR");
  return s ? std::atof(s) : 1.0;
}

// Neighbouring pixels all differ, so a column or row drawn twice or left out
// anywhere changes the comparison.
QString writeSpeckled(const std::filesystem::path& dir, int w, int h) {
  QImage image(w, h, QImage::Format_RGB32);
  QRandomGenerator random(24);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) image.setPixel(x, y, 0xff000000u | (random.generate() & 0xffffffu));
  const QString path = QString::fromStdString((dir / "speckled.bmp").string());
  EXPECT_TRUE(image.save(path, "BMP"));
  return path;
}

// The widget as the screen gets it, at device resolution, cut to the
// picture's n-times size; also checks that nothing of the picture is cut off.
QImage deviceGrab(QWidget* view, QSize expected) {
  const QImage grabbed = view->grab().toImage().convertToFormat(QImage::Format_RGB32);
  EXPECT_GE(grabbed.width(), expected.width());
  EXPECT_GE(grabbed.height(), expected.height());
  return grabbed.copy(QRect(QPoint(0, 0), expected));
}

QImage scaledBy(const core::Picture& picture, int n) {
  const QImage image = intake::toQImage(picture).convertToFormat(QImage::Format_RGB32);
  return image.scaled(image.size() * n, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

TEST(WholeDevicePixels, RatiosAndLogicalLengths) {
  EXPECT_EQ(intake::wholeDevicePixels(1.0), 1);
  EXPECT_EQ(intake::wholeDevicePixels(1.75), 1);
  EXPECT_EQ(intake::wholeDevicePixels(2.0), 2);
  EXPECT_EQ(intake::wholeDevicePixels(2.5), 2);
  EXPECT_EQ(intake::wholeDevicePixels(1.9999999), 2);
  EXPECT_EQ(intake::wholeDevicePixels(0.75), 1);
  EXPECT_EQ(intake::shownLength(500, 1.25), 400);
  EXPECT_EQ(intake::shownLength(41, 1.5), 28);  // 27.33 rounded up
  EXPECT_EQ(intake::shownLength(41, 2.0), 41);
  EXPECT_EQ(intake::shownLength(41, 2.5), 33);  // 82 device pixels in 32.8
  EXPECT_EQ(intake::shownLength(0, 1.5), 0);
}

TEST_F(WindowTest, PreviewSourceAndFrameListShowWholeDevicePixels) {
  app::frmMain& w = start();
  const double ratio = w.devicePixelRatioF();
  ASSERT_DOUBLE_EQ(ratio, requestedScale()) << "the test must run at the scale CTest asks for";
  const int n = static_cast<int>(std::floor(ratio));
  load(writeSpeckled(dir, 41, 21));
  w.show();

  // The views' logical size follows from n, and the window fits that size.
  const QSize shown(static_cast<int>(std::ceil(41.0 * n / ratio - 1e-9)),
                    static_cast<int>(std::ceil(21.0 * n / ratio - 1e-9)));
  EXPECT_EQ(w.picSource->size(), shown);
  EXPECT_EQ(w.picX->size(), shown);
  EXPECT_EQ(w.picScroll->size(), shown);

  const QSize device(41 * n, 21 * n);
  EXPECT_EQ(deviceGrab(w.picSource, device), scaledBy(w.workState().picSource.picture(), n));

  w.cmdPrev_Click();
  w.tmr1_Timer();
  w.cmdPause_Click(0);
  const core::Picture frame = w.workState().picX.picture();
  ASSERT_FALSE(frame.isEmpty());
  EXPECT_EQ(deviceGrab(w.picX, device), scaledBy(frame, n));

  // The paused frame copied to the frame list is drawn the same way there.
  w.cmdCopy_Click();
  framelist::frmFrames* list = w.frameList();
  ASSERT_GE(list->picStockCount(), 1);
  QWidget* stock = list->picStock(0);
  EXPECT_EQ(stock->size(), shown);
  EXPECT_EQ(deviceGrab(stock, device), scaledBy(frame, n));
  w.Form_KeyDown(Qt::Key_Escape);
}

}  // namespace

namespace {

// CTest runs this with two screens, the second at scale 2; elsewhere there is
// only one screen and it skips.
TEST_F(WindowTest, MovedToAScreenOfAnotherScaleTheViewsRefit) {
  const QList<QScreen*> screens = QGuiApplication::screens();
  if (screens.size() < 2 || screens[0]->devicePixelRatio() == screens[1]->devicePixelRatio())
    GTEST_SKIP() << "needs two screens of different scales";
  app::frmMain& w = start();
  load(writeSpeckled(dir, 41, 21));
  w.show();
  const double before = w.devicePixelRatioF();
  w.windowHandle()->setScreen(screens[1]);
  QCoreApplication::processEvents();
  const double after = w.devicePixelRatioF();
  ASSERT_NE(before, after);
  const int n = static_cast<int>(std::floor(after));
  const QSize shown(static_cast<int>(std::ceil(41.0 * n / after - 1e-9)),
                    static_cast<int>(std::ceil(21.0 * n / after - 1e-9)));
  EXPECT_EQ(w.picSource->size(), shown);
  EXPECT_EQ(w.picScroll->size(), shown);
  EXPECT_EQ(deviceGrab(w.picSource, QSize(41 * n, 21 * n)), scaledBy(w.workState().picSource.picture(), n));
}

}  // namespace
