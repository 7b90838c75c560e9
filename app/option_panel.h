// The option panels shown at fraSlide's place, one per effect. Every panel
// has its effect's mask box; the panels with more options derive from this
// one. Turn, Zoom and Elastic have nothing else and use it as it is.
#pragma once

#include <array>

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/ui_texts.h"

namespace app {

class HueBar;

class OptionPanel : public QGroupBox {
 public:
  // caption: the panel's title, e.g. "&Turn Option".
  OptionPanel(const char* caption, QWidget* parent);

  QCheckBox* chkMask = nullptr;

 protected:
  // Option rows go above the mask box.
  QVBoxLayout* rows() const { return rows_; }

  // A row of option buttons, one per text, left-aligned.
  template <std::size_t N>
  void addOptionRow(std::array<QRadioButton*, N>& buttons, const std::array<const char*, N>& texts) {
    auto* row = new QHBoxLayout;
    for (std::size_t k = 0; k < N; ++k) {
      buttons[k] = new QRadioButton(text::shown(texts[k]), this);
      row->addWidget(buttons[k]);
    }
    row->addStretch(1);
    rows_->addLayout(row);
  }

 private:
  QVBoxLayout* rows_ = nullptr;
};

// fraSlide: chkCross and mask box 0.
class SlidePanel : public OptionPanel {
 public:
  explicit SlidePanel(QWidget* parent);
  QCheckBox* chkCross = nullptr;
};

// fraRotate: optXY 0 "X軸", 1 "Y軸" and mask box 1.
class RotatePanel : public OptionPanel {
 public:
  explicit RotatePanel(QWidget* parent);
  std::array<QRadioButton*, 2> optXY{};
};

// fraDiffuse: optDiffuseType 0 Sand, 1 Light up, 2 Light down and mask box 4.
class DiffusePanel : public OptionPanel {
 public:
  explicit DiffusePanel(QWidget* parent);
  std::array<QRadioButton*, 3> optDiffuseType{};
};

// fraHue: the hue bar picHue with its swatch lblHueColor, optHueType 0
// rotation, 1 convergence, and mask box 6.
class HuePanel : public OptionPanel {
 public:
  explicit HuePanel(QWidget* parent);
  HueBar* picHue = nullptr;
  QLabel* lblHueColor = nullptr;
  std::array<QRadioButton*, 2> optHueType{};
};

// Paints a label as a plain colour swatch (lblColor, lblHueColor).
void setSwatchColor(QWidget* swatch, const QColor& color);

}  // namespace app
