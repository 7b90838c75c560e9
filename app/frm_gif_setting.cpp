#include "app/frm_gif_setting.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "app/prompts.h"
#include "app/ui_texts.h"
#include "output/gif_interval.h"

namespace app {

frmGifSetting::frmGifSetting(Prompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
  setWindowTitle(text::shown(text::kGifCaption));
  setModal(true);
  optType[1] = new QRadioButton(text::shown(text::kGifOptAnimated), this);
  optType[0] = new QRadioButton(text::shown(text::kGifOptPerFrame), this);
  Label1 = new QLabel(text::shown(text::kGifLabel), this);
  cboTime = new QComboBox(this);
  cboTime->setEditable(true);
  cboTime->setInsertPolicy(QComboBox::NoInsert);
  for (const char* t : text::kGifTimes) cboTime->addItem(QString::fromUtf8(t));
  cmdSet = new QPushButton(text::shown(text::kGifOk), this);
  cmdSet->setDefault(true);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(optType[1]);
  auto* intervalRow = new QHBoxLayout;
  intervalRow->addSpacing(20);
  intervalRow->addWidget(Label1);
  intervalRow->addWidget(cboTime);
  intervalRow->addStretch(1);
  layout->addLayout(intervalRow);
  layout->addWidget(optType[0]);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdSet);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed-size dialog box

  for (int k = 0; k < 2; ++k)
    connect(optType[k], &QRadioButton::toggled, this, [this, k](bool on) {
      if (on) optType_Click(k);
    });
  connect(cmdSet, &QPushButton::clicked, this, &frmGifSetting::cmdSet_Click);
  setChoice(0);
  setIntervalText(QStringLiteral("0.1"));
}

void frmGifSetting::optType_Click(int k) {
  Label1->setEnabled(k == 1);
  cboTime->setEnabled(k == 1);
}

void frmGifSetting::cmdSet_Click() {
  // The interval is checked whichever option is selected.
  const auto interval = output::parseGifInterval(cboTime->currentText().toStdString());
  if (!interval) {
    prompts_.message(MessageIcon::Exclamation, text::shown(text::kGifBadInterval));
    return;
  }
  output::acceptGifSettings(optType[1]->isChecked(), *interval);
  accept();  // hides the dialog, ending the modal wait
}

void frmGifSetting::setChoice(int isAni) {
  const int k = isAni == 1 ? 1 : 0;
  optType[k]->setChecked(true);
  optType_Click(k);  // also when it was selected already
}

int frmGifSetting::choice() const { return optType[1]->isChecked() ? 1 : 0; }

void frmGifSetting::setIntervalText(const QString& text) { cboTime->setEditText(text); }

QString frmGifSetting::intervalText() const { return cboTime->currentText(); }

void frmGifSetting::showModal() {
  if (modalRunner_) {
    modalRunner_(*this);
    return;
  }
  exec();
}

}  // namespace app
