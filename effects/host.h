// How the generators and the driver reach the window. The window implements
// it; tests implement it with a fake that records calls and can request a stop
// at an exact yield.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/picture.h"
#include "effects/options.h"
#include "gif/animation_file.h"
#include "play/animation_plan.h"
#include "save/save_step.h"

namespace effects {

// A wall-clock reading with the fields the render timing uses (UTC).
struct SystemTime {
  int hour = 0;
  int minute = 0;
  int second = 0;
  int milliseconds = 0;
};

class Host : public save::OverBudgetQuestion {
 public:
  ~Host() override = default;

  // The option controls as they are now. Generators call this once at the
  // start of a run (and end steps that read a colour read it again).
  virtual Options readOptions() const = 0;

  // The progress line: linFore.X2 as a fraction of linBack.X2 (0 collapsed,
  // 1 full length), and whether linFore is visible.
  virtual void setProgress(double fraction) = 0;
  virtual void setProgressVisible(bool visible) = 0;

  // Lets the window handle waiting events. Called very often (once per point
  // in Turn and Rotate): the host must make it nearly free when nothing is
  // waiting, e.g. by processing events only after some milliseconds have
  // passed. Handlers that run inside may call the driver's commands (stop,
  // pause); the driver re-reads its state after every yield.
  virtual void yield() = 0;

  // The preview button and menu captions: running shows "中止(&V)" and
  // "プレビュー中止(&V)", not running "プレビュー(&V)" on both.
  virtual void setPreviewRunning(bool running) = 0;

  // SetControlsEnabled(enabled, all): only when all, also cmdPrev, mnuPreview,
  // cmdClose and mnuFileQuit; always cmdSave, mnuFileSave, cmdOpen,
  // mnuFileOpen, cmdColor(0), mnuBackColor, the seven option panels and
  // fraType, mnuSetting and mnuEditPaste.
  virtual void setControlsEnabled(bool enabled, bool all) = 0;

  virtual void setMessagePanelVisible(bool visible) = 0;  // fraMsg
  virtual void setMessage(const std::string& text) = 0;   // lblMsg.Caption
  virtual void setCopyButtonEnabled(bool enabled) = 0;    // cmdCopy
  virtual void setCopyMenuEnabled(bool enabled) = 0;      // mnuEditCopy

  // tmr1: start it with the interval; when it elapses the window calls
  // Driver::timerFired() once. stopTimer() cancels a pending tick.
  virtual void startTimer(int intervalMs) = 0;
  virtual void stopTimer() = 0;

  // picX (or another work surface the window shows) changed: repaint it.
  virtual void displayChanged() = 0;

  virtual void setHourglass(bool busy) = 0;

  // AskGifOutput: the one question of a save to ".gif" or ".webp", asked
  // after the frames are composed and before the first file is written;
  // the dialog may measure ask.frames. nullopt: nothing is to be written.
  virtual std::optional<save::AnimationAnswer> askAnimation(const save::AnimationAsk& ask) = 0;

  // save::OverBudgetQuestion: the animated GIF does not fit its byte budget
  // even at the lowest quality (file.fits false): true writes it anyway,
  // false writes nothing at all. A host with nobody to ask writes it, as
  // brenlo-render does.
  bool writeOverBudget(const output::AnimationFile& file) override {
    (void)file;
    return true;
  }

  // An animated GIF was written under a preset with a byte budget: the
  // file's size against it (report.within says which icon).
  virtual void showGifBudget(const output::BudgetReport& report) { (void)report; }

  // A save wrote one animated GIF or WebP, `file` (a full path), under this
  // preset: the window reads it back to say what it does as browsers play it.
  virtual void animationWritten(const std::string& file, output::AdPreset preset) {
    (void)file;
    (void)preset;
  }

  // The "/debug" render-time message box, text already formatted ("2.345(s)").
  virtual void showRenderTime(const std::string& text) = 0;

  // A frame or animation file could not be written: the save run has stopped.
  // `file` is the full path, `reason` says why (e.g. "Permission denied").
  virtual void reportSaveError(const std::string& file, const std::string& reason) = 0;

  // The current system time, for the render timing.
  virtual SystemTime now() const = 0;
};

}  // namespace effects
