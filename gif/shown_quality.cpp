#include "gif/shown_quality.h"


namespace output {

void ShownQuality::show(const MappedFrame& f, const GifPalette& palette, const core::Bitmap& given, int repeats) {
  std::size_t i = 0;
  for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
    core::Color* row = canvas_.row(y);
    for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x, ++i) {
      if (static_cast<int>(f.indices[i]) != f.transparent) row[x] = palette[f.indices[i]];
    }
  }
  last_ = core::framePsnr(given, canvas_);
  sum_ += last_ * repeats;
  frames_ += repeats;
}

}  // namespace output
