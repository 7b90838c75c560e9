#include "app/frm_gif_setting.h"

#include <cmath>

#include <QButtonGroup>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QVBoxLayout>

#include "app/prompts.h"
#include "app/ui_texts.h"
#include "output/gif_interval.h"
#include "output/play_texts.h"

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
  buildPlaySection();
  layout->addWidget(fraPlay);
  // Tab goes through the section before it reaches OK, as the eye does.
  setTabOrder(cboTime, optPlays[0]);
  setTabOrder(optPlays[0], optPlays[1]);
  setTabOrder(optPlays[1], spnPlays);
  setTabOrder(spnPlays, spnHold);
  setTabOrder(spnHold, cboPreset);
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

void frmGifSetting::buildPlaySection() {
  fraPlay = new QGroupBox(text::shown(text::kGifPlayFrame), this);
  lblPlays = new QLabel(text::shown(text::kGifPlaysLabel), fraPlay);
  optPlays[0] = new QRadioButton(text::shown(text::kGifPlaysForever), fraPlay);
  optPlays[1] = new QRadioButton(text::shown(text::kGifPlaysCount), fraPlay);
  // The two are a group of their own, apart from optType.
  auto* playsGroup = new QButtonGroup(fraPlay);
  playsGroup->addButton(optPlays[0]);
  playsGroup->addButton(optPlays[1]);
  spnPlays = new QSpinBox(fraPlay);
  spnPlays->setRange(1, output::kMaxPlays);
  // Where the suffix has a singular ("1 play"), the box keeps the width of the
  // plural, so the dialog does not change size under the user's hand.
  const QString pluralSuffix = text::shown(text::kGifPlaysSuffix, 2);
  if (pluralSuffix != text::shown(text::kGifPlaysSuffix, 1)) {
    spnPlays->setSuffix(pluralSuffix);
    spnPlays->setMinimumWidth(spnPlays->sizeHint().width());
  }
  spnPlays->setSuffix(text::shown(text::kGifPlaysSuffix, spnPlays->value()));
  lblHold = new QLabel(text::shown(text::kGifHoldLabel), fraPlay);
  spnHold = new QDoubleSpinBox(fraPlay);
  spnHold->setRange(0.0, output::kMaxHoldCs / 100.0);
  spnHold->setDecimals(2);
  spnHold->setSingleStep(0.1);
  spnHold->setToolTip(text::shown(text::kGifHoldTip));
  lblHold->setToolTip(text::shown(text::kGifHoldTip));
  lblPreset = new QLabel(text::shown(text::kGifPresetLabel), fraPlay);
  cboPreset = new QComboBox(fraPlay);
  for (const char* name : output::text::kPresetNames) cboPreset->addItem(text::shown(name));
  cboPreset->setToolTip(text::shown(text::kGifPresetTip));
  lblSummary = new QLabel(fraPlay);
  picWarning = new QLabel(fraPlay);
  const int icon = style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, this);
  picWarning->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, this).pixmap(icon, icon));
  picWarning->setAlignment(Qt::AlignTop);
  lblWarning = new QLabel(fraPlay);

  auto* grid = new QGridLayout(fraPlay);
  grid->addWidget(lblPlays, 0, 0);
  auto* playsRow = new QHBoxLayout;
  playsRow->addWidget(optPlays[0]);
  playsRow->addSpacing(12);
  playsRow->addWidget(optPlays[1]);
  playsRow->addWidget(spnPlays);
  playsRow->addStretch(1);
  grid->addLayout(playsRow, 0, 1);
  grid->addWidget(lblHold, 1, 0);
  grid->addWidget(spnHold, 1, 1, Qt::AlignLeft);
  grid->addWidget(lblPreset, 2, 0);
  grid->addWidget(cboPreset, 2, 1, Qt::AlignLeft);
  grid->addWidget(lblSummary, 3, 0, 1, 2);
  auto* warningRow = new QHBoxLayout;
  warningRow->addWidget(picWarning, 0, Qt::AlignTop);
  warningRow->addWidget(lblWarning, 1);
  grid->addLayout(warningRow, 4, 0, 1, 2);

  optPlays[0]->setChecked(true);
  spnPlays->setEnabled(false);
  connect(optPlays[1], &QRadioButton::toggled, this, [this](bool on) {
    spnPlays->setEnabled(on);
    refreshSummary();
  });
  connect(spnPlays, &QSpinBox::valueChanged, this, [this](int plays) {
    // "1 play", "2 plays" in languages that say so.
    spnPlays->setSuffix(text::shown(text::kGifPlaysSuffix, plays));
    refreshSummary();
  });
  connect(spnHold, &QDoubleSpinBox::valueChanged, this, [this] { refreshSummary(); });
  connect(cboPreset, &QComboBox::currentIndexChanged, this, [this] { refreshSummary(); });
  connect(cboPreset, &QComboBox::activated, this, &frmGifSetting::cboPreset_Click);
  connect(cboTime, &QComboBox::editTextChanged, this, [this] { refreshSummary(); });
  refreshSummary();
}

void frmGifSetting::optType_Click(int k) {
  Label1->setEnabled(k == 1);
  cboTime->setEnabled(k == 1);
  if (fraPlay) fraPlay->setEnabled(k == 1);
}

void frmGifSetting::cmdSet_Click() {
  // The interval is checked whichever option is selected.
  const auto interval = output::parseGifInterval(cboTime->currentText().toStdString());
  if (!interval) {
    prompts_.message(MessageIcon::Exclamation, text::shown(text::kGifBadInterval));
    return;
  }
  if (webpMode_) {
    webpAccepted_ = true;
    webpInterval_ = *interval;
    webpPlay_ = playSettings();
  } else {
    output::acceptGifSettings(optType[1]->isChecked(), *interval);
    output::acceptPlaySettings(playSettings());
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

void frmGifSetting::cboPreset_Click(int index) {
  const output::AdPreset preset = output::presetFromIndex(index);
  cboPreset->setCurrentIndex(static_cast<int>(preset));  // the user's pick is shown already
  if (preset == output::AdPreset::None) return;
  const auto interval = output::parseGifInterval(cboTime->currentText().toStdString());
  // An interval the dialog would refuse stays for OK to point out.
  if (!interval) return;
  const output::AnimationShape shape = shape_.value_or(output::AnimationShape{});
  const output::PresetChoice choice = output::choosePreset(preset, shape, *interval, holdCs());
  if (choice.intervalCs != *interval)
    setIntervalText(QString::fromStdString(output::secondsText(choice.intervalCs, 2)));
  // Without the animation the play count cannot be worked out.
  if (shape_) setPlays(choice.plays);
  refreshSummary();
}

void frmGifSetting::setPlays(int plays) {
  const bool counted = plays >= 1 && plays <= output::kMaxPlays;
  if (counted) spnPlays->setValue(plays);
  optPlays[counted ? 1 : 0]->setChecked(true);
  spnPlays->setEnabled(counted);
}

int frmGifSetting::plays() const { return optPlays[1]->isChecked() ? spnPlays->value() : 0; }

void frmGifSetting::setHoldCs(int holdCs) {
  spnHold->setValue(holdCs >= 0 && holdCs <= output::kMaxHoldCs ? holdCs / 100.0 : 0.0);
}

int frmGifSetting::holdCs() const { return static_cast<int>(std::lrint(spnHold->value() * 100.0)); }

void frmGifSetting::setPreset(int preset) {
  cboPreset->setCurrentIndex(static_cast<int>(output::presetFromIndex(preset)));
}

int frmGifSetting::preset() const { return cboPreset->currentIndex(); }

output::PlaySettings frmGifSetting::playSettings() const {
  output::PlaySettings play;
  play.plays = plays();
  play.holdCs = holdCs();
  play.preset = output::presetFromIndex(preset());
  return play;
}

void frmGifSetting::setAnimationShape(const output::AnimationShape* shape) {
  shape_ = shape ? std::optional<output::AnimationShape>(*shape) : std::nullopt;
  refreshSummary();
}

void frmGifSetting::refreshSummary() {
  if (!lblSummary) return;  // still being built
  const auto interval = output::parseGifInterval(cboTime->currentText().toStdString());
  QString summary;
  QStringList warnings;
  if (shape_ && interval) {
    const output::PlaySettings play = playSettings();
    const output::PlaySummary s = output::summarize(*shape_, *interval, play);
    summary = QString::fromStdString(output::summaryLine(s, text::shownOutputText));
    for (const std::string& w : output::presetWarnings(s, play.preset, text::shownOutputText))
      warnings << QString::fromStdString(w);
  }
  lblSummary->setText(summary);
  lblSummary->setVisible(!summary.isEmpty());
  lblWarning->setText(warnings.join(QLatin1Char('\n')));
  lblWarning->setVisible(!warnings.isEmpty());
  picWarning->setVisible(!warnings.isEmpty());
}

bool frmGifSetting::askWebpAnimation(const output::AnimationShape& shape, std::int16_t& interval,
                                     output::PlaySettings& play) {
  const int before = choice();
  const int presetBefore = preset();
  webpMode_ = true;
  webpAccepted_ = false;
  setWindowTitle(text::shown(text::kWebpCaption));
  optType[1]->setText(text::shown(text::kWebpOptAnimated));
  fraPlay->setTitle(text::shown(text::kWebpPlayFrame));
  setChoice(1);
  optType[0]->setEnabled(false);
  // The ad networks take no WebP: their presets do not apply.
  setPreset(0);
  lblPreset->setEnabled(false);
  cboPreset->setEnabled(false);
  setAnimationShape(&shape);
  showModal();
  setAnimationShape(nullptr);
  webpMode_ = false;
  setWindowTitle(text::shown(text::kGifCaption));
  optType[1]->setText(text::shown(text::kGifOptAnimated));
  fraPlay->setTitle(text::shown(text::kGifPlayFrame));
  optType[0]->setEnabled(true);
  lblPreset->setEnabled(true);
  cboPreset->setEnabled(true);
  setPreset(presetBefore);
  setChoice(before);
  if (webpAccepted_) {
    interval = webpInterval_;
    play = webpPlay_;
    play.preset = output::AdPreset::None;
  }
  return webpAccepted_;
}

void frmGifSetting::showModal() {
  if (modalRunner_) {
    modalRunner_(*this);
    return;
  }
  exec();
}

void frmGifSetting::setFrames(std::shared_ptr<const std::vector<core::Bitmap>> frames) { frames_ = std::move(frames); }

std::optional<output::AnimationFile> frmGifSetting::measuredFile() const { return std::nullopt; }

}  // namespace app
