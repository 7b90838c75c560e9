#include "core/psnr.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

#include "core/color.h"

namespace core {

double psnrOfError(double squaredError, std::size_t samples) {
  if (squaredError <= 0.0) return kExactFrameDb;
  const double db = 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(samples) / squaredError);
  return std::min(db, kExactFrameDb);
}

double framePsnr(const Bitmap& given, const Bitmap& shown) {
  // Added up in integers, which need not wait on each other as floating
  // adds do; any frame's sum is far below 2^53, where a double holds it
  // exactly.
  std::uint64_t error = 0;
  for (std::size_t i = 0; i < given.px.size(); ++i)
    error += static_cast<std::uint64_t>(squaredDistance(given.px[i], shown.px[i]));
  return psnrOfError(static_cast<double>(error), given.px.size() * 3);
}

}  // namespace core
