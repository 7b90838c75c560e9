#include <QHBoxLayout>

#include "app/option_panel.h"
#include "app/ui_texts.h"

namespace app {

DiffusePanel::DiffusePanel(QWidget* parent) : OptionPanel(text::kPanelCaptions[4], parent) {
  auto* row = new QHBoxLayout;
  for (int k = 0; k < 3; ++k) {
    optDiffuseType[k] = new QRadioButton(QString::fromUtf8(text::kOptDiffuseType[k]), this);
    row->addWidget(optDiffuseType[k]);
  }
  row->addStretch(1);
  rows()->addLayout(row);
}

}  // namespace app
