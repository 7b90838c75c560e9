// Immutable, shared pictures: what a surface's Picture and Image hold, what
// the frame cache stores and what the writer encodes.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/color.h"

namespace core {

// A plain block of w x h colour values, rows top to bottom, stride = width.
struct Bitmap {
  int width = 0;
  int height = 0;
  std::vector<Color> px;

  Bitmap() = default;
  Bitmap(int w, int h, Color fill = kBlack);

  Color* row(int y) { return px.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width); }
  const Color* row(int y) const {
    return px.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
  }
};

// A picture object. Copies share the pixels; the pixels never change once the
// picture exists. The empty picture has handle 0.
class Picture {
 public:
  Picture() = default;
  explicit Picture(std::shared_ptr<const Bitmap> bitmap);
  static Picture fromBitmap(Bitmap bitmap);

  // 0 for the empty picture, otherwise a value that identifies the pixels.
  std::uintptr_t handle() const noexcept { return reinterpret_cast<std::uintptr_t>(bmp_.get()); }
  bool isEmpty() const noexcept { return !bmp_; }

  int width() const noexcept { return bmp_ ? bmp_->width : 0; }
  int height() const noexcept { return bmp_ ? bmp_->height : 0; }
  const Color* row(int y) const { return bmp_->row(y); }
  // The colour at (x, y), or kInvalidColor outside the picture.
  Color pixel(int x, int y) const noexcept;
  const std::shared_ptr<const Bitmap>& bitmap() const noexcept { return bmp_; }

  // Same size and the same colour at every pixel.
  bool samePixels(const Picture& other) const noexcept;

 private:
  std::shared_ptr<const Bitmap> bmp_;
};

}  // namespace core
