#include "play/animation_plan.h"

#include <algorithm>
#include <array>
#include <climits>
#include <initializer_list>

#include "play/play_texts.h"
#include "play/preset_sizes.h"

namespace output {

namespace {

// 30 s, 15 s: Google Ads stops image ads after 30 seconds at 5 fps or slower;
// the IAB portfolio and Amazon's own pages allow 15 seconds, Amazon at most
// three plays. None of them accepts an endless loop.
constexpr std::array<PresetRules, kPresetCount> kRules{{
    {text::kPresetNames[0], 0, 0, 0, false},
    {text::kPresetNames[1], 20, 3000, 0, true},
    {text::kPresetNames[2], 0, 1500, 0, true},
    {text::kPresetNames[3], 0, 1500, 3, true},
}};

// The IAB's initial-load budgets by banner size; sizes it does not list get
// the common 150,000.
struct SizeBudget {
  int width, height;
  std::int64_t bytes;
};
constexpr SizeBudget kIabBudgets[] = {
    {728, 90, 150000},  {970, 90, 200000}, {300, 250, 150000}, {160, 600, 150000},
    {970, 250, 250000}, {320, 50, 50000},  {300, 50, 50000},
};
constexpr std::int64_t kCommonBudget = 150000;

// A GIF delay is 16 bits; the interval and the hold together must fit.
constexpr int kMaxIntervalCs = 65535 - kMaxHoldCs;

// The text in the user's language (the Japanese text itself without a
// translator).
std::string translated(const TextTranslator& translate, const char* text, int count = -1) {
  return translate ? translate(text, count) : std::string(text);
}

bool isAsciiLetter(char c) { return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z'); }

// Replaces each "{}" of the pattern by the next value. Japanese keeps a
// space between a Latin word and the Japanese that follows it directly.
std::string fill(const std::string& pattern, std::initializer_list<std::string> values) {
  std::string out;
  auto next = values.begin();
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (pattern[i] == '{' && i + 1 < pattern.size() && pattern[i + 1] == '}' && next != values.end()) {
      const std::string& value = *next++;
      out += value;
      ++i;
      if (!value.empty() && isAsciiLetter(value.back()) && i + 1 < pattern.size() &&
          static_cast<unsigned char>(pattern[i + 1]) >= 0x80)
        out += ' ';
    } else {
      out += pattern[i];
    }
  }
  return out;
}

// A number for choosing a plural form.
int countOf(std::uintmax_t n) { return static_cast<int>(std::min<std::uintmax_t>(n, INT_MAX)); }

// The plain sequence of file numbers: 0..last, then last-1..1 going back.
std::vector<int> plainSequence(const AnimationShape& shape) {
  std::vector<int> files;
  for (int i = 0; i <= shape.last; ++i) files.push_back(i);
  if (shape.backAndForth)
    for (int i = shape.last - 1; i >= 1; --i) files.push_back(i);
  return files;
}

// A file's own display time as the animation shows it, 0 for none.
int ownDelay(const AnimationShape& shape, std::size_t file, AdPreset preset) {
  if (file >= shape.delayCs.size() || shape.delayCs[file] <= 0) return 0;
  return std::clamp(std::max(shape.delayCs[file], presetRules(preset).minIntervalCs), 1, kMaxIntervalCs);
}

}  // namespace

AdPreset presetFromIndex(int index) {
  return index >= 0 && index < kPresetCount ? static_cast<AdPreset>(index) : AdPreset::None;
}

const PresetRules& presetRules(AdPreset preset) {
  return kRules[static_cast<std::size_t>(presetFromIndex(static_cast<int>(preset)))];
}

std::int64_t byteBudget(AdPreset preset, int width, int height) {
  switch (preset) {
    case AdPreset::Google:
      return kCommonBudget;
    case AdPreset::Iab:
      for (const SizeBudget& b : kIabBudgets)
        if (b.width == width && b.height == height) return b.bytes;
      return kCommonBudget;
    case AdPreset::None:
    case AdPreset::Amazon:
      break;
  }
  return 0;
}

AnimationPlan planAnimation(const AnimationShape& shape, int intervalCs, const PlaySettings& play) {
  AnimationPlan plan;
  const std::vector<int> plain = plainSequence(shape);
  if (plain.empty()) return plan;
  const int interval = std::clamp(intervalCs, 0, kMaxIntervalCs);
  const int plays = std::clamp(play.plays, 0, kMaxPlays);
  const int hold = std::clamp(play.holdCs, 0, kMaxHoldCs);
  if (!shape.extraCs.empty()) {
    plan.files = plain;
  } else if (plays == 0 && hold == 0) {
    plan.files = plain;
  } else {
    // Start where the whole picture rests; a play count also ends there, so
    // that the last image left on screen is the picture itself.
    const auto rest = std::find(plain.begin(), plain.end(), shape.restFile);
    const auto start = rest == plain.end() ? plain.begin() : rest;
    plan.files.assign(start, plain.end());
    plan.files.insert(plan.files.end(), plain.begin(), start);
    if (plays > 0) plan.files.push_back(plan.files.front());
  }
  plan.timing.delays.assign(plan.files.size(), interval);
  for (std::size_t i = 0; i < plan.files.size(); ++i) {
    const auto file = static_cast<std::size_t>(plan.files[i]);
    const int own = ownDelay(shape, file, play.preset);
    if (own > 0) plan.timing.delays[i] = own;
    if (file < shape.extraCs.size())
      plan.timing.delays[i] =
          std::clamp(plan.timing.delays[i] + std::clamp(shape.extraCs[file], 0, kMaxHoldCs), 0, 65535);
  }
  plan.timing.delays.front() += hold;
  plan.timing.plays = plays;
  return plan;
}

std::int64_t onePlayCs(const AnimationPlan& plan) {
  std::int64_t sum = 0;
  for (int d : plan.timing.delays) sum += d;
  return sum;
}

int largestPlays(AdPreset preset, std::int64_t onePlay) {
  const PresetRules& rules = presetRules(preset);
  std::int64_t n = rules.maxPlays > 0 ? std::min(rules.maxPlays, kMaxPlays) : kMaxPlays;
  if (rules.maxTotalCs > 0 && onePlay > 0) n = std::min<std::int64_t>(n, rules.maxTotalCs / onePlay);
  return static_cast<int>(std::max<std::int64_t>(n, 1));
}

PresetChoice choosePreset(AdPreset preset, const AnimationShape& shape, int intervalCs, int holdCs) {
  PresetChoice choice;
  choice.intervalCs = std::max(intervalCs, presetRules(preset).minIntervalCs);
  PlaySettings once;
  once.plays = 1;
  once.holdCs = holdCs;
  once.preset = preset;
  choice.plays = largestPlays(preset, onePlayCs(planAnimation(shape, choice.intervalCs, once)));
  return choice;
}

PlaySummary summarize(const AnimationShape& shape, int intervalCs, const PlaySettings& play) {
  const AnimationPlan plan = planAnimation(shape, intervalCs, play);
  PlaySummary s;
  s.frames = static_cast<int>(plan.files.size());
  s.intervalCs = std::clamp(intervalCs, 0, kMaxIntervalCs);
  s.holdCs = std::clamp(play.holdCs, 0, kMaxHoldCs);
  s.onePlayCs = onePlayCs(plan);
  s.plays = std::clamp(play.plays, 0, kMaxPlays);
  s.totalCs = s.plays == 0 ? -1 : s.plays * s.onePlayCs;
  const int shortest = presetRules(play.preset).minIntervalCs;
  for (int f = 0; f <= shape.last && static_cast<std::size_t>(f) < shape.delayCs.size(); ++f) {
    const int own = shape.delayCs[static_cast<std::size_t>(f)];
    if (own <= 0) continue;
    ++s.ownTimes;
    if (own < shortest) ++s.raisedTimes;
  }
  return s;
}

PresetBreaches checkPreset(const PlaySummary& s, AdPreset preset) {
  const PresetRules& r = presetRules(preset);
  PresetBreaches b;
  b.intervalTooShort = s.intervalCs < r.minIntervalCs;
  b.endless = r.mustStop && s.plays == 0;
  b.tooLong = s.plays > 0 && r.maxTotalCs > 0 && s.totalCs > r.maxTotalCs;
  b.tooManyPlays = s.plays > 0 && r.maxPlays > 0 && s.plays > r.maxPlays;
  return b;
}

std::string summaryLine(const PlaySummary& s, const TextTranslator& translate) {
  // With times of their own the frames share no one interval to show.
  std::string line = s.ownTimes > 0 ? fill(translated(translate, text::kSummaryOwnFrames, s.frames),
                                           {std::to_string(s.frames)})
                                    : fill(translated(translate, text::kSummaryFrames, s.frames),
                                           {secondsText(s.intervalCs, 2), std::to_string(s.frames)});
  if (s.holdCs > 0) line += fill(translated(translate, text::kSummaryHold), {secondsText(s.holdCs, 1)});
  line += fill(translated(translate, text::kSummaryOnePlay), {secondsText(s.onePlayCs, 1)});
  if (s.plays == 0)
    line += translated(translate, text::kSummaryForever);
  else
    line +=
        fill(translated(translate, text::kSummaryPlays, s.plays), {std::to_string(s.plays), secondsText(s.totalCs, 1)});
  return line;
}

std::vector<std::string> presetWarnings(const PlaySummary& s, AdPreset preset, const TextTranslator& translate) {
  const PresetRules& r = presetRules(preset);
  const PresetBreaches b = checkPreset(s, preset);
  const std::string name = translated(translate, r.name);
  std::vector<std::string> lines;
  if (b.intervalTooShort)
    lines.push_back(fill(translated(translate, text::kWarnInterval), {name, secondsText(r.minIntervalCs, 2)}));
  if (b.endless) lines.push_back(fill(translated(translate, text::kWarnEndless), {name}));
  if (b.tooLong)
    lines.push_back(fill(translated(translate, text::kWarnTooLong),
                         {secondsText(s.totalCs, 1), name, secondsText(r.maxTotalCs, 0)}));
  if (b.tooManyPlays)
    lines.push_back(fill(translated(translate, text::kWarnTooManyPlays),
                         {std::to_string(s.plays), name, std::to_string(r.maxPlays)}));
  if (s.raisedTimes > 0)
    lines.push_back(fill(translated(translate, text::kWarnRaisedTimes, s.raisedTimes),
                         {std::to_string(s.raisedTimes), name, secondsText(r.minIntervalCs, 2)}));
  return lines;
}

std::optional<std::string> presetSizeWarning(AdPreset preset, int width, int height, const TextTranslator& translate) {
  if (isPresetSize(preset, width, height)) return std::nullopt;
  return fill(translated(translate, text::kWarnSize),
              {std::to_string(width), std::to_string(height), translated(translate, presetRules(preset).name)});
}

std::optional<BudgetReport> budgetReport(AdPreset preset, int width, int height, std::uintmax_t bytes) {
  const std::int64_t budget = byteBudget(preset, width, height);
  if (budget <= 0) return std::nullopt;
  BudgetReport report;
  report.preset = preset;
  report.bytes = bytes;
  report.budget = budget;
  report.within = bytes <= static_cast<std::uintmax_t>(budget);
  report.text = budgetText(report);
  return report;
}

std::string budgetText(const BudgetReport& report, const TextTranslator& translate) {
  const auto limit = static_cast<std::uintmax_t>(std::max<std::int64_t>(report.budget, 0));
  const std::string name = translated(translate, presetRules(report.preset).name);
  const std::string verdict = report.bytes <= limit
                                  ? fill(translated(translate, text::kBudgetWithin), {name, groupedNumber(limit)})
                                  : fill(translated(translate, text::kBudgetOver, countOf(report.bytes - limit)),
                                         {name, groupedNumber(limit), groupedNumber(report.bytes - limit)});
  return fill(translated(translate, text::kBudgetSize), {groupedNumber(report.bytes)}) + "\n" + verdict;
}

std::string secondsText(std::int64_t cs, int minDecimals) {
  const bool negative = cs < 0;
  const std::uint64_t v = negative ? 0 - static_cast<std::uint64_t>(cs) : static_cast<std::uint64_t>(cs);
  const char digits[2] = {static_cast<char>('0' + v % 100 / 10), static_cast<char>('0' + v % 10)};
  int decimals = 2;
  while (decimals > std::max(minDecimals, 0) && digits[decimals - 1] == '0') --decimals;
  std::string out = negative ? "-" : "";
  out += std::to_string(v / 100);
  if (decimals > 0) {
    out += '.';
    out.append(digits, static_cast<std::size_t>(decimals));
  }
  return out;
}

std::string groupedNumber(std::uintmax_t n) {
  const std::string digits = std::to_string(n);
  std::string out;
  for (std::size_t i = 0; i < digits.size(); ++i) {
    if (i > 0 && (digits.size() - i) % 3 == 0) out += ',';
    out += digits[i];
  }
  return out;
}

}  // namespace output
