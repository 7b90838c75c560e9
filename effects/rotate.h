// Rotate's projection, angles and file order, shared by its generator and
// its tests.
#pragma once

#include <vector>

#include "core/point_list.h"

namespace effects {

// The turn of plotted frame k (1, 2, 4 or 5) in radians, single precision
// from the single-precision pi: pi / 6, pi / 3, 4 * (pi / 6), 5 * (pi / 6).
float rotateAngle(int k);

// ProjectPoints: the card seen turned by theta about its horizontal centre
// line (axis 0) or its vertical one (axis 1), with perspective. With
// a = w / 2, b = h / 2, dx = x - a, dy = y - b (all in double from the float
// inputs), for i in 0..count-1:
//   axis 1: x' = a + dx sin(theta) 0.9,  y' = b + dy (0.9 + 0.1 cos(theta) dx / a)
//   axis 0: x' = a + dx (0.9 + 0.1 cos(theta) dy / b),  y' = b + dy sin(theta) 0.9
// stored as floats in mMovedPoints[i].x and .y (nothing else is written).
// count <= 0 does nothing; both lists must hold at least count entries.
void ProjectPoints(const std::vector<core::PixelPoint>& mPoints, std::vector<core::PixelPoint>& mMovedPoints, int count,
                   int w, int h, float theta, int axis);

// The cache entry a save writes as file number i (0..11): the face-on
// frame 3 first, then 4..11, 0, 1, 2. Playback labels entry k with the
// inverse, (k + 9) mod 12.
int rotateFileEntry(int fileNumber);

}  // namespace effects
