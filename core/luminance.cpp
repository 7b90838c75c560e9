#include "core/luminance.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace core {

namespace {

const std::array<double, 256>& linearTable() {
  static const std::array<double, 256> table = [] {
    std::array<double, 256> t{};
    for (int i = 0; i < 256; ++i) {
      const double c = i / 255.0;
      t[static_cast<std::size_t>(i)] = c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    }
    return t;
  }();
  return table;
}

}  // namespace

double linearChannel(int value) { return linearTable()[static_cast<std::size_t>(value & 0xFF)]; }

double relativeLuminance(Color c) {
  return 0.2126 * linearChannel(redOf(c)) + 0.7152 * linearChannel(greenOf(c)) + 0.0722 * linearChannel(blueOf(c));
}

double contrastRatio(Color a, Color b) {
  const double la = relativeLuminance(a);
  const double lb = relativeLuminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

}  // namespace core
