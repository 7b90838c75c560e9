#include "app/frm_gif_setting.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include <QBuffer>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRegularExpressionValidator>
#include <QMovie>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyle>
#include <QTimer>
#include <QVBoxLayout>

#include "app/animation_measure.h"
#include "app/prompts.h"
#include "app/ui_texts.h"
#include "app/written_check.h"
#include "play/gif_interval.h"
#include "play/play_texts.h"
#include "check/flash.h"
#include "core/psnr.h"
#include "intake/picture_loader.h"
#include "save/border.h"
#include "settings/settings.h"

namespace app {

namespace {

QString grouped(std::uintmax_t n) { return QString::fromStdString(output::groupedNumber(n)); }

QString decibels(double db) { return QString::number(db, 'f', 1); }

// A warning sign as the play section shows it beside its warnings.
QLabel* warningIcon(QWidget* parent) {
  auto* icon = new QLabel(parent);
  const int size = parent->style()->pixelMetric(QStyle::PM_SmallIconSize, nullptr, parent);
  icon->setPixmap(parent->style()->standardIcon(QStyle::SP_MessageBoxWarning, nullptr, parent).pixmap(size, size));
  icon->setAlignment(Qt::AlignTop);
  return icon;
}

}  // namespace

frmGifSetting::frmGifSetting(Prompts& prompts, QWidget* parent, save::AnimationFormat format)
    : QDialog(parent),
      prompts_(prompts),
      format_(format),
      measure_(std::make_unique<AnimationMeasure>()),
      written_(std::make_unique<WrittenCheck>()) {
  written_->setResultHandler([this] { showWritten(); });
  measure_->setResultHandler([this] {
    showMeasured();
    if (okWaits_) {
      stopWaiting();
      cmdSet_Click();  // the measurement of the chosen settings is there now
    }
  });
  setWindowTitle(text::shown(isGif() ? text::kGifCaption : text::kWebpCaption));
  setModal(true);
  auto* layout = new QVBoxLayout(this);
  buildChoiceSection(layout);
  buildPlaySection();
  layout->addWidget(fraPlay);
  cmdSet = new QPushButton(text::shown(text::kGifOk), this);
  cmdSet->setDefault(true);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(cmdSet);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);  // a fixed-size dialog box
  connect(cmdSet, &QPushButton::clicked, this, &frmGifSetting::cmdSet_Click);
  setChoice(isGif() ? 0 : 1);
  setIntervalText(QStringLiteral("0.1"));
}

// The two options with the interval between them; a WebP is always one
// animation, so its dialog has only the animated option.
void frmGifSetting::buildChoiceSection(QVBoxLayout* layout) {
  optType[1] = new QRadioButton(text::shown(isGif() ? text::kGifOptAnimated : text::kWebpOptAnimated), this);
  Label1 = new QLabel(text::shown(text::kGifLabel), this);
  cboTime = new QComboBox(this);
  cboTime->setEditable(true);
  cboTime->setInsertPolicy(QComboBox::NoInsert);
  for (const char* t : text::kGifTimes) cboTime->addItem(QString::fromUtf8(t));
  layout->addWidget(optType[1]);
  auto* intervalRow = new QHBoxLayout;
  intervalRow->addSpacing(20);
  intervalRow->addWidget(Label1);
  intervalRow->addWidget(cboTime);
  intervalRow->addStretch(1);
  layout->addLayout(intervalRow);
  if (isGif()) {
    optType[0] = new QRadioButton(text::shown(text::kGifOptPerFrame), this);
    layout->addWidget(optType[0]);
  }
  for (int k = 0; k < 2; ++k)
    if (optType[k])
      connect(optType[k], &QRadioButton::toggled, this, [this, k](bool on) {
        if (on) optType_Click(k);
      });
}

frmGifSetting::~frmGifSetting() {
  measure_->cancel();
  written_->cancel();
  clearPreview();
}

void frmGifSetting::buildPlaySection() {
  fraPlay = new QGroupBox(text::shown(isGif() ? text::kGifPlayFrame : text::kWebpPlayFrame), this);
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
  lblSummary = new QLabel(fraPlay);
  picWarning = warningIcon(fraPlay);
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
  // The ad networks take no WebP: their presets are the GIF's alone.
  if (isGif()) {
    lblPreset = new QLabel(text::shown(text::kGifPresetLabel), fraPlay);
    cboPreset = new QComboBox(fraPlay);
    for (const char* name : output::text::kPresetNames) cboPreset->addItem(text::shown(name));
    cboPreset->setToolTip(text::shown(text::kGifPresetTip));
    grid->addWidget(lblPreset, 3, 0);
    grid->addWidget(cboPreset, 3, 1, Qt::AlignLeft);
  }
  buildBorderRow(grid, 2);
  grid->addWidget(lblSummary, 4, 0, 1, 2);
  auto* warningRow = new QHBoxLayout;
  warningRow->addWidget(picWarning, 0, Qt::AlignTop);
  warningRow->addWidget(lblWarning, 1);
  grid->addLayout(warningRow, 5, 0, 1, 2);
  lblWritten = new QLabel(fraPlay);
  lblWritten->setTextInteractionFlags(Qt::TextSelectableByMouse);
  lblWritten->setContentsMargins(0, 8, 0, 0);  // apart from the lines about the next file
  picWrittenWarning = warningIcon(fraPlay);
  lblWrittenWarning = new QLabel(fraPlay);
  grid->addWidget(lblWritten, 6, 0, 1, 2);
  auto* writtenRow = new QHBoxLayout;
  writtenRow->addWidget(picWrittenWarning, 0, Qt::AlignTop);
  writtenRow->addWidget(lblWrittenWarning, 1);
  grid->addLayout(writtenRow, 7, 0, 1, 2);
  for (QLabel* l : {lblWritten, picWrittenWarning, lblWrittenWarning}) l->hide();
  // Tab follows the layout: the options and the interval, then the section
  // before it reaches OK, as the eye does.
  QWidget* const beforeSection = optType[0] ? static_cast<QWidget*>(optType[0]) : cboTime;
  if (optType[0]) setTabOrder(cboTime, optType[0]);
  setTabOrder(beforeSection, optPlays[0]);
  setTabOrder(optPlays[0], optPlays[1]);
  setTabOrder(optPlays[1], spnPlays);
  setTabOrder(spnPlays, spnHold);
  setTabOrder(spnHold, chkBorder);
  setTabOrder(chkBorder, txtBorder);
  if (isGif()) {
    setTabOrder(txtBorder, cboPreset);
    buildSizeSection(grid);
  }

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
  if (cboPreset) {
    connect(cboPreset, &QComboBox::currentIndexChanged, this, [this] { refreshSummary(); });
    connect(cboPreset, &QComboBox::activated, this, &frmGifSetting::cboPreset_Click);
  }
  connect(cboTime, &QComboBox::editTextChanged, this, [this] { refreshSummary(); });
  refreshSummary();
}

void frmGifSetting::buildBorderRow(QGridLayout* grid, int row) {
  chkBorder = new QCheckBox(text::shown(text::kGifBorderCheck), fraPlay);
  txtBorder = new QLineEdit(fraPlay);
  txtBorder->setMaxLength(6);
  txtBorder->setValidator(
      new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9A-Fa-f]{0,6}")), txtBorder));
  txtBorder->setFixedWidth(txtBorder->fontMetrics().horizontalAdvance(QStringLiteral("DDDDDDD")) + 12);
  txtBorder->setAccessibleName(text::shown(text::kGifBorderColour));
  picBorder = new QLabel(fraPlay);
  picBorder->setFrameShape(QFrame::Box);
  const int side = txtBorder->sizeHint().height() - 6;
  picBorder->setFixedSize(side, side);
  for (QWidget* w : {static_cast<QWidget*>(chkBorder), static_cast<QWidget*>(txtBorder)})
    w->setToolTip(text::shown(text::kGifBorderTip));
  auto* borderRow = new QHBoxLayout;
  borderRow->addWidget(txtBorder);
  borderRow->addWidget(picBorder);
  borderRow->addStretch(1);
  grid->addWidget(chkBorder, row, 0);
  grid->addLayout(borderRow, row, 1);
  borderColour_ = save::kBorderGrey;
  showBorderColour();
  txtBorder->setEnabled(false);
  connect(chkBorder, &QCheckBox::toggled, this, [this](bool on) {
    txtBorder->setEnabled(on);
    refreshSummary();
  });
  connect(txtBorder, &QLineEdit::textEdited, this, [this](const QString& typed) {
    if (const auto rgb = settings::parseRgbText(typed.toStdString())) {
      borderColour_ = core::rgb(static_cast<int>(*rgb >> 16), static_cast<int>(*rgb >> 8), static_cast<int>(*rgb));
      showBorderColour();
      refreshSummary();
    }
  });
  // A colour left half typed goes back to the last whole one.
  connect(txtBorder, &QLineEdit::editingFinished, this, [this] { showBorderColour(); });
}

void frmGifSetting::showBorderColour() {
  const QColor colour(core::redOf(borderColour_), core::greenOf(borderColour_), core::blueOf(borderColour_));
  const QString hex = colour.name(QColor::HexRgb).mid(1).toUpper();
  if (txtBorder->text().compare(hex, Qt::CaseInsensitive) != 0) txtBorder->setText(hex);
  QPixmap swatch(picBorder->size());
  swatch.fill(colour);
  picBorder->setPixmap(swatch);
}

void frmGifSetting::setBorder(bool on, std::optional<core::Color> colour) {
  if (colour) {
    borderColour_ = *colour & 0xFFFFFF;
    showBorderColour();
  }
  chkBorder->setChecked(on);
  txtBorder->setEnabled(on);
}

bool frmGifSetting::borderOn() const { return chkBorder->isChecked(); }

void frmGifSetting::buildSizeSection(QGridLayout* grid) {
  chkBudget = new QCheckBox(text::shown(text::kGifBudgetCheck), fraPlay);
  spnBudget = new QSpinBox(fraPlay);
  spnBudget->setRange(1, output::kMaxBudgetKb);
  spnBudget->setValue(150);  // the common 150 KB rule, until the user or a preset says otherwise
  spnBudget->setSuffix(QString::fromUtf8(text::kGifBudgetSuffix));
  spnBudget->setEnabled(false);
  chkBudget->setToolTip(text::shown(text::kGifBudgetTip));
  spnBudget->setToolTip(text::shown(text::kGifBudgetTip));
  lblSize = new QLabel(fraPlay);
  picBudgetWarning = warningIcon(fraPlay);
  lblBudgetWarning = new QLabel(fraPlay);
  picPreview = new QLabel(fraPlay);
  picPreview->setAlignment(Qt::AlignCenter);

  grid->addWidget(chkBudget, 8, 0);
  grid->addWidget(spnBudget, 8, 1, Qt::AlignLeft);
  auto* sizeRow = new QHBoxLayout;
  sizeRow->addWidget(lblSize);
  buildProgressBar(sizeRow);
  grid->addLayout(sizeRow, 9, 0, 1, 2);
  auto* budgetWarningRow = new QHBoxLayout;
  budgetWarningRow->addWidget(picBudgetWarning, 0, Qt::AlignTop);
  budgetWarningRow->addWidget(lblBudgetWarning, 1);
  grid->addLayout(budgetWarningRow, 10, 0, 1, 2);
  grid->addWidget(picPreview, 11, 0, 1, 2, Qt::AlignLeft);

  setTabOrder(cboPreset, chkBudget);
  setTabOrder(chkBudget, spnBudget);
  connect(chkBudget, &QCheckBox::toggled, this, [this](bool on) {
    spnBudget->setEnabled(on);
    refreshSummary();
  });
  connect(spnBudget, &QSpinBox::valueChanged, this, [this] { refreshSummary(); });
  for (QWidget* w : {static_cast<QWidget*>(chkBudget), static_cast<QWidget*>(spnBudget), static_cast<QWidget*>(lblSize),
                     static_cast<QWidget*>(picBudgetWarning), static_cast<QWidget*>(lblBudgetWarning),
                     static_cast<QWidget*>(picPreview)})
    w->hide();
}

void frmGifSetting::buildProgressBar(QHBoxLayout* sizeRow) {
  prgMeasure = new QProgressBar(fraPlay);
  prgMeasure->setRange(0, output::WorkProgress::kWhole);
  prgMeasure->setTextVisible(false);
  prgMeasure->setAccessibleName(text::shown(text::kGifMeasureProgress));
  prgMeasure->hide();
  sizeRow->addWidget(prgMeasure, 1);
  progressTimer_ = new QTimer(this);
  progressTimer_->setInterval(100);
  connect(progressTimer_, &QTimer::timeout, this, [this] { pollProgress(); });
}

void frmGifSetting::pollProgress() {
  const int progress = measure_->progress();
  if (progress < 0 && !measure_->isBusy()) {
    progressTimer_->stop();
    prgMeasure->hide();
    return;
  }
  ++progressPolls_;
  if (progressPolls_ * progressTimer_->interval() < kProgressDelayMs && !okWaits_) return;
  prgMeasure->setValue(std::max(progress, 0));
  prgMeasure->show();
}

bool frmGifSetting::waitForMeasurement() {
  const auto request = currentRequest();
  const bool large = shape_ && (shape_->width > intake::kMaxWidth || shape_->height > intake::kMaxHeight);
  if (!large || !request || !optType[1]->isChecked() || !measure_->isBusy()) return false;
  const auto& measured = measure_->last();
  if (measured && measured->request == *request) return false;
  okWaits_ = true;
  cmdSet->setEnabled(false);
  lblSize->setText(text::shown(text::kGifOkWaits));
  pollProgress();  // the bar at once
  return true;
}

void frmGifSetting::stopWaiting() {
  if (!okWaits_) return;
  okWaits_ = false;
  cmdSet->setEnabled(true);
}

void frmGifSetting::optType_Click(int k) {
  Label1->setEnabled(k == 1);
  cboTime->setEnabled(k == 1);
  if (fraPlay) fraPlay->setEnabled(k == 1);
  if (lblSize) refreshMeasure();
}

void frmGifSetting::cmdSet_Click() {
  // The interval is checked whichever option is selected.
  const auto interval = output::parseGifInterval(cboTime->currentText().toStdString());
  if (!interval) {
    prompts_.message(MessageIcon::Exclamation, text::shown(text::kGifBadInterval));
    return;
  }
  if (isGif() && waitForMeasurement()) return;
  // What was measured for exactly these choices is what the save writes.
  measure_->cancel();
  accepted_.reset();
  answer_.animated = choice() == 1;
  answer_.animation.intervalCs = *interval;
  answer_.animation.play = playSettings();
  answer_.animation.measured.reset();
  answered_ = true;
  const auto& measured = measure_->last();
  const auto request = currentRequest();
  if (answer_.animated && measured && request && measured->request == *request) accepted_ = measured->file;
  accept();  // hides the dialog, ending the modal wait
}

void frmGifSetting::setChoice(int isAni) {
  const int k = isAni == 1 || !optType[0] ? 1 : 0;
  optType[k]->setChecked(true);
  optType_Click(k);  // also when it was selected already
}

int frmGifSetting::choice() const { return optType[1]->isChecked() ? 1 : 0; }

void frmGifSetting::setIntervalText(const QString& text) { cboTime->setEditText(text); }

QString frmGifSetting::intervalText() const { return cboTime->currentText(); }

void frmGifSetting::cboPreset_Click(int index) {
  if (!cboPreset) return;
  const output::AdPreset preset = output::presetFromIndex(index);
  cboPreset->setCurrentIndex(static_cast<int>(preset));  // the user's pick is shown already
  if (preset == output::AdPreset::None) return;
  // Amazon asks a border of banners whose edge does not stand out on its
  // white pages: on, in the quiet grey, for the user to change or drop.
  if (preset == output::AdPreset::Amazon) setBorder(true, save::kBorderGrey);
  if (shape_) {
    const std::int64_t budget = output::byteBudget(preset, shape_->width, shape_->height);
    if (budget > 0) setBudgetKb(static_cast<int>(std::min<std::int64_t>(budget / 1000, output::kMaxBudgetKb)));
  }
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
  if (cboPreset) cboPreset->setCurrentIndex(static_cast<int>(output::presetFromIndex(preset)));
}

int frmGifSetting::preset() const { return cboPreset ? cboPreset->currentIndex() : 0; }

void frmGifSetting::setBudgetKb(int kb) {
  if (!chkBudget) return;
  const bool budgeted = kb >= 1 && kb <= output::kMaxBudgetKb;
  if (budgeted) spnBudget->setValue(kb);
  chkBudget->setChecked(budgeted);
  spnBudget->setEnabled(budgeted);
}

int frmGifSetting::budgetKb() const { return chkBudget && chkBudget->isChecked() ? spnBudget->value() : 0; }

output::PlaySettings frmGifSetting::playSettings() const {
  output::PlaySettings play;
  play.plays = plays();
  play.holdCs = holdCs();
  play.preset = output::presetFromIndex(preset());
  play.budgetBytes = static_cast<std::size_t>(budgetKb()) * 1000;
  if (borderOn()) play.border = borderColour_;
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
    if (const auto size = output::presetSizeWarning(play.preset, shape_->width, shape_->height, text::shownOutputText))
      warnings << QString::fromStdString(*size);
  }
  lblSummary->setText(summary);
  lblSummary->setVisible(!summary.isEmpty());
  choiceWarnings_ = warnings;
  showWarnings();
  if (lblSize) refreshMeasure();
}

void frmGifSetting::showWarnings() {
  QStringList warnings = choiceWarnings_;
  // The flashing of the file the current choices make, once measured.
  const auto& measured = measure_->last();
  const auto request = currentRequest();
  if (measured && measured->flash && request && measured->request == *request && optType[1]->isChecked())
    warnings << flashWarnings(*measured->flash);
  lblWarning->setText(warnings.join(QLatin1Char('\n')));
  lblWarning->setVisible(!warnings.isEmpty());
  picWarning->setVisible(!warnings.isEmpty());
}

QStringList frmGifSetting::flashWarnings(const check::FlashResult& flash) {
  QStringList lines;
  if (flash.generalBroken())
    lines << text::shown(text::kGifFlashGeneral).arg(flash.generalChanges).arg(check::kMostChangesPerSecond);
  if (flash.redBroken())
    lines << text::shown(text::kGifFlashRed).arg(flash.redChanges).arg(check::kMostChangesPerSecond);
  return lines;
}

std::optional<output::AnimationRequest> frmGifSetting::currentRequest() const {
  if (!frames_ || !shape_ || !isGif() || shape_->last < 0 ||
      frames_->size() < static_cast<std::size_t>(shape_->last) + 1)
    return std::nullopt;
  const auto interval = output::parseGifInterval(cboTime->currentText().toStdString());
  if (!interval) return std::nullopt;
  output::AnimationRequest request;
  request.frames = frames_;
  request.shape = *shape_;
  request.intervalCs = *interval;
  request.play = playSettings();
  return request;
}

void frmGifSetting::refreshMeasure() {
  chkBudget->setVisible(frames_ != nullptr);
  spnBudget->setVisible(frames_ != nullptr);
  const auto request = currentRequest();
  // Only the animated GIF has a file to measure; one file per frame keeps
  // the last figure (greyed with the section) for a change of mind.
  if (!request || !optType[1]->isChecked()) {
    stopWaiting();
    measure_->cancel();
    showMeasured();
    return;
  }
  stopWaiting();  // a changed choice is for the user to confirm again
  lblSize->setText(text::shown(text::kGifMeasuring));
  lblSize->show();
  picBudgetWarning->hide();
  lblBudgetWarning->hide();
  measure_->request(*request);  // answers at once when these choices were measured before
  if (measure_->isBusy() && !progressTimer_->isActive()) {
    progressPolls_ = 0;
    prgMeasure->setValue(0);
    progressTimer_->start();
  }
}

void frmGifSetting::showMeasured() {
  if (prgMeasure) prgMeasure->hide();
  const auto& measured = measure_->last();
  const auto request = currentRequest();
  const bool current = measured && request && measured->request == *request;
  const QString missed = current ? budgetMissedText(measured->file) : QString();
  if (current) {
    lblSize->setText(sizeText(measured->file));
    showPreview(measured->file);
  } else {
    lblSize->clear();
  }
  lblSize->setVisible(current);
  lblBudgetWarning->setText(missed);
  lblBudgetWarning->setVisible(!missed.isEmpty());
  picBudgetWarning->setVisible(!missed.isEmpty());
  showWarnings();
  // The animation stays while an interval is being typed.
  picPreview->setVisible(previewMovie_ && frames_ && shape_);
}

QString frmGifSetting::sizeText(const output::AnimationFile& file) {
  QString s = file.budget > 0 ? text::shown(text::kGifSizeWithBudget).arg(grouped(file.bytes.size()), grouped(file.budget))
                              : text::shown(text::kGifSize).arg(grouped(file.bytes.size()));
  if (file.psnr < core::kExactFrameDb) s += text::shown(text::kGifSizePsnr).arg(decibels(file.psnr));
  return s;
}

QString frmGifSetting::budgetMissedText(const output::AnimationFile& file) {
  if (file.fits || file.budget == 0) return {};
  return text::shown(text::kGifBudgetMissed).arg(grouped(file.budget), grouped(file.bytes.size()), decibels(file.psnr));
}

void frmGifSetting::showPreview(const output::AnimationFile& file) {
  if (previewBuffer_ && static_cast<std::size_t>(previewBuffer_->data().size()) == file.bytes.size() &&
      std::memcmp(previewBuffer_->data().constData(), file.bytes.data(), file.bytes.size()) == 0) {
    if (previewMovie_->state() == QMovie::NotRunning) previewMovie_->start();  // stopped by a close
    return;
  }
  clearPreview();
  previewBuffer_ = std::make_unique<QBuffer>();
  previewBuffer_->setData(reinterpret_cast<const char*>(file.bytes.data()), static_cast<qsizetype>(file.bytes.size()));
  previewBuffer_->open(QIODevice::ReadOnly);
  previewMovie_ = std::make_unique<QMovie>(previewBuffer_.get(), QByteArray("gif"));
  const int width = std::min(shape_->width, kPreviewMaxWidth);
  const int height = std::max(1, static_cast<int>(std::lrint(static_cast<double>(shape_->height) * width / shape_->width)));
  previewMovie_->setScaledSize(QSize(width, height));
  picPreview->setFixedSize(width, height);
  picPreview->setMovie(previewMovie_.get());
  previewMovie_->start();
}

void frmGifSetting::clearPreview() {
  if (picPreview) picPreview->setMovie(nullptr);
  if (picPreview) picPreview->clear();
  previewMovie_.reset();
  previewBuffer_.reset();
}

std::optional<save::AnimationAnswer> frmGifSetting::askAnimation(const save::AnimationAsk& ask) {
  // The dialog keeps neither the shape nor the frames past the question,
  // however it ends.
  struct AskScope {
    frmGifSetting& d;
    ~AskScope() {
      d.setAnimationShape(nullptr);
      d.setFrames(nullptr);
    }
  } scope{*this};
  setFrames(ask.frames);
  setAnimationShape(&ask.shape);
  answered_ = false;
  showModal();
  if (!isGif() && !answered_) return std::nullopt;
  save::AnimationAnswer answer = answer_;
  if (answered_) answer.animation.measured = accepted_;
  return answer;
}

void frmGifSetting::takeSharedChoices(const frmGifSetting& other) {
  setIntervalText(other.intervalText());
  setPlays(other.plays());
  setHoldCs(other.holdCs());
  setBorder(other.borderOn(), other.borderColour());
}

void frmGifSetting::showModal() {
  accepted_.reset();
  if (lblSize) refreshMeasure();  // the last closing stopped it
  if (modalRunner_)
    modalRunner_(*this);
  else
    exec();
  measure_->cancel();
}

void frmGifSetting::done(int r) {
  stopWaiting();
  measure_->cancel();
  QDialog::done(r);
}

void frmGifSetting::hideEvent(QHideEvent* event) {
  measure_->cancel();
  if (previewMovie_) previewMovie_->stop();  // no frames go to a closed dialog
  QDialog::hideEvent(event);
}

void frmGifSetting::setFrames(save::FramesByFile frames) {
  if (frames == frames_) return;
  measure_->reset();
  clearPreview();
  if (frames) accepted_.reset();  // a new question
  frames_ = std::move(frames);
  refreshSummary();
}

std::optional<output::AnimationFile> frmGifSetting::measuredFile() const { return accepted_; }

void frmGifSetting::checkWritten(const std::string& file, output::AdPreset preset) {
  written_->start(file, preset);
  showWritten();
}

void frmGifSetting::showWritten() {
  const auto& last = written_->last();
  const QString summary = last ? writtenSummary(last->outcome.check) : QString();
  const QStringList broken = last ? brokenRules(last->outcome.check) : QStringList();
  lblWritten->setText(summary);
  lblWritten->setVisible(!summary.isEmpty());
  lblWrittenWarning->setText(broken.join(QLatin1Char('\n')));
  lblWrittenWarning->setVisible(!broken.isEmpty());
  picWrittenWarning->setVisible(!broken.isEmpty());
}

}  // namespace app
