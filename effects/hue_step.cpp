#include "effects/hue_step.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "core/hsv.h"

namespace effects {

namespace {

constexpr int kShiftPerFrame = 15;  // degrees added per frame number in rotation
constexpr float kConvergenceSteps = 12.0f;

// ---- The reference: one colour through core::HSV ------------------------

}  // namespace

core::Color hueStepColor(core::Color c, const HueStep& step) {
  core::HSV hsv;
  hsv.Red = static_cast<std::int16_t>(core::redOf(c));
  hsv.Green = static_cast<std::int16_t>(core::greenOf(c));
  hsv.Blue = static_cast<std::int16_t>(core::blueOf(c));
  if (step.hueType == kHueRotation) {
    hsv.ToHsv();
    const auto shift = static_cast<std::int16_t>(kShiftPerFrame * step.k);
    hsv.Hue = static_cast<float>(std::lrint(hsv.Hue + static_cast<float>(shift)) % 360);
    hsv.ToRgb();
  } else if (step.hueType == kHueConvergence) {
    hsv.ToHsv();
    const auto hd = static_cast<std::int16_t>(std::lrint(hsv.Hue));
    const auto s = static_cast<std::int16_t>(std::lrint(hsv.Saturation));
    const auto v = static_cast<std::int16_t>(std::lrint(hsv.Value));
    const auto d = static_cast<std::int16_t>(hd - step.hueX);
    hsv.Hue = static_cast<float>(hd) - static_cast<float>(d) / kConvergenceSteps * static_cast<float>(step.k);
    hsv.Saturation = static_cast<float>(s);
    hsv.Value = static_cast<float>(v);
    hsv.ToRgb();
  } else {
    return c & 0x00FFFFFFu;
  }
  return core::rgb(hsv.Red, hsv.Green, hsv.Blue);
}

namespace {

// ---- The same arithmetic on four colours at once ------------------------
// GCC vector extensions compile to plain SSE2 here. Every lane does the IEEE
// single-precision operation the scalar code does, in the same order, and
// the scalar branches become selections; nothing is fused or reordered
// (-ffp-contract=off, no fast-math).

using F4 = float __attribute__((vector_size(16)));
using I4 = std::int32_t __attribute__((vector_size(16)));

inline F4 splat(float x) { return F4{x, x, x, x}; }
inline I4 splatI(std::int32_t x) { return I4{x, x, x, x}; }
inline F4 toFloat(I4 v) { return __builtin_convertvector(v, F4); }
// Truncation towards zero; for the non-negative values used here, floor.
inline I4 truncToInt(F4 v) { return __builtin_convertvector(v, I4); }
inline F4 select(I4 mask, F4 a, F4 b) { return mask ? a : b; }

// Nearest integer with halves to even, for 0 <= x < 2^23: adding 2^23 leaves
// no fraction bits, so the addition itself rounds in the default mode.
inline F4 roundHalfEven(F4 x) {
  const F4 big = splat(8388608.0f);
  return (x + big) - big;
}

struct Hsv4 {
  F4 hue, sat, val;
};

Hsv4 toHsv4(I4 red, I4 green, I4 blue) {
  const F4 r = toFloat(red) / splat(255.0f);
  const F4 g = toFloat(green) / splat(255.0f);
  const F4 b = toFloat(blue) / splat(255.0f);
  F4 max = select(g > r, g, r);
  max = select(b > max, b, max);
  F4 min = select(g < r, g, r);
  min = select(b < min, b, min);
  // Lanes with max == 0 or d == 0 divide by zero; their results are replaced.
  const F4 s = select(max == splat(0.0f), splat(0.0f), (max - min) / max);
  const F4 d = max - min;
  const F4 rc = (max - r) / d;
  const F4 gc = (max - g) / d;
  const F4 bc = (max - b) / d;
  const F4 h = select(r == max, bc - gc, select(g == max, (splat(2.0f) + rc) - bc, (splat(4.0f) + gc) - rc));
  F4 hue = h * splat(60.0f);
  hue = select(hue < splat(0.0f), hue + splat(360.0f), hue);
  hue = select(s == splat(0.0f), splat(0.0f), hue);
  return {hue, s * splat(100.0f), max * splat(100.0f)};
}

inline I4 toChannel4(F4 c) { return truncToInt(c * splat(255.9999f)); }

I4 toRgb4(const Hsv4& in) {
  const F4 s = in.sat / splat(100.0f);
  const F4 v = in.val / splat(100.0f);
  F4 h = in.hue / splat(60.0f);
  h = select(h == splat(6.0f), splat(0.0f), h);
  const I4 valid = (h >= splat(0.0f)) & (h < splat(6.0f));
  const F4 hc = select(valid, h, splat(0.0f));
  const I4 i = valid ? truncToInt(hc) : splatI(-1);
  const F4 f = hc - toFloat(truncToInt(hc));
  const F4 one = splat(1.0f);
  const F4 p = (one - s) * v;
  const F4 q = (one - f * s) * v;
  const F4 t = (one - (one - f) * s) * v;
  const F4 zero = splat(0.0f);
  const I4 i0 = i == 0, i1 = i == 1, i2 = i == 2, i3 = i == 3, i4 = i == 4, i5 = i == 5;
  F4 r = select(i0 | i5, v, select(i1, q, select(i2 | i3, p, select(i4, t, zero))));
  F4 g = select(i0, t, select(i1 | i2, v, select(i3, q, select(i4 | i5, p, zero))));
  F4 b = select(i0 | i1, p, select(i2, t, select(i3 | i4, v, select(i5, q, zero))));
  const I4 grey = in.sat == zero;
  r = select(grey, v, r);
  g = select(grey, v, g);
  b = select(grey, v, b);
  return toChannel4(r) | (toChannel4(g) << 8) | (toChannel4(b) << 16);
}

I4 stepFour(I4 c, const HueStep& step) {
  const I4 mask8 = splatI(0xFF);
  Hsv4 hsv = toHsv4(c & mask8, (c >> 8) & mask8, (c >> 16) & mask8);
  if (step.hueType == kHueRotation) {
    const auto shift = static_cast<std::int16_t>(kShiftPerFrame * step.k);
    // Hue + shift < 360 + 165, so one subtraction is the modulo.
    const F4 n = roundHalfEven(hsv.hue + splat(static_cast<float>(shift)));
    hsv.hue = select(n >= splat(360.0f), n - splat(360.0f), n);
  } else {
    const F4 hd = roundHalfEven(hsv.hue);
    const F4 d = hd - splat(static_cast<float>(static_cast<std::int16_t>(step.hueX)));
    hsv.hue = hd - d / splat(kConvergenceSteps) * splat(static_cast<float>(step.k));
    hsv.sat = roundHalfEven(hsv.sat);
    hsv.val = roundHalfEven(hsv.val);
  }
  return toRgb4(hsv);
}

}  // namespace

void hueStepColors(const core::Color* in, core::Color* out, std::size_t n, const HueStep& step) {
  if (step.hueType != kHueRotation && step.hueType != kHueConvergence) {
    for (std::size_t i = 0; i < n; ++i) out[i] = in[i] & 0x00FFFFFFu;
    return;
  }
  std::size_t i = 0;
  for (; i + 4 <= n; i += 4) {
    I4 c;
    std::memcpy(&c, in + i, sizeof c);
    const I4 result = stepFour(c, step);
    std::memcpy(out + i, &result, sizeof result);
  }
  for (; i < n; ++i) out[i] = hueStepColor(in[i], step);
}

void ApplyHueStep(core::Surface& surface, const HueStep& step, HueStepScratch& scratch) {
  const std::size_t pixels = static_cast<std::size_t>(surface.width()) * static_cast<std::size_t>(surface.height());
  if (pixels == 0) return;
  core::Color* px = surface.mutableBits();

  // 1. Give every pixel the index of its colour among the distinct colours.
  // The hash table is direct-mapped: a colour that lost its slot to another
  // is simply listed again, which costs one extra conversion, never a wrong
  // result.
  int bits = 4;
  while ((std::size_t{1} << bits) < pixels && bits < 20) ++bits;
  const std::size_t slots = std::size_t{1} << bits;
  scratch.slotKey.assign(slots, 0);
  scratch.slotIndex.resize(slots);
  scratch.pixelIndex.resize(pixels);
  scratch.unique.clear();
  std::uint32_t prevColor = 0;
  std::uint32_t prevIndex = 0;
  bool havePrev = false;
  for (std::size_t i = 0; i < pixels; ++i) {
    const std::uint32_t c = px[i] & 0x00FFFFFFu;
    if (!havePrev || c != prevColor) {
      const std::size_t slot = (c * 0x9E3779B1u) >> (32 - bits);
      if (scratch.slotKey[slot] != c + 1) {
        scratch.slotKey[slot] = c + 1;
        scratch.slotIndex[slot] = static_cast<std::uint32_t>(scratch.unique.size());
        scratch.unique.push_back(c);
      }
      prevColor = c;
      prevIndex = scratch.slotIndex[slot];
      havePrev = true;
    }
    scratch.pixelIndex[i] = prevIndex;
  }

  // 2. Convert the distinct colours, 3. hand the results back to the pixels.
  hueStepColors(scratch.unique.data(), scratch.unique.data(), scratch.unique.size(), step);
  for (std::size_t i = 0; i < pixels; ++i) px[i] = scratch.unique[scratch.pixelIndex[i]];
}

void ApplyHueStep(core::Surface& surface, const HueStep& step) {
  HueStepScratch scratch;
  ApplyHueStep(surface, step, scratch);
}

}  // namespace effects
