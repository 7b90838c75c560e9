// The bytes of an animated GIF file as a save writes it, from the composed
// frames and the user's choices: the play plan orders and times the frames,
// and a byte budget fits the file into it. One step for the GIF dialog's
// size readout (on a worker thread), the window's save, the frame list's
// save and brenlo-render, so that what the dialog shows is byte for byte
// what OK writes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/picture.h"
#include "play/animation_plan.h"
#include "core/cancel.h"

namespace output {

struct AnimationRequest {
  // The frames by file number (frames[i] is file i of the save). Shared and
  // never changed once handed over, so a worker may read them while the
  // window goes on.
  std::shared_ptr<const std::vector<core::Bitmap>> frames;
  AnimationShape shape;  // shape.last + 1 == frames->size()
  int intervalCs = 10;
  PlaySettings play;  // play.budgetBytes is the budget (0 = none)
  // With a budget: the plain file when it is within it, with nothing spent
  // on the room it leaves (a preset's budget that only a larger file must
  // meet); the fit only when it is over.
  bool plainWhenWithin = false;

  bool operator==(const AnimationRequest& o) const;
  bool operator!=(const AnimationRequest& o) const { return !(*this == o); }
};

struct AnimationFile {
  std::vector<std::uint8_t> bytes;  // the whole file
  double psnr = 0.0;                // mean over the frames as shown (core/psnr.h)
  int quality = 100;                // 100 = the file a save without a budget writes
  std::size_t budget = 0;           // the budget it was fitted into, 0 = none (also a plain file within it)
  // False only when a budget was given and even the lowest quality allowed
  // does not fit: bytes are then the closest file above that floor.
  bool fits = true;
};

// The file for the request. Without a budget the bytes are exactly those a
// save without a budget writes; with one the file is fitted into it, and
// where the plain file leaves room, the room may be spent on frames it
// cannot show exactly (unless request.plainWhenWithin).
// nullopt when cancelled or when the frames are refused (missing, of
// different sizes, fewer than shape.last + 1). progress, when given, rises
// as the work goes on and is whole when the file is there.
std::optional<AnimationFile> encodeAnimationFile(const AnimationRequest& request, const CancelFlag* cancel = nullptr,
                                                 WorkProgress* progress = nullptr);

// The question before a save writes a file that does not fit its budget
// (file.fits false), in Japanese unless translated, three lines, e.g.
// "アニメーションGIFを上限 50,000 バイトに収められません。" /
// "最も小さくしても 53,599 バイト（PSNR 25.1 dB）です。" / "このまま保存しますか？".
std::string overBudgetQuestion(const AnimationFile& file, const TextTranslator& translate = {});

}  // namespace output
