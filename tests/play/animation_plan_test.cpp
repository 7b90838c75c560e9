// Play counts, rest frames, holds and ad presets: the slot order, the delays,
// the stored loop count, the preset arithmetic and the exact texts.
#include <gtest/gtest.h>

#include <algorithm>

#include "play/animation_plan.h"
#include "play/play_texts.h"
#include "play/preset_sizes.h"

namespace {

using output::AdPreset;
using output::AnimationShape;
using output::AnimationTiming;
using output::PlaySettings;

// The save's shapes: Slide (22 files, rest 5), Hue converging (back and
// forth, rest 0), Zoom (rest 9).
constexpr AnimationShape kSlide{21, false, 5, 468, 60};
constexpr AnimationShape kHueBack{11, true, 0, 320, 50};
constexpr AnimationShape kZoom{9, false, 9, 728, 90};

PlaySettings play(int plays, int holdCs = 0, AdPreset preset = AdPreset::None) {
  PlaySettings p;
  p.plays = plays;
  p.holdCs = holdCs;
  p.preset = preset;
  return p;
}

std::vector<int> range(int from, int to) {
  std::vector<int> v;
  for (int i = from; i <= to; ++i) v.push_back(i);
  return v;
}

TEST(AnimationPlan, ForeverWithoutHoldIsThePlainAnimation) {
  const auto slide = output::planAnimation(kSlide, 10, PlaySettings{});
  EXPECT_EQ(slide.files, range(0, 21));
  EXPECT_EQ(slide.timing.delays, std::vector<int>(22, 10));
  EXPECT_EQ(slide.timing.plays, 0);
  // Back and forth: 0..11, 11 - 1..1, as the plain writer loads them.
  const auto hue = output::planAnimation(kHueBack, 15, PlaySettings{});
  std::vector<int> expected = range(0, 11);
  for (int i = 10; i >= 1; --i) expected.push_back(i);
  EXPECT_EQ(hue.files, expected);
  EXPECT_EQ(hue.timing.delays, std::vector<int>(22, 15));
  EXPECT_TRUE(PlaySettings{}.plain());
  EXPECT_TRUE(play(0, 0, AdPreset::Google).plain());  // a preset alone changes no byte
}

TEST(AnimationPlan, ThePlayCountIsKeptAsACountAndClamped) {
  EXPECT_EQ(output::planAnimation(kSlide, 10, play(1)).timing.plays, 1);
  EXPECT_EQ(output::planAnimation(kSlide, 10, play(2)).timing.plays, 2);
  EXPECT_EQ(output::planAnimation(kSlide, 10, play(6)).timing.plays, 6);
  EXPECT_EQ(output::planAnimation(kSlide, 10, play(99)).timing.plays, 99);
  EXPECT_EQ(output::planAnimation(kSlide, 10, play(0, 50)).timing.plays, 0);
  EXPECT_EQ(output::planAnimation(kSlide, 10, play(150)).timing.plays, 99);  // clamped to 99 plays
}

TEST(AnimationPlan, AFiniteCountStartsAndStopsOnTheRestFrameAndTheHoldIsItsOwnDelay) {
  // Slide: from step 0 round to step -1, then step 0 again.
  const auto slide = output::planAnimation(kSlide, 20, play(3, 150));
  std::vector<int> expected = range(5, 21);
  for (int i = 0; i <= 5; ++i) expected.push_back(i);
  EXPECT_EQ(slide.files, expected);
  ASSERT_EQ(slide.timing.delays.size(), 23u);
  EXPECT_EQ(slide.timing.delays.front(), 170);  // only the opening rest frame holds
  EXPECT_EQ(slide.timing.delays.back(), 20);
  EXPECT_EQ(std::count(slide.timing.delays.begin(), slide.timing.delays.end(), 20), 22);
  EXPECT_EQ(output::onePlayCs(slide), 23 * 20 + 150);

  // Zoom rests on its last file; back and forth keeps its way back.
  EXPECT_EQ(output::planAnimation(kZoom, 10, play(1)).files, (std::vector<int>{9, 0, 1, 2, 3, 4, 5, 6, 7, 8, 9}));
  const auto hue = output::planAnimation(kHueBack, 10, play(2));
  EXPECT_EQ(hue.files.size(), 23u);
  EXPECT_EQ(hue.files.front(), 0);
  EXPECT_EQ(hue.files[21], 1);
  EXPECT_EQ(hue.files.back(), 0);

  // Forever with a hold: starts at the rest frame, no closing copy.
  const auto held = output::planAnimation(kSlide, 10, play(0, 100));
  EXPECT_EQ(held.files.size(), 22u);
  EXPECT_EQ(held.files.front(), 5);
  EXPECT_EQ(held.files.back(), 4);
  EXPECT_EQ(held.timing.delays.front(), 110);
  EXPECT_EQ(held.timing.plays, 0);
}

TEST(AnimationPlan, PresetArithmetic) {
  // Google with Slide's 22 frames at 0.1 s: 0.2 s, 23 frames = 4.6 s, so 6
  // plays = 27.6 s within 30 s.
  const auto google = output::choosePreset(AdPreset::Google, kSlide, 10, 0);
  EXPECT_EQ(google.intervalCs, 20);
  EXPECT_EQ(google.plays, 6);
  EXPECT_EQ(output::choosePreset(AdPreset::Google, kSlide, 50, 0).intervalCs, 50);  // only ever raised
  // Amazon: at most 3 plays, all within 15 s.
  EXPECT_EQ(output::choosePreset(AdPreset::Amazon, kSlide, 10, 0).plays, 3);
  EXPECT_EQ(output::choosePreset(AdPreset::Amazon, kSlide, 10, 0).intervalCs, 10);
  EXPECT_EQ(output::choosePreset(AdPreset::Amazon, kSlide, 30, 0).plays, 2);  // 6.9 s a play
  // The hold counts: IAB 15 s with 4.6 s + 3 s a play gives 1.
  EXPECT_EQ(output::choosePreset(AdPreset::Iab, kSlide, 20, 300).plays, 1);
  EXPECT_EQ(output::choosePreset(AdPreset::Iab, kSlide, 20, 0).plays, 3);
  // Even one play too long: 1, and that breaks the preset.
  const auto slow = output::choosePreset(AdPreset::Amazon, kSlide, 100, 0);
  EXPECT_EQ(slow.plays, 1);
  const auto s = output::summarize(kSlide, 100, play(slow.plays, 0, AdPreset::Amazon));
  EXPECT_EQ(s.totalCs, 2300);
  EXPECT_TRUE(output::checkPreset(s, AdPreset::Amazon).tooLong);
  // No time limit to divide by: the most plays the dialog offers.
  EXPECT_EQ(output::largestPlays(AdPreset::None, 460), 99);
  EXPECT_EQ(output::largestPlays(AdPreset::Google, 0), 99);
}

TEST(AnimationPlan, BudgetsFollowTheNetworkAndTheBannerSize) {
  EXPECT_EQ(output::byteBudget(AdPreset::Google, 468, 60), 150000);
  EXPECT_EQ(output::byteBudget(AdPreset::Iab, 728, 90), 150000);
  EXPECT_EQ(output::byteBudget(AdPreset::Iab, 970, 90), 200000);
  EXPECT_EQ(output::byteBudget(AdPreset::Iab, 970, 250), 250000);
  EXPECT_EQ(output::byteBudget(AdPreset::Iab, 320, 50), 50000);
  EXPECT_EQ(output::byteBudget(AdPreset::Iab, 300, 50), 50000);
  EXPECT_EQ(output::byteBudget(AdPreset::Iab, 468, 60), 150000);  // not in the IAB's table
  EXPECT_EQ(output::byteBudget(AdPreset::Amazon, 468, 60), 0);
  EXPECT_EQ(output::byteBudget(AdPreset::None, 468, 60), 0);
  EXPECT_EQ(output::presetFromIndex(4), AdPreset::None);
  EXPECT_EQ(output::presetFromIndex(-1), AdPreset::None);
}

TEST(AnimationPlan, GoogleAndIabKnowTheirSizesAndWarnOfOthers) {
  EXPECT_EQ(output::presetSizes(AdPreset::Google).size(), 20u);
  EXPECT_EQ(output::presetSizes(AdPreset::Iab).size(), 9u);
  // Of Google's twenty, nine fit within 1000 x 200 (200 x 200 among them).
  int banners = 0;
  for (const output::AdSize& s : output::presetSizes(AdPreset::Google)) banners += s.width <= 1000 && s.height <= 200;
  EXPECT_EQ(banners, 9);
  for (auto [w, h] : {std::pair{300, 250}, std::pair{160, 600}, std::pair{970, 250}, std::pair{300, 1050},
                      std::pair{728, 90}, std::pair{320, 50}}) {
    EXPECT_TRUE(output::isPresetSize(AdPreset::Google, w, h)) << w << "x" << h;
    EXPECT_TRUE(output::isPresetSize(AdPreset::Iab, w, h)) << w << "x" << h;
    EXPECT_FALSE(output::presetSizeWarning(AdPreset::Google, w, h));
  }
  EXPECT_TRUE(output::isPresetSize(AdPreset::Google, 468, 60));
  EXPECT_FALSE(output::isPresetSize(AdPreset::Iab, 468, 60));
  EXPECT_FALSE(output::isPresetSize(AdPreset::Google, 250, 300));  // turned on its side
  EXPECT_FALSE(output::isPresetSize(AdPreset::Google, 1200, 1200));
  // No list, no check.
  EXPECT_TRUE(output::isPresetSize(AdPreset::Amazon, 17, 3));
  EXPECT_TRUE(output::isPresetSize(AdPreset::None, 17, 3));
  EXPECT_EQ(output::presetSizeWarning(AdPreset::Google, 400, 60),
            "画像の大きさ 400 x 60 ピクセルは Google 広告の標準サイズにありません。");
  EXPECT_EQ(output::presetSizeWarning(AdPreset::Iab, 468, 60),
            "画像の大きさ 468 x 60 ピクセルは IAB の標準サイズにありません。");
  EXPECT_FALSE(output::presetSizeWarning(AdPreset::Amazon, 400, 60));
  // The IAB budget follows its table; its other sizes get the common one.
  EXPECT_EQ(output::byteBudget(AdPreset::Iab, 300, 600), 150000);
  EXPECT_EQ(output::byteBudget(AdPreset::Iab, 970, 250), 250000);
}

TEST(AnimationPlan, TheSummaryLineAndTheWarningsReadExactly) {
  EXPECT_EQ(output::summaryLine(output::summarize(kSlide, 20, play(6))),
            "0.20 秒 × 23 フレーム = 4.6 秒、6 回再生 = 27.6 秒");
  EXPECT_EQ(output::summaryLine(output::summarize(kSlide, 10, PlaySettings{})),
            "0.10 秒 × 22 フレーム = 2.2 秒、無限に繰り返し");
  EXPECT_EQ(output::summaryLine(output::summarize(kZoom, 15, play(2, 125))),
            "0.15 秒 × 11 フレーム + 静止 1.25 秒 = 2.9 秒、2 回再生 = 5.8 秒");
  EXPECT_EQ(output::summaryLine(output::summarize(kZoom, 100, play(1, 200))),
            "1.00 秒 × 11 フレーム + 静止 2.0 秒 = 13.0 秒、1 回再生 = 13.0 秒");

  // Google at today's default, forever: too fast and never stops.
  const auto google = output::summarize(kSlide, 10, play(0, 0, AdPreset::Google));
  EXPECT_EQ(output::presetWarnings(google, AdPreset::Google),
            (std::vector<std::string>{"表示間隔が Google 広告の下限 0.20 秒より短くなっています。",
                                      "Google 広告では無限に繰り返せません。再生回数を指定してください。"}));
  const auto amazon = output::summarize(kSlide, 30, play(5, 0, AdPreset::Amazon));
  EXPECT_EQ(output::presetWarnings(amazon, AdPreset::Amazon),
            (std::vector<std::string>{"再生時間 34.5 秒が Amazon の上限 15 秒を超えています。",
                                      "再生回数 5 回が Amazon の上限 3 回を超えています。"}));
  EXPECT_TRUE(output::presetWarnings(output::summarize(kSlide, 20, play(6)), AdPreset::Google).empty());
  EXPECT_TRUE(output::presetWarnings(google, AdPreset::None).empty());
}

TEST(AnimationPlan, TheBudgetReportSaysHowMuchIsLeftOrOver) {
  const auto within = output::budgetReport(AdPreset::Google, 468, 60, 118204);
  ASSERT_TRUE(within);
  EXPECT_TRUE(within->within);
  EXPECT_EQ(within->text,
            "アニメーションGIFのサイズは 118,204 バイトです。\nGoogle 広告の上限 150,000 バイトに収まっています。");
  const auto over = output::budgetReport(AdPreset::Iab, 320, 50, 50001);
  ASSERT_TRUE(over);
  EXPECT_FALSE(over->within);
  EXPECT_EQ(over->text,
            "アニメーションGIFのサイズは 50,001 バイトです。\nIAB の上限 50,000 バイトを 1 バイト超えています。");
  EXPECT_TRUE(output::budgetReport(AdPreset::Google, 468, 60, 150000)->within);
  EXPECT_FALSE(output::budgetReport(AdPreset::Amazon, 468, 60, 999999));

  EXPECT_EQ(output::secondsText(345, 1), "3.45");
  EXPECT_EQ(output::secondsText(3000, 0), "30");
  EXPECT_EQ(output::secondsText(5, 2), "0.05");
  EXPECT_EQ(output::groupedNumber(999), "999");
  EXPECT_EQ(output::groupedNumber(1234567), "1,234,567");
}

// The texts go through a translator piece by piece, each with the number it
// speaks of; the translated patterns are filled in, and the space between a
// Latin name and Japanese is not forced on other languages.
TEST(AnimationPlan, TextsGoThroughTheTranslatorWithTheNumberTheySpeakOf) {
  std::vector<std::pair<std::string, int>> asked;
  const output::TextTranslator toEnglish = [&](const char* text, int count) -> std::string {
    asked.emplace_back(text, count);
    const std::string t = text;
    if (t == output::text::kSummaryFrames) return "{} s x {} frames";
    if (t == output::text::kSummaryOnePlay) return " = {} s";
    if (t == output::text::kSummaryPlays) return ", {} plays = {} s";
    if (t == output::text::kWarnTooManyPlays) return "{} plays break the {} limit of {}.";
    if (t == output::text::kBudgetSize) return "{} bytes.";
    if (t == output::text::kBudgetOver) return "Over the {} limit of {} by {}.";
    return t;  // the preset names stay
  };
  EXPECT_EQ(output::summaryLine(output::summarize(kSlide, 20, play(6)), toEnglish),
            "0.20 s x 23 frames = 4.6 s, 6 plays = 27.6 s");
  EXPECT_EQ(asked, (std::vector<std::pair<std::string, int>>{{output::text::kSummaryFrames, 23},
                                                             {output::text::kSummaryOnePlay, -1},
                                                             {output::text::kSummaryPlays, 6}}));
  const auto amazon = output::summarize(kSlide, 10, play(5, 0, AdPreset::Amazon));
  EXPECT_EQ(output::presetWarnings(amazon, AdPreset::Amazon, toEnglish).back(), "5 plays break the Amazon limit of 3.");
  const auto over = output::budgetReport(AdPreset::Iab, 320, 50, 51234);
  ASSERT_TRUE(over);
  asked.clear();
  EXPECT_EQ(output::budgetText(*over, toEnglish), "51,234 bytes.\nOver the IAB limit of 50,000 by 1,234.");
  const std::pair<std::string, int> overBy{output::text::kBudgetOver, 1234};
  EXPECT_NE(std::find(asked.begin(), asked.end(), overBy), asked.end());
  // A translator that keeps the Japanese gives the very same text as none.
  const output::TextTranslator same = [](const char* text, int) { return std::string(text); };
  EXPECT_EQ(output::budgetText(*over, same), over->text);
  EXPECT_EQ(output::presetWarnings(amazon, AdPreset::Amazon, same), output::presetWarnings(amazon, AdPreset::Amazon));
}

}  // namespace

namespace {

// Files with their own display time keep it through the play count and the
// hold; a preset raises the shorter ones, and its play count counts them.
TEST(AnimationPlan, OwnDisplayTimesReplaceTheIntervalAndThePresetRaisesThem) {
  AnimationShape shape{3, false, 0, 300, 250};
  shape.delayCs = {0, 150, 5};  // file 3 has none either
  const output::AnimationPlan plain = output::planAnimation(shape, 10, play(0));
  EXPECT_EQ(plain.timing.delays, (std::vector<int>{10, 150, 5, 10}));
  const output::AnimationPlan counted = output::planAnimation(shape, 10, play(2, 100, AdPreset::Google));
  EXPECT_EQ(counted.files, (std::vector<int>{0, 1, 2, 3, 0}));
  EXPECT_EQ(counted.timing.delays, (std::vector<int>{110, 150, 20, 10, 10}));
  // One play with Google's 0.20 s: 20 + 150 + 20 + 20 + 20 = 230, 13 plays in 30 s.
  EXPECT_EQ(output::choosePreset(AdPreset::Google, shape, 10, 0).plays, 13);
  // Without own times nothing changes.
  EXPECT_EQ(output::planAnimation(kZoom, 10, play(0)).timing.delays, std::vector<int>(10, 10));
}

}  // namespace
