// A picture surface: the in-memory counterpart of a picture control with a
// persistent bitmap. Qt only displays what these hold.
#pragma once

#include <memory>

#include "core/color.h"
#include "core/picture.h"

namespace core {

class Surface {
 public:
  Surface() = default;
  Surface(int width, int height, Color backColor = kWhite);

  int width() const noexcept { return w_; }
  int height() const noexcept { return h_; }

  Color backColor() const noexcept { return back_; }
  // Fills the bitmap with the new colour and draws Picture again at (0, 0);
  // everything drawn before is lost.
  void setBackColor(Color c);

  const Picture& picture() const noexcept { return picture_; }
  // Fills the bitmap with BackColor and draws the picture at (0, 0), clipped;
  // everything drawn before is lost. The empty picture clears the surface.
  void setPicture(const Picture& p);
  void clear() { setPicture(Picture{}); }
  // clear() followed by setBackColor(c), with a single fill.
  void clearTo(Color c);
  // clearTo(c) for a caller that then writes every pixel of the surface
  // itself: skips the fill. Returns the pixels to write (width() * height(),
  // rows top to bottom); until written their values are undefined.
  Color* clearForOverwrite(Color c);

  // A snapshot of the bitmap that later drawing does not change. Cheap: the
  // pixels are shared until the surface is drawn on again.
  Picture image() const;

  // The colour at (x, y); kInvalidColor outside the surface.
  Color point(int x, int y) const noexcept;
  // Sets one pixel; outside the surface nothing happens.
  void setPixel(int x, int y, Color c);

  // New size in pixels. The overlap keeps what was drawn, new area shows
  // BackColor. Negative sizes count as 0.
  void resize(int width, int height);

  // Bulk access for the drawing operations. mutableBits() detaches the
  // bitmap from any snapshot that shares it; call it once per operation.
  const Color* bits() const noexcept { return bits_ ? bits_->px.data() : nullptr; }
  Color* mutableBits();
  // mutableBits() for a caller that then writes every pixel: a bitmap
  // shared with a snapshot is replaced without copying its pixels first.
  // Until written the values are undefined.
  Color* bitsForOverwrite();
  const Color* row(int y) const noexcept { return bits() + static_cast<std::ptrdiff_t>(y) * w_; }

 private:
  void refill();

  int w_ = 0;
  int h_ = 0;
  Color back_ = kWhite;
  Picture picture_;
  std::shared_ptr<const Bitmap> bits_ = std::make_shared<Bitmap>();
  // True while bits_ was allocated by this surface (not taken from a
  // picture), so that it may be written once no snapshot shares it.
  bool ownsBits_ = true;
};

// The colour a surface stores for a colour value: system colours resolved,
// top byte dropped, as the display device keeps 24 bits per pixel.
constexpr Color storedColor(Color c) { return resolveColor(c) & 0x00FFFFFFu; }

}  // namespace core
