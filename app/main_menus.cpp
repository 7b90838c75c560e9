#include "app/main_menus.h"

#include <QKeySequence>

#include "app/ui_texts.h"

namespace app {

namespace {

QAction* addCheckable(QMenu* menu, const char* caption) {
  QAction* a = menu->addAction(text::shown(caption));
  a->setCheckable(true);
  return a;
}

void buildFileMenu(QMenuBar* bar, MainMenus& m) {
  m.mnuFile = bar->addMenu(text::shown(text::kMnuFile));
  m.mnuFileOpen = m.mnuFile->addAction(text::shown(text::kMnuFileOpen));
  m.mnuFile->addSeparator();
  m.mnuFileSave = m.mnuFile->addAction(text::shown(text::kMnuFileSave));
  m.mnuFile->addSeparator();
  m.mnuFileQuit = m.mnuFile->addAction(text::shown(text::kMnuFileQuit));
}

void buildEditAndDisplayMenus(QMenuBar* bar, MainMenus& m) {
  m.mnuEdit = bar->addMenu(text::shown(text::kMnuEdit));
  m.mnuEditCopy = m.mnuEdit->addAction(text::shown(text::kMnuEditCopy));
  m.mnuEditCopyAll = m.mnuEdit->addAction(text::shown(text::kMnuEditCopyAll));
  m.mnuEditCopyAll->setEnabled(false);
  m.mnuEditPaste = m.mnuEdit->addAction(text::shown(text::kMnuEditPaste));
  m.mnuDisplay = bar->addMenu(text::shown(text::kMnuDisplay));
  m.mnuPreview = m.mnuDisplay->addAction(text::shown(text::kMnuPreview));
  m.mnuScenes = m.mnuDisplay->addAction(text::shown(text::kMnuScenes));
}

// The option menus in effect order, with their entries.
void buildOptionMenus(QMenu* setting, MainMenus& m) {
  for (int k = 0; k < 7; ++k) m.optionMenus[k] = setting->addMenu(text::shown(text::kOptionMenus[k]));
  QMenu* slide = m.optionMenus[0];
  m.mnuCross = addCheckable(slide, text::kMnuCross);
  m.mnuMask[0] = addCheckable(slide, text::kMnuMask);
  m.mnuMask[2] = addCheckable(m.optionMenus[1], text::kMnuMask);
  QMenu* rotate = m.optionMenus[2];
  for (int k = 0; k < 2; ++k) m.mnuXY[k] = addCheckable(rotate, text::kMnuXY[k]);
  rotate->addSeparator();
  m.mnuMask[1] = addCheckable(rotate, text::kMnuMask);
  m.mnuMask[3] = addCheckable(m.optionMenus[3], text::kMnuMask);
  QMenu* diffuse = m.optionMenus[4];
  for (int k = 0; k < 3; ++k) m.mnuDiffuseType[k] = addCheckable(diffuse, text::kMnuDiffuseType[k]);
  diffuse->addSeparator();
  m.mnuMask[4] = addCheckable(diffuse, text::kMnuMask);
  m.mnuMask[5] = addCheckable(m.optionMenus[5], text::kMnuMask);
  QMenu* hue = m.optionMenus[6];
  for (int k = 0; k < 2; ++k) m.mnuHueOptionType[k] = addCheckable(hue, text::kMnuHueOptionType[k]);
  hue->addSeparator();
  m.mnuMask[6] = addCheckable(hue, text::kMnuMask);
}

void buildSettingMenu(QMenuBar* bar, MainMenus& m) {
  m.mnuSetting = bar->addMenu(text::shown(text::kMnuSetting));
  m.mnuAniMode = m.mnuSetting->addMenu(text::shown(text::kMnuAniMode));
  for (int k = 0; k < 7; ++k) m.mnuAniModeType[k] = addCheckable(m.mnuAniMode, text::kMnuAniModeType[k]);
  m.mnuSetting->addSeparator();
  buildOptionMenus(m.mnuSetting, m);
  m.mnuSetting->addSeparator();
  m.mnuBackColor = m.mnuSetting->addAction(text::shown(text::kMnuBackColor));
  m.mnuSetting->addSeparator();
  m.mnuFormColor = m.mnuSetting->addAction(text::shown(text::kMnuFormColor));
  m.mnuBackInit = m.mnuSetting->addAction(text::shown(text::kMnuBackInit));
  m.mnuSetting->addSeparator();
  m.mnuLargePictures = addCheckable(m.mnuSetting, text::kMnuLargePictures);
}

}  // namespace

// The desktop's usual keys for the common commands. The mnemonics stay as
// they are; some of them are taken twice in the window (Alt+V: Edit, Display
// and the preview button; Alt+A: the effect list and Save; Alt+H: Help and
// the Hue panel), and these keys reach the command without that ambiguity.
// F5 starts and stops the preview as it starts a slide show elsewhere; Esc
// stops it too. Ctrl+C copies the paused frame only while the entry is
// enabled, and the source field keeps Ctrl+C for its text while it has the
// focus.
void addShortcuts(MainMenus& m) {
  m.mnuFileOpen->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_O));
  m.mnuFileSave->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  m.mnuFileQuit->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q));
  m.mnuEditCopy->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  m.mnuPreview->setShortcut(QKeySequence(Qt::Key_F5));
  m.mnuHelpOpen->setShortcut(QKeySequence(Qt::Key_F1));
}

MainMenus buildMainMenus(QMenuBar* bar) {
  MainMenus m;
  buildFileMenu(bar, m);
  buildEditAndDisplayMenus(bar, m);
  buildSettingMenu(bar, m);
  m.mnuHelp = bar->addMenu(text::shown(text::kMnuHelp));
  m.mnuHelpOpen = m.mnuHelp->addAction(text::shown(text::kMnuHelpOpen));
  addShortcuts(m);
  return m;
}

}  // namespace app
