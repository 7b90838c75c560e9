// Immutable, shared pictures: what a surface's Picture and Image hold, what
// the frame cache stores and what the writer encodes.
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "core/color.h"

namespace core {

// Allocates pixel storage without zeroing it: a bitmap's pixels are always
// filled, copied or (for Bitmap::Unfilled) written by the caller, so zeroing
// first would only cost a pass over up to 800 KB per frame.
template <class T>
struct DefaultInitAllocator : std::allocator<T> {
  template <class U>
  struct rebind {
    using other = DefaultInitAllocator<U>;
  };
  DefaultInitAllocator() = default;
  template <class U>
  DefaultInitAllocator(const DefaultInitAllocator<U>&) noexcept {}
  template <class U>
  void construct(U* p) noexcept {
    ::new (static_cast<void*>(p)) U;
  }
  template <class U, class... Args>
  void construct(U* p, Args&&... args) {
    ::new (static_cast<void*>(p)) U(std::forward<Args>(args)...);
  }
};
using PixelVector = std::vector<Color, DefaultInitAllocator<Color>>;

// A plain block of w x h colour values, rows top to bottom, stride = width.
struct Bitmap {
  int width = 0;
  int height = 0;
  PixelVector px;

  // For a caller that writes every pixel itself: the pixels start undefined.
  struct Unfilled {};

  Bitmap() = default;
  Bitmap(int w, int h, Color fill = kBlack);
  Bitmap(int w, int h, Unfilled);

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
