#include "intake/device_pixels.h"

#include <algorithm>
#include <cmath>

namespace intake {

namespace {

// Ratios come from the platform as doubles (1.25, 1.5, ...); a ratio such as
// 1.9999999 from a division is still meant as 2.
constexpr double kSlack = 1e-6;

}  // namespace

int wholeDevicePixels(qreal ratio) { return std::max(1, static_cast<int>(std::floor(ratio + kSlack))); }

int shownLength(int bannerPixels, qreal ratio) {
  if (bannerPixels <= 0 || ratio <= 0) return std::max(0, bannerPixels);
  const double logical = static_cast<double>(bannerPixels) * wholeDevicePixels(ratio) / ratio;
  return static_cast<int>(std::ceil(logical - kSlack));
}

QSize shownSize(QSize banner, qreal ratio) {
  return QSize(shownLength(banner.width(), ratio), shownLength(banner.height(), ratio));
}

QImage atWholeDevicePixels(QImage image, qreal ratio) {
  if (ratio > 0) image.setDevicePixelRatio(ratio / wholeDevicePixels(ratio));
  return image;
}

}  // namespace intake
