// The option values that a run reads from the window's controls at its start.
#pragma once

#include <array>

#include "core/color.h"

namespace effects {

struct Options {
  int effect = 0;                     // selected entry of the effect list; outside 0..6 nothing runs
  std::array<bool, 7> mask{};         // chkMask boxes, indexed by MaskBox (not by EffectKind)
  bool cross = false;                 // chkCross: Slide from both ends
  int axis = 0;                       // optXY: 0 = X axis, 1 = Y axis (Rotate)
  int diffuseType = 0;                // optDiffuseType: 0 Sand, 1 Light up, 2 Light down
  int hueType = 0;                    // optHueType: 0 rotation, 1 convergence
  int hueX = 0;                       // target hue in whole degrees, 0..359
  core::Color bannerColor = core::kWhite;  // lblColor.BackColor, the banner background colour
};

}  // namespace effects
