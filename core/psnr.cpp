#include "core/psnr.h"

#include <algorithm>
#include <cmath>

#include "core/color.h"

namespace core {

double psnrOfError(double squaredError, std::size_t samples) {
  if (squaredError <= 0.0) return kExactFrameDb;
  const double db = 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(samples) / squaredError);
  return std::min(db, kExactFrameDb);
}

double framePsnr(const Bitmap& given, const Bitmap& shown) {
  double error = 0.0;
  for (std::size_t i = 0; i < given.px.size(); ++i) error += squaredDistance(given.px[i], shown.px[i]);
  return psnrOfError(error, given.px.size() * 3);
}

}  // namespace core
