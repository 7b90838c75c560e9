#include "intake/transparency.h"

#include <vector>

namespace intake {

namespace {

// Over white: c * a / 255 + 255 * (255 - a) / 255, rounded once.
int overWhite(int c, int a) { return (c * a + 255 * (255 - a) + 127) / 255; }

}  // namespace

Flattened flattenTransparency(const std::uint32_t* argb, int width, int height) {
  Flattened out;
  out.bitmap = core::Bitmap(width, height, core::Bitmap::Unfilled{});
  const std::size_t count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  // One bit per 24-bit colour (2 MiB): the colours the opaque result holds.
  std::vector<std::uint64_t> used(std::size_t{1} << 18, 0);
  std::vector<std::size_t> holes;
  for (std::size_t i = 0; i < count; ++i) {
    const std::uint32_t p = argb[i];
    const int a = static_cast<int>(p >> 24);
    int r = static_cast<int>((p >> 16) & 0xFF);
    int g = static_cast<int>((p >> 8) & 0xFF);
    int b = static_cast<int>(p & 0xFF);
    if (a == 0) {
      holes.push_back(i);
      continue;
    }
    if (a != 255) {
      r = overWhite(r, a);
      g = overWhite(g, a);
      b = overWhite(b, a);
    }
    const auto rgb24 = static_cast<std::uint32_t>((r << 16) | (g << 8) | b);
    used[rgb24 >> 6] |= std::uint64_t{1} << (rgb24 & 63);
    out.bitmap.px[i] = core::rgb(r, g, b);
  }
  if (holes.empty()) return out;
  std::uint32_t key = kPreferredKey;
  for (std::uint32_t k = 0; k < (1u << 24); ++k) {
    key = kPreferredKey ^ k;
    if (!(used[key >> 6] & (std::uint64_t{1} << (key & 63)))) break;
  }
  out.keyed = true;
  out.key = core::rgb(static_cast<int>(key >> 16), static_cast<int>((key >> 8) & 0xFF), static_cast<int>(key & 0xFF));
  for (std::size_t i : holes) out.bitmap.px[i] = out.key;
  return out;
}

}  // namespace intake
