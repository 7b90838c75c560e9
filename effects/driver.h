// The generation driver: the preview command with its state machine (render,
// then play the cache from the window's timer, with pause, single step,
// resume and stop), and the save command. No nested event loops: the window
// calls these methods from its event handlers and its tmr1 timeout.
#pragma once

#include <memory>
#include <string>

#include "effects/host.h"
#include "effects/work_state.h"

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
  // then continues from timerFired().
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
  // SavePath and BaseName and runs the selected effect's save.
  void saveCommand(const std::string& name);

  PreviewState state() const;
  const std::string& cmdPrevTag() const;  // "prev" while a preview runs, else ""
  const std::string& playState() const;   // "", "pause" or "next"
  bool isRendering() const;
  bool isSaving() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

// The folder part of a path without its last separator; "" when the last
// separator is not at the third character or later.
std::string FolderOf(const std::string& path);
// The file name after `folder` and its separator, cut before its first ".".
std::string BaseNameOf(const std::string& path, const std::string& folder);
// Seconds from start to end by the time-of-day fields; a run that passes
// midnight counts the day it crossed.
double SecondsBetween(const SystemTime& start, const SystemTime& end);

}  // namespace effects
