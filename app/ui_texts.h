// Every caption, tool tip and message of the main window and its dialogs, in
// one place so that the window code and the tests use the very same texts.
// All texts are UTF-8.
//
// The Japanese texts are the source of the translations: each one that is
// shown is marked with QT_TRANSLATE_NOOP in the context "Pictorell" (lupdate
// collects them into translations/pictorell_en.ts) and passed through shown()
// where it is put on screen. Without a translator installed, shown() returns
// the text itself.
#pragma once

#include <array>
#include <string>

#include <QCoreApplication>
#include <QString>

namespace app::text {

// The translation context of every marked text of the program.
inline constexpr const char* kContext = "Pictorell";

// A marked text as the interface shows it: the installed translation, or the
// Japanese text itself.
inline QString shown(const char* source) { return QCoreApplication::translate(kContext, source); }

// The same for a text that speaks of `count` things (-1: none): the plural
// form the translation has for that number.
inline QString shown(const char* source, int count) {
  return QCoreApplication::translate(kContext, source, nullptr, count);
}

// A text of play/play_texts.h, as output's formatting functions take it
// (an output::TextTranslator).
inline std::string shownOutputText(const char* source, int count) { return shown(source, count).toStdString(); }

inline constexpr const char* kAppTitle = "Pictorell";
inline constexpr const char* kVersion = "2.1.0";

// --- frmMain controls ---
inline constexpr const char* kTxtSourceTip = QT_TRANSLATE_NOOP("Pictorell", "ファイルをDrag/Dropできます");
inline constexpr const char* kCmdOpen = QT_TRANSLATE_NOOP("Pictorell", "参照...(&O)");
inline constexpr const char* kLabel1 = QT_TRANSLATE_NOOP("Pictorell", "アニメーションタイプ(&A)　→");
// The effect list, index = effect. The padding is part of each entry.
inline constexpr std::array<const char*, 7> kCboType = {
    QT_TRANSLATE_NOOP("Pictorell", "Slide    交差"),    QT_TRANSLATE_NOOP("Pictorell", "Turn    ２Ｄ回転"),
    QT_TRANSLATE_NOOP("Pictorell", "Rotate  ３Ｄ回転"), QT_TRANSLATE_NOOP("Pictorell", "Zoom   拡大/縮小"),
    QT_TRANSLATE_NOOP("Pictorell", "Diffuse 拡散"),     QT_TRANSLATE_NOOP("Pictorell", "Elastic 伸縮"),
    QT_TRANSLATE_NOOP("Pictorell", "Hue     色相変換"),
};
// Option panel captions, index = effect.
inline constexpr std::array<const char*, 7> kPanelCaptions = {
    QT_TRANSLATE_NOOP("Pictorell", "&Slide Option"),
    QT_TRANSLATE_NOOP("Pictorell", "&Turn Option"),
    QT_TRANSLATE_NOOP("Pictorell", "&Rotate Option"),
    QT_TRANSLATE_NOOP("Pictorell", "&Zoom Option"),
    QT_TRANSLATE_NOOP("Pictorell", "&Diffuse Option"),
    QT_TRANSLATE_NOOP("Pictorell", "&Elastic Option"),
    QT_TRANSLATE_NOOP("Pictorell", "&Hue"),
};
inline constexpr const char* kChkCross = QT_TRANSLATE_NOOP("Pictorell", "両端から交差");
inline constexpr const char* kChkMask = QT_TRANSLATE_NOOP("Pictorell", "マスク");
inline constexpr std::array<const char*, 2> kOptXY = {QT_TRANSLATE_NOOP("Pictorell", "X軸"),
                                                      QT_TRANSLATE_NOOP("Pictorell", "Y軸")};
inline constexpr std::array<const char*, 3> kOptDiffuseType = {QT_TRANSLATE_NOOP("Pictorell", "Sand"),
                                                               QT_TRANSLATE_NOOP("Pictorell", "Light up"),
                                                               QT_TRANSLATE_NOOP("Pictorell", "Light down")};
inline constexpr const char* kPicHueTip = QT_TRANSLATE_NOOP("Pictorell", "収束色相の選択");
inline constexpr std::array<const char*, 2> kOptHueType = {QT_TRANSLATE_NOOP("Pictorell", "ローテーション"),
                                                           QT_TRANSLATE_NOOP("Pictorell", "収束")};
inline constexpr const char* kLblColor = QT_TRANSLATE_NOOP("Pictorell", "背景色");
inline constexpr const char* kCmdColor = QT_TRANSLATE_NOOP("Pictorell", "参照...(&B)");
inline constexpr const char* kCmdPrev = QT_TRANSLATE_NOOP("Pictorell", "プレビュー(&V)");
inline constexpr const char* kCmdPrevRunning = QT_TRANSLATE_NOOP("Pictorell", "中止(&V)");
inline constexpr std::array<const char*, 2> kCmdPause = {"I>", ">"};
inline constexpr std::array<const char*, 2> kCmdPauseTips = {QT_TRANSLATE_NOOP("Pictorell", "コマ送り"),
                                                             QT_TRANSLATE_NOOP("Pictorell", "コマ送り解除")};
inline constexpr const char* kCmdCopy = QT_TRANSLATE_NOOP("Pictorell", "&Copy");
inline constexpr const char* kCmdCopyTip = QT_TRANSLATE_NOOP("Pictorell", "フレーム・リストに貼り付け");
inline constexpr const char* kCmdSave = QT_TRANSLATE_NOOP("Pictorell", "保存(&A)");
inline constexpr const char* kCmdClose = QT_TRANSLATE_NOOP("Pictorell", "終了(&Q)");
inline constexpr const char* kLblColorTip = QT_TRANSLATE_NOOP("Pictorell", "バナーの背景色");
inline constexpr const char* kCmdColorTip = QT_TRANSLATE_NOOP("Pictorell", "バナーの背景色を選択");

// --- What a screen reader says for controls without a caption of words ---
// (the step and resume buttons take kCmdPauseTips as their names).
inline constexpr const char* kAccSource = QT_TRANSLATE_NOOP("Pictorell", "元画像ファイル");
inline constexpr const char* kAccPicSource = QT_TRANSLATE_NOOP("Pictorell", "元画像");
inline constexpr const char* kAccPicSourceAbout = QT_TRANSLATE_NOOP("Pictorell", "開いた画像");
inline constexpr const char* kAccPicX = QT_TRANSLATE_NOOP("Pictorell", "プレビュー画面");
inline constexpr const char* kAccPicXAbout = QT_TRANSLATE_NOOP("Pictorell", "プレビュー中のフレーム");
inline constexpr std::array<const char*, 2> kAccPauseAbout = {
    QT_TRANSLATE_NOOP("Pictorell", "プレビューを１コマずつ進めます"),
    QT_TRANSLATE_NOOP("Pictorell", "プレビューを続けます")};
inline constexpr const char* kAccPicHue = QT_TRANSLATE_NOOP("Pictorell", "収束色相");

// --- frmMain menus ---
inline constexpr const char* kMnuFile = QT_TRANSLATE_NOOP("Pictorell", "ファイル(&F)");
inline constexpr const char* kMnuFileOpen = QT_TRANSLATE_NOOP("Pictorell", "元画像を開く(&O)");
inline constexpr const char* kMnuFileSave = QT_TRANSLATE_NOOP("Pictorell", "ベース名を付けて保存(&A)");
inline constexpr const char* kMnuFileQuit = QT_TRANSLATE_NOOP("Pictorell", "終了(&Q)");
inline constexpr const char* kMnuEdit = QT_TRANSLATE_NOOP("Pictorell", "編集(&V)");
inline constexpr const char* kMnuEditCopy = QT_TRANSLATE_NOOP("Pictorell", "フレーム・リストに貼付け");
inline constexpr const char* kMnuEditCopyAll = QT_TRANSLATE_NOOP("Pictorell", "全フレームをフレーム・リストに貼付け");
inline constexpr const char* kMnuEditPaste = QT_TRANSLATE_NOOP("Pictorell", "クリップボードから貼付け");
inline constexpr const char* kMnuDisplay = QT_TRANSLATE_NOOP("Pictorell", "表示(&V)");
inline constexpr const char* kMnuPreview = QT_TRANSLATE_NOOP("Pictorell", "プレビュー(&V)");
inline constexpr const char* kMnuPreviewRunning = QT_TRANSLATE_NOOP("Pictorell", "プレビュー中止(&V)");
inline constexpr const char* kMnuScenes = QT_TRANSLATE_NOOP("Pictorell", "シーン一覧(&L)");
inline constexpr const char* kMnuSetting = QT_TRANSLATE_NOOP("Pictorell", "設定(&S)");
inline constexpr const char* kMnuAniMode = QT_TRANSLATE_NOOP("Pictorell", "Animation &Mode");
inline constexpr std::array<const char*, 7> kMnuAniModeType = {
    QT_TRANSLATE_NOOP("Pictorell", "&1：Sllide"),  QT_TRANSLATE_NOOP("Pictorell", "&2：Turn"),
    QT_TRANSLATE_NOOP("Pictorell", "&3：Rotate"),  QT_TRANSLATE_NOOP("Pictorell", "&4：Zoom"),
    QT_TRANSLATE_NOOP("Pictorell", "&5：Diffuse"), QT_TRANSLATE_NOOP("Pictorell", "&6：Elastic"),
    QT_TRANSLATE_NOOP("Pictorell", "&7:Hue"),
};
// Option menu captions, index = effect.
inline constexpr std::array<const char*, 7> kOptionMenus = {
    QT_TRANSLATE_NOOP("Pictorell", "Slide &Option"),   QT_TRANSLATE_NOOP("Pictorell", "Turn &Option"),
    QT_TRANSLATE_NOOP("Pictorell", "Rotate &Option"),  QT_TRANSLATE_NOOP("Pictorell", "Zoom &Option"),
    QT_TRANSLATE_NOOP("Pictorell", "Diffuse &Option"), QT_TRANSLATE_NOOP("Pictorell", "Elastic &Option"),
    QT_TRANSLATE_NOOP("Pictorell", "Hue &Option"),
};
inline constexpr const char* kMnuCross = QT_TRANSLATE_NOOP("Pictorell", "両端から交差");
inline constexpr const char* kMnuMask = QT_TRANSLATE_NOOP("Pictorell", "マスク");
inline constexpr std::array<const char*, 2> kMnuXY = {QT_TRANSLATE_NOOP("Pictorell", "X軸を中心に回転"),
                                                      QT_TRANSLATE_NOOP("Pictorell", "Y軸を中心に回転")};
inline constexpr std::array<const char*, 3> kMnuDiffuseType = {QT_TRANSLATE_NOOP("Pictorell", "&Sand"),
                                                               QT_TRANSLATE_NOOP("Pictorell", "Light &up"),
                                                               QT_TRANSLATE_NOOP("Pictorell", "Light &down")};
inline constexpr std::array<const char*, 2> kMnuHueOptionType = {QT_TRANSLATE_NOOP("Pictorell", "ローテーション"),
                                                                 QT_TRANSLATE_NOOP("Pictorell", "収束")};
inline constexpr const char* kMnuBackColor = QT_TRANSLATE_NOOP("Pictorell", "バナーの背景色...(&C)");
inline constexpr const char* kMnuFormColor = QT_TRANSLATE_NOOP("Pictorell", "画面の背景色変更...(&B)");
inline constexpr const char* kMnuBackInit = QT_TRANSLATE_NOOP("Pictorell", "画面の背景色初期化(&I)");
// Checked: source pictures up to 1200 x 1200 open (the ad sizes the networks list).
inline constexpr const char* kMnuLargePictures =
    QT_TRANSLATE_NOOP("Pictorell", "大きな画像も開く(～1200x1200pixels)(&L)");
inline constexpr const char* kMnuHelp = QT_TRANSLATE_NOOP("Pictorell", "ヘルプ(&H)");
inline constexpr const char* kMnuHelpOpen = QT_TRANSLATE_NOOP("Pictorell", "ヘルプファイルを開く");

// --- messages ---
inline constexpr const char* kHelpMissing = QT_TRANSLATE_NOOP("Pictorell", "ヘルプファイルが見つかりません。");
// The help exists, but nothing on this desktop opens a CHM file or a web page.
inline constexpr const char* kHelpNoViewer = QT_TRANSLATE_NOOP(
    "Pictorell", "ヘルプを表示できるアプリケーションがありません。(CHM ビューアーか Web ブラウザーが必要です)");
// Said after kHelpNoViewer, with the folder of the help pages as %1.
inline constexpr const char* kHelpFolderIs =
    QT_TRANSLATE_NOOP("Pictorell", "ヘルプのページは次のフォルダーにあります。\n%1");
inline constexpr const char* kClipboardEmpty = QT_TRANSLATE_NOOP("Pictorell", "クリップボードに画像がありません。");
inline constexpr const char* kClipboardSource = QT_TRANSLATE_NOOP("Pictorell", "(クリップボード)");
inline constexpr const char* kHelpFileName = "brenlo.chm";

// --- file dialogs ---
inline constexpr const char* kSaveDialogTitle = QT_TRANSLATE_NOOP("Pictorell", "保存先およびベース名の設定");
inline constexpr const char* kProposedBaseName = "BaseName";
inline constexpr std::array<const char*, 4> kSaveFilters = {
    QT_TRANSLATE_NOOP("Pictorell", "ビットマップ(*.bmp)"), QT_TRANSLATE_NOOP("Pictorell", "ＪＰＥＧ(*.jpg)"),
    QT_TRANSLATE_NOOP("Pictorell", "ＧＩＦ(*.gif)"), QT_TRANSLATE_NOOP("Pictorell", "ＷｅｂＰ(*.webp)")};
inline constexpr std::array<const char*, 6> kOpenFilters = {
    QT_TRANSLATE_NOOP("Pictorell", "対応画像ファイル(*.bmp;*.jpg;*.gif;*.png;*.webp)"),
    QT_TRANSLATE_NOOP("Pictorell", "ビットマップ(*.bmp)"),
    QT_TRANSLATE_NOOP("Pictorell", "ＪＰＥＧ(*.jpg)"),
    QT_TRANSLATE_NOOP("Pictorell", "ＧＩＦ(*.gif)"),
    QT_TRANSLATE_NOOP("Pictorell", "ＰＮＧ(*.png)"),
    QT_TRANSLATE_NOOP("Pictorell", "ＷｅｂＰ(*.webp)")};

// --- frmGifSetting ---
inline constexpr const char* kGifCaption = QT_TRANSLATE_NOOP("Pictorell", "GIF出力形式設定");
inline constexpr const char* kGifOptAnimated =
    QT_TRANSLATE_NOOP("Pictorell", "アニメーションGIFで１つのファイルに保存");  // optType(1)
inline constexpr const char* kGifOptPerFrame =
    QT_TRANSLATE_NOOP("Pictorell", "フレーム単位で複数のファイルに保存");  // optType(0)
inline constexpr const char* kGifLabel = QT_TRANSLATE_NOOP("Pictorell", "フレームの表示間隔　(秒）　→　");
inline constexpr std::array<const char*, 16> kGifTimes = {
    "0.05", "0.10", "0.20", "0.30", "0.40", "0.50", "0.60", "0.70",
    "0.80", "0.90", "1.00", "1.10", "1.20", "1.30", "1.40", "1.50",
};
inline constexpr const char* kGifOk = QT_TRANSLATE_NOOP("Pictorell", "&OK");
inline constexpr const char* kGifBadInterval = QT_TRANSLATE_NOOP("Pictorell", "フレーム表示間隔が不正です。");
// The play section below the existing controls (the preset names, the
// summary line and the warnings are play/play_texts.h).
inline constexpr const char* kGifPlayFrame = QT_TRANSLATE_NOOP("Pictorell", "アニメーションGIFの再生");
inline constexpr const char* kGifPlaysLabel = QT_TRANSLATE_NOOP("Pictorell", "再生回数　→　");
inline constexpr const char* kGifPlaysForever = QT_TRANSLATE_NOOP("Pictorell", "無限に繰り返す");
inline constexpr const char* kGifPlaysCount = QT_TRANSLATE_NOOP("Pictorell", "回数を指定");
// The play count box's suffix, which speaks of its value.
inline constexpr const char* kGifPlaysSuffix = QT_TRANSLATE_N_NOOP("Pictorell", " 回");
inline constexpr const char* kGifHoldLabel = QT_TRANSLATE_NOOP("Pictorell", "静止時間　(秒）　→　");
inline constexpr const char* kGifHoldTip =
    QT_TRANSLATE_NOOP("Pictorell", "絵全体が見えるフレームから始め、そのフレームをこの秒数だけ長く表示します。");
inline constexpr const char* kGifPresetLabel = QT_TRANSLATE_NOOP("Pictorell", "広告の規定　→　");
inline constexpr const char* kGifPresetTip =
    QT_TRANSLATE_NOOP("Pictorell", "選ぶと、表示間隔と再生回数をその規定に収まるように設定します。");
// The border row of the play section: a one-pixel frame round every image
// of the animated file, its colour typed as RRGGBB.
inline constexpr const char* kGifBorderCheck = QT_TRANSLATE_NOOP("Pictorell", "枠線（1 ピクセル）");
inline constexpr const char* kGifBorderColour = QT_TRANSLATE_NOOP("Pictorell", "枠線の色 (RRGGBB)");
inline constexpr const char* kGifBorderTip = QT_TRANSLATE_NOOP(
    "Pictorell",
    "保存するアニメーションの各フレームの外周 1 ピクセルをこの色 (RRGGBB) で描きます。プレビューとフレームのファイルは変わりません。");
// The budget row and the size readout below the play section's summary.
// The sizes are grouped numbers ("118,422"), the PSNR has one decimal.
inline constexpr const char* kGifBudgetCheck = QT_TRANSLATE_NOOP("Pictorell", "容量の上限");
inline constexpr const char* kGifBudgetSuffix = " KB";
inline constexpr const char* kGifBudgetTip = QT_TRANSLATE_NOOP(
    "Pictorell", "ファイルがこの大きさを超えるときは、画質を下げて収めます（1 KB = 1,000 バイト）。");
inline constexpr const char* kGifMeasuring = QT_TRANSLATE_NOOP("Pictorell", "サイズを計算中…");
// A long measurement (a large picture) shows how far it has come; OK on a
// large picture waits for it, so that the save writes the measured file.
inline constexpr const char* kGifMeasureProgress = QT_TRANSLATE_NOOP("Pictorell", "サイズの計算の進み具合");
inline constexpr const char* kGifOkWaits = QT_TRANSLATE_NOOP("Pictorell", "サイズの計算が終わると保存します…");
inline constexpr const char* kGifSize = QT_TRANSLATE_NOOP("Pictorell", "%1 バイト");
inline constexpr const char* kGifSizeWithBudget = QT_TRANSLATE_NOOP("Pictorell", "%1 バイト（予算 %2）");
inline constexpr const char* kGifSizePsnr = QT_TRANSLATE_NOOP("Pictorell", "、PSNR %1 dB");
inline constexpr const char* kGifBudgetMissed =
    QT_TRANSLATE_NOOP("Pictorell", "予算 %1 バイトに収まりません（最小 %2 バイト、PSNR %3 dB）。");
// The file of the current choice flashes more than WCAG 2.3.1 allows: the
// most changes in any one second, then the most allowed (three flashes).
inline constexpr const char* kGifFlashGeneral =
    QT_TRANSLATE_NOOP("Pictorell", "明暗の変化が 1 秒間に %1 回あり、点滅の上限 %2 回を超えています（WCAG 2.3.1）。");
inline constexpr const char* kGifFlashRed =
    QT_TRANSLATE_NOOP("Pictorell", "赤の変化が 1 秒間に %1 回あり、赤い点滅の上限 %2 回を超えています（WCAG 2.3.1）。");
// After a save: the file written, read back as browsers play it (the check
// of brenlo-render --check), then one sentence per rule of its preset that
// it breaks. Seconds as --check writes them ("0.10", "0.125").
inline constexpr const char* kWrittenSummary =
    QT_TRANSLATE_NOOP("Pictorell", "保存したファイル：%1 バイト、%2 フレーム、1 回の再生 %3 秒");
inline constexpr const char* kWrittenPlays = QT_TRANSLATE_N_NOOP("Pictorell", "、%1 回再生 = %2 秒");  // plays
inline constexpr const char* kWrittenForever = QT_TRANSLATE_NOOP("Pictorell", "、無限に繰り返し");
inline constexpr const char* kWrittenShortest =
    QT_TRANSLATE_NOOP("Pictorell", "最短の表示時間 %1 秒が下限 %2 秒より短くなっています。");
inline constexpr const char* kWrittenLengthened = QT_TRANSLATE_N_NOOP(
    "Pictorell", "表示時間 0 秒か 0.01 秒のフレームが %1 個あります（ブラウザーでは 0.1 秒になります）。");  // frames
inline constexpr const char* kWrittenEndless = QT_TRANSLATE_NOOP("Pictorell", "無限に繰り返します。再生回数の指定が必要です。");
inline constexpr const char* kWrittenTotal =
    QT_TRANSLATE_NOOP("Pictorell", "再生時間 %1 秒が上限 %2 秒を超えています。");
inline constexpr const char* kWrittenPlaysOver =
    QT_TRANSLATE_NOOP("Pictorell", "再生回数 %1 回が上限 %2 回を超えています。");
inline constexpr const char* kWrittenBytes =
    QT_TRANSLATE_NOOP("Pictorell", "%1 バイトが上限 %2 バイトを超えています。");
inline constexpr const char* kWrittenSize =
    QT_TRANSLATE_NOOP("Pictorell", "画像の大きさ %1 x %2 ピクセルは標準サイズにありません。");
// The same dialog asking for an animated WebP's interval.
inline constexpr const char* kWebpCaption = QT_TRANSLATE_NOOP("Pictorell", "WebP出力形式設定");
inline constexpr const char* kWebpOptAnimated =
    QT_TRANSLATE_NOOP("Pictorell", "アニメーションWebPで１つのファイルに保存");  // optType(1)
inline constexpr const char* kWebpPlayFrame = QT_TRANSLATE_NOOP("Pictorell", "アニメーションWebPの再生");

// --- frmScenes ---
inline constexpr const char* kScenesCaption = QT_TRANSLATE_NOOP("Pictorell", "シーン一覧");
// A row of the list: the effect, then the hold in seconds.
inline constexpr const char* kSceneRow = QT_TRANSLATE_NOOP("Pictorell", "%1　保持 %2 秒");
inline constexpr const char* kLblSceneHold = QT_TRANSLATE_NOOP("Pictorell", "保持時間(&H)");
inline constexpr const char* kSceneHoldUnit = QT_TRANSLATE_NOOP("Pictorell", " 秒");
inline constexpr const char* kCmdSceneAdd = QT_TRANSLATE_NOOP("Pictorell", "追加(&A)");
inline constexpr const char* kCmdSceneReplace = QT_TRANSLATE_NOOP("Pictorell", "置き換え(&R)");
inline constexpr const char* kCmdSceneUp = QT_TRANSLATE_NOOP("Pictorell", "上へ(&U)");
inline constexpr const char* kCmdSceneDown = QT_TRANSLATE_NOOP("Pictorell", "下へ(&D)");
inline constexpr const char* kCmdSceneRemove = QT_TRANSLATE_NOOP("Pictorell", "削除(&E)");
inline constexpr const char* kCmdSceneSave = QT_TRANSLATE_NOOP("Pictorell", "保存(&S)");
inline constexpr const char* kCmdSceneClose = QT_TRANSLATE_NOOP("Pictorell", "閉じる(&C)");
inline constexpr const char* kNoSceneSource = QT_TRANSLATE_NOOP("Pictorell", "シーンにする元画像がありません。");
inline constexpr const char* kMnuSceneProject = QT_TRANSLATE_NOOP("Pictorell", "プロジェクト(&P)");
inline constexpr const char* kMnuProjectOpen = QT_TRANSLATE_NOOP("Pictorell", "プロジェクトを開く(&P)...");
inline constexpr const char* kMnuProjectSave = QT_TRANSLATE_NOOP("Pictorell", "プロジェクトを上書き保存(&J)");
inline constexpr const char* kMnuProjectSaveAs =
    QT_TRANSLATE_NOOP("Pictorell", "プロジェクトに名前を付けて保存(&K)...");
inline constexpr const char* kMnuProjectLast = QT_TRANSLATE_NOOP("Pictorell", "前回のプロジェクト: %1");
inline constexpr const char* kProjectOpenTitle = QT_TRANSLATE_NOOP("Pictorell", "プロジェクトを開く");
inline constexpr const char* kProjectSaveTitle = QT_TRANSLATE_NOOP("Pictorell", "プロジェクトの保存");
inline constexpr const char* kProjectFilter = QT_TRANSLATE_NOOP("Pictorell", "Pictorell プロジェクト(*.pictorell)");
// %1 the project file, %2 what is wrong with it.
inline constexpr const char* kProjectUnreadable =
    QT_TRANSLATE_NOOP("Pictorell", "プロジェクトを開けませんでした。\n%1\n%2");
// %1 the scene's number, %2 its picture.
inline constexpr const char* kScenePictureMissing =
    QT_TRANSLATE_NOOP("Pictorell", "シーン %1 の画像が見つかりません。\n%2");
// %3 the loader's message.
inline constexpr const char* kScenePictureUnreadable =
    QT_TRANSLATE_NOOP("Pictorell", "シーン %1 の画像を読み込めませんでした。\n%2\n%3");
// %3 x %4 the picture's size, %5 x %6 the first scene's.
inline constexpr const char* kScenePictureSize =
    QT_TRANSLATE_NOOP("Pictorell", "シーン %1 の画像の大きさ(%3×%4)が最初のシーン(%5×%6)と違います。\n%2");
inline constexpr const char* kScenePictureNotFile =
    QT_TRANSLATE_NOOP("Pictorell", "シーン %1 の画像はファイルではないため、プロジェクトに保存できません。");
// %1 the file, %2 the reason.
inline constexpr const char* kProjectNotWritten =
    QT_TRANSLATE_NOOP("Pictorell", "プロジェクトを保存できませんでした。\n%1\n%2");
inline constexpr const char* kCmdBannerPlay = QT_TRANSLATE_NOOP("Pictorell", "バナー再生(&B)");
inline constexpr const char* kCmdBannerStop = QT_TRANSLATE_NOOP("Pictorell", "再生中止(&B)");
inline constexpr const char* kCmdBannerPause = QT_TRANSLATE_NOOP("Pictorell", "一時停止(&Z)");
inline constexpr const char* kCmdBannerResume = QT_TRANSLATE_NOOP("Pictorell", "再開(&Z)");
inline constexpr const char* kCmdBannerStep = QT_TRANSLATE_NOOP("Pictorell", "コマ送り(&N)");

}  // namespace app::text
