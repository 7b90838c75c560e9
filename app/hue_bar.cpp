#include "app/hue_bar.h"

#include <algorithm>
#include <cmath>

#include <QMouseEvent>
#include <QPainter>

#include "core/hsv.h"

namespace app {

QImage drawHueBar() {
  QImage bar(kHueBarUnitsX, kHueBarUnitsY, QImage::Format_RGB32);
  core::HSV hsv;
  for (int h = 0; h < kHueBarUnitsX; ++h) {
    hsv.Hue = static_cast<float>(h);
    hsv.Saturation = 100.0f;
    hsv.Value = 100.0f;
    hsv.ToRgb();
    const QRgb c = qRgb(hsv.Red, hsv.Green, hsv.Blue);
    for (int y = 0; y < kHueBarUnitsY; ++y) bar.setPixel(h, y, c);
  }
  return bar;
}

std::int16_t hueFromRelease(double x) {
  const double rounded = std::nearbyint(x);
  return static_cast<std::int16_t>(std::clamp(rounded, 0.0, static_cast<double>(kHueBarUnitsX - 1)));
}

core::Color hueBarColorAt(const QImage& bar, double x, double y) {
  const int col = static_cast<int>(std::clamp(std::floor(x), 0.0, static_cast<double>(bar.width() - 1)));
  const int row = static_cast<int>(std::clamp(std::floor(y), 0.0, static_cast<double>(bar.height() - 1)));
  const QRgb c = bar.pixel(col, row);
  return core::rgb(qRed(c), qGreen(c), qBlue(c));
}

HueBar::HueBar(QWidget* parent) : QWidget(parent), bar_(drawHueBar()) {}

void HueBar::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(rect(), bar_);
}

void HueBar::mouseReleaseEvent(QMouseEvent* event) {
  if (!onRelease_ || width() <= 0 || height() <= 0) return;
  const QPointF p = event->position();
  onRelease_(p.x() * kHueBarUnitsX / width(), p.y() * kHueBarUnitsY / height());
}

}  // namespace app
