#include "output/fitted_file.h"

#include "frame_files/file_io.h"

namespace output {

FittedFile writeFittedAnimation(const std::string& gifName, const std::vector<const core::Bitmap*>& frames,
                                const AnimationTiming& timing, std::size_t budgetBytes, const CancelFlag* cancel) {
  FittedFile out;
  try {
    out.fit = fitGifAnimation(frames, timing, budgetBytes, cancel);
  } catch (const std::bad_alloc&) {
    out.fit.reset();
  }
  if (!out.fit) {
    out.status = WriteStatus::failure(gifName, "the frames could not be encoded");
    return out;
  }
  out.status = replaceFile(gifName, out.fit->bytes);
  if (!out.status) out.fit.reset();
  return out;
}

}  // namespace output
