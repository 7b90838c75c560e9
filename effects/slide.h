// Slide's arithmetic, shared by its generator and its tests.
#pragma once

#include <string>

namespace effects {

// The offset of step s (-5..5) along an extent of `size` pixels:
// round(size / 5 * s), so that steps -5 and 5 move the picture fully out.
int slideOffset(int size, int step);

// The playback label of cache entry k (0..21): "BaseName-x-" for the
// horizontal frames 0..10, "BaseName-y-" for the vertical ones, then the
// counter that starts at 06 and wraps after 10, then ".bmp".
std::string slideLabel(int k);

}  // namespace effects
