// A banner of several scenes: each scene is a picture shown with an effect
// and then held.
#pragma once

#include <string>
#include <vector>

#include "core/picture.h"
#include "effects/options.h"

namespace scenes {

inline constexpr int kMaxSceneHoldCs = 1000;  // ten seconds
inline constexpr int kDefaultSceneHoldCs = 150;

struct Scene {
  core::Picture picture;
  // The effect (options.effect) with its options; mask is set on the
  // effect's own box. bannerColor is the colour the scene shows through its
  // mask.
  effects::Options options;
  int holdCs = kDefaultSceneHoldCs;  // extra time on the scene's rest frame, 0..kMaxSceneHoldCs
};

}  // namespace scenes
