// A banner file held against an ad network's rules as browsers play it: the
// same verdict for brenlo-render --check and for the GIF dialog after a save.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "check/banner_file.h"
#include "check/flash.h"
#include "core/cancel.h"
#include "play/animation_plan.h"

namespace check {

// One rule of a preset. Every preset has the two flash rules; the others
// come from the preset's own rules (play/animation_plan.h, preset_sizes.h).
enum class Rule {
  ShortestDelay,   // no delay under the preset's shortest interval
  LengthenedDelay, // no delay of 0 or 0.01 s, which browsers play as 0.1 s
  Endless,         // the animation stops
  TotalTime,       // all plays within the preset's longest time
  Plays,           // no more plays than the preset allows
  Bytes,           // the file within the preset's budget for its size
  Size,            // a size the preset lists
  GeneralFlash,    // no more than three general flashes in any one second
  RedFlash,        // no more than three red flashes in any one second
};

struct RuleResult {
  Rule rule;
  bool kept = true;
  std::int64_t figure = 0;  // what the file has: ms, bytes, plays, changes in a second
  std::int64_t limit = 0;   // what the rule allows, in the same unit
};

struct BannerCheck {
  BannerFacts facts;
  PlayedTiming timing;
  FlashResult flash;
  std::vector<RuleResult> rules;
  bool allKept() const;
  // The result of one rule, or null when the preset does not have it.
  const RuleResult* find(Rule rule) const;
};

struct CheckOutcome {
  bool ok = false;      // false: the file cannot be read
  std::string problem;  // why not, in English
  BannerCheck check;
};

// Reads the file's bytes, plays them as browsers do and applies the rules.
// A set `cancel` stops the work between frames (the outcome is then not ok).
CheckOutcome checkBanner(const std::uint8_t* data, std::size_t size, output::AdPreset preset,
                         const output::CancelFlag* cancel = nullptr);
CheckOutcome checkBannerFile(const std::string& path, output::AdPreset preset,
                             const output::CancelFlag* cancel = nullptr);

// Milliseconds as the report writes seconds: two decimals for whole
// hundredths ("0.10"), else three ("0.125").
std::string secondsText(std::int64_t ms);

// The report brenlo-render --check prints: the figures, then one line per
// rule with "kept" or "BROKEN".
std::string reportText(const BannerCheck& check, output::AdPreset preset);

}  // namespace check
