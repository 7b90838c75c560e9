// The seven effects and the per-effect facts the driver, the window and the
// settings file share. Here rather than in effects/ because the settings name
// the effects (the INI's effect and mask keys) without composing anything.
#pragma once

#include <array>
#include <string_view>

namespace core {

// The entry of the effect list, of the Animation Mode menu, and the selector of
// the generators.
enum class EffectKind : int { Slide = 0, Turn = 1, Rotate = 2, Zoom = 3, Diffuse = 4, Elastic = 5, Hue = 6 };
inline constexpr int kEffectCount = 7;

// The mask check boxes have an order of their own: Turn and Rotate swap.
enum MaskBox : int {
  kMaskSlide = 0,
  kMaskRotate = 1,
  kMaskTurn = 2,
  kMaskZoom = 3,
  kMaskDiffuse = 4,
  kMaskElastic = 5,
  kMaskHue = 6,
};

struct EffectInfo {
  std::string_view tag;  // file tag, e.g. "-s-"
  int frames;            // distinct frames: cache entries 0 .. frames - 1
  int probeEntry;        // the cache entry a save inspects
  MaskBox maskBox;
};

inline constexpr std::array<EffectInfo, kEffectCount> kEffects{{
    {"-s-", 22, 11, kMaskSlide},
    {"-t-", 12, 11, kMaskTurn},
    {"-r-", 12, 11, kMaskRotate},
    {"-z-", 10, 9, kMaskZoom},
    {"-d-", 6, 5, kMaskDiffuse},
    {"-e-", 10, 9, kMaskElastic},
    {"-h-", 12, 11, kMaskHue},
}};

constexpr const EffectInfo& info(EffectKind k) { return kEffects[static_cast<std::size_t>(k)]; }
constexpr bool isValidEffectIndex(int i) { return i >= 0 && i < kEffectCount; }

}  // namespace core
