// How close an animation comes to its frames as a viewer shows it: each
// image drawn over what the ones before left, compared with the frame it
// stands for. One measure for the encoder, the fitting, the benchmark and
// the command line.
#pragma once

#include <cstddef>
#include <vector>

#include "core/picture.h"
#include "core/psnr.h"
#include "gif/frame_mapping.h"

namespace output {

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
  double meanPsnr() const { return frames_ ? sum_ / frames_ : core::kExactFrameDb; }

 private:
  core::Bitmap canvas_;
  double sum_ = 0.0;
  double last_ = 0.0;
  int frames_ = 0;
};

}  // namespace output
