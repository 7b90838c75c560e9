// The last step of an animated GIF: coded images into the file's bytes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/cancel.h"
#include "gif/frame_mapping.h"

namespace output {

class LzwMemo;

// The NETSCAPE2.0 loop field of a play count: N plays store N - 1, and one
// play has no loop block at all (kNoLoopBlock), since a stored 0 would mean
// forever to every browser; 0 (forever) stores 0.
inline constexpr int kNoLoopBlock = -1;
constexpr int gifLoopField(int plays) { return plays == 0 ? 0 : plays == 1 ? kNoLoopBlock : plays - 1; }

// Lengthens the palette the image is shown with to cover every index it
// uses, its transparent one included (padding black).
void coverIndices(GifPalette& palette, const MappedFrame& image);

// Writes the images of `coded` (already covered) with their delays and the
// loop count (AnimationTiming's). shortest and memo: see GifStream. nullopt
// when a block cannot be written.
std::optional<std::vector<std::uint8_t>> writeAnimation(int width, int height, const MappedAnimation& coded,
                                                        const std::vector<int>& delays, int loopCount, bool shortest,
                                                        LzwMemo* memo = nullptr);

// The length of the file writeAnimation writes greedily (shortest false),
// with image k's LZW data taking dataBytes[k] (LzwPlanner::codedBytes at
// the code size the image's indices need), without coding any image.
// nullopt where writeAnimation fails.
std::optional<std::size_t> measureAnimation(int width, int height, const MappedAnimation& coded,
                                            const std::vector<int>& delays, int loopCount,
                                            const std::vector<std::size_t>& dataBytes);

struct ShownFrames;

struct CodedAnimation {
  std::vector<std::uint8_t> bytes;  // empty where the file was only measured
  std::size_t size = 0;             // the file's length
  double psnr = 0.0;                // mean over the given frames as shown (shown_quality.h)
  // Per image, from codeAnimation: its PSNR as shown, and about the bytes
  // it takes (its LZW data by the greedy model and its own palette).
  std::vector<double> framePsnr;
  std::vector<std::size_t> frameBytes;
};

// Codes the mapped frames (FrameCoder) and writes them. With a palette
// shared by all frames both palette orders are tried and the shorter file
// kept. Throws Cancelled when the flag is seen set; nullopt on failure.
// progress, when given, hears of each frame as a part of its current step;
// memo, when given, keeps the images coded for the next call.
std::optional<CodedAnimation> codeAnimation(const ShownFrames& shown, const MappedAnimation& mapped, int loopCount,
                                            bool shortest, const CancelFlag* cancel, WorkProgress* progress = nullptr,
                                            LzwMemo* memo = nullptr);

}  // namespace output
