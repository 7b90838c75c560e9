// The drawing operations that the effects use, on surfaces and pictures.
#pragma once

#include <cstdint>

#include "core/color.h"
#include "core/picture.h"
#include "core/surface.h"

namespace core {

// Raster operations, under the platform's names and values. Each acts
// bitwise on all 32 bits of a colour value.
enum RasterOp : std::uint32_t {
  SRCCOPY = 0x00CC0020,   // destination = source
  SRCPAINT = 0x00EE0086,  // destination = destination OR source
  SRCAND = 0x008800C6,    // destination = destination AND source
};

// For every (i, j) with 0 <= i < w, 0 <= j < h, destination (dx + i, dy + j)
// is combined with source (sx + i, sy + j). Where the source position lies
// outside the source, or the destination position outside the destination,
// nothing changes. dst and src may be the same surface.
void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, RasterOp rop);

// Copies the source rectangle scaled onto the destination rectangle.
// Geometry: along each axis, index k of an extent e starting at o lies at
// o + k when e > 0 and at o - k when e < 0, so a negative extent runs left
// (up) from its origin and mirrors when the signs of the two extents differ.
// Sampling: when enlarging (or at scale 1) destination k takes the nearest
// source pixel floor((k + 0.5) * |se| / |de|); when shrinking it takes the
// bitwise AND of the source pixels floor(k * |se| / |de|) up to but not
// including floor((k + 1) * |se| / |de|), as the platform's default
// stretching mode does. A scale-1 copy is exact. Source pixels outside the
// source are left out of the AND; a destination pixel with none left, or a
// zero extent, is not changed.
void StretchBlt(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh,
                RasterOp rop = SRCCOPY);
void StretchBlt(Surface& dst, int dx, int dy, int dw, int dh, const Picture& src, int sx, int sy, int sw, int sh,
                RasterOp rop = SRCCOPY);

// Draws the whole picture scaled into the rectangle starting at (x1, y1) with
// the given width and height (each rounded to the nearest integer, halves to
// even). A negative width or height mirrors the picture, the rectangle then
// running left or up from (x1, y1): with x1 = w - 1 and width -w, picture
// column x lands on column w - 1 - x.
void PaintPicture(Surface& dst, const Picture& pic, double x1, double y1, double width1, double height1,
                  RasterOp rop = SRCCOPY);

// A one-pixel line from (x1, y1) towards (x2, y2). Like the platform's line
// drawing, the end point itself is not drawn; pixels outside the surface are
// skipped.
void Line(Surface& dst, int x1, int y1, int x2, int y2, Color c);

}  // namespace core
