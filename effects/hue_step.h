// One hue step of the Hue effect: every pixel of a surface goes through the
// HSV model, has its hue turned or pulled towards a target, and comes back.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/color.h"
#include "core/surface.h"

namespace effects {

// optHueType: 0 turns every hue, 1 pulls every hue towards the target. Any
// other value leaves the colours unchanged.
inline constexpr int kHueRotation = 0;
inline constexpr int kHueConvergence = 1;

struct HueStep {
  int k = 1;        // frame number, 1..11
  int hueType = 0;  // kHueRotation, kHueConvergence, or anything else
  int hueX = 0;     // target hue in whole degrees (convergence), 0..359
};

// What the step makes of one colour (0x00BBGGRR in and out, top byte 0),
// with exactly the single-precision arithmetic of core::HSV:
// - rotation: ToHsv; Hue = lrint(Hue + 15 * k) mod 360; ToRgb.
// - convergence: ToHsv; hd, s, v = Hue, Saturation, Value rounded (halves to
//   even); Hue = hd - (hd - hueX) / 12 * k, Saturation = s, Value = v; ToRgb.
// This is the reference the fast path below must match bit for bit.
core::Color hueStepColor(core::Color c, const HueStep& step);

// Which vector kernel hueStepColors may use: Best picks eight lanes (AVX2)
// when the processor has them, Baseline always uses four (SSE2). Both give
// identical results; tests compare them.
enum class HueKernel { Best, Baseline };
bool hueStepHasWideKernel();

// The same for n colours at once, several at a time in vector registers (no
// branches, so photo-like pictures do not stall on mispredictions). Every
// lane performs the same IEEE single-precision operations as
// hueStepColor, so out[i] == hueStepColor(in[i], step). in and out may be
// the same array.
void hueStepColors(const core::Color* in, core::Color* out, std::size_t n, const HueStep& step,
                   HueKernel kernel = HueKernel::Best);

// ApplyHueStep: changes every pixel of the surface in place as
// hueStepColor does.
void ApplyHueStep(core::Surface& surface, const HueStep& step);

}  // namespace effects
