// The Japanese texts of the play summary, the preset warnings and the budget
// report, in one place so that the dialog, the saves and the tests use the
// very same words. UTF-8. "{}" marks where a value goes, in order; a value
// that ends in a Latin letter gets a space before Japanese that follows it
// directly ("Amazon の上限", but "Google 広告の上限").
//
// They are the source texts of the program's translation catalogue too
// (context "Pictorell", like every window text): the markers below are what
// lupdate reads, and the formatting functions of animation_plan.h take a
// translator. A text marked with the _N_ form speaks of a number that picks
// the plural form in languages that have one (its comment says which).
#pragma once

#include <array>

// This folder stays free of Qt; the markers are spelled exactly as Qt spells
// them, and are removed again at the end of this header when defined here.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(scope, x) x
#define PICTORELL_PLAY_TEXTS_NOOP
#endif
#ifndef QT_TRANSLATE_N_NOOP
#define QT_TRANSLATE_N_NOOP(scope, x) x
#define PICTORELL_PLAY_TEXTS_N_NOOP
#endif

namespace output::text {

// Preset names as the combo box lists them, index = AdPreset.
inline constexpr std::array<const char*, 4> kPresetNames = {
    QT_TRANSLATE_NOOP("Pictorell", "なし"), QT_TRANSLATE_NOOP("Pictorell", "Google 広告"),
    QT_TRANSLATE_NOOP("Pictorell", "IAB"), QT_TRANSLATE_NOOP("Pictorell", "Amazon")};

// "0.20 秒 × 23 フレーム" [+ " + 静止 1.0 秒"] " = 4.6 秒" then the plays.
inline constexpr const char* kSummaryFrames = QT_TRANSLATE_N_NOOP("Pictorell", "{} 秒 × {} フレーム");  // frames
// The same when frames have display times of their own: "23 フレーム（時間はフレームごと）".
inline constexpr const char* kSummaryOwnFrames =
    QT_TRANSLATE_N_NOOP("Pictorell", "{} フレーム（表示時間はフレームごと）");  // frames
inline constexpr const char* kSummaryHold = QT_TRANSLATE_NOOP("Pictorell", " + 静止 {} 秒");
inline constexpr const char* kSummaryOnePlay = QT_TRANSLATE_NOOP("Pictorell", " = {} 秒");
inline constexpr const char* kSummaryPlays = QT_TRANSLATE_N_NOOP("Pictorell", "、{} 回再生 = {} 秒");  // plays
inline constexpr const char* kSummaryForever = QT_TRANSLATE_NOOP("Pictorell", "、無限に繰り返し");

inline constexpr const char* kWarnInterval =
    QT_TRANSLATE_NOOP("Pictorell", "表示間隔が {}の下限 {} 秒より短くなっています。");
inline constexpr const char* kWarnEndless =
    QT_TRANSLATE_NOOP("Pictorell", "{}では無限に繰り返せません。再生回数を指定してください。");
inline constexpr const char* kWarnTooLong =
    QT_TRANSLATE_NOOP("Pictorell", "再生時間 {} 秒が {}の上限 {} 秒を超えています。");
inline constexpr const char* kWarnTooManyPlays =
    QT_TRANSLATE_NOOP("Pictorell", "再生回数 {} 回が {}の上限 {} 回を超えています。");
inline constexpr const char* kWarnRaisedTimes = QT_TRANSLATE_N_NOOP(
    "Pictorell", "{} フレームの表示時間を {}の下限 {} 秒に延ばして保存します。");  // frames
inline constexpr const char* kWarnSize =
    QT_TRANSLATE_NOOP("Pictorell", "画像の大きさ {} x {} ピクセルは {}の標準サイズにありません。");

inline constexpr const char* kBudgetSize =
    QT_TRANSLATE_NOOP("Pictorell", "アニメーションGIFのサイズは {} バイトです。");
inline constexpr const char* kBudgetWithin = QT_TRANSLATE_NOOP("Pictorell", "{}の上限 {} バイトに収まっています。");
inline constexpr const char* kBudgetOver =
    QT_TRANSLATE_N_NOOP("Pictorell", "{}の上限 {} バイトを {} バイト超えています。");  // bytes over

// The question before saving a file that even at its lowest quality is over
// the byte budget: the budget, then the smallest file's bytes and PSNR (dB).
inline constexpr const char* kOverBudgetLimit =
    QT_TRANSLATE_NOOP("Pictorell", "アニメーションGIFを上限 {} バイトに収められません。");
inline constexpr const char* kOverBudgetSmallest =
    QT_TRANSLATE_NOOP("Pictorell", "最も小さくしても {} バイト（PSNR {} dB）です。");
inline constexpr const char* kOverBudgetAsk = QT_TRANSLATE_NOOP("Pictorell", "このまま保存しますか？");

}  // namespace output::text

#ifdef PICTORELL_PLAY_TEXTS_NOOP
#undef QT_TRANSLATE_NOOP
#undef PICTORELL_PLAY_TEXTS_NOOP
#endif
#ifdef PICTORELL_PLAY_TEXTS_N_NOOP
#undef QT_TRANSLATE_N_NOOP
#undef PICTORELL_PLAY_TEXTS_N_NOOP
#endif
