#include "output/shown_quality.h"

#include <algorithm>
#include <cmath>

namespace output {

double psnrOfError(double squaredError, std::size_t samples) {
  if (squaredError <= 0.0) return kExactFrameDb;
  const double db = 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(samples) / squaredError);
  return std::min(db, kExactFrameDb);
}

double framePsnr(const core::Bitmap& given, const core::Bitmap& shown) {
  double error = 0.0;
  for (std::size_t i = 0; i < given.px.size(); ++i) error += core::squaredDistance(given.px[i], shown.px[i]);
  return psnrOfError(error, given.px.size() * 3);
}

void ShownQuality::show(const MappedFrame& f, const GifPalette& palette, const core::Bitmap& given, int repeats) {
  std::size_t i = 0;
  for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
    core::Color* row = canvas_.row(y);
    for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x, ++i) {
      if (static_cast<int>(f.indices[i]) != f.transparent) row[x] = palette[f.indices[i]];
    }
  }
  last_ = framePsnr(given, canvas_);
  sum_ += last_ * repeats;
  frames_ += repeats;
}

}  // namespace output
