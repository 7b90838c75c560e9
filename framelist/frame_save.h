// Saving the frame list: the chosen name becomes a folder, a base name and an
// extension, the GIF or WebP question is asked, and the list goes to the save
// step (save/save_step.h) as a request. No Qt, no dialogs: the window asks
// its questions through the callables passed in.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/picture.h"
#include "gif/animation_file.h"
#include "frame_files/writer.h"
#include "save/animation_question.h"

namespace framelist {

// The list's frames by file number (frames[i] is file i of the save), shared
// and never changed once made, so that the GIF dialog may measure them on a
// worker thread.
using FramesByFile = save::FramesByFile;

// Asked before writing an animated GIF that does not fit its byte budget
// even at the lowest quality (file.fits false): true writes it anyway.
using OverBudgetQuestion = std::function<bool(const output::AnimationFile& file)>;

// The save settings the frame list shares with the main window's saves. The
// frame list's save sets SaveExt and only reads SavePath (its dialog's start
// folder); both are owned by the caller and must outlive the user.
struct SaveSettings {
  std::string& SaveExt;
  const std::string& SavePath;
};

// What one save writes, decided before the first file.
struct SavePlan {
  std::string base;              // folder + "/" + base name: every output name starts with it
  std::string saveExt;           // GetFileExt of the chosen name, "" when it has none
  bool animated = false;         // one animated file: a GIF (".gif") or a WebP (".webp")
  std::int16_t interval = 10;    // hundredths of a second, for the animation
  output::PlaySettings play;     // play count, hold and preset of the animation
  output::AnimationShape shape;  // the list's frames as the animation's files
  // For an animated GIF: the frames the question was asked about and the
  // dialog's measured file (nullopt: none).
  FramesByFile frames;
  std::optional<output::AnimationFile> measured;
};

// Copies of the list's frames, file number = list position.
FramesByFile framesByFile(const std::vector<core::Picture>& frames);

// The frame list as an animation's files: frames 0..n-1 in list order, the
// first one as the rest frame, the size of the first frame.
output::AnimationShape frameListShape(const std::vector<core::Picture>& frames);

// Everything before the writing: returns nullopt, changing nothing, when name
// is "" (the dialog was cancelled) or has no folder, or when the WebP
// question was closed. Otherwise sets saveExt to GetFileExt(name) and, for
// ".gif" and ".webp", asks `ask` once about the animation the frames make
// (save::askSave); an animated GIF plan keeps the frames the dialog was
// asked with and its measured file. The base name is the file part of name
// cut before its first ".", so "a.b.gif" gives "a".
std::optional<SavePlan> planFrameSave(const std::string& name, std::string& saveExt,
                                      const save::AnimationQuestion& ask, const std::vector<core::Picture>& frames);

// Writes frames 0..n-1 as base + NNN (+ conversion as saveExt asks), then for
// an animated plan joins them into base + ".gif" (base + ".webp" for a WebP
// plan) and removes the BMP files. A one-frame list chosen as an animation
// still becomes that one file, since that is what the user asked for. An empty list writes
// nothing. Stops at the first file that cannot be written and says which and
// why; a failed conversion keeps its BMP file and is not an error. A play
// count or a hold in the plan starts (and, with a count, ends) the animation
// on the first frame of the list.
output::WriteStatus writeFrameFiles(const std::vector<core::Picture>& frames, const SavePlan& plan);

// The save of a plan: as writeFrameFiles, except for an animated GIF with a
// byte budget (plan.play.budgetBytes), which is one encoding of all frames and
// is written in one piece as base + ".gif" (complete or absent), with no
// frame files: plan.measured when it was measured for that budget, else the
// save step's encoding of the same request. When that file does not fit
// even at the lowest quality, askOverBudget decides (none given: it is
// written); nullopt when it said no, and then nothing at all was written.
std::optional<output::WriteStatus> saveFrameList(const std::vector<core::Picture>& frames, const SavePlan& plan,
                                                 const OverBudgetQuestion& askOverBudget);

// After an animated save: the written file's size against the plan's preset
// budget; nullopt when nothing was animated, the file is not there, or the
// preset has no budget.
std::optional<output::BudgetReport> savedBudget(const SavePlan& plan);

// The message shown when a save stopped at a file it could not write: the
// headline, the file and the system's reason, one per line.
extern const char* const kSaveFailedHeadline;
std::string saveFailureMessage(const output::WriteStatus& status, const std::string& headline = kSaveFailedHeadline);

}  // namespace framelist
