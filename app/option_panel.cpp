#include "app/option_panel.h"

#include <QLabel>

#include "app/ui_texts.h"

namespace app {

OptionPanel::OptionPanel(const char* caption, QWidget* parent) : QGroupBox(text::shown(caption), parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(8, 4, 8, 4);
  layout->setSpacing(2);
  rows_ = new QVBoxLayout;
  rows_->setSpacing(2);
  layout->addLayout(rows_);
  chkMask = new QCheckBox(text::shown(text::kChkMask), this);
  layout->addWidget(chkMask);
  layout->addStretch(1);
}

void setSwatchColor(QWidget* swatch, const QColor& color) {
  QPalette p = swatch->palette();
  p.setColor(QPalette::Window, color);
  swatch->setPalette(p);
  swatch->setAutoFillBackground(true);
  swatch->update();
}

}  // namespace app
