// AskGifOutput and the two values the GIF options dialog leaves behind. The
// dialog itself is the window's; it is reached through GifQuestion.
#pragma once

#include <cstdint>

namespace output {

// Set by the dialog when its OK is accepted; both 0 at program start.
// GifIsAni: 0 = one GIF file per frame, -1 (any non-zero) = one animated GIF.
// GifTime: the interval in hundredths of a second, always a whole number.
inline std::int16_t GifIsAni = 0;
inline float GifTime = 0.0f;

// What the dialog calls on an accepted OK (interval from parseGifInterval).
void acceptGifSettings(bool animated, std::int16_t interval);

class GifQuestion {
 public:
  virtual ~GifQuestion() = default;
  // Shows the GIF options dialog modally and returns once it is hidden or
  // closed. An accepted OK has called acceptGifSettings by then; any other
  // way of closing it leaves both values as they were.
  virtual void showModal() = 0;
};

// Shows the dialog, then sets interval to GifTime (hundredths of a second)
// and returns true when the answer is one animated GIF.
bool AskGifOutput(GifQuestion& dialog, std::int16_t& interval);

}  // namespace output
