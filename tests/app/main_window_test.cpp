// The main window's controls and menus: texts, the menu tree, how option
// controls and menu entries keep each other in step, which changes empty the
// frame cache, and the window colour.
#include <fstream>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include "app/drop_field.h"
#include "app/frm_scenes.h"
#include "app/option_panel.h"
#include "app/ui_texts.h"
#include "window_fixture.h"

namespace {

using apptest::WindowTest;

QString u(const char* s) { return QString::fromUtf8(s); }

// The entries of a menu as "text" lines, separators as "-", submenus as
// "text>".
QStringList entries(const QMenu* menu) {
  QStringList out;
  for (const QAction* a : menu->actions()) {
    if (a->isSeparator())
      out << "-";
    else
      out << a->text() + (a->menu() ? ">" : "");
  }
  return out;
}

// Puts one frame into the cache so that emptying it shows.
void fillCache(app::frmMain& w) {
  w.workState().mFrames.assign(22, core::Picture::fromBitmap(core::Bitmap(2, 2, core::kBlack)));
  w.workState().framesComplete = true;
}
bool cacheEmpty(app::frmMain& w) {
  for (const auto& f : w.workState().mFrames)
    if (!f.isEmpty()) return false;
  return !w.workState().framesComplete;
}

TEST_F(WindowTest, CaptionControlsAndEffectListReadExactly) {
  app::frmMain& w = start();
  EXPECT_EQ(w.windowTitle(), u("Pictorell [Ver.2.1.0]"));
  EXPECT_EQ(w.cmdOpen->text(), u("参照...(&O)"));
  EXPECT_EQ(w.txtSource->toolTip(), u("ファイルをDrag/Dropできます"));
  EXPECT_EQ(w.Label1->text(), u("アニメーションタイプ(&A)　→"));
  EXPECT_EQ(w.cmdPrev->text(), u("プレビュー(&V)"));
  EXPECT_EQ(w.cmdPause[0]->text(), u("I>"));
  EXPECT_EQ(w.cmdPause[0]->toolTip(), u("コマ送り"));
  EXPECT_EQ(w.cmdPause[1]->toolTip(), u("コマ送り解除"));
  EXPECT_EQ(w.cmdCopy->toolTip(), u("フレーム・リストに貼り付け"));
  EXPECT_EQ(w.cmdSave->text(), u("保存(&A)"));
  EXPECT_EQ(w.cmdClose->text(), u("終了(&Q)"));
  EXPECT_EQ(w.lblColor->text(), u("背景色"));
  ASSERT_EQ(w.cboType->count(), 7);
  EXPECT_EQ(w.cboType->itemText(0), u("Slide    交差"));
  EXPECT_EQ(w.cboType->itemText(3), u("Zoom   拡大/縮小"));
  EXPECT_EQ(w.cboType->itemText(6), u("Hue     色相変換"));
  EXPECT_EQ(w.fraHue->title(), u("&Hue"));
  EXPECT_EQ(w.fraDiffuse->optDiffuseType[2]->text(), u("Light down"));
  // No picture yet: nothing to preview or save.
  EXPECT_FALSE(w.cmdPrev->isEnabled());
  EXPECT_FALSE(w.menus.mnuFileSave->isEnabled());
  EXPECT_FALSE(w.cmdCopy->isEnabled());
  EXPECT_FALSE(w.menus.mnuEditCopy->isEnabled());
}

TEST_F(WindowTest, MenuTreeHasEveryEntryAndSeparator) {
  app::frmMain& w = start();
  const app::MainMenus& m = w.menus;
  EXPECT_EQ(entries(m.mnuFile),
            QStringList({u("元画像を開く(&O)"), "-", u("ベース名を付けて保存(&A)"), "-", u("プロジェクトを開く(&P)..."),
                         u("プロジェクトを上書き保存(&J)"), u("プロジェクトに名前を付けて保存(&K)..."),
                         u("前回のプロジェクト: "), "-", u("終了(&Q)")}));
  EXPECT_FALSE(w.sceneList()->mnuProjectLast->isVisible());  // no project yet
  EXPECT_EQ(entries(m.mnuDisplay), QStringList({u("プレビュー(&V)"), u("シーン一覧(&L)")}));
  EXPECT_EQ(entries(m.mnuEdit), QStringList({u("フレーム・リストに貼付け"), u("全フレームをフレーム・リストに貼付け"),
                                             u("クリップボードから貼付け")}));
  EXPECT_EQ(m.mnuEdit->title(), u("編集(&V)"));
  EXPECT_EQ(entries(m.mnuSetting),
            QStringList({"Animation &Mode>", "-", "Slide &Option>", "Turn &Option>", "Rotate &Option>", "Zoom &Option>",
                         "Diffuse &Option>", "Elastic &Option>", "Hue &Option>", "-", u("バナーの背景色...(&C)"), "-",
                         u("画面の背景色変更...(&B)"), u("画面の背景色初期化(&I)"), "-",
                         u("大きな画像も開く(～1200x1200pixels)(&L)")}));
  EXPECT_TRUE(m.mnuLargePictures->isCheckable());
  EXPECT_FALSE(m.mnuLargePictures->isChecked());
  EXPECT_EQ(entries(m.mnuAniMode), QStringList({u("&1：Sllide"), u("&2：Turn"), u("&3：Rotate"), u("&4：Zoom"),
                                                u("&5：Diffuse"), u("&6：Elastic"), "&7:Hue"}));
  EXPECT_EQ(entries(m.optionMenus[2]), QStringList({u("X軸を中心に回転"), u("Y軸を中心に回転"), "-", u("マスク")}));
  EXPECT_EQ(entries(m.optionMenus[4]), QStringList({"&Sand", "Light &up", "Light &down", "-", u("マスク")}));
  EXPECT_EQ(entries(m.optionMenus[6]), QStringList({u("ローテーション"), u("収束"), "-", u("マスク")}));
  EXPECT_EQ(entries(m.mnuHelp), QStringList({u("ヘルプファイルを開く")}));
}

TEST_F(WindowTest, ChoosingZoomInTheMenuShowsOnlyItsPanelAndMenu) {
  app::frmMain& w = start();
  fillCache(w);
  w.menus.mnuAniModeType[3]->trigger();
  EXPECT_EQ(w.cboType->currentIndex(), 3);
  EXPECT_TRUE(cacheEmpty(w));
  for (int k = 0; k < 7; ++k) {
    SCOPED_TRACE(k);
    EXPECT_EQ(w.optionPanels[k]->isVisibleTo(&w), k == 3);
    EXPECT_EQ(w.menus.optionMenus[k]->menuAction()->isVisible(), k == 3);
    EXPECT_EQ(w.menus.mnuAniModeType[k]->isChecked(), k == 3);
  }
  // The entry already checked does nothing: the cache and the check stay.
  fillCache(w);
  w.menus.mnuAniModeType[3]->trigger();
  EXPECT_FALSE(cacheEmpty(w));
  EXPECT_TRUE(w.menus.mnuAniModeType[3]->isChecked());
}

TEST_F(WindowTest, CrossMenuAndBoxToggleTogether) {
  app::frmMain& w = start();
  w.menus.mnuCross->trigger();
  EXPECT_TRUE(w.fraSlide->chkCross->isChecked());
  EXPECT_TRUE(w.menus.mnuCross->isChecked());
  w.menus.mnuCross->trigger();
  EXPECT_FALSE(w.fraSlide->chkCross->isChecked());
  EXPECT_FALSE(w.menus.mnuCross->isChecked());
  w.fraSlide->chkCross->click();
  EXPECT_TRUE(w.menus.mnuCross->isChecked());
}

TEST_F(WindowTest, MaskMenusFollowTheirOwnBoxesAndHueMenuDoesNothing) {
  app::frmMain& w = start();
  // Box 1 is Rotate's and box 2 Turn's, unlike the effect order.
  w.menus.optionMenus[1]->actions().back()->trigger();  // Turn's "マスク"
  EXPECT_TRUE(w.chkMask[2]->isChecked());
  EXPECT_FALSE(w.chkMask[1]->isChecked());
  w.chkMask[1]->click();
  EXPECT_TRUE(w.menus.optionMenus[2]->actions().back()->isChecked());  // Rotate's "マスク"

  fillCache(w);
  w.menus.mnuMask[6]->trigger();
  EXPECT_FALSE(w.chkMask[6]->isChecked());
  EXPECT_FALSE(w.menus.mnuMask[6]->isChecked());
  EXPECT_FALSE(cacheEmpty(w));
  w.chkMask[6]->click();
  EXPECT_TRUE(w.menus.mnuMask[6]->isChecked());
}

TEST_F(WindowTest, OptionButtonsAndMenusStayInStep) {
  app::frmMain& w = start();
  w.menus.mnuXY[1]->trigger();
  EXPECT_TRUE(w.fraRotate->optXY[1]->isChecked());
  EXPECT_FALSE(w.menus.mnuXY[0]->isChecked());
  w.fraRotate->optXY[0]->click();
  EXPECT_TRUE(w.menus.mnuXY[0]->isChecked());
  EXPECT_FALSE(w.menus.mnuXY[1]->isChecked());
  // A click on the checked entry leaves its mark.
  w.menus.mnuXY[0]->trigger();
  EXPECT_TRUE(w.menus.mnuXY[0]->isChecked());

  w.menus.mnuDiffuseType[2]->trigger();
  EXPECT_TRUE(w.fraDiffuse->optDiffuseType[2]->isChecked());
  EXPECT_FALSE(w.menus.mnuDiffuseType[0]->isChecked());
  w.fraDiffuse->optDiffuseType[1]->click();
  EXPECT_TRUE(w.menus.mnuDiffuseType[1]->isChecked());
  EXPECT_FALSE(w.menus.mnuDiffuseType[2]->isChecked());

  w.menus.mnuHueOptionType[1]->trigger();
  EXPECT_TRUE(w.fraHue->optHueType[1]->isChecked());
  EXPECT_TRUE(w.menus.mnuHueOptionType[1]->isChecked());
  EXPECT_FALSE(w.menus.mnuHueOptionType[0]->isChecked());
}

TEST_F(WindowTest, EveryOptionChangeButHueTypeAndHueEmptiesTheCache) {
  app::frmMain& w = start();
  const std::vector<std::pair<const char*, std::function<void()>>> emptying = {
      {"effect", [&] { w.cboType->setCurrentIndex(4); }},
      {"cross", [&] { w.fraSlide->chkCross->click(); }},
      {"mask", [&] { w.chkMask[3]->click(); }},
      {"axis", [&] { w.fraRotate->optXY[1]->click(); }},
      {"diffuse type", [&] { w.fraDiffuse->optDiffuseType[2]->click(); }},
      {"banner colour", [&] { w.cmdColor_Click(); }},
  };
  for (const auto& [what, change] : emptying) {
    SCOPED_TRACE(what);
    fillCache(w);
    change();
    EXPECT_TRUE(cacheEmpty(w));
  }
  fillCache(w);
  w.fraHue->optHueType[1]->click();
  w.menus.mnuHueOptionType[0]->trigger();
  w.picHue_MouseUp(1, 0, 200.0, 5.0);
  EXPECT_FALSE(cacheEmpty(w));
  EXPECT_EQ(w.hueX(), 200);
}

TEST_F(WindowTest, BannerColourDialogStartsOnItsLastChoiceAndCancelKeepsColour) {
  app::frmMain& w = start();
  log->colorAnswers = {QColor(255, 0, 0), std::nullopt};
  w.cmdColor_Click();
  EXPECT_EQ(w.bannerColor(), core::rgb(255, 0, 0));
  EXPECT_EQ(w.lblColor->palette().color(QPalette::Window), QColor(255, 0, 0));
  w.menus.mnuBackColor->trigger();  // cancelled
  EXPECT_EQ(w.bannerColor(), core::rgb(255, 0, 0));
  ASSERT_EQ(log->colorRequests.size(), 2u);
  EXPECT_EQ(log->colorRequests[0], QColor(Qt::black));
  EXPECT_EQ(log->colorRequests[1], QColor(255, 0, 0));
}

TEST_F(WindowTest, WindowColourReachesPanelsBoxesAndButtonsButNotTheSwatch) {
  app::frmMain& w = start();
  log->colorAnswers = {QColor(0, 128, 0), QColor(1, 2, 3)};
  w.cmdColor_Click();  // the banner swatch turns green
  w.mnuFormColor_Click();
  const QColor custom(1, 2, 3);
  EXPECT_EQ(w.centralWidget()->palette().color(QPalette::Window), custom);
  EXPECT_EQ(w.fraHue->palette().color(QPalette::Window), custom);
  EXPECT_EQ(w.fraSlide->chkCross->palette().color(QPalette::Window), custom);
  EXPECT_EQ(w.fraRotate->optXY[1]->palette().color(QPalette::Window), custom);
  EXPECT_EQ(w.formColor(), core::rgb(1, 2, 3));

  w.menus.mnuBackInit->trigger();
  const QColor face = QApplication::palette().color(QPalette::Button);
  EXPECT_EQ(w.formColor(), core::kButtonFace);
  EXPECT_EQ(w.Frame2->palette().color(QPalette::Window), face);
  EXPECT_EQ(w.chkMask[4]->palette().color(QPalette::Window), face);
  EXPECT_EQ(w.fraDiffuse->optDiffuseType[0]->palette().color(QPalette::Window), face);
  EXPECT_EQ(w.lblColor->palette().color(QPalette::Window), QColor(0, 128, 0));
  EXPECT_NE(w.cmdSave->palette().color(QPalette::Window), custom);
}

TEST_F(WindowTest, MissingHelpFileSaysSoAndAPresentOneIsHandedOn) {
  app::frmMain& w = start();
  w.menus.mnuHelpOpen->trigger();
  ASSERT_EQ(log->messages.size(), 1u);
  EXPECT_EQ(log->messages[0].icon, app::MessageIcon::Exclamation);
  EXPECT_EQ(log->messages[0].text, u("ヘルプファイルが見つかりません。"));
  EXPECT_TRUE(log->opened.empty());

  std::ofstream(dir / "prog" / "brenlo.chm") << "ITSF";
  w.mnuHelpOpen_Click();
  ASSERT_EQ(log->opened.size(), 1u);
  EXPECT_EQ(log->opened[0], env.programFolder + "brenlo.chm");
  EXPECT_EQ(log->messages.size(), 1u);
}

}  // namespace
