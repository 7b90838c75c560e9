// The hue bar and the picked hue: the rainbow's colours, the rounding of the
// release position, and a release outside the bar.
#include <QLabel>
#include <QRadioButton>
#include <QTest>

#include "app/hue_bar.h"
#include "app/option_panel.h"
#include "window_fixture.h"

namespace {

using apptest::WindowTest;

TEST(HueBar, IsARainbowWithRedAtBothEnds) {
  const QImage bar = app::drawHueBar();
  ASSERT_EQ(bar.size(), QSize(360, 10));
  EXPECT_EQ(bar.pixelColor(0, 0), QColor(255, 0, 0));
  EXPECT_EQ(bar.pixelColor(60, 9), QColor(255, 255, 0));
  EXPECT_EQ(bar.pixelColor(120, 5), QColor(0, 255, 0));
  EXPECT_EQ(bar.pixelColor(240, 5), QColor(0, 0, 255));
  EXPECT_EQ(bar.pixelColor(30, 5), QColor(255, 127, 0));
  EXPECT_EQ(bar.pixelColor(359, 0), QColor(255, 0, 4));
}

TEST(HueBar, ReleasesRoundHalvesToEvenAndStayOnTheBar) {
  EXPECT_EQ(app::hueFromRelease(119.5), 120);
  EXPECT_EQ(app::hueFromRelease(120.5), 120);
  EXPECT_EQ(app::hueFromRelease(0.5), 0);
  EXPECT_EQ(app::hueFromRelease(-40.0), 0);
  EXPECT_EQ(app::hueFromRelease(359.6), 359);
  EXPECT_EQ(app::hueFromRelease(1000.0), 359);
  const QImage bar = app::drawHueBar();
  EXPECT_EQ(app::hueBarColorAt(bar, -10, 50), core::rgb(255, 0, 0));
  EXPECT_EQ(app::hueBarColorAt(bar, 240.9, 2), core::rgb(0, 0, 255));  // column 240
  EXPECT_EQ(app::hueBarColorAt(bar, 241.0, 2), core::rgb(4, 0, 255));
}

TEST_F(WindowTest, AReleaseOnTheBarPicksTheHueAndItsColour) {
  app::frmMain& w = start();
  app::HueBar* bar = w.fraHue->picHue;
  // Half-way across the bar is 180 degrees, whatever its width on screen.
  QTest::mouseRelease(bar, Qt::RightButton, Qt::NoModifier, QPoint(bar->width() / 2, 2));
  EXPECT_EQ(w.hueX(), 180);
  EXPECT_EQ(w.fraHue->lblHueColor->palette().color(QPalette::Window), QColor(0, 255, 255));
  QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(-30, 40));
  EXPECT_EQ(w.hueX(), 0);
  QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, QPoint(bar->width() + 30, 2));
  EXPECT_EQ(w.hueX(), 359);
  w.picHue_MouseUp(0, 0, 119.5, 0);
  EXPECT_EQ(w.hueX(), 120);
  EXPECT_EQ(w.readOptions().hueX, 120);
}

}  // namespace
