#include "check/banner_check.h"

#include <algorithm>
#include <cstdio>

#include "play/preset_sizes.h"

namespace check {

std::string secondsText(std::int64_t ms) {
  if (ms % 10 == 0) return output::secondsText(ms / 10, 2);
  char buf[32];
  std::snprintf(buf, sizeof buf, "%.3f", static_cast<double>(ms) / 1000.0);
  return buf;
}

namespace {

std::string seconds(std::int64_t ms) { return secondsText(ms); }

std::string plural(std::int64_t n, const char* one, const char* many) {
  return output::groupedNumber(static_cast<std::uintmax_t>(std::max<std::int64_t>(n, 0))) + " " + (n == 1 ? one : many);
}

std::vector<RuleResult> applyRules(const BannerCheck& c, output::AdPreset preset) {
  const output::PresetRules& r = output::presetRules(preset);
  const PlayedTiming& t = c.timing;
  const bool animated = t.delaysMs.size() > 1;
  std::vector<RuleResult> rules;
  if (r.minIntervalCs > 0 && animated)
    rules.push_back({Rule::ShortestDelay, t.shortestMs >= r.minIntervalCs * 10, t.shortestMs, r.minIntervalCs * 10});
  if (preset != output::AdPreset::None && animated) {
    const auto lengthened = std::count_if(c.facts.storedDelaysMs.begin(), c.facts.storedDelaysMs.end(), delayLengthened);
    rules.push_back({Rule::LengthenedDelay, lengthened == 0, static_cast<std::int64_t>(lengthened), 0});
  }
  if (r.mustStop) rules.push_back({Rule::Endless, t.plays != 0, t.plays, 0});
  // An endless animation breaks the rule above; its time and plays have no
  // figure to hold against a limit.
  if (r.maxTotalCs > 0 && t.plays != 0)
    rules.push_back({Rule::TotalTime, t.totalMs <= r.maxTotalCs * 10, t.totalMs, r.maxTotalCs * 10});
  if (r.maxPlays > 0 && t.plays != 0) rules.push_back({Rule::Plays, t.plays <= r.maxPlays, t.plays, r.maxPlays});
  if (const std::int64_t budget = output::byteBudget(preset, c.facts.width, c.facts.height); budget > 0)
    rules.push_back(
        {Rule::Bytes, c.facts.bytes <= static_cast<std::uint64_t>(budget), static_cast<std::int64_t>(c.facts.bytes), budget});
  if (!output::presetSizes(preset).empty())
    rules.push_back({Rule::Size, output::isPresetSize(preset, c.facts.width, c.facts.height), 0, 0});
  rules.push_back({Rule::GeneralFlash, !c.flash.generalBroken(), c.flash.generalChanges, kMostChangesPerSecond});
  rules.push_back({Rule::RedFlash, !c.flash.redBroken(), c.flash.redChanges, kMostChangesPerSecond});
  return rules;
}

}  // namespace

bool BannerCheck::allKept() const {
  return std::all_of(rules.begin(), rules.end(), [](const RuleResult& r) { return r.kept; });
}

const RuleResult* BannerCheck::find(Rule rule) const {
  for (const RuleResult& r : rules)
    if (r.rule == rule) return &r;
  return nullptr;
}

CheckOutcome checkBanner(const std::uint8_t* data, std::size_t size, output::AdPreset preset,
                         const output::CancelFlag* cancel) {
  CheckOutcome out;
  ReadResult read = readBanner(data, size);
  if (!read.ok) {
    out.problem = read.problem;
    return out;
  }
  BannerCheck& c = out.check;
  c.facts = std::move(read.facts);
  c.timing = playedTiming(c.facts);
  const std::string problem = measureFlashes(
      c.facts.width, c.facts.height, c.timing.delaysMs, c.timing.plays,
      [&](const FrameVisitor& frame) {
        if (!cancel) return composeFrames(data, size, frame);
        return composeFrames(data, size, [&](const core::Bitmap& shown, int index) {
          return !cancel->load() && frame(shown, index);
        });
      },
      c.flash);
  if (problem.empty() && cancel && cancel->load()) {
    out.problem = "cancelled";
    return out;
  }
  if (!problem.empty()) {
    out.problem = problem;
    return out;
  }
  c.rules = applyRules(c, preset);
  out.ok = true;
  return out;
}

CheckOutcome checkBannerFile(const std::string& path, output::AdPreset preset, const output::CancelFlag* cancel) {
  std::vector<std::uint8_t> bytes;
  if (std::string problem = readWholeFile(path, bytes); !problem.empty()) {
    CheckOutcome out;
    out.problem = problem;
    return out;
  }
  return checkBanner(bytes.data(), bytes.size(), preset, cancel);
}

std::string reportText(const BannerCheck& c, output::AdPreset preset) {
  const PlayedTiming& t = c.timing;
  std::string s;
  s += std::string("format: ") + (c.facts.format == BannerFormat::Gif ? "GIF" : "WebP") + "\n";
  s += "size: " + std::to_string(c.facts.width) + " x " + std::to_string(c.facts.height) + " pixels\n";
  s += "bytes: " + output::groupedNumber(c.facts.bytes) + "\n";
  s += "frames: " + std::to_string(t.delaysMs.size()) + "\n";
  s += "shortest delay: " + seconds(t.shortestMs) + " s\n";
  s += "one play: " + seconds(t.onePlayMs) + " s\n";
  s += "plays: " + (t.plays == 0 ? std::string("forever") : std::to_string(t.plays)) + "\n";
  s += "total: " + (t.plays == 0 ? std::string("forever") : seconds(t.totalMs) + " s") + "\n";
  static constexpr const char* kPresetWords[] = {"none", "google", "iab", "amazon"};
  s += std::string("preset: ") + kPresetWords[static_cast<int>(output::presetFromIndex(static_cast<int>(preset)))] + "\n";
  for (const RuleResult& r : c.rules) {
    std::string line;
    switch (r.rule) {
      case Rule::ShortestDelay:
        line = "shortest delay " + seconds(r.figure) + " s, at least " + seconds(r.limit) + " s";
        break;
      case Rule::LengthenedDelay:
        line = plural(r.figure, "delay", "delays") + " of 0 or 0.01 s (browsers play them as 0.1 s)";
        break;
      case Rule::Endless:
        line = r.kept ? "stops" : "loops forever, must stop";
        break;
      case Rule::TotalTime:
        line = "total time " + seconds(r.figure) + " s, at most " + seconds(r.limit) + " s";
        break;
      case Rule::Plays:
        line = plural(r.figure, "play", "plays") + ", at most " + std::to_string(r.limit);
        break;
      case Rule::Bytes:
        line = plural(r.figure, "byte", "bytes") + ", at most " + output::groupedNumber(static_cast<std::uintmax_t>(r.limit));
        break;
      case Rule::Size:
        line = std::to_string(c.facts.width) + " x " + std::to_string(c.facts.height) +
               (r.kept ? " is a listed size" : " is not a listed size");
        break;
      case Rule::GeneralFlash:
      case Rule::RedFlash:
        line = std::string(r.rule == Rule::GeneralFlash ? "general" : "red") + " flash: " +
               plural(r.figure, "change", "changes") + " in the busiest second, at most " + std::to_string(r.limit);
        if (!canFlash(c.facts.width, c.facts.height)) line += " (smaller than the flash area)";
        break;
    }
    s += std::string(r.kept ? "kept    " : "BROKEN  ") + line + "\n";
  }
  return s;
}

}  // namespace check
