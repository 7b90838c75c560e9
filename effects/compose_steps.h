// Small steps that several effects' composing runs share: the background
// colours of a run, the finishing step that lays picTurn over picX through
// the mask, storing a frame, and the playback label.
#pragma once

#include <string>

#include "core/color.h"
#include "core/effect_kind.h"
#include "core/picture.h"
#include "effects/generator.h"
#include "effects/options.h"
#include "effects/work_state.h"

namespace effects::steps {

// The corner colour: the colour of picSource at (0, 0).
core::Color cornerColor(const WorkState& ws);

// The background colour of a run: the banner colour (lblColor.BackColor)
// when the effect's mask box is ticked, the corner colour otherwise.
core::Color runBackground(const WorkState& ws, const Options& options, MaskBox box);

// Sets picX.BackColor and picTurn.BackColor to c (each refills its surface).
void setBackColors(WorkState& ws, core::Color c);

// The pixels of ws.picOver when the run composes over it (it has the size of
// picSource and of the work surfaces), else nullptr: the flat colour.
const core::Color* overPixels(const WorkState& ws);

// surface.clear(), except that with a picture to compose over, the surface
// shows that picture's pixels where it would show BackColor (its Picture
// property stays empty, as clear() leaves it).
void clearToBackground(const WorkState& ws, core::Surface& surface);

// The opening of the runs of Diffuse, Elastic, Hue, Slide and Zoom: with
// showProgress the controls locked and the progress line at 0 and visible;
// a fresh cache 0..lastFrame; picX and picTurn given the run's background
// colour (runBackground for the box) and cleared to the run's background.
// Returns that colour.
core::Color openCompose(RunContext& ctx, MaskBox box, int lastFrame, bool showProgress);

// Lays picTurn over picX. With the mask: BuildMask from picTurn, clear picX
// and the mask-then-source blit of picTurn (w x h of picSource at (0, 0)).
// Over a picture, that picture's pixel takes the place of picX.BackColor in
// the blit: a pixel of the corner colour becomes (that pixel AND corner).
// Without: picX.Picture = picTurn.Image. When the surfaces have the source's
// size (always, once a source is loaded), the masked case is done in one
// pass that gives picX the same pixels but leaves picMask alone: a run that
// uses it calls settleMask after its last frame.
void layTurnOverX(WorkState& ws, bool mask);

// With the mask on: BuildMask from picTurn as it is now, so that picMask ends
// the run as building it for every frame would have left it.
void settleMask(WorkState& ws, bool mask);

// How a frame without the mask reaches the cache.
enum class Unmasked {
  StoreTurn,    // the cache takes picTurn.Image; picX is left alone
  ThroughPicX,  // picX.Picture = picTurn.Image, then the cache takes picX.Image
};

// The finishing step for cache entry k. With the mask: layTurnOverX and
// store picX.Image. Without: as `unmasked` says.
void finishFrame(WorkState& ws, bool mask, int k, Unmasked unmasked);

// Re-dimensions mFrames to entries 0..upper, all empty. Unlike
// WorkState::emptyCache it leaves framesComplete to the driver.
void redimFrames(WorkState& ws, int upper);

// The opening of a run that shows its progress line from the start: the
// controls locked, the line at 0 and visible, a fresh cache 0..lastFrame.
void openRun(RunContext& ctx, int lastFrame);

// Stores `frame` in cache entry k, growing the cache when a handler that ran
// during a yield re-dimensioned it below k (k >= 0).
void storeFrame(WorkState& ws, int k, const core::Picture& frame);

// The playback label "BaseName" + tag + number formatted "00" + ".bmp", e.g.
// "BaseName-z-03.bmp". number >= 0; numbers above 99 show all their digits.
std::string playbackLabel(EffectKind kind, int number);

}  // namespace effects::steps
