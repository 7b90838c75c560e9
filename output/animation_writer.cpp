#include "output/animation_writer.h"

#include <algorithm>

#include "output/gif_encoder.h"

namespace output {

void coverIndices(GifPalette& palette, const MappedFrame& f) {
  int highest = f.transparent;
  for (std::uint8_t v : f.indices) highest = std::max(highest, static_cast<int>(v));
  if (highest >= static_cast<int>(palette.size())) palette.resize(static_cast<std::size_t>(highest) + 1, core::kBlack);
}

std::optional<std::vector<std::uint8_t>> writeAnimation(int width, int height, const MappedAnimation& coded,
                                                        const std::vector<int>& delays, int loopCount, bool shortest) {
  std::vector<std::uint8_t> out;
  GifStream gif(out, shortest);
  if (!gif.putScreen(width, height, &coded.global, true)) return std::nullopt;
  if (loopCount != AnimationTiming::kNoLoopBlock && !gif.putLoopCount(loopCount)) return std::nullopt;
  for (std::size_t k = 0; k < coded.frames.size(); ++k) {
    const MappedFrame& f = coded.frames[k];
    if (!gif.putFrameControl(delays[k], f.transparent, GifDisposal::Keep) ||
        !gif.putImage(f.rect, f.local ? &*f.local : nullptr, f.indices)) {
      return std::nullopt;
    }
  }
  if (!gif.close()) return std::nullopt;
  return out;
}

}  // namespace output
