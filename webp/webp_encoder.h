// Animated WebP: libwebp's animation encoder, lossless or lossy, whichever
// file is smaller while its frames, as a player shows them, come at least as
// close to the composed frames as our animated GIF of the same frames does.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/picture.h"
#include "play/animation_timing.h"
#include "core/psnr.h"

namespace output {

// What encodeWebpAnimation chose, for tests and the benchmark.
struct WebpChoice {
  bool lossless = true;
  int quality = 100;     // the lossy quality (0..100) when !lossless
  double psnr = 0.0;     // mean PSNR of the file's frames as shown, dB
  double gifPsnr = 0.0;  // the same for our animated GIF: the bar a lossy file must reach, with
                         // its lowest frame as a second bar for the lowest WebP frame
  int encodes = 0;       // animation encodes tried
};

// PSNR in this file is the one of core/psnr.h: per frame over the three
// channels, an exact frame counted as kExactFrameDb; the mean over the
// frames in sequence.

// An animated WebP of the frames (all of one size, at least one) played as
// `timing` says: frame i shown for timing.delays[i] hundredths of a second
// (stored as ten times as many milliseconds), the sequence played
// timing.plays times, forever for 0. (WebP stores at most 65535 plays;
// 65536 plays, which a GIF can store, become 65535.) Identical consecutive frames may become one frame shown for
// their summed time. Lossless unless a lossy file at the lowest quality that
// still reaches our GIF's PSNR (mean and lowest frame) is smaller; the same frames always give the
// same file. nullopt on an empty or mixed-size list, a delay list of another
// length, a value out of range, or an encoder failure.
std::optional<std::vector<std::uint8_t>> encodeWebpAnimation(const std::vector<const core::Bitmap*>& frames,
                                                             const AnimationTiming& timing,
                                                             WebpChoice* choice = nullptr);

// A WebP or GIF file's frames as a player shows them, one per `unit` of time
// (WebP: milliseconds; GIF: hundredths of a second): each decoded frame
// repeated by its duration in units. A WebP that is a still picture (the
// encoder makes one of a single frame, or of frames that are all the same)
// counts as stillFrames frames. nullopt when the bytes do not decode.
std::optional<std::vector<core::Bitmap>> webpFramesAsShown(const std::vector<std::uint8_t>& webp, int unitMs,
                                                           std::size_t stillFrames = 1);
std::optional<std::vector<core::Bitmap>> gifFramesAsShown(const std::vector<std::uint8_t>& gif, int unitHundredths);

// The mean PSNR of shown[i] against frames[i]; nullopt when the counts or
// sizes differ.
std::optional<double> meanPsnr(const std::vector<const core::Bitmap*>& frames, const std::vector<core::Bitmap>& shown);

}  // namespace output
