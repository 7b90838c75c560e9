// The question a save asks before its first file: one animated file or
// numbered frames, and how the animation plays. The window answers it with
// its dialogs, the frame list through the window, brenlo-render from its
// options; the answer is a value the save carries, nothing is left behind
// in program-wide variables.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/picture.h"
#include "gif/animation_file.h"
#include "play/animation_plan.h"

namespace save {

// The frames by file number (frames[i] is file i of the save), shared and
// never changed once made, so that a worker may measure them meanwhile.
using FramesByFile = std::shared_ptr<const std::vector<core::Bitmap>>;

enum class AnimationFormat { Gif, Webp };

// What is asked: the animation the frames would make, and the frames
// themselves so that a dialog can measure the file of each choice.
struct AnimationAsk {
  AnimationFormat format = AnimationFormat::Gif;
  output::AnimationShape shape;
  FramesByFile frames;  // null: nothing to measure
};

// How the one animated file plays and how large it may be.
struct AnimationChoice {
  int intervalCs = 10;  // hundredths of a second per frame
  // play.budgetBytes is the file's budget, 0 = none: the file is fitted
  // into it.
  output::PlaySettings play;
  // Without a budget: the preset's budget for the animation's size counts
  // only when the file without it is larger (brenlo-render's --preset).
  bool presetBudgetWhenOver = false;
  // The file the GIF dialog measured for exactly these choices: when it was
  // fitted into that budget, those bytes are written as they are.
  std::optional<output::AnimationFile> measured;
};

struct AnimationAnswer {
  // One animated file; false: one GIF file per frame (a WebP answer is
  // always animated).
  bool animated = false;
  AnimationChoice animation;
};

// Answers an ask; nullopt when it was closed without an answer where that
// means "write nothing" (the WebP question). The GIF question always
// answers: closing it gives the choice of its last OK.
using AnimationQuestion = std::function<std::optional<AnimationAnswer>(const AnimationAsk& ask)>;

// The format a save to this extension asks about: ".gif" and ".webp";
// nullopt for extensions that only write numbered frames.
std::optional<AnimationFormat> askedFormat(const std::string& ext);

// Asks `question` once, for a save to `ext` of frames of this shape. An
// extension that asks nothing gives the answer of numbered frames. nullopt:
// nothing is to be written. A WebP answer is one animation with no preset
// and no budget, whatever the question said, since the ad networks and
// their budgets are the GIF's.
std::optional<AnimationAnswer> askSave(const AnimationQuestion& question, const std::string& ext,
                                       const output::AnimationShape& shape, FramesByFile frames);

}  // namespace save
