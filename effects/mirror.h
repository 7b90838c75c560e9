// Mirrored copies of a whole frame, as Turn and Rotate make their second
// half from their first.
#pragma once

#include <cstdint>
#include <vector>

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

// Which pixels a card drawing covered: one byte per pixel, rows top to
// bottom, non-zero where the card was drawn.
using Coverage = std::vector<std::uint8_t>;

// The card over a picture instead of a flat colour: dst pixel (x, y) is the
// card's pixel where the card covers it and over's pixel elsewhere, the card
// and its coverage seen mirrored as paintMirrored mirrors them. card,
// covered, over and dst all have dst's size.
void layCardOver(core::Surface& dst, const core::Picture& card, const Coverage& covered, const core::Color* over,
                 bool flipX, bool flipY);

// Nearest integer with halves to the even neighbour, for |v| < 2^22: adding
// and taking away 1.5 * 2^23 leaves exactly the rounded value in float
// arithmetic. The same result as std::lrint without a library call in the
// per-point loops.
inline int roundCoordinate(float v) {
  constexpr float kShift = 12582912.0f;
  return static_cast<int>((v + kShift) - kShift);
}

}  // namespace effects
