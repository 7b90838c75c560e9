#include "output/gif_encoder.h"

namespace output {

std::optional<std::vector<std::uint8_t>> encodeGif(const core::Bitmap&) { return std::nullopt; }

std::optional<std::vector<std::uint8_t>> encodeGifAnimation(const std::vector<const core::Bitmap*>&, int) {
  return std::nullopt;
}

}  // namespace output
