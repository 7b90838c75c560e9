// Whole-surface pixel access in the transfer layout the effects expect.
#pragma once

#include <cstdint>
#include <vector>

#include "core/surface.h"

namespace core {

// A grid indexed (x, y) with x from 0 to w and y from 0 to h inclusive.
// Each element is four bytes: blue, green, red, reserved (read as a
// little-endian 32-bit value: 0xRRGGBB with the reserved byte on top).
// Element (x, y + 1) holds the surface pixel (x, y); row 0 and column w carry
// no picture data and are never written back.
class PixelGrid {
 public:
  PixelGrid() = default;
  // Dimensions the grid for a w x h surface; every element starts at 0.
  PixelGrid(int w, int h);

  int width() const noexcept { return w_; }   // w: the highest x index
  int height() const noexcept { return h_; }  // h: the highest y index

  std::uint32_t& at(int x, int y) { return cells_[index(x, y)]; }
  std::uint32_t at(int x, int y) const { return cells_[index(x, y)]; }
  std::uint8_t blue(int x, int y) const { return static_cast<std::uint8_t>(at(x, y)); }
  std::uint8_t green(int x, int y) const { return static_cast<std::uint8_t>(at(x, y) >> 8); }
  std::uint8_t red(int x, int y) const { return static_cast<std::uint8_t>(at(x, y) >> 16); }

  // Row y as w + 1 contiguous elements.
  std::uint32_t* row(int y) { return cells_.data() + index(0, y); }
  const std::uint32_t* row(int y) const { return cells_.data() + index(0, y); }

 private:
  std::size_t index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(w_ + 1) + static_cast<std::size_t>(x);
  }
  int w_ = 0;
  int h_ = 0;
  std::vector<std::uint32_t> cells_;
};

// A surface colour (0x00BBGGRR) as a grid element (B, G, R, 0) and back.
constexpr std::uint32_t toGridCell(Color c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
constexpr Color fromGridCell(std::uint32_t cell) {
  return ((cell & 0xFF) << 16) | (cell & 0xFF00) | ((cell >> 16) & 0xFF);
}

// Fills the grid from the surface's bitmap. When the surface is empty or the
// grid is not dimensioned for it, failed becomes true and the grid is left as
// it was. failed is only ever set, never cleared.
void GetPixelGrid(const Surface& surface, PixelGrid& grid, bool& failed);

// Writes the grid's picture elements into the surface's bitmap (the reserved
// byte is ignored). Failure as for GetPixelGrid; the surface is then left as
// it was.
void PutPixelGrid(Surface& surface, const PixelGrid& grid, bool& failed);

}  // namespace core
