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

namespace {
QString u(const char* s) { return QString::fromUtf8(s); }
}  // namespace

frmGifSetting::frmGifSetting(Prompts& prompts, QWidget* parent) : QDialog(parent), prompts_(prompts) {
  setWindowTitle(u(text::kGifCaption));
  setModal(true);
  optType[1] = new QRadioButton(u(text::kGifOptAnimated), this);
  optType[0] = new QRadioButton(u(text::kGifOptPerFrame), this);
  Label1 = new QLabel(u(text::kGifLabel), this);
  cboTime = new QComboBox(this);
  cboTime->setEditable(true);
  cboTime->setInsertPolicy(QComboBox::NoInsert);
  for (const char* t : text::kGifTimes) cboTime->addItem(u(t));
  cmdSet = new QPushButton(u(text::kGifOk), this);
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
    prompts_.message(MessageIcon::Exclamation, u(text::kGifBadInterval));
    return;
  }
  if (webpMode_) {
    webpAccepted_ = true;
    webpInterval_ = *interval;
  } else {
    output::acceptGifSettings(optType[1]->isChecked(), *interval);
  }
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

bool frmGifSetting::askWebpInterval(std::int16_t& interval) {
  const int before = choice();
  webpMode_ = true;
  webpAccepted_ = false;
  setWindowTitle(u(text::kWebpCaption));
  optType[1]->setText(u(text::kWebpOptAnimated));
  setChoice(1);
  optType[0]->setEnabled(false);
  showModal();
  webpMode_ = false;
  setWindowTitle(u(text::kGifCaption));
  optType[1]->setText(u(text::kGifOptAnimated));
  optType[0]->setEnabled(true);
  setChoice(before);
  if (webpAccepted_) interval = webpInterval_;
  return webpAccepted_;
}

void frmGifSetting::showModal() {
  if (modalRunner_) {
    modalRunner_(*this);
    return;
  }
  exec();
}

}  // namespace app
