#include "app/drop_field.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>

#include "app/source_intake.h"

namespace app {

namespace {

// Offers the drop as a copy when it is exactly one BMP, JPEG or GIF file;
// otherwise refuses it.
template <typename Event>
void offer(Event* event) {
  if (event->mimeData()->hasUrls() && isDropOffered(event->mimeData()->urls())) {
    event->setDropAction(Qt::CopyAction);
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace

DropField::DropField(QWidget* parent) : QLineEdit(parent) {
  setReadOnly(true);
  setAcceptDrops(true);
}

void DropField::dragEnterEvent(QDragEnterEvent* event) { offer(event); }

void DropField::dragMoveEvent(QDragMoveEvent* event) { offer(event); }

void DropField::dropEvent(QDropEvent* event) {
  const QMimeData* mime = event->mimeData();
  if (!mime->hasUrls() || !isDropOffered(mime->urls())) {
    event->ignore();
    return;
  }
  event->setDropAction(Qt::CopyAction);
  event->accept();
  if (onDrop_) onDrop_(mime->urls().front().toLocalFile());
}

}  // namespace app
