// The main window's menu tree. Built once by buildMainMenus(); the window
// connects the actions to its command handlers.
#pragma once

#include <array>

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace app {

struct MainMenus {
  QMenu* mnuFile = nullptr;
  QAction* mnuFileOpen = nullptr;
  QAction* mnuFileSave = nullptr;
  QAction* mnuFileQuit = nullptr;

  QMenu* mnuEdit = nullptr;
  QAction* mnuEditCopy = nullptr;
  QAction* mnuEditCopyAll = nullptr;  // every frame of the preview on show
  QAction* mnuEditPaste = nullptr;

  QMenu* mnuDisplay = nullptr;
  QAction* mnuPreview = nullptr;
  QAction* mnuScenes = nullptr;  // opens the scene list

  QMenu* mnuSetting = nullptr;
  QMenu* mnuAniMode = nullptr;
  std::array<QAction*, 7> mnuAniModeType{};  // index = effect; checkable
  // The option menus, index = effect (Slide, Turn, Rotate, Zoom, Diffuse,
  // Elastic, Hue); only the selected effect's one is visible.
  std::array<QMenu*, 7> optionMenus{};
  QAction* mnuCross = nullptr;
  // The mask entries by mask box (0 Slide, 1 Rotate, 2 Turn, 3 Zoom,
  // 4 Diffuse, 5 Elastic, 6 Hue).
  std::array<QAction*, 7> mnuMask{};
  std::array<QAction*, 2> mnuXY{};
  std::array<QAction*, 3> mnuDiffuseType{};
  std::array<QAction*, 2> mnuHueOptionType{};
  QAction* mnuBackColor = nullptr;
  QAction* mnuFormColor = nullptr;
  QAction* mnuBackInit = nullptr;
  QAction* mnuLargePictures = nullptr;  // checkable: the 1200 x 1200 limit

  QMenu* mnuHelp = nullptr;
  QAction* mnuHelpOpen = nullptr;
};

// Fills `bar` with the five menus, their entries and separators. Every
// entry that carries a check mark is checkable; open, save, quit, copy,
// preview and help carry their keys (Ctrl+O, Ctrl+S, Ctrl+Q, Ctrl+C, F5,
// F1); nothing is connected.
MainMenus buildMainMenus(QMenuBar* bar);

}  // namespace app
