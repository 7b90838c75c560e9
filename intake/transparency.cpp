#include "intake/transparency.h"

namespace intake {

namespace {

// Over white: c * a / 255 + 255 * (255 - a) / 255, rounded once.
int overWhite(int c, int a) { return (c * a + 255 * (255 - a) + 127) / 255; }

core::Color fromRgb24(std::uint32_t c) {
  return core::rgb(static_cast<int>(c >> 16), static_cast<int>((c >> 8) & 0xFF), static_cast<int>(c & 0xFF));
}

}  // namespace

Flattened flattenTransparency(const std::uint32_t* argb, int width, int height) {
  Flattened out;
  out.bitmap = core::Bitmap(width, height, core::Bitmap::Unfilled{});
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  const core::Color white = fromRgb24(kTransparentKey);
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t p = argb[i];
    const int a = static_cast<int>(p >> 24);
    int r = static_cast<int>((p >> 16) & 0xFF);
    int g = static_cast<int>((p >> 8) & 0xFF);
    int b = static_cast<int>(p & 0xFF);
    if (a == 0) {
      out.keyed = true;
      out.bitmap.px[i] = white;
      continue;
    }
    if (a != 255) {
      r = overWhite(r, a);
      g = overWhite(g, a);
      b = overWhite(b, a);
    }
    out.bitmap.px[i] = core::rgb(r, g, b);
  }
  if (!out.keyed) return out;
  out.key = white;
  // The visible white pixels were written before it was known whether a key
  // exists; a second pass moves them off it. The transparent ones are found
  // again by their alpha, not by their colour.
  const core::Color kept = fromRgb24(kKeptWhite);
  for (std::size_t i = 0; i < count; ++i)
    if ((argb[i] >> 24) != 0 && out.bitmap.px[i] == white) out.bitmap.px[i] = kept;
  return out;
}

}  // namespace intake
