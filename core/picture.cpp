#include "core/picture.h"

#include <algorithm>
#include <utility>

namespace core {

Bitmap::Bitmap(int w, int h, Color fill)
    : width(std::max(w, 0)),
      height(std::max(h, 0)),
      px(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), fill) {}

Bitmap::Bitmap(int w, int h, Unfilled)
    : width(std::max(w, 0)), height(std::max(h, 0)), px(static_cast<std::size_t>(width) * static_cast<std::size_t>(height)) {}

Picture::Picture(std::shared_ptr<const Bitmap> bitmap) : bmp_(std::move(bitmap)) {}

Picture Picture::fromBitmap(Bitmap bitmap) {
  return Picture(std::make_shared<const Bitmap>(std::move(bitmap)));
}

Color Picture::pixel(int x, int y) const noexcept {
  if (!bmp_ || x < 0 || y < 0 || x >= bmp_->width || y >= bmp_->height) return kInvalidColor;
  return bmp_->row(y)[x];
}

bool Picture::samePixels(const Picture& other) const noexcept {
  if (bmp_ == other.bmp_) return true;
  if (!bmp_ || !other.bmp_) return false;
  return bmp_->width == other.bmp_->width && bmp_->height == other.bmp_->height && bmp_->px == other.bmp_->px;
}

}  // namespace core
