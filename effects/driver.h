// The generation driver: the preview command with its state machine (render,
// then play the cache from the window's timer, with pause, single step,
// resume and stop), and the save command. No nested event loops: the window
// calls these methods from its event handlers and its tmr1 timeout.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "effects/host.h"
#include "effects/work_state.h"
#include "save/save_step.h"

namespace effects {

enum class PreviewState { Idle, Rendering, Playing, Paused, Stepping };

class Driver {
 public:
  // debugCommandLine: the program's arguments were exactly "/debug".
  Driver(WorkState& ws, Host& host, bool debugCommandLine);
  ~Driver();
  Driver(const Driver&) = delete;
  Driver& operator=(const Driver&) = delete;

  // cmdPrev_Click (and mnuPreview): starts a preview of the selected effect
  // when none runs; otherwise this is the stop request. Rendering happens
  // inside this call (milliseconds, yielding through the host); playback
  // then continues from timerFired(). A stop that arrives while rendering
  // (from inside a yield) resets the tag and the captions at once; the end
  // steps follow when the render returns, so nothing unlocks the controls
  // while the cache is still being written. Does nothing during a save.
  void previewCommand();
  // cmdPause_Click: 0 "I>" pauses, or releases exactly one frame while
  // paused; 1 ">" resumes.
  void pauseCommand(int index);
  // Esc in the main window: stops a running preview, also a paused one.
  void escapeKey();
  // tmr1 elapsed.
  void timerFired();

  // cmdSave_Click after the save dialog returned `name` (the full path):
  // "" or a name without a folder does nothing. Otherwise sets SaveExt,
  // SavePath and BaseName and runs the selected effect's save. The cached
  // frames are written only when the last composing run finished every one
  // (WorkState::framesComplete); otherwise they are composed again first.
  // A file that cannot be written ends the run with host.reportSaveError.
  // Ignored while a preview or another save runs.
  void saveCommand(const std::string& name);
  // The same with answers the window does not give: brenlo-render's budget
  // in bytes, and the encoder tests count.
  struct SaveExtras {
    std::size_t budgetBytes = 0;        // the animated GIF's budget, 0 = the dialog's
    bool presetBudgetWhenOver = false;  // the preset's budget only for a file over it
    save::AnimationEncoder encoder;     // empty = output::encodeAnimationFile
  };
  void saveCommand(const std::string& name, const SaveExtras& extras);

  PreviewState state() const;
  const std::string& cmdPrevTag() const;  // "prev" while a preview runs, else ""
  const std::string& playState() const;   // "", "pause" or "next"
  // True while a generator composes (preview or save) and while a save
  // runs. Handlers that run inside a yield must not change the work state
  // (surfaces, point lists, cache) then: defer such changes until both are
  // false.
  bool isRendering() const;
  bool isSaving() const;
  // The files the last save left, in file-number order (full paths): each
  // frame's converted file, or its BMP file where that stayed; the one
  // animated GIF or WebP when frames were joined. Empty before the first
  // save. A ".webp" name makes one animated WebP (asked for its interval
  // and play choices through Host::askAnimation) the way ".gif" makes
  // an animated GIF.
  const std::vector<std::string>& savedFiles() const;
  // What the last save wrote and reported (empty before the first save).
  const save::SaveReport& lastSave() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// Seconds from start to end by the time-of-day fields; a run that passes
// midnight counts the day it crossed.
double SecondsBetween(const SystemTime& start, const SystemTime& end);

}  // namespace effects
