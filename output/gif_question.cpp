#include "output/gif_question.h"

#include "core/rounding.h"

namespace output {

void acceptGifSettings(bool animated, std::int16_t interval) {
  GifIsAni = animated ? std::int16_t{-1} : std::int16_t{0};
  GifTime = static_cast<float>(interval);
}

bool AskGifOutput(GifQuestion& dialog, std::int16_t& interval) {
  dialog.showModal();
  // GifTime only ever holds a 16-bit whole number (acceptGifSettings).
  interval = static_cast<std::int16_t>(core::roundToInt(GifTime));
  return GifIsAni != 0;
}

}  // namespace output
