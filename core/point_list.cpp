#include "core/point_list.h"

namespace core {

void BuildPointList(const Surface& picSource, std::vector<PixelPoint>& mPoints,
                    std::vector<PixelPoint>& mMovedPoints) {
  const int w = picSource.width();
  const int h = picSource.height();
  const std::size_t n = static_cast<std::size_t>(w) * static_cast<std::size_t>(h);
  mPoints.resize(n);
  PixelPoint* out = mPoints.data();
  for (int y = 0; y < h; ++y) {
    const Color* row = picSource.row(y);
    for (int x = 0; x < w; ++x) {
      *out++ = PixelPoint{static_cast<float>(x), static_cast<float>(y), static_cast<std::int32_t>(row[x])};
    }
  }
  mMovedPoints.assign(n, PixelPoint{});
}

}  // namespace core
