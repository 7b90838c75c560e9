// An animated GIF file fitted into a byte budget, written like every other
// file: complete, or not there at all (an earlier file stays as it was).
#pragma once

#include <optional>
#include <string>

#include "gif/gif_fit.h"
#include "frame_files/write_status.h"

namespace output {

struct FittedFile {
  WriteStatus status;            // why the file could not be written
  std::optional<FittedGif> fit;  // what was written (also when it does not fit)
};

// Fits the frames into budgetBytes (fitGifAnimation) and writes the result
// to gifName, also when even the lowest quality does not fit (fit->fits then
// says so). A refused input or a cancelled fit writes nothing.
FittedFile writeFittedAnimation(const std::string& gifName, const std::vector<const core::Bitmap*>& frames,
                                const AnimationTiming& timing, std::size_t budgetBytes,
                                const CancelFlag* cancel = nullptr);

}  // namespace output
