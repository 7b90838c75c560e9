// The banner sizes each ad network lists. A network without a published
// list (Amazon) takes any size.
#pragma once

#include <span>

#include "play/animation_plan.h"

namespace output {

struct AdSize {
  int width;
  int height;
};

// Google Ads' twenty standard sizes for uploaded image ads.
inline constexpr AdSize kGoogleSizes[] = {
    {468, 60},  {728, 90},  {930, 180}, {970, 90},  {970, 250}, {980, 120},  {300, 50},
    {320, 50},  {320, 100}, {200, 200}, {240, 400}, {250, 250}, {250, 360},  {300, 250},
    {336, 280}, {580, 400}, {120, 600}, {160, 600}, {300, 600}, {300, 1050},
};
// The IAB New Ad Portfolio's fixed sizes: those of its budget table, the half
// page and the portrait.
inline constexpr AdSize kIabSizes[] = {
    {728, 90}, {970, 90}, {970, 250}, {300, 250}, {300, 600}, {160, 600}, {300, 1050}, {320, 50}, {300, 50},
};

// The preset's sizes; empty when it has none to check against.
std::span<const AdSize> presetSizes(AdPreset preset);

// True when the preset lists width x height, or lists no sizes at all.
bool isPresetSize(AdPreset preset, int width, int height);

}  // namespace output
