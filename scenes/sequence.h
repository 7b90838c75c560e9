// How the scenes of a banner follow each other, as frames an effect composed.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/effect_kind.h"
#include "core/picture.h"
#include "effects/options.h"
#include "scenes/scene.h"

namespace scenes {

// The cache entries of an effect's run from the frame where its picture is
// not yet visible (or, for Turn and Hue, which never hide it, the frame
// furthest from rest on the way there) to its rest frame, in showing order.
// The last entry is the rest frame.
std::vector<int> entranceEntries(core::EffectKind kind);

// The banner's frames with the extra time each frame is held.
struct BannerFrames {
  std::vector<core::Bitmap> frames;
  std::vector<int> extraCs;  // one per frame: the scene's hold on its rest frame, else 0
  int width = 0;
  int height = 0;
};

// nullopt when every picture has the first one's size; otherwise the
// message naming the scene, its size and the first scene's size.
std::optional<std::string> sizeMismatch(const std::vector<Scene>& scenes);

// The banner: the first scene's rest frame, held; then each following
// scene's entrance composed over the previous scene's picture, its rest
// frame held. Playing forever, the loop returns with the first scene's
// entrance over the last scene's picture (its rest frame is the file's
// first frame, which that frame also composes over); with a play count the
// file ends on the last scene's rest frame and the first scene composes
// over the flat colour. Every frame is one an effect composed. nullopt for
// no scenes or pictures of different sizes (see sizeMismatch).
std::optional<BannerFrames> composeBanner(const std::vector<Scene>& scenes, bool loopsForever);

}  // namespace scenes
