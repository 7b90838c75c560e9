#include <QHBoxLayout>

#include "app/option_panel.h"
#include "app/ui_texts.h"

namespace app {

RotatePanel::RotatePanel(QWidget* parent) : OptionPanel(text::kPanelCaptions[2], parent) {
  auto* row = new QHBoxLayout;
  for (int k = 0; k < 2; ++k) {
    optXY[k] = new QRadioButton(QString::fromUtf8(text::kOptXY[k]), this);
    row->addWidget(optXY[k]);
  }
  row->addStretch(1);
  rows()->addLayout(row);
}

}  // namespace app
