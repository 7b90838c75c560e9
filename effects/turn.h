// Turn's point rotation and angles, shared by its generator and its tests.
#pragma once

#include <vector>

#include "core/point_list.h"

namespace effects {

// The turn of rotated frame k (1..5) in radians, single precision from the
// single-precision pi: pi / 6, pi / 3, pi / 2, pi / 6 * 4, pi / 6 * 5.
float turnAngle(int k);

// RotatePoints: for i in 0..count-1, mMovedPoints[i] gets mPoints[i] turned
// by `angle` radians about (cx, cy), counter-clockwise as seen with y
// growing downwards:
//   x' = cx + dx cos(angle) + dy sin(angle),  y' = cy - dx sin(angle) + dy cos(angle)
// with dx, dy single precision, trigonometry and sums in double, each result
// stored as a float. Colours are not touched. count <= 0 does nothing; both
// lists must hold at least count entries.
void RotatePoints(const std::vector<core::PixelPoint>& mPoints, std::vector<core::PixelPoint>& mMovedPoints, int count,
                  float cx, float cy, float angle);

}  // namespace effects
