// A banner of several scenes through the one save step.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "gif/animation_file.h"
#include "play/animation_plan.h"
#include "save/save_step.h"
#include "scenes/sequence.h"

namespace scenes {

// The animation's shape: the frames once each in order, each scene's hold
// on its rest frame.
output::AnimationShape bannerShape(const BannerFrames& banner);

struct BannerSaveChoice {
  std::string name;       // the full path, as the save dialog returns it
  bool animated = false;  // one animated GIF (a .webp name is always one animated WebP)
  int intervalCs = 10;
  output::PlaySettings play;
  std::size_t budgetBytes = 0;  // the animated GIF's budget, 0 = the play settings'
  bool presetBudgetWhenOver = false;
  // The file the GIF dialog measured for exactly these choices and frames
  // (the save then writes those bytes instead of encoding them again).
  std::optional<output::AnimationFile> measured;
};

// Writes the banner's frames as numbered files (NAME + "000" + ext) or one
// animated GIF or WebP (NAME + ext), as every save writes them. A name
// without a folder writes nothing and reports it.
save::SaveReport saveBanner(const BannerFrames& banner, const BannerSaveChoice& choice,
                            save::OverBudgetQuestion* question = nullptr, const save::AnimationEncoder& encoder = {});

}  // namespace scenes
