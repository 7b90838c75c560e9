#include "output/gif_question.h"

#include <algorithm>

#include "core/rounding.h"

namespace output {

void acceptGifSettings(bool animated, std::int16_t interval) {
  GifIsAni = animated ? std::int16_t{-1} : std::int16_t{0};
  GifTime = static_cast<float>(interval);
}

void acceptPlaySettings(const PlaySettings& play) {
  GifPlays = std::clamp(play.plays, 0, kMaxPlays);
  GifHold = std::clamp(play.holdCs, 0, kMaxHoldCs);
  GifPreset = static_cast<int>(presetFromIndex(static_cast<int>(play.preset)));
  GifBudget = static_cast<int>(std::min<std::size_t>(play.budgetBytes / 1000, kMaxBudgetKb));
}

PlaySettings currentPlaySettings() {
  PlaySettings play;
  play.plays = std::clamp(GifPlays, 0, kMaxPlays);
  play.holdCs = std::clamp(GifHold, 0, kMaxHoldCs);
  play.preset = presetFromIndex(GifPreset);
  play.budgetBytes = static_cast<std::size_t>(std::clamp(GifBudget, 0, kMaxBudgetKb)) * 1000;
  return play;
}

bool AskGifOutput(GifQuestion& dialog, std::int16_t& interval) {
  dialog.showModal();
  // GifTime only ever holds a 16-bit whole number (acceptGifSettings).
  interval = static_cast<std::int16_t>(core::roundToInt(GifTime));
  return GifIsAni != 0;
}

bool AskGifOutput(GifQuestion& dialog, const AnimationShape& shape, std::int16_t& interval, PlaySettings& play) {
  // The dialog must not keep the pointer past this call, however it ends.
  struct ShapeScope {
    GifQuestion& d;
    ~ShapeScope() { d.setAnimationShape(nullptr); }
  } scope{dialog};
  dialog.setAnimationShape(&shape);
  const bool animated = AskGifOutput(dialog, interval);
  play = currentPlaySettings();
  return animated;
}

}  // namespace output
