#include "app/option_panel.h"
#include "app/ui_texts.h"

namespace app {

RotatePanel::RotatePanel(QWidget* parent) : OptionPanel(text::kPanelCaptions[2], parent) {
  addOptionRow(optXY, text::kOptXY);
}

}  // namespace app
