#include "play/preset_sizes.h"

#include <algorithm>

namespace output {

std::span<const AdSize> presetSizes(AdPreset preset) {
  switch (preset) {
    case AdPreset::Google:
      return kGoogleSizes;
    case AdPreset::Iab:
      return kIabSizes;
    case AdPreset::None:
    case AdPreset::Amazon:
      break;
  }
  return {};
}

bool isPresetSize(AdPreset preset, int width, int height) {
  const std::span<const AdSize> sizes = presetSizes(preset);
  return sizes.empty() || std::any_of(sizes.begin(), sizes.end(),
                                      [&](const AdSize& s) { return s.width == width && s.height == height; });
}

}  // namespace output
