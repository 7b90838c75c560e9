// The last step of an animated GIF: coded images into the file's bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "output/frame_mapping.h"

namespace output {

// Lengthens the palette the image is shown with to cover every index it
// uses, its transparent one included (padding black).
void coverIndices(GifPalette& palette, const MappedFrame& image);

// Writes the images of `coded` (already covered) with their delays and the
// loop count (AnimationTiming's). shortest: see GifStream. nullopt when a
// block cannot be written.
std::optional<std::vector<std::uint8_t>> writeAnimation(int width, int height, const MappedAnimation& coded,
                                                        const std::vector<int>& delays, int loopCount, bool shortest);

}  // namespace output
