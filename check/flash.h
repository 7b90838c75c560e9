// Flashing as WCAG's general flash and red flash thresholds measure it: a
// flash is a pair of opposing changes, either in relative luminance by a
// tenth of the maximum or more with the darker state below 0.80, or between
// chromaticities more than 0.2 apart in CIE 1976 u'v' where one state is a
// saturated red (R / (R + G + B) of at least 0.8, on linear values). A frame
// counts as a change when the pixels changing at it cover more than a
// quarter of any 341 x 256 rectangle (the ten-degree field of a 1024 x 768
// screen): 21,824 pixels. More than three flashes, that is more than six
// changes, in any one second break the threshold.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/picture.h"

namespace check {

inline constexpr int kFieldWidth = 341;
inline constexpr int kFieldHeight = 256;
inline constexpr int kFlashArea = kFieldWidth * kFieldHeight / 4;  // 21,824
inline constexpr int kMostChangesPerSecond = 6;

// A banner whose whole area is no larger than the flash area cannot break
// the threshold, however it flashes.
bool canFlash(int width, int height);

// Follows every pixel of the frames as shown and notes the times at which
// enough of them change.
class FlashMeter {
 public:
  FlashMeter(int width, int height);
  ~FlashMeter();
  FlashMeter(const FlashMeter&) = delete;
  FlashMeter& operator=(const FlashMeter&) = delete;

  // The frame shown from atMs on (times only increase).
  void add(const core::Bitmap& frame, std::int64_t atMs);

  const std::vector<std::int64_t>& generalChanges() const { return general_; }
  const std::vector<std::int64_t>& redChanges() const { return red_; }

 private:
  struct State;
  std::unique_ptr<State> s_;
  std::vector<std::int64_t> general_;
  std::vector<std::int64_t> red_;
};

// The most changes of the list within any one second, and the flashes they
// make (half a flash per change).
int mostChangesInASecond(const std::vector<std::int64_t>& changesMs);

struct FlashResult {
  int generalChanges = 0;  // the most in any one second
  int redChanges = 0;
  bool generalBroken() const { return generalChanges > kMostChangesPerSecond; }
  bool redBroken() const { return redChanges > kMostChangesPerSecond; }
};

// The frames of a file as browsers play them: `compose` shows the frames of
// one play in order (one call per play, as often as asked), each frame held
// for its delay. An endless or repeated animation is followed over as many
// plays as a second after the end of its first play needs, so that the
// change from the last frame back to the first is counted too. Returns ""
// or the problem `compose` reported.
using PlayComposer = std::function<std::string(const std::function<bool(const core::Bitmap&, int)>& frame)>;
std::string measureFlashes(int width, int height, const std::vector<int>& delaysMs, int plays,
                           const PlayComposer& compose, FlashResult& result);

}  // namespace check
