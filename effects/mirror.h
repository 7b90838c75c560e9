// Mirrored copies of a whole frame, as Turn and Rotate make their second
// half from their first.
#pragma once

#include "core/picture.h"
#include "core/surface.h"

namespace effects {

// Draws `pic` onto `dst` mirrored left to right (flipX: column x lands on
// w - 1 - x) and/or top to bottom (flipY: row y lands on h - 1 - y), w x h
// being the picture's size. The pixels are those of
// PaintPicture(dst, pic, flipX ? w - 1 : 0, flipY ? h - 1 : 0,
//              flipX ? -w : w, flipY ? -h : h) in copy mode; a picture of
// the surface's own size is copied in one pass. The empty picture draws
// nothing.
void paintMirrored(core::Surface& dst, const core::Picture& pic, bool flipX, bool flipY);

// Nearest integer with halves to the even neighbour, for |v| < 2^22: adding
// and taking away 1.5 * 2^23 leaves exactly the rounded value in float
// arithmetic. The same result as std::lrint without a library call in the
// per-point loops.
inline int roundCoordinate(float v) {
  constexpr float kShift = 12582912.0f;
  return static_cast<int>((v + kShift) - kShift);
}

}  // namespace effects
