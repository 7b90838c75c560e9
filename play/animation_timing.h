// How an animation plays, in the terms every animated format shares.
#pragma once

#include <cstddef>
#include <vector>

namespace output {

// How an animation plays: each frame's own delay and how often the whole
// sequence is shown.
struct AnimationTiming {
  // One delay per frame, hundredths of a second (0..65535).
  std::vector<int> delays;
  // How many times the whole sequence is shown: 0 = forever, else
  // 1..kMostPlays. Each format stores it in its own way.
  int plays = 0;
  static constexpr int kMostPlays = 65536;  // the most a GIF stores

  // Every frame shown for `delay`, looping forever.
  static AnimationTiming uniform(std::size_t frames, int delay) { return {std::vector<int>(frames, delay), 0}; }
};

}  // namespace output
