// GIF encoding: one frame, or a looping animation, written with giflib's
// streaming calls into memory.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/picture.h"

namespace output {

// One GIF image of the bitmap. At most 256 colours: an exact palette, so the
// file decodes to exactly these pixels. More: a libimagequant palette of 256
// colours, remapped with dithering. nullopt when the bitmap is empty or an
// encoder step fails.
std::optional<std::vector<std::uint8_t>> encodeGif(const core::Bitmap& bitmap);

// A GIF89a animation of the frames (all of one size, at least one) that loops
// forever, each frame shown for delay hundredths of a second (0..65535).
// When all frames together hold at most 256 colours, every frame decodes to
// exactly its pixels. nullopt on an empty or mixed-size list or on failure.
std::optional<std::vector<std::uint8_t>> encodeGifAnimation(const std::vector<const core::Bitmap*>& frames,
                                                            int delay);

// The same with the palette settings given (see frame_mapping.h).
struct MappingSettings;
std::optional<std::vector<std::uint8_t>> encodeGifAnimation(const std::vector<const core::Bitmap*>& frames,
                                                            int delay, const MappingSettings& settings);

}  // namespace output
