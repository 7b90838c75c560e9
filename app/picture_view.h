// Shows a work surface on the screen. The surface itself lives in the work
// state; this widget only displays the snapshot taken by refresh().
#pragma once

#include <QImage>
#include <QWidget>

#include "core/surface.h"

namespace app {

class PictureView : public QWidget {
 public:
  // `surface` must outlive the widget (both belong to the main window).
  PictureView(const core::Surface& surface, QWidget* parent);

  // Takes a new snapshot of the surface and repaints; also follows the
  // surface's size, each banner pixel taking n x n device pixels
  // (intake/device_pixels.h).
  void refresh();
  // What the widget shows now (for tests and the screenshot check), one
  // pixel per banner pixel, marked for whole device pixels.
  const QImage& shown() const { return shown_; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const core::Surface& surface_;
  QImage shown_;
};

}  // namespace app
