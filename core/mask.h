// Transparency masks and drawing a picture through one.
#pragma once

#include "core/surface.h"

namespace core {

// Rebuilds picMask from picTurn: white (0xFFFFFF) where picTurn differs from
// the corner colour (picSource at (0, 0)), black elsewhere. picMask takes the
// size of picSource, and the loop bounds come from picSource too. Does
// nothing when picSource holds no picture (handle 0). An object pixel that
// has exactly the corner colour becomes background.
void BuildMask(const Surface& picSource, const Surface& picTurn, Surface& picMask);

// The mask preparation of a run: BuildMask, then picMask's BackColor becomes
// black when the effect's mask box is ticked and white otherwise, picMask is
// cleared, and with the box ticked BuildMask runs again. Unticked, the mask
// is entirely white, so the picture is drawn as an opaque rectangle.
void PrepareMask(const Surface& picSource, const Surface& picTurn, Surface& picMask, bool maskTicked);

// The mask-then-source blit: BitBlt of picMask with SRCPAINT, then of the
// picture with SRCAND, both w x h from (sx, sy) onto picX at (0, 0). Per
// pixel D becomes (D OR M) AND S where the source position exists.
void MaskThenSourceBlit(Surface& picX, const Surface& picMask, const Surface& picture, int w, int h, int sx = 0,
                        int sy = 0);

}  // namespace core
