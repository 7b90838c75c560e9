#include "gif/shown_bound.h"

#include <algorithm>
#include <limits>

namespace output {

const PaletteDistances::Near& PaletteDistances::operator()(core::Color c) {
  if (last_ && c == lastColour_) return *last_;
  lastColour_ = c;
  if (auto it = cache_.find(c); it != cache_.end()) {
    last_ = &it->second;
    return *last_;
  }
  Near n;
  n.nearest = std::numeric_limits<int>::max();
  n.next = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < palette_.size(); ++i) {
    const int d = core::squaredDistance(c, palette_[i]);
    if (d < n.nearest) {
      n.next = n.nearest;
      n.nearest = d;
      n.index = static_cast<std::uint8_t>(i);
    } else if (d < n.next) {
      n.next = d;
    }
  }
  if (n.next == std::numeric_limits<int>::max()) n.next = n.nearest;
  last_ = &cache_.emplace(c, n).first->second;
  return *last_;
}

bool coverStalePixels(MappedFrame& f, const core::Bitmap& given, const core::Bitmap& shown,
                      const std::function<int(int, int, core::Color)>& allowed,
                      const std::function<std::uint8_t(int, int, core::Color)>& indexOf) {
  const GifRect r = f.rect;
  int left = r.left, top = r.top, right = r.left + r.width - 1, bottom = r.top + r.height - 1;
  for (int y = 0; y < given.height; ++y) {
    const core::Color* row = given.row(y);
    const core::Color* now = shown.row(y);
    const bool rowInRect = y >= r.top && y < r.top + r.height;
    for (int x = 0; x < given.width; ++x) {
      if (rowInRect && x >= r.left && x < r.left + r.width) {
        x = r.left + r.width - 1;
        continue;
      }
      if (core::squaredDistance(row[x], now[x]) <= allowed(x, y, row[x])) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  }
  const GifRect grown{left, top, right - left + 1, bottom - top + 1};
  if (grown.left == r.left && grown.top == r.top && grown.width == r.width && grown.height == r.height) return false;
  std::vector<std::uint8_t> indices;
  indices.reserve(grown.area());
  for (int y = grown.top; y < grown.top + grown.height; ++y) {
    const core::Color* row = given.row(y);
    const bool rowInRect = y >= r.top && y < r.top + r.height;
    for (int x = grown.left; x < grown.left + grown.width; ++x) {
      if (rowInRect && x >= r.left && x < r.left + r.width) {
        indices.push_back(f.indices[static_cast<std::size_t>(y - r.top) * static_cast<std::size_t>(r.width) +
                                    static_cast<std::size_t>(x - r.left)]);
      } else {
        indices.push_back(indexOf(x, y, row[x]));
      }
    }
  }
  f.rect = grown;
  f.indices = std::move(indices);
  return true;
}

}  // namespace output
