// The copy command (cmdCopy and mnuEditCopy, enabled only while a preview is
// paused): hands the frame on display to the frame list window, and the frame
// list's dialogs, which go through the window's prompts like its own. The
// command for all frames (mnuEditCopyAll) works while the preview plays.
#include <QClipboard>
#include <QGuiApplication>

#include "app/frm_gif_setting.h"
#include "app/frm_main.h"
#include "app/source_intake.h"
#include "app/window_host.h"
#include "framelist/frm_frames.h"
#include "intake/image_adapter.h"

namespace app {

void frmMain::cmdCopy_Click() {
  // The button and the menu entry are enabled only while paused; this also
  // keeps a direct call from copying a frame that is about to change.
  const effects::PreviewState state = driver_->state();
  if (state != effects::PreviewState::Paused && state != effects::PreviewState::Stepping) return;

  // 1. The frame list shows itself, also after it was closed (then empty).
  frmFrames_->show();
  frmFrames_->raise();
  // 2. The frame on display goes to the clipboard for other programs too.
  const core::Picture shown = ws_.picX.picture();
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->clear();
  if (shown.isEmpty()) return;
  clipboard->setImage(intake::toQImage(shown));
  // 3. The frame list takes the picture itself rather than reading it back
  // from the clipboard, which another program may have changed meanwhile.
  frmFrames_->Add_Stock(shown);
}

void frmMain::mnuEditCopyAll_Click() {
  // The preview keeps playing: the frames are the finished cache, which
  // playback only reads.
  if (driver_->previewFrames().empty()) return;
  frmFrames_->show();
  frmFrames_->raise();
  frmFrames_->cmdAddAll_Click();
}

void frmMain::wireFrameList() {
  frmFrames_->setPreviewFrames([this] { return driver_->previewFrames(); });
  frmFrames_->setCloseAsker([this](const QString& text) { return prompts_->question(MessageIcon::Exclamation, text); });
  frmFrames_->setSaveNameAsker([this](const framelist::SaveDialogRequest& r) {
    FileDialogRequest request = saveDialogRequest(r.initialDir);  // the same entries and patterns
    request.title = r.title;
    request.filters = r.filters;
    request.proposedName = r.proposedName;
    return prompts_->saveFile(request);
  });
  frmFrames_->setMessageShower(
      [this](const QString&, const QString& text) { prompts_->message(MessageIcon::Exclamation, text); });
  frmFrames_->setOverBudgetAsker(
      [this](const QString& text) { return prompts_->question(MessageIcon::Exclamation, text); });
  frmFrames_->setNoticeShower([this](bool warning, const QString& text) {
    prompts_->message(warning ? MessageIcon::Exclamation : MessageIcon::Information, text);
  });
  frmFrames_->setAnimationWritten(
      [this](const std::string& file, output::AdPreset preset) { animationWritten(file, preset); });
}

}  // namespace app
