// GIF encoding: one frame, or an animation played as its timing says,
// written into memory by our own block writer and LZW coder (gif_stream.h,
// lzw_encoder.h).
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/picture.h"
#include "play/animation_timing.h"

namespace output {

// One GIF image of the bitmap. At most 256 colours: an exact palette, so the
// file decodes to exactly these pixels. More: a libimagequant palette of 256
// colours, remapped with dithering. nullopt when the bitmap is empty or an
// encoder step fails.
std::optional<std::vector<std::uint8_t>> encodeGif(const core::Bitmap& bitmap);

// A GIF89a animation of the frames (all of one size, at least one) played as
// `timing` says. When all frames together hold at most 256 colours, every
// frame decodes to exactly its pixels. A frame equal to the one before is
// not stored again: the image before shows for both delays (when neither
// is below 2 and the sum fits 65535), so every moment looks the same.
// nullopt on an empty or mixed-size list, a delay list of another length, a
// value out of range, or failure.
std::optional<std::vector<std::uint8_t>> encodeGifAnimation(const std::vector<const core::Bitmap*>& frames,
                                                            const AnimationTiming& timing);

// The images an animation stores: equal neighbours joined, with the delays
// each one shows for.
struct ShownFrames {
  std::vector<const core::Bitmap*> frames;
  std::vector<int> delays;
  std::vector<int> repeats;  // how many of the given frames each one stands for
};
ShownFrames mergeRepeats(const std::vector<const core::Bitmap*>& frames, const std::vector<int>& delays);

// The same with the palette settings given (see frame_mapping.h).
struct MappingSettings;
std::optional<std::vector<std::uint8_t>> encodeGifAnimation(const std::vector<const core::Bitmap*>& frames,
                                                            const AnimationTiming& timing,
                                                            const MappingSettings& settings);

// Every frame shown for delay hundredths of a second (0..65535), looping
// forever.
inline std::optional<std::vector<std::uint8_t>> encodeGifAnimation(const std::vector<const core::Bitmap*>& frames,
                                                                   int delay) {
  return encodeGifAnimation(frames, AnimationTiming::uniform(frames.size(), delay));
}

}  // namespace output
