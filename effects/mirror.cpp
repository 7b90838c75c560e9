#include "effects/mirror.h"

#include <algorithm>

#include "core/raster.h"

namespace effects {

void paintMirrored(core::Surface& dst, const core::Picture& pic, bool flipX, bool flipY) {
  if (pic.isEmpty()) return;
  const int w = pic.width();
  const int h = pic.height();
  if (w != dst.width() || h != dst.height()) {
    core::PaintPicture(dst, pic, flipX ? w - 1 : 0, flipY ? h - 1 : 0, flipX ? -w : w, flipY ? -h : h);
    return;
  }
  core::Color* out = dst.bitsForOverwrite();  // every pixel is written below
  for (int y = 0; y < h; ++y) {
    const core::Color* s = pic.row(flipY ? h - 1 - y : y);
    core::Color* d = out + static_cast<std::ptrdiff_t>(y) * w;
    if (flipX)
      std::reverse_copy(s, s + w, d);
    else
      std::copy(s, s + w, d);
  }
}

void layCardOver(core::Surface& dst, const core::Picture& card, const Coverage& covered, const core::Color* over,
                 bool flipX, bool flipY) {
  const int w = dst.width();
  const int h = dst.height();
  core::Color* out = dst.bitsForOverwrite();  // every pixel is written below
  for (int y = 0; y < h; ++y) {
    const int sy = flipY ? h - 1 - y : y;
    const core::Color* s = card.row(sy);
    const std::uint8_t* c = covered.data() + static_cast<std::ptrdiff_t>(sy) * w;
    const std::ptrdiff_t row = static_cast<std::ptrdiff_t>(y) * w;
    for (int x = 0; x < w; ++x) {
      const int sx = flipX ? w - 1 - x : x;
      out[row + x] = c[sx] ? s[sx] : (over[row + x] & 0x00FFFFFFu);
    }
  }
}

}  // namespace effects
