#include "core/mask.h"

#include <algorithm>

#include "core/raster.h"

namespace core {

void BuildMask(const Surface& picSource, const Surface& picTurn, Surface& picMask) {
  if (picSource.picture().isEmpty()) return;
  const int w = picSource.width();
  const int h = picSource.height();
  picMask.resize(w, h);
  const Color c0 = picSource.point(0, 0);
  // Cleared to black, then every pixel is written below.
  Color* mask = picMask.clearForOverwrite(kBlack);
  // Pixels outside picTurn read as kInvalidColor, which never equals a
  // stored colour, so they count as object like any other difference.
  const int inW = std::min(w, picTurn.width());
  const int inH = std::min(h, picTurn.height());
  for (int y = 0; y < h; ++y) {
    Color* m = mask + static_cast<std::ptrdiff_t>(y) * w;
    if (y >= inH) {
      std::fill(m, m + w, kWhite);
      continue;
    }
    const Color* t = picTurn.row(y);
    for (int x = 0; x < inW; ++x) m[x] = (t[x] != c0) ? kWhite : kBlack;
    std::fill(m + inW, m + w, kWhite);
  }
}

void PrepareMask(const Surface& picSource, const Surface& picTurn, Surface& picMask, bool maskTicked) {
  BuildMask(picSource, picTurn, picMask);
  picMask.clearTo(maskTicked ? kBlack : kWhite);
  if (maskTicked) BuildMask(picSource, picTurn, picMask);
}

void MaskThenSourceBlit(Surface& picX, const Surface& picMask, const Surface& picture, int w, int h, int sx, int sy) {
  BitBlt(picX, 0, 0, w, h, picMask, sx, sy, SRCPAINT);
  BitBlt(picX, 0, 0, w, h, picture, sx, sy, SRCAND);
}

}  // namespace core
