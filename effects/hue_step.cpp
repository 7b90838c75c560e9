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

// ---- The same arithmetic on several colours at once ----------------------
// GCC vector extensions: every lane does the IEEE single-precision operation
// the scalar code does, in the same order, and the scalar branches become
// selections; nothing is fused or reordered (-ffp-contract=off, no
// fast-math). The kernel is built twice: four lanes for any x86-64 (SSE2),
// and eight lanes for processors with AVX2, chosen at run time. Both give
// identical bits; only the speed differs.

#define HUE_LANES inline __attribute__((always_inline))
// The lane helpers are always inlined into the kernel that uses them, so no
// eight-lane vector is ever passed in a call: the ABI note does not apply
// (GCC gives it where the templates are instantiated, at the end of the file).
#pragma GCC diagnostic ignored "-Wpsabi"

template <class F, class I>
struct Lanes {
  static constexpr int kCount = static_cast<int>(sizeof(F) / sizeof(float));
  static HUE_LANES F f(float x) { return F{} + x; }
  static HUE_LANES I i(std::int32_t x) { return I{} + x; }
  static HUE_LANES F toFloat(I v) { return __builtin_convertvector(v, F); }
  // Truncation towards zero; for the non-negative values used here, floor.
  static HUE_LANES I truncToInt(F v) { return __builtin_convertvector(v, I); }
  static HUE_LANES F select(I mask, F a, F b) { return mask ? a : b; }
  // Nearest integer with halves to even, for 0 <= x < 2^23: adding 2^23
  // leaves no fraction bits, so the addition itself rounds in the default
  // mode.
  static HUE_LANES F roundHalfEven(F x) { return (x + f(8388608.0f)) - f(8388608.0f); }
};

template <class F>
struct HsvLanes {
  F hue, sat, val;
};

template <class F, class I>
HUE_LANES HsvLanes<F> toHsvLanes(I red, I green, I blue) {
  using L = Lanes<F, I>;
  const F r = L::toFloat(red) / L::f(255.0f);
  const F g = L::toFloat(green) / L::f(255.0f);
  const F b = L::toFloat(blue) / L::f(255.0f);
  F max = L::select(g > r, g, r);
  max = L::select(b > max, b, max);
  F min = L::select(g < r, g, r);
  min = L::select(b < min, b, min);
  // Lanes with max == 0 or d == 0 divide by zero; their results are replaced.
  const F s = L::select(max == 0.0f, L::f(0.0f), (max - min) / max);
  const F d = max - min;
  // Each formula needs two of rc, gc, bc; pick their numerators per lane:
  // r = max: bc - gc; g = max: (2 + rc) - bc; b = max: (4 + gc) - rc.
  // (0 + x is x exactly, so the red formula fits the same shape.)
  const I redMax = r == max;
  const I greenMax = ~redMax & (g == max);
  const F first = L::select(redMax, max - b, L::select(greenMax, max - r, max - g));
  const F second = L::select(redMax, max - g, L::select(greenMax, max - b, max - r));
  const F base = L::select(redMax, L::f(0.0f), L::select(greenMax, L::f(2.0f), L::f(4.0f)));
  const F h = (base + first / d) - second / d;
  F hue = h * 60.0f;
  hue = L::select(hue < 0.0f, hue + 360.0f, hue);
  hue = L::select(s == 0.0f, L::f(0.0f), hue);
  return {hue, s * 100.0f, max * 100.0f};
}

template <class F, class I>
HUE_LANES I toRgbLanes(const HsvLanes<F>& in) {
  using L = Lanes<F, I>;
  const F s = in.sat / L::f(100.0f);
  const F v = in.val / L::f(100.0f);
  F h = in.hue / L::f(60.0f);
  h = L::select(h == 6.0f, L::f(0.0f), h);
  const I valid = (h >= 0.0f) & (h < 6.0f);
  const F hc = L::select(valid, h, L::f(0.0f));
  const I i = valid ? L::truncToInt(hc) : L::i(-1);
  const F f = hc - L::toFloat(L::truncToInt(hc));
  const F one = L::f(1.0f);
  const F p = (one - s) * v;
  const F q = (one - f * s) * v;
  const F t = (one - (one - f) * s) * v;
  const F zero = L::f(0.0f);
  const I i0 = i == 0, i1 = i == 1, i2 = i == 2, i3 = i == 3, i4 = i == 4, i5 = i == 5;
  F r = L::select(i0 | i5, v, L::select(i1, q, L::select(i2 | i3, p, L::select(i4, t, zero))));
  F g = L::select(i0, t, L::select(i1 | i2, v, L::select(i3, q, L::select(i4 | i5, p, zero))));
  F b = L::select(i0 | i1, p, L::select(i2, t, L::select(i3 | i4, v, L::select(i5, q, zero))));
  const I grey = in.sat == zero;
  r = L::select(grey, v, r);
  g = L::select(grey, v, g);
  b = L::select(grey, v, b);
  const F scale = L::f(255.9999f);
  return L::truncToInt(r * scale) | (L::truncToInt(g * scale) << 8) | (L::truncToInt(b * scale) << 16);
}

template <class F, class I>
HUE_LANES I stepLanes(I c, const HueStep& step) {
  using L = Lanes<F, I>;
  HsvLanes<F> hsv = toHsvLanes<F, I>(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
  if (step.hueType == kHueRotation) {
    const auto shift = static_cast<std::int16_t>(kShiftPerFrame * step.k);
    // Hue + shift < 360 + 165, so one subtraction is the modulo.
    const F n = L::roundHalfEven(hsv.hue + static_cast<float>(shift));
    hsv.hue = L::select(n >= 360.0f, n - 360.0f, n);
  } else {
    const F hd = L::roundHalfEven(hsv.hue);
    const F d = hd - static_cast<float>(static_cast<std::int16_t>(step.hueX));
    hsv.hue = hd - d / L::f(kConvergenceSteps) * static_cast<float>(step.k);
    hsv.sat = L::roundHalfEven(hsv.sat);
    hsv.val = L::roundHalfEven(hsv.val);
  }
  return toRgbLanes<F, I>(hsv);
}

// Converts n colours, whole groups of lanes only; returns how many it did.
template <class F, class I>
HUE_LANES std::size_t stepAllLanes(const core::Color* in, core::Color* out, std::size_t n, const HueStep& step) {
  constexpr int kN = Lanes<F, I>::kCount;
  // Flat areas repeat the same colours: reuse the last result then.
  I lastIn = I{} - 1;
  I lastOut{};
  std::size_t i = 0;
  for (; i + kN <= n; i += kN) {
    I c;
    std::memcpy(&c, in + i, sizeof c);
    c &= 0x00FFFFFF;
    const I same = c == lastIn;
    bool all = true;
    for (int j = 0; j < kN; ++j) all = all && same[j] != 0;
    if (!all) {
      lastIn = c;
      lastOut = stepLanes<F, I>(c, step);
    }
    std::memcpy(out + i, &lastOut, sizeof lastOut);
  }
  return i;
}

using F4 = float __attribute__((vector_size(16)));
using I4 = std::int32_t __attribute__((vector_size(16)));
using F8 = float __attribute__((vector_size(32)));
using I8 = std::int32_t __attribute__((vector_size(32)));

std::size_t stepAllBaseline(const core::Color* in, core::Color* out, std::size_t n, const HueStep& step) {
  return stepAllLanes<F4, I4>(in, out, n, step);
}

#if defined(__x86_64__) && defined(__GNUC__)
#define HUE_HAVE_WIDE 1
__attribute__((target("avx2"))) std::size_t stepAllWide(const core::Color* in, core::Color* out, std::size_t n,
                                                        const HueStep& step) {
  return stepAllLanes<F8, I8>(in, out, n, step);
}
#endif

}  // namespace

bool hueStepHasWideKernel() {
#ifdef HUE_HAVE_WIDE
  static const bool wide = __builtin_cpu_supports("avx2");
  return wide;
#else
  return false;
#endif
}

void hueStepColors(const core::Color* in, core::Color* out, std::size_t n, const HueStep& step, HueKernel kernel) {
  if (step.hueType != kHueRotation && step.hueType != kHueConvergence) {
    for (std::size_t i = 0; i < n; ++i) out[i] = in[i] & 0x00FFFFFFu;
    return;
  }
  std::size_t done = 0;
#ifdef HUE_HAVE_WIDE
  if (kernel == HueKernel::Best && hueStepHasWideKernel()) done = stepAllWide(in, out, n, step);
#endif
  done += stepAllBaseline(in + done, out + done, n - done, step);
  for (; done < n; ++done) out[done] = hueStepColor(in[done], step);
}

void ApplyHueStep(core::Surface& surface, const HueStep& step) {
  const std::size_t pixels = static_cast<std::size_t>(surface.width()) * static_cast<std::size_t>(surface.height());
  if (pixels == 0) return;
  core::Color* px = surface.mutableBits();
  hueStepColors(px, px, pixels, step);
}

}  // namespace effects
