#include "app/picture_view.h"

#include <QPainter>

#include "intake/image_adapter.h"

namespace app {

PictureView::PictureView(const core::Surface& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  refresh();
}

void PictureView::refresh() {
  shown_ = intake::toQImage(surface_.image());
  const QSize size(surface_.width(), surface_.height());
  if (this->size() != size) setFixedSize(size);
  update();
}

void PictureView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (shown_.isNull()) {
    painter.fillRect(rect(), palette().color(QPalette::Base));
    return;
  }
  painter.drawImage(0, 0, shown_);
}

}  // namespace app
