// Encoding an animation at a chosen quality, and fitting it into a byte
// budget at the best quality that fits. Both are pure functions of their
// input (the same frames and settings give the same bytes on any thread),
// keep no state between calls and may run on a worker thread; `cancel`,
// when given, is read often and stops the work within a fraction of a
// frame; `progress`, when given, hears of each step and frame (it is not
// finished by them: the caller says when its whole work is done).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/picture.h"
#include "core/cancel.h"
#include "gif/gif_encoder.h"

namespace output {

// The lowest mean PSNR (dB, frames as shown) a fitted file may fall to.
inline constexpr double kLowestFitDb = 25.0;

struct EncodedGif {
  std::vector<std::uint8_t> bytes;  // the whole file
  double psnr = 0.0;                // mean over the frames given, each as shown against itself (core/psnr.h)
  // 0..100; 100 is what encodeGifAnimation(frames, timing) writes. A fit
  // may also give kLowestQuality..-1 (quality_encoder.h): the last resort
  // below 0 (no dither, then 3 and 2 colours), which encodeGifAnimation
  // never writes.
  int quality = 100;
};

// The animation at `quality` (0..100, clamped). At 100 the bytes are those
// of encodeGifAnimation(frames, timing). nullopt when cancelled or when the
// input is refused (as encodeGifAnimation refuses it) or an encoder step
// fails.
std::optional<EncodedGif> encodeGifAtQuality(const std::vector<const core::Bitmap*>& frames,
                                             const AnimationTiming& timing, int quality, const CancelFlag* cancel,
                                             WorkProgress* progress = nullptr);

struct FittedGif : EncodedGif {
  // True when bytes.size() <= the budget. False when even the lowest
  // quality allowed (kLowestFitDb) does not fit: the file is then the one
  // at that quality, the smallest there is above the floor.
  bool fits = false;
  // True when the file is finer than quality 100 (quality still reads
  // 100): one palette per frame at the quantizer's best for some or all
  // images, some of them possibly with fewer colours or lossy matching;
  // only for frames with more than 256 colours in all, when it fits and
  // shows them better.
  bool finer = false;
  // The finer file's lossy tolerance (extra squared RGB error a pixel may
  // take for a longer match): 0 when it is coded without loss.
  int finerTolerance = 0;
};

// The highest quality whose file is at most budgetBytes and at least
// kLowestFitDb; when quality 0 is over the budget but above the floor, the
// search goes on below 0 before giving up. A file that fits
// at 100 is returned as it is, with nothing lossy added, unless the frames
// hold more than 256 colours and a finer file (see FittedGif::finer) fits
// as well and has the higher PSNR with no frame much below the worst frame
// of quality 100 or of the finer file at one tolerance, whichever has the
// higher PSNR. nullopt as above.
// With plainWhenWithin, a file at 100 within the budget is returned as it
// is, with no finer file tried.
std::optional<FittedGif> fitGifAnimation(const std::vector<const core::Bitmap*>& frames, const AnimationTiming& timing,
                                         std::size_t budgetBytes, const CancelFlag* cancel,
                                         bool plainWhenWithin = false, WorkProgress* progress = nullptr);

}  // namespace output
