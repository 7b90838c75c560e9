// picHue: the rainbow bar on which the target hue is picked. Its scale is
// 360 units wide (one per degree) and 10 units high, whatever its size on the
// screen.
#pragma once

#include <cstdint>
#include <functional>

#include <QImage>
#include <QWidget>

#include "core/color.h"

namespace app {

inline constexpr int kHueBarUnitsX = 360;
inline constexpr int kHueBarUnitsY = 10;

// The bar as drawn at load: column h (0..359) in the colour of hue h at full
// saturation and value, 360 x 10 pixels.
QImage drawHueBar();

// HueX for a release at x units: rounded to the nearest degree (halves to
// even) and kept within 0..359, also for a release outside the bar.
std::int16_t hueFromRelease(double x);

// The colour of the bar at (x, y) units; positions outside the bar read the
// nearest column and row.
core::Color hueBarColorAt(const QImage& bar, double x, double y);

class HueBar : public QWidget {
 public:
  // onRelease(x, y) receives the release position in bar units.
  using ReleaseHandler = std::function<void(double x, double y)>;

  explicit HueBar(QWidget* parent);
  void setReleaseHandler(ReleaseHandler handler) { onRelease_ = std::move(handler); }
  const QImage& bar() const { return bar_; }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  QImage bar_;
  ReleaseHandler onRelease_;
};

}  // namespace app
