// What a frame may leave showing from the frames before it. A pixel that
// is not written (outside the frame's rectangle, or transparent) shows what
// the viewer drew there earlier, as decoded, which after lossy palettes is
// not the composed colour of the frame before. Such a pixel may stay only
// where the decoded colour is as close to the frame's own pixel as the
// frame's own colours would bring it.
#pragma once

#include <cstdint>
#include <functional>
#include <unordered_map>
#include <utility>

#include "core/picture.h"
#include "gif/frame_mapping.h"

namespace output {

// The nearest and the next nearest palette entry of a colour (squared RGB
// distances, and the nearest's index), cached per colour. With one entry
// the next is as far as the nearest.
class PaletteDistances {
 public:
  struct Near {
    int nearest = 0;
    int next = 0;
    std::uint8_t index = 0;
  };
  explicit PaletteDistances(const GifPalette& palette) : palette_(palette) {}
  PaletteDistances(const PaletteDistances&) = delete;
  PaletteDistances& operator=(const PaletteDistances&) = delete;
  const Near& operator()(core::Color c);

 private:
  const GifPalette& palette_;
  std::unordered_map<core::Color, Near> cache_;
  // Neighbouring pixels mostly share a colour: the last answer goes first.
  core::Color lastColour_ = 0;
  const Near* last_ = nullptr;
};

// Grows the frame's rectangle to take in every pixel outside it whose shown
// colour is farther from the frame's own (squared RGB) than allowed(x, y,
// colour); each pixel taken in gets indexOf(x, y, colour). The pixels
// already inside keep their indices. Returns whether it grew.
bool coverStalePixels(MappedFrame& frame, const core::Bitmap& given, const core::Bitmap& shown,
                      const std::function<int(int, int, core::Color)>& allowed,
                      const std::function<std::uint8_t(int, int, core::Color)>& indexOf);

}  // namespace output
