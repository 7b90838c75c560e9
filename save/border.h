// The one-pixel border some ad networks ask of a banner that does not stand
// out on a white page. Only the animated file carries it: the composed
// frames, the preview and numbered frame files stay as they are.
#pragma once

#include <vector>

#include "core/color.h"
#include "core/picture.h"

namespace save {

// The grey offered for Amazon's border: 3.9 : 1 against white, clearly visible
// and quiet beside any picture.
inline constexpr core::Color kBorderGrey = core::rgb(128, 128, 128);

// The frame with its outermost pixels in `colour`.
core::Bitmap withBorder(const core::Bitmap& frame, core::Color colour);

// True when some frame's outermost pixels include one whose contrast with a
// white page is under 3 : 1 (WCAG's contrast for non-text content): that
// banner's edge does not show by itself.
bool edgeFaintOnWhite(const std::vector<core::Bitmap>& frames);

}  // namespace save
