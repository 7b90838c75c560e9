// AskGifOutput and the values the GIF options dialog leaves behind. The
// dialog itself is the window's; it is reached through GifQuestion.
#pragma once

#include <cstdint>

#include "play/animation_plan.h"

namespace output {

// Set by the dialog when its OK is accepted; both 0 at program start.
// GifIsAni: 0 = one GIF file per frame, -1 (any non-zero) = one animated GIF.
// GifTime: the interval in hundredths of a second, always a whole number.
inline std::int16_t GifIsAni = 0;
inline float GifTime = 0.0f;

// The animated GIF's play choices, set by the same OK; all 0 at program
// start (forever, no hold, no preset: the plain animation).
// GifPlays: 0 = forever, 1..99 plays. GifHold: hundredths of a second on the
// rest frame, 0..1000. GifPreset: an AdPreset value.
inline int GifPlays = 0;
inline int GifHold = 0;
inline int GifPreset = 0;
// GifBudget: the byte budget in KB (0 = none, 1..kMaxBudgetKb).
inline int GifBudget = 0;

// What the dialog calls on an accepted OK (interval from parseGifInterval).
void acceptGifSettings(bool animated, std::int16_t interval);
// And for the play choices (out-of-range values are clamped).
void acceptPlaySettings(const PlaySettings& play);
// GifPlays, GifHold and GifPreset as one value.
PlaySettings currentPlaySettings();

class GifQuestion {
 public:
  virtual ~GifQuestion() = default;
  // Shows the GIF options dialog modally and returns once it is hidden or
  // closed. An accepted OK has called acceptGifSettings by then; any other
  // way of closing it leaves both values as they were.
  virtual void showModal() = 0;
  // The animation the answer is for (null: not known), so that the dialog
  // can say what the file will do. Set only while the question is asked.
  virtual void setAnimationShape(const AnimationShape*) {}
};

// Shows the dialog, then sets interval to GifTime (hundredths of a second)
// and returns true when the answer is one animated GIF.
bool AskGifOutput(GifQuestion& dialog, std::int16_t& interval);

// The same for an animation of the given shape; play also receives the
// play choices of the last accepted OK.
bool AskGifOutput(GifQuestion& dialog, const AnimationShape& shape, std::int16_t& interval, PlaySettings& play);

}  // namespace output
