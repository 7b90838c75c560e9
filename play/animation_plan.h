// How an animated banner plays: how many times, where it starts and stops,
// how long each frame stays, and what that means against an ad network's
// rules. Pure arithmetic on file numbers and hundredths of a second; the
// frames themselves are never touched, so every frame of the file stays
// exactly a composed frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/color.h"
#include "play/animation_timing.h"

namespace output {

// Ad networks whose rules a banner can be checked against. The values are
// stored in the settings file: never renumber.
enum class AdPreset : int { None = 0, Google = 1, Iab = 2, Amazon = 3 };
inline constexpr int kPresetCount = 4;

inline constexpr int kMaxPlays = 99;
inline constexpr int kMaxHoldCs = 1000;  // ten seconds
inline constexpr int kMaxBudgetKb = 10000;  // a byte budget of up to 10 MB

// The play choices of an animated GIF. The defaults write the plain looping
// animation that the program always wrote.
struct PlaySettings {
  int plays = 0;   // 0 = forever, else 1..kMaxPlays
  int holdCs = 0;  // extra time on the rest frame, hundredths of a second, 0..kMaxHoldCs
  AdPreset preset = AdPreset::None;
  // The file's byte budget, 0 = none. A file over it is fitted into it.
  // (The dialog and the settings file count KB of 1000 bytes, as ad
  // networks do: 150 KB = 150,000 bytes.)
  std::size_t budgetBytes = 0;
  // A one-pixel border of this colour round every image of the animated
  // file; none by default. The composed frames never carry it.
  std::optional<core::Color> border{};

  // Forever without a hold: exactly the plain animation (the preset changes
  // no byte of the file).
  bool plain() const { return plays == 0 && holdCs == 0; }
};

// The preset as a number (0..3), or None for anything else.
AdPreset presetFromIndex(int index);

// One network's rules. A zero means "no such rule".
struct PresetRules {
  const char* name;   // as the user reads it, e.g. "Google 広告"
  int minIntervalCs;  // shortest frame interval
  int maxTotalCs;     // longest total play time, all plays and holds together
  int maxPlays;       // most plays
  bool mustStop;      // an endless loop breaks the rules
};
const PresetRules& presetRules(AdPreset preset);

// The file size a network accepts for a banner of this size, in bytes
// (150,000 for a "150 KB" rule); 0 when no budget is known.
std::int64_t byteBudget(AdPreset preset, int width, int height);

// The save's frame files and how the plain animation shows them.
struct AnimationShape {
  int last = 0;               // highest file number (files 0..last)
  bool backAndForth = false;  // the plain animation shows 0..last, then last-1..1
  int restFile = 0;           // the file whose frame shows the whole picture in place
  int width = 0;              // frame size in pixels
  int height = 0;
  // Extra hundredths of a second per file (a banner of several scenes holds
  // each scene's rest frame), empty = none. With them the files play once
  // each in file order, whatever the play count: such frames already start
  // and end where the banner wants. The hold still goes to the first slot.
  std::vector<int> extraCs{};
  // A file's own display time in hundredths of a second, 0 or absent = the
  // interval (a frame list whose frames each have a time). A preset's
  // shortest interval raises the shorter ones. The extra time and the hold
  // come on top, as on the interval.
  std::vector<int> delayCs{};
};

// Which file goes into which slot of the animation, with the timing.
struct AnimationPlan {
  std::vector<int> files;  // file number per slot, in the order shown
  AnimationTiming timing;  // one delay per slot and the stored loop count
};

// The plain animation: every slot of the shape once, each for intervalCs,
// looping forever. Otherwise the sequence starts at the rest frame and goes
// round the plain sequence; with a play count it closes on the rest frame
// again (so that it stops on the whole picture) and stores plays - 1 as the
// loop count (no loop block at all for one play). The hold is added to the
// opening rest frame only. intervalCs and the settings are clamped to what a
// GIF holds. A file with its own display time (shape.delayCs) shows for that
// time instead of intervalCs, raised to play.preset's shortest interval.
AnimationPlan planAnimation(const AnimationShape& shape, int intervalCs, const PlaySettings& play);

// Sum of all delays: the time of one play, holds included.
std::int64_t onePlayCs(const AnimationPlan& plan);

// The largest play count (1..kMaxPlays) whose total time and count keep
// within the preset; 1 when even one play is too long. kMaxPlays for None.
int largestPlays(AdPreset preset, std::int64_t onePlay);

// Choosing a preset: an interval shorter than the preset's minimum is raised
// to it, and the play count becomes the largest that fits with that interval
// and the hold.
struct PresetChoice {
  int intervalCs = 0;
  int plays = 0;
};
PresetChoice choosePreset(AdPreset preset, const AnimationShape& shape, int intervalCs, int holdCs);

// What a file written with these choices does.
struct PlaySummary {
  int frames = 0;  // images in the file
  int intervalCs = 0;
  int holdCs = 0;
  std::int64_t onePlayCs = 0;
  int plays = 0;              // 0 = forever
  std::int64_t totalCs = -1;  // plays x one play; -1 for forever
  // Files with their own display time (then intervalCs is only the time of
  // the others), and how many of them the preset's shortest interval raises.
  int ownTimes = 0;
  int raisedTimes = 0;
};
PlaySummary summarize(const AnimationShape& shape, int intervalCs, const PlaySettings& play);

// The rules of the preset that the choices break (all false for None).
struct PresetBreaches {
  bool intervalTooShort = false;
  bool endless = false;
  bool tooLong = false;
  bool tooManyPlays = false;
  bool any() const { return intervalTooShort || endless || tooLong || tooManyPlays; }
};
PresetBreaches checkPreset(const PlaySummary& summary, AdPreset preset);

// Puts one of the texts of play_texts.h (a preset name or a pattern with
// "{}") into the user's language, as UTF-8. `count` is the number a text
// marked with a plural form speaks of, -1 for the others. The texts are
// formatted after translation, so a translation keeps the "{}" in the same
// order. An empty translator leaves the Japanese texts as they are.
using TextTranslator = std::function<std::string(const char* text, int count)>;

// The one line the GIF dialog shows, e.g.
// "0.20 秒 × 23 フレーム = 4.6 秒、6 回再生 = 27.6 秒".
std::string summaryLine(const PlaySummary& summary, const TextTranslator& translate = {});

// One sentence per broken rule, in the order of PresetBreaches, then one
// that says how many own display times the preset raises.
std::vector<std::string> presetWarnings(const PlaySummary& summary, AdPreset preset,
                                        const TextTranslator& translate = {});

// The sentence for a banner whose size the preset does not list
// (preset_sizes.h); nullopt when it lists that size or lists none.
std::optional<std::string> presetSizeWarning(AdPreset preset, int width, int height,
                                             const TextTranslator& translate = {});

// The written file's size against the preset's budget; nullopt when the
// preset has no budget.
struct BudgetReport {
  AdPreset preset = AdPreset::None;
  std::uintmax_t bytes = 0;  // the file's size
  std::int64_t budget = 0;
  bool within = true;
  std::string text;  // two sentences for a message box, in Japanese (budgetText)
};
std::optional<BudgetReport> budgetReport(AdPreset preset, int width, int height, std::uintmax_t bytes);

// The report's two sentences, e.g. "アニメーションGIFのサイズは 118,204 バイトです。"
// and "Google 広告の上限 150,000 バイトに収まっています。", one a line.
std::string budgetText(const BudgetReport& report, const TextTranslator& translate = {});

// Hundredths of a second as seconds with at least `minDecimals` and at most
// two decimals: (460, 1) -> "4.6", (345, 1) -> "3.45", (20, 2) -> "0.20",
// (3000, 0) -> "30".
std::string secondsText(std::int64_t cs, int minDecimals);

// Digits grouped by three with commas: 150000 -> "150,000".
std::string groupedNumber(std::uintmax_t n);

}  // namespace output
