#include "core/surface.h"

#include <algorithm>
#include <cstring>

namespace core {

namespace {

// Copies the overlap of src into dst at (0, 0).
void copyOverlap(const Bitmap& src, Bitmap& dst) {
  const int w = std::min(src.width, dst.width);
  const int h = std::min(src.height, dst.height);
  for (int y = 0; y < h; ++y) std::memcpy(dst.row(y), src.row(y), sizeof(Color) * static_cast<std::size_t>(w));
}

}  // namespace

Surface::Surface(int width, int height, Color backColor)
    : w_(std::max(width, 0)), h_(std::max(height, 0)), back_(backColor) {
  refill();
}

void Surface::setBackColor(Color c) {
  back_ = c;
  refill();
}

void Surface::setPicture(const Picture& p) {
  picture_ = p;
  refill();
}

void Surface::clearTo(Color c) {
  back_ = c;
  setPicture(Picture{});
}

Color* Surface::clearForOverwrite(Color c) {
  back_ = c;
  picture_ = Picture{};
  if (!ownsBits_ || bits_.use_count() > 1) {
    bits_ = std::make_shared<Bitmap>(w_, h_, Bitmap::Unfilled{});
    ownsBits_ = true;
  }
  return const_cast<Bitmap&>(*bits_).px.data();
}

void Surface::refill() {
  if (!picture_.isEmpty() && picture_.width() == w_ && picture_.height() == h_) {
    bits_ = picture_.bitmap();  // the picture covers the surface exactly: share it
    ownsBits_ = false;
    return;
  }
  auto fresh = std::make_shared<Bitmap>(w_, h_, storedColor(back_));
  if (!picture_.isEmpty()) copyOverlap(*picture_.bitmap(), *fresh);
  bits_ = std::move(fresh);
  ownsBits_ = true;
}

Picture Surface::image() const { return Picture(bits_); }

Color* Surface::mutableBits() {
  if (!ownsBits_ || bits_.use_count() > 1) {
    bits_ = std::make_shared<Bitmap>(*bits_);
    ownsBits_ = true;
  }
  // bits_ was allocated non-const by this surface and nobody else holds it;
  // the const in the pointer type only stops snapshots from writing.
  return const_cast<Bitmap&>(*bits_).px.data();
}

Color* Surface::bitsForOverwrite() {
  if (!ownsBits_ || bits_.use_count() > 1) {
    bits_ = std::make_shared<Bitmap>(w_, h_, Bitmap::Unfilled{});
    ownsBits_ = true;
  }
  return const_cast<Bitmap&>(*bits_).px.data();
}

Color Surface::point(int x, int y) const noexcept {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return kInvalidColor;
  return row(y)[x];
}

void Surface::setPixel(int x, int y, Color c) {
  if (x < 0 || y < 0 || x >= w_ || y >= h_) return;
  mutableBits()[static_cast<std::ptrdiff_t>(y) * w_ + x] = storedColor(c);
}

void Surface::resize(int width, int height) {
  width = std::max(width, 0);
  height = std::max(height, 0);
  if (width == w_ && height == h_) return;
  auto fresh = std::make_shared<Bitmap>(width, height, storedColor(back_));
  copyOverlap(*bits_, *fresh);
  w_ = width;
  h_ = height;
  bits_ = std::move(fresh);
  ownsBits_ = true;
}

}  // namespace core
