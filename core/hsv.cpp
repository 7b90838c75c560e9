#include "core/hsv.h"

#include <algorithm>
#include <cmath>

namespace core {

namespace {

constexpr float kChannelScale = 255.9999f;

std::int16_t toChannel(float c) {
  const float scaled = std::floor(c * kChannelScale);
  // Only out-of-range inputs (Saturation or Value beyond 100) get here with
  // values a 16-bit field cannot hold; keep the conversion defined.
  return static_cast<std::int16_t>(std::clamp(scaled, -32768.0f, 32767.0f));
}

}  // namespace

void HSV::ToHsv() {
  const float r = static_cast<float>(Red) / 255.0f;
  const float g = static_cast<float>(Green) / 255.0f;
  const float b = static_cast<float>(Blue) / 255.0f;

  float max = r;
  if (g > r) max = g;
  if (b > max) max = b;
  float min = r;
  if (g < r) min = g;
  if (b < min) min = b;

  const float s = (max == 0.0f) ? 0.0f : (max - min) / max;
  if (s == 0.0f) {
    Hue = 0.0f;
  } else {
    const float d = max - min;
    const float rc = (max - r) / d;
    const float gc = (max - g) / d;
    const float bc = (max - b) / d;
    float h;
    if (r == max) {
      h = bc - gc;
    } else if (g == max) {
      h = 2.0f + rc - bc;
    } else {
      h = 4.0f + gc - rc;
    }
    Hue = h * 60.0f;
    if (Hue < 0.0f) Hue = Hue + 360.0f;
  }
  Saturation = s * 100.0f;
  Value = max * 100.0f;
}

void HSV::ToRgb() {
  const float s = Saturation / 100.0f;
  const float v = Value / 100.0f;
  float r = 0.0f;
  float g = 0.0f;
  float b = 0.0f;
  if (Saturation == 0.0f) {
    r = g = b = v;
  } else {
    float h = Hue / 60.0f;
    if (h == 6.0f) h = 0.0f;
    // Sectors 0..5 exist only for 0 <= h < 6; anything else (a hue below 0 or
    // above 360, or not a number) is black.
    const int i = (h >= 0.0f && h < 6.0f) ? static_cast<int>(std::floor(h)) : -1;
    const float f = h - static_cast<float>(i);
    const float p = (1.0f - s) * v;
    const float q = (1.0f - f * s) * v;
    const float t = (1.0f - (1.0f - f) * s) * v;
    switch (i) {
      case 0: r = v; g = t; b = p; break;
      case 1: r = q; g = v; b = p; break;
      case 2: r = p; g = v; b = t; break;
      case 3: r = p; g = q; b = v; break;
      case 4: r = t; g = p; b = v; break;
      case 5: r = v; g = p; b = q; break;
      default: break;
    }
  }
  Red = toChannel(r);
  Green = toChannel(g);
  Blue = toChannel(b);
}

}  // namespace core
