// The one save step: the composed frames in memory, where they go and how an
// animation plays, to the files on disk. The window, the frame list and
// brenlo-render each ask their questions their own way, then hand the
// answers here; nothing else writes a save's files.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/picture.h"
#include "gif/animation_file.h"
#include "play/animation_plan.h"
#include "frame_files/write_status.h"
#include "save/animation_question.h"
#include "save/target.h"

namespace save {

// Asked before an animated GIF that does not fit its budget even at the
// lowest quality is written (file.fits false).
class OverBudgetQuestion {
 public:
  virtual ~OverBudgetQuestion() = default;
  // True writes the closest file; false writes nothing at all.
  virtual bool writeOverBudget(const output::AnimationFile& file) = 0;
};

// The encoder of one animated GIF file (output::encodeAnimationFile),
// replaceable so that tests can count or refuse encodes.
using AnimationEncoder = std::function<std::optional<output::AnimationFile>(const output::AnimationRequest& request)>;

struct SaveRequest {
  SaveTarget target;
  FramesByFile frames;
  // The frames as an animation's files; shape.last + 1 == frames->size().
  output::AnimationShape shape;
  // One animated file: an animated GIF when target.ext is ".gif", an
  // animated WebP for ".webp"; numbered frame files otherwise.
  bool animated = false;
  AnimationChoice animation;
};

struct SaveReport {
  // The file that could not be written and why; ok when nothing failed.
  output::WriteStatus status;
  // The over-budget question said No: nothing was written.
  bool declined = false;
  // What the save left, in file-number order (full paths): each frame's file
  // (its BMP where a conversion gave up), or the one animated file.
  std::vector<std::string> files;
  // The animated GIF as written (bytes, PSNR, whether it fits its budget).
  std::optional<output::AnimationFile> gif;
  // The written animated GIF's size against its preset's budget, when the
  // preset has one.
  std::optional<output::BudgetReport> budget;
};

// Writes the request's files; every animated file is encoded once.
// Numbered frames are base + NNN + ".bmp", converted to JPEG or GIF as the
// extension asks (a conversion the encoder gives up on keeps the BMP and is
// no error). An animation without a budget is written as every save writes
// it: frame BMPs first, then the one file, then the BMPs go; when the
// animated file cannot be written the BMPs stay. An animated GIF fitted into
// a budget is written in one piece, with no frame files; when even the
// closest file does not fit, `question` decides (null: it is written). Every
// file is complete or absent; the first file that cannot be written ends the
// save. A frame list of no frames writes nothing.
SaveReport saveFrames(const SaveRequest& request, OverBudgetQuestion* question = nullptr,
                      const AnimationEncoder& encoder = {});

}  // namespace save
