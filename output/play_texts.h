// The Japanese texts of the play summary, the preset warnings and the budget
// report, in one place so that the dialog, the saves and the tests use the
// very same words. UTF-8. "{}" marks where a value goes, in order; a preset
// name that ends in a Latin letter gets a space before the Japanese that
// follows it ("Amazon の上限", but "Google 広告の上限").
#pragma once

#include <array>

namespace output::text {

// Preset names as the combo box lists them, index = AdPreset.
inline constexpr std::array<const char*, 4> kPresetNames = {"なし", "Google 広告", "IAB", "Amazon"};

// "0.20 秒 × 23 フレーム" [+ " + 静止 1.0 秒"] " = 4.6 秒" then the plays.
inline constexpr const char* kSummaryFrames = "{} 秒 × {} フレーム";
inline constexpr const char* kSummaryHold = " + 静止 {} 秒";
inline constexpr const char* kSummaryOnePlay = " = {} 秒";
inline constexpr const char* kSummaryPlays = "、{} 回再生 = {} 秒";
inline constexpr const char* kSummaryForever = "、無限に繰り返し";

inline constexpr const char* kWarnInterval = "表示間隔が {}の下限 {} 秒より短くなっています。";
inline constexpr const char* kWarnEndless = "{}では無限に繰り返せません。再生回数を指定してください。";
inline constexpr const char* kWarnTooLong = "再生時間 {} 秒が {}の上限 {} 秒を超えています。";
inline constexpr const char* kWarnTooManyPlays = "再生回数 {} 回が {}の上限 {} 回を超えています。";

inline constexpr const char* kBudgetSize = "アニメーションGIFのサイズは {} バイトです。";
inline constexpr const char* kBudgetWithin = "{}の上限 {} バイトに収まっています。";
inline constexpr const char* kBudgetOver = "{}の上限 {} バイトを {} バイト超えています。";

}  // namespace output::text
