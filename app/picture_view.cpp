#include "app/picture_view.h"

#include <QPainter>

#include "intake/device_pixels.h"
#include "intake/image_adapter.h"

namespace app {

PictureView::PictureView(const core::Surface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  refresh();
}

void PictureView::refresh() {
  const qreal ratio = devicePixelRatioF();
  shown_ = intake::atWholeDevicePixels(intake::toQImage(surface_.image()), ratio);
  const QSize size = intake::shownSize(QSize(surface_.width(), surface_.height()), ratio);
  if (this->size() != size) setFixedSize(size);
  update();
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  // The logical size is rounded up; the part of the last logical pixel the
  // picture does not reach is filled like the empty view.
  if (shown_.isNull() || shown_.deviceIndependentSize() != QSizeF(size()))
    painter.fillRect(rect(), palette().color(QPalette::Base));
  if (!shown_.isNull()) painter.drawImage(0, 0, shown_);
}

}  // namespace app
