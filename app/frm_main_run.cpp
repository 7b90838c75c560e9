// Preview, pause, step, Esc and save: thin handlers around the generation
// driver, which does the work. Playback runs from tmr1, never from a nested
// event loop.
#include <QPushButton>

#include "app/frm_main.h"
#include "app/source_intake.h"
#include "app/window_host.h"

namespace app {

void frmMain::runDriver(const std::function<void()>& command) {
  ++driverDepth_;
  command();
  if (--driverDepth_ == 0) runDeferred();
}

// What arrived while the driver was busy, in the order a user would expect:
// a new source first, then the end of the program.
void frmMain::runDeferred() {
  if (pendingDrop_) {
    const QString path = *pendingDrop_;
    pendingDrop_.reset();
    txtSource_OLEDragDrop(path);
  }
  if (closePending_) {
    closePending_ = false;
    close();
  }
}

void frmMain::setEventInterval(int ms) { host_->setEventInterval(ms); }

void frmMain::cmdPrev_Click() {
  runDriver([this] { driver_->previewCommand(); });
}

void frmMain::cmdPause_Click(int index) {
  runDriver([this, index] { driver_->pauseCommand(index); });
}

void frmMain::tmr1_Timer() {
  runDriver([this] { driver_->timerFired(); });
}

void frmMain::Form_KeyDown(int key) {
  if (key == Qt::Key_Escape) runDriver([this] { driver_->escapeKey(); });
}

void frmMain::cmdSave_Click() {
  if (driverBusy()) return;  // the save command is locked during any run
  const QString name = prompts_->saveFile(saveDialogRequest(QString::fromStdString(ws_.SavePath)));
  if (name.isEmpty()) return;
  runDriver([this, name] { driver_->saveCommand(name.toStdString()); });
}

}  // namespace app
