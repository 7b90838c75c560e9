#include "intake/image_adapter.h"

#include <QPainter>

namespace intake {

QImage toQImage(const core::Picture& picture) {
  if (picture.isEmpty()) return {};
  QImage out(picture.width(), picture.height(), QImage::Format_RGB32);
  for (int y = 0; y < picture.height(); ++y) {
    const core::Color* src = picture.row(y);
    auto* dst = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      const core::Color c = src[x];
      dst[x] = qRgb(core::redOf(c), core::greenOf(c), core::blueOf(c));
    }
  }
  return out;
}

core::Picture fromQImage(const QImage& image) {
  if (image.isNull()) return {};
  QImage rgb;
  if (image.hasAlphaChannel()) {
    rgb = QImage(image.size(), QImage::Format_RGB32);
    rgb.fill(Qt::white);
    QPainter painter(&rgb);
    painter.drawImage(0, 0, image);
  } else {
    rgb = image.convertToFormat(QImage::Format_RGB32);
  }
  core::Bitmap bitmap(rgb.width(), rgb.height());
  for (int y = 0; y < rgb.height(); ++y) {
    const auto* src = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
    core::Color* dst = bitmap.row(y);
    for (int x = 0; x < rgb.width(); ++x) dst[x] = core::rgb(qRed(src[x]), qGreen(src[x]), qBlue(src[x]));
  }
  return core::Picture::fromBitmap(std::move(bitmap));
}

}  // namespace intake
