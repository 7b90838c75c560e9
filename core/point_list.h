// Point lists: the source picture as one coloured point per pixel.
#pragma once

#include <cstdint>
#include <vector>

#include "core/surface.h"

namespace core {

struct PixelPoint {
  float x = 0.0f;          // column
  float y = 0.0f;          // row
  std::int32_t color = 0;  // colour value 0x00BBGGRR
};

// Fills mPoints from picSource in row order (entry y * w + x holds x, y and
// that pixel's colour; entry 0 is the corner pixel) and re-dimensions
// mMovedPoints to the same w * h entries, every field zero.
void BuildPointList(const Surface& picSource, std::vector<PixelPoint>& mPoints, std::vector<PixelPoint>& mMovedPoints);

}  // namespace core
