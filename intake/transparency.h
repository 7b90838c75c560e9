// Turning a picture with an alpha channel into the opaque picture the effects
// work on. The mask option makes every pixel of the picture's corner colour
// the banner background, so the fully transparent pixels all get one key
// colour that occurs nowhere else; the partly transparent ones are laid over
// white, as a viewer or a white web page shows them. Plain C++ (no Qt).
#pragma once

#include <cstdint>

#include "core/picture.h"

namespace intake {

// The first key tried: magenta, the colour a banner is least likely to hold.
inline constexpr std::uint32_t kPreferredKey = 0xFF00FF;  // 0xRRGGBB

struct Flattened {
  core::Bitmap bitmap;  // 0x00BBGGRR, every pixel opaque
  bool keyed = false;   // some pixel was fully transparent and holds `key`
  core::Color key = 0;  // 0x00BBGGRR; only meaningful when keyed
};

// argb: width * height pixels, rows top to bottom, each 0xAARRGGBB with the
// colour not premultiplied (Qt's Format_ARGB32). Alpha 255 keeps the colour;
// alpha 0 becomes the key; any other alpha is composited over white per
// channel as (c * a + 255 * (255 - a) + 127) / 255 (rounded to nearest). The
// key is the first colour 0xRRGGBB = kPreferredKey ^ k, k = 0, 1, 2, ..., that
// no pixel of the result other than the keyed ones holds; it always exists,
// since a picture has fewer pixels than there are colours.
Flattened flattenTransparency(const std::uint32_t* argb, int width, int height);

}  // namespace intake
