#include "core/pixel_grid.h"

#include <algorithm>

namespace core {

PixelGrid::PixelGrid(int w, int h)
    : w_(std::max(w, 0)),
      h_(std::max(h, 0)),
      cells_(static_cast<std::size_t>(w_ + 1) * static_cast<std::size_t>(h_ + 1), 0) {}

namespace {

bool fits(const Surface& s, const PixelGrid& g) {
  return s.width() > 0 && s.height() > 0 && g.width() >= s.width() && g.height() >= s.height();
}

}  // namespace

void GetPixelGrid(const Surface& surface, PixelGrid& grid, bool& failed) {
  if (!fits(surface, grid)) {
    failed = true;
    return;
  }
  for (int y = 0; y < surface.height(); ++y) {
    const Color* src = surface.row(y);
    std::uint32_t* dst = grid.row(y + 1);
    for (int x = 0; x < surface.width(); ++x) dst[x] = toGridCell(src[x]);
  }
}

void PutPixelGrid(Surface& surface, const PixelGrid& grid, bool& failed) {
  if (!fits(surface, grid)) {
    failed = true;
    return;
  }
  Color* bits = surface.mutableBits();
  for (int y = 0; y < surface.height(); ++y) {
    const std::uint32_t* src = grid.row(y + 1);
    Color* dst = bits + static_cast<std::ptrdiff_t>(y) * surface.width();
    for (int x = 0; x < surface.width(); ++x) dst[x] = fromGridCell(src[x]);
  }
}

}  // namespace core
