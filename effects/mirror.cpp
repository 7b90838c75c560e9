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
  core::Color* out = dst.mutableBits();
  for (int y = 0; y < h; ++y) {
    const core::Color* s = pic.row(flipY ? h - 1 - y : y);
    core::Color* d = out + static_cast<std::ptrdiff_t>(y) * w;
    if (flipX)
      std::reverse_copy(s, s + w, d);
    else
      std::copy(s, s + w, d);
  }
}

}  // namespace effects
