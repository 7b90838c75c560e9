#include "app/option_panel.h"
#include "app/ui_texts.h"

namespace app {

DiffusePanel::DiffusePanel(QWidget* parent) : OptionPanel(text::kPanelCaptions[4], parent) {
  addOptionRow(optDiffuseType, text::kOptDiffuseType);
}

}  // namespace app
