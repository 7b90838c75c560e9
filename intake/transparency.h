// Turning a picture with an alpha channel into the opaque picture the effects
// work on. The mask option composes the background as banner colour AND
// corner colour, so the fully transparent pixels all become white, the one
// colour whose AND leaves every banner colour as it is; an opaque white pixel
// moves one level of blue away so that the mask keeps it part of the picture.
// The partly transparent ones are laid over white, as a viewer or a white web
// page shows them. Plain C++ (no Qt).
#pragma once

#include <cstdint>

#include "core/picture.h"

namespace intake {

// The key of every fully transparent pixel, and what an opaque pixel of that
// colour becomes in a picture that has a key (0xRRGGBB).
inline constexpr std::uint32_t kTransparentKey = 0xFFFFFF;
inline constexpr std::uint32_t kKeptWhite = 0xFFFFFE;

struct Flattened {
  core::Bitmap bitmap;  // 0x00BBGGRR, every pixel opaque
  bool keyed = false;   // some pixel was fully transparent and holds `key`
  core::Color key = 0;  // 0x00BBGGRR; only meaningful when keyed
};

// argb: width * height pixels, rows top to bottom, each 0xAARRGGBB with the
// colour not premultiplied (Qt's Format_ARGB32). Alpha 255 keeps the colour;
// alpha 0 becomes the key, white; any other alpha is composited over white
// per channel as (c * a + 255 * (255 - a) + 127) / 255 (rounded to nearest).
// When some pixel is fully transparent, every other pixel that would be white
// (opaque, or laid over white) becomes kKeptWhite, so that only the
// transparent pixels hold the key. Without a fully transparent pixel the
// colours stay as composited and nothing is keyed.
Flattened flattenTransparency(const std::uint32_t* argb, int width, int height);

}  // namespace intake
