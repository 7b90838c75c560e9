// The brightness step of the Diffuse effect.
#pragma once

#include "core/surface.h"

namespace effects {

// AdjustBrightness: adds delta to the red, green and blue byte of every
// pixel, each clamped to 0..255 (200 + 102 gives 255, never 46). The top
// byte stays as it is.
void AdjustBrightness(core::Surface& surface, int delta);

}  // namespace effects
