#include <QHBoxLayout>
#include <QLabel>

#include "app/hue_bar.h"
#include "app/option_panel.h"
#include "app/ui_texts.h"

namespace app {

HuePanel::HuePanel(QWidget* parent) : OptionPanel(text::kPanelCaptions[6], parent) {
  auto* barRow = new QHBoxLayout;
  picHue = new HueBar(this);
  picHue->setToolTip(text::shown(text::kPicHueTip));
  picHue->setAccessibleName(text::shown(text::kAccPicHue));
  picHue->setFixedSize(180, 14);
  picHue->setCursor(Qt::CrossCursor);
  lblHueColor = new QLabel(this);
  lblHueColor->setFixedSize(24, 14);
  lblHueColor->setFrameShape(QFrame::Box);
  barRow->addWidget(picHue);
  barRow->addWidget(lblHueColor);
  barRow->addStretch(1);
  rows()->addLayout(barRow);

  addOptionRow(optHueType, text::kOptHueType);
}

}  // namespace app
