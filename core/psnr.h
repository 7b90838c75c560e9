// The one quality measure of the program: PSNR over the three channels of
// 0x00BBGGRR pixels, as the GIF encoder, the fit, the WebP choice, the
// dialog and the benchmarks use it.
#pragma once

#include <cstddef>

#include "core/picture.h"

namespace core {

// A frame that decodes exactly counts as this many dB in a mean.
inline constexpr double kExactFrameDb = 100.0;

// PSNR in dB of a summed squared RGB error over `samples` channel values
// (3 per pixel); kExactFrameDb when the error is 0, never more.
double psnrOfError(double squaredError, std::size_t samples);

// Two same-size bitmaps compared as above.
double framePsnr(const Bitmap& given, const Bitmap& shown);

}  // namespace core
