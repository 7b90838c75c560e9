#include "app/option_panel.h"
#include "app/ui_texts.h"

namespace app {

SlidePanel::SlidePanel(QWidget* parent) : OptionPanel(text::kPanelCaptions[0], parent) {
  chkCross = new QCheckBox(text::shown(text::kChkCross), this);
  rows()->addWidget(chkCross);
}

}  // namespace app
