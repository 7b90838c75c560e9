#include <QHBoxLayout>
#include <QLabel>

#include "app/hue_bar.h"
#include "app/option_panel.h"
#include "app/ui_texts.h"

namespace app {

HuePanel::HuePanel(QWidget* parent) : OptionPanel(text::kPanelCaptions[6], parent) {
  auto* barRow = new QHBoxLayout;
  picHue = new HueBar(this);
  picHue->setToolTip(QString::fromUtf8(text::kPicHueTip));
  picHue->setFixedSize(180, 14);
  picHue->setCursor(Qt::CrossCursor);
  lblHueColor = new QLabel(this);
  lblHueColor->setFixedSize(24, 14);
  lblHueColor->setFrameShape(QFrame::Box);
  barRow->addWidget(picHue);
  barRow->addWidget(lblHueColor);
  barRow->addStretch(1);
  rows()->addLayout(barRow);

  auto* typeRow = new QHBoxLayout;
  for (int k = 0; k < 2; ++k) {
    optHueType[k] = new QRadioButton(QString::fromUtf8(text::kOptHueType[k]), this);
    typeRow->addWidget(optHueType[k]);
  }
  typeRow->addStretch(1);
  rows()->addLayout(typeRow);
}

}  // namespace app
