// How close an animation comes to its frames as a viewer shows it: each
// image drawn over what the ones before left, compared with the frame it
// stands for. One measure for the encoder, the fitting, the benchmark and
// the command line.
#pragma once

#include <cstddef>
#include <vector>

#include "core/picture.h"
#include "output/frame_mapping.h"

namespace output {

// A frame that decodes exactly counts as this many dB in a mean.
inline constexpr double kExactFrameDb = 100.0;

// PSNR in dB of a summed squared RGB error over `samples` channel values
// (3 per pixel); kExactFrameDb when the error is 0, never more.
double psnrOfError(double squaredError, std::size_t samples);

// Two same-size bitmaps compared as above.
double framePsnr(const core::Bitmap& given, const core::Bitmap& shown);

class ShownQuality {
 public:
  ShownQuality(int width, int height) : canvas_(width, height) {}

  // Draws the coded image (transparent pixels leave what is there) and
  // scores the canvas against `given`, counted `repeats` times.
  void show(const MappedFrame& image, const GifPalette& palette, const core::Bitmap& given, int repeats);

  const core::Bitmap& canvas() const { return canvas_; }
  // The PSNR of the frame shown last.
  double lastPsnr() const { return last_; }
  // The mean PSNR over every frame counted so far.
  double meanPsnr() const { return frames_ ? sum_ / frames_ : kExactFrameDb; }

 private:
  core::Bitmap canvas_;
  double sum_ = 0.0;
  double last_ = 0.0;
  int frames_ = 0;
};

}  // namespace output
