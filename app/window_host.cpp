#include "app/window_host.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDateTime>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

#include "app/frm_gif_setting.h"
#include "app/frm_main.h"
#include "app/option_panel.h"
#include "app/picture_view.h"
#include "app/ui_texts.h"
#include "framelist/frm_frames.h"

namespace app {

WindowHost::WindowHost(frmMain& window) : w_(window) { sinceEvents_.start(); }

WindowHost::~WindowHost() {
  if (hourglass_) QApplication::restoreOverrideCursor();
}

effects::Options WindowHost::readOptions() const { return w_.readOptions(); }

void WindowHost::setProgress(double fraction) {
  const QRect back = w_.linBack->geometry();
  const double f = fraction < 0 ? 0 : (fraction > 1 ? 1 : fraction);
  w_.linFore->setGeometry(back.x(), back.y(), static_cast<int>(back.width() * f), back.height());
}

void WindowHost::setProgressVisible(bool visible) { w_.linFore->setVisible(visible); }

void WindowHost::yield() {
  // Some effects yield once per point, and reading the clock costs more than
  // their work per point: look at it only every kClockStride calls.
  if (eventIntervalMs_ > 0 && ++callsSinceClock_ < kClockStride) return;
  callsSinceClock_ = 0;
  if (sinceEvents_.elapsed() < eventIntervalMs_) return;
  QCoreApplication::processEvents();
  sinceEvents_.restart();
}

void WindowHost::setPreviewRunning(bool running) {
  w_.cmdPrev->setText(text::shown(running ? text::kCmdPrevRunning : text::kCmdPrev));
  w_.menus.mnuPreview->setText(text::shown(running ? text::kMnuPreviewRunning : text::kMnuPreview));
}

void WindowHost::setControlsEnabled(bool enabled, bool all) {
  if (all) {
    w_.cmdPrev->setEnabled(enabled);
    w_.menus.mnuPreview->setEnabled(enabled);
    w_.cmdClose->setEnabled(enabled);
    w_.menus.mnuFileQuit->setEnabled(enabled);
  }
  w_.cmdSave->setEnabled(enabled);
  w_.menus.mnuFileSave->setEnabled(enabled);
  w_.cmdOpen->setEnabled(enabled);
  w_.menus.mnuFileOpen->setEnabled(enabled);
  w_.cmdColor[0]->setEnabled(enabled);
  w_.menus.mnuBackColor->setEnabled(enabled);
  w_.fraType->setEnabled(enabled);
  for (OptionPanel* p : w_.optionPanels) p->setEnabled(enabled);
  w_.menus.mnuSetting->setEnabled(enabled);
  w_.menus.mnuEditPaste->setEnabled(enabled);
}

void WindowHost::setMessagePanelVisible(bool visible) { w_.fraMsg->setVisible(visible); }

void WindowHost::setMessage(const std::string& text) { w_.lblMsg->setText(QString::fromStdString(text)); }

void WindowHost::setCopyButtonEnabled(bool enabled) { w_.cmdCopy->setEnabled(enabled); }

void WindowHost::setCopyMenuEnabled(bool enabled) { w_.menus.mnuEditCopy->setEnabled(enabled); }

void WindowHost::startTimer(int intervalMs) { w_.tmr1->start(intervalMs); }

void WindowHost::stopTimer() { w_.tmr1->stop(); }

void WindowHost::displayChanged() {
  w_.picX->refresh();
  w_.picSource->refresh();
}

void WindowHost::setHourglass(bool busy) {
  if (busy == hourglass_) return;
  hourglass_ = busy;
  if (busy)
    QApplication::setOverrideCursor(Qt::WaitCursor);
  else
    QApplication::restoreOverrideCursor();
}

std::optional<save::AnimationAnswer> WindowHost::askAnimation(const save::AnimationAsk& ask) {
  return w_.askAnimation(ask);
}

bool WindowHost::writeOverBudget(const output::AnimationFile& file) {
  const bool busy = hourglass_;
  setHourglass(false);
  const bool write = w_.prompts().question(MessageIcon::Exclamation, framelist::shownOverBudget(file));
  setHourglass(busy);
  return write;
}

void WindowHost::showGifBudget(const output::BudgetReport& report) {
  w_.prompts().message(report.within ? MessageIcon::Information : MessageIcon::Exclamation,
                       framelist::shownBudget(report));
}

void WindowHost::animationWritten(const std::string& file, output::AdPreset preset) {
  w_.animationWritten(file, preset);
}

void WindowHost::showRenderTime(const std::string& text) {
  w_.prompts().message(MessageIcon::Information, QString::fromStdString(text));
}

void WindowHost::reportSaveError(const std::string& file, const std::string& reason) {
  output::WriteStatus status;
  status.ok = false;
  status.file = file;
  status.reason = reason;
  // The message box comes while the save still shows the hourglass; the
  // user needs the normal pointer to answer it.
  const bool busy = hourglass_;
  setHourglass(false);
  w_.prompts().message(MessageIcon::Exclamation, framelist::shownSaveFailure(status));
  setHourglass(busy);
}

effects::SystemTime WindowHost::now() const {
  const QTime t = QDateTime::currentDateTimeUtc().time();
  return {t.hour(), t.minute(), t.second(), t.msec()};
}

}  // namespace app
