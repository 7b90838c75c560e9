// Every caption, tool tip and message of the main window and its dialogs, in
// one place so that the window code and the tests use the very same texts.
// All texts are UTF-8.
#pragma once

#include <array>

namespace app::text {

inline constexpr const char* kAppTitle = "Pictorell";
inline constexpr const char* kVersion = "2.1.0";

// --- frmMain controls ---
inline constexpr const char* kTxtSourceTip = "ファイルをDrag/Dropできます";
inline constexpr const char* kCmdOpen = "参照...(&O)";
inline constexpr const char* kLabel1 = "アニメーションタイプ(&A)　→";
// The effect list, index = effect. The padding is part of each entry.
inline constexpr std::array<const char*, 7> kCboType = {
    "Slide    交差", "Turn    ２Ｄ回転", "Rotate  ３Ｄ回転", "Zoom   拡大/縮小",
    "Diffuse 拡散",  "Elastic 伸縮",     "Hue     色相変換",
};
// Option panel captions, index = effect.
inline constexpr std::array<const char*, 7> kPanelCaptions = {
    "&Slide Option", "&Turn Option", "&Rotate Option", "&Zoom Option", "&Diffuse Option", "&Elastic Option", "&Hue",
};
inline constexpr const char* kChkCross = "両端から交差";
inline constexpr const char* kChkMask = "マスク";
inline constexpr std::array<const char*, 2> kOptXY = {"X軸", "Y軸"};
inline constexpr std::array<const char*, 3> kOptDiffuseType = {"Sand", "Light up", "Light down"};
inline constexpr const char* kPicHueTip = "収束色相の選択";
inline constexpr std::array<const char*, 2> kOptHueType = {"ローテーション", "収束"};
inline constexpr const char* kLblColor = "背景色";
inline constexpr const char* kCmdColor = "参照...(&B)";
inline constexpr const char* kCmdPrev = "プレビュー(&V)";
inline constexpr const char* kCmdPrevRunning = "中止(&V)";
inline constexpr std::array<const char*, 2> kCmdPause = {"I>", ">"};
inline constexpr std::array<const char*, 2> kCmdPauseTips = {"コマ送り", "コマ送り解除"};
inline constexpr const char* kCmdCopy = "&Copy";
inline constexpr const char* kCmdCopyTip = "フレーム・リストに貼り付け";
inline constexpr const char* kCmdSave = "保存(&A)";
inline constexpr const char* kCmdClose = "終了(&Q)";

// --- frmMain menus ---
inline constexpr const char* kMnuFile = "ファイル(&F)";
inline constexpr const char* kMnuFileOpen = "元画像を開く(&O)";
inline constexpr const char* kMnuFileSave = "ベース名を付けて保存(&A)";
inline constexpr const char* kMnuFileQuit = "終了(&Q)";
inline constexpr const char* kMnuEdit = "編集(&V)";
inline constexpr const char* kMnuEditCopy = "フレーム・リストに貼付け";
inline constexpr const char* kMnuEditPaste = "クリップボードから貼付け";
inline constexpr const char* kMnuDisplay = "表示(&V)";
inline constexpr const char* kMnuPreview = "プレビュー(&V)";
inline constexpr const char* kMnuPreviewRunning = "プレビュー中止(&V)";
inline constexpr const char* kMnuSetting = "設定(&S)";
inline constexpr const char* kMnuAniMode = "Animation &Mode";
inline constexpr std::array<const char*, 7> kMnuAniModeType = {
    "&1：Sllide", "&2：Turn", "&3：Rotate", "&4：Zoom", "&5：Diffuse", "&6：Elastic", "&7:Hue",
};
// Option menu captions, index = effect.
inline constexpr std::array<const char*, 7> kOptionMenus = {
    "Slide &Option",   "Turn &Option",    "Rotate &Option", "Zoom &Option",
    "Diffuse &Option", "Elastic &Option", "Hue &Option",
};
inline constexpr const char* kMnuCross = "両端から交差";
inline constexpr const char* kMnuMask = "マスク";
inline constexpr std::array<const char*, 2> kMnuXY = {"X軸を中心に回転", "Y軸を中心に回転"};
inline constexpr std::array<const char*, 3> kMnuDiffuseType = {"&Sand", "Light &up", "Light &down"};
inline constexpr std::array<const char*, 2> kMnuHueOptionType = {"ローテーション", "収束"};
inline constexpr const char* kMnuBackColor = "バナーの背景色...(&C)";
inline constexpr const char* kMnuFormColor = "画面の背景色変更...(&B)";
inline constexpr const char* kMnuBackInit = "画面の背景色初期化(&I)";
inline constexpr const char* kMnuHelp = "ヘルプ(&H)";
inline constexpr const char* kMnuHelpOpen = "ヘルプファイルを開く";

// --- messages ---
inline constexpr const char* kHelpMissing = "ヘルプファイルが見つかりません。";
inline constexpr const char* kClipboardEmpty = "クリップボードに画像がありません。";
inline constexpr const char* kClipboardSource = "(クリップボード)";
inline constexpr const char* kHelpFileName = "brenlo.chm";

// --- file dialogs ---
inline constexpr const char* kSaveDialogTitle = "保存先およびベース名の設定";
inline constexpr const char* kProposedBaseName = "BaseName";
inline constexpr std::array<const char*, 4> kSaveFilters = {"ビットマップ(*.bmp)", "ＪＰＥＧ(*.jpg)", "ＧＩＦ(*.gif)",
                                                            "ＷｅｂＰ(*.webp)"};
inline constexpr std::array<const char*, 6> kOpenFilters = {"対応画像ファイル(*.bmp;*.jpg;*.gif;*.png;*.webp)",
                                                            "ビットマップ(*.bmp)",
                                                            "ＪＰＥＧ(*.jpg)",
                                                            "ＧＩＦ(*.gif)",
                                                            "ＰＮＧ(*.png)",
                                                            "ＷｅｂＰ(*.webp)"};

// --- frmGifSetting ---
inline constexpr const char* kGifCaption = "GIF出力形式設定";
inline constexpr const char* kGifOptAnimated = "アニメーションGIFで１つのファイルに保存";  // optType(1)
inline constexpr const char* kGifOptPerFrame = "フレーム単位で複数のファイルに保存";       // optType(0)
inline constexpr const char* kGifLabel = "フレームの表示間隔　(秒）　→　";
inline constexpr std::array<const char*, 16> kGifTimes = {
    "0.05", "0.10", "0.20", "0.30", "0.40", "0.50", "0.60", "0.70",
    "0.80", "0.90", "1.00", "1.10", "1.20", "1.30", "1.40", "1.50",
};
inline constexpr const char* kGifOk = "&OK";
inline constexpr const char* kGifBadInterval = "フレーム表示間隔が不正です。";
// The play section below the existing controls (the preset names, the
// summary line and the warnings are output/play_texts.h).
inline constexpr const char* kGifPlayFrame = "アニメーションGIFの再生";
inline constexpr const char* kGifPlaysLabel = "再生回数　→　";
inline constexpr const char* kGifPlaysForever = "無限に繰り返す";
inline constexpr const char* kGifPlaysCount = "回数を指定";
inline constexpr const char* kGifPlaysSuffix = " 回";
inline constexpr const char* kGifHoldLabel = "静止時間　(秒）　→　";
inline constexpr const char* kGifHoldTip = "絵全体が見えるフレームから始め、そのフレームをこの秒数だけ長く表示します。";
inline constexpr const char* kGifPresetLabel = "広告の規定　→　";
inline constexpr const char* kGifPresetTip = "選ぶと、表示間隔と再生回数をその規定に収まるように設定します。";
// The same dialog asking for an animated WebP's interval.
inline constexpr const char* kWebpCaption = "WebP出力形式設定";
inline constexpr const char* kWebpOptAnimated = "アニメーションWebPで１つのファイルに保存";  // optType(1)
inline constexpr const char* kWebpPlayFrame = "アニメーションWebPの再生";

}  // namespace app::text
