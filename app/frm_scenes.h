// frmScenes: the banner's scenes in a window of their own. The user adds the
// main window's picture with its effect and options as a scene (or puts it
// in place of the selected one), orders the scenes, sets each one's hold and
// saves the banner through the one save step, with the main window's save
// dialog and GIF dialog.
#pragma once

#include <optional>
#include <vector>

#include <QString>
#include <QWidget>

#include "scenes/scene.h"
#include "scenes/sequence.h"

class QAction;
class QDoubleSpinBox;
class QLabel;
class QListWidget;
class QPushButton;
class QTimer;

namespace app {

class frmMain;

// A scene with the file its picture came from (for the list and projects).
struct ListedScene {
  scenes::Scene scene;
  QString source;  // the picture's file as the main window opened it; "" = pasted
};

// A row of the list: the effect as the effect list names it and the hold.
QString sceneRowText(const scenes::Scene& scene);

class frmScenes : public QWidget {
 public:
  explicit frmScenes(frmMain& main);
  ~frmScenes() override;

  QListWidget* lstScenes = nullptr;
  QLabel* lblHold = nullptr;
  QDoubleSpinBox* spnHold = nullptr;  // seconds, 0..10, of the selected scene
  QPushButton* cmdAdd = nullptr;
  QPushButton* cmdReplace = nullptr;
  QPushButton* cmdUp = nullptr;
  QPushButton* cmdDown = nullptr;
  QPushButton* cmdRemove = nullptr;
  QPushButton* cmdSave = nullptr;
  QPushButton* cmdClose = nullptr;

  void cmdAdd_Click();
  void cmdReplace_Click();
  void cmdUp_Click();
  void cmdDown_Click();
  void cmdRemove_Click();
  void spnHold_Change();
  void cmdSave_Click();

  // The project (.pictorell): in the main window's File menu and this
  // window's own menu. Opening reads the file and every picture before it
  // replaces the list; any fault leaves the list as it was.
  QAction* mnuProjectOpen = nullptr;
  QAction* mnuProjectSave = nullptr;
  QAction* mnuProjectSaveAs = nullptr;
  QAction* mnuProjectLast = nullptr;  // the last project, shown when there is one
  void mnuProjectOpen_Click();
  void mnuProjectSave_Click();
  void mnuProjectSaveAs_Click();
  void mnuProjectLast_Click();
  bool openProject(const QString& path);
  bool saveProject(const QString& path);
  const QString& projectPath() const { return projectPath_; }

  // The whole banner in the main window's preview, played from tmrBanner
  // (never a nested event loop): play/stop, pause/resume, and one frame on
  // while paused. A run of the main window, a new picture there or hiding
  // this window ends it.
  QPushButton* cmdPlay = nullptr;
  QPushButton* cmdPause = nullptr;
  QPushButton* cmdStep = nullptr;
  QTimer* tmrBanner = nullptr;
  void cmdPlay_Click();
  void cmdPause_Click();
  void cmdStep_Click();
  void tmrBanner_Timer();
  bool isPlaying() const { return banner_.has_value(); }
  bool isPaused() const { return paused_; }
  int bannerFrame() const { return at_; }  // the frame shown, by banner order
  const std::optional<scenes::BannerFrames>& playedBanner() const { return banner_; }

  const std::vector<ListedScene>& listed() const { return scenes_; }
  std::vector<scenes::Scene> banner() const;
  // False, after saying which scene differs, when a picture's size is not
  // the first scene's.
  bool sizesAgree();
  int selected() const;  // -1 = none
  void select(int row);

 private:
  // The main window's picture, effect and options; false (after a message)
  // when it has no picture.
  bool takeCurrent(ListedScene& out);
  void refreshList(int selectRow);
  void syncControls();
  void createProjectMenus();
  void rememberProject(const QString& path);
  void refreshLastProject();
  void createPlayButtons();
  void showBannerFrame();
  void stopBanner();
  bool bannerStillShowable() const;

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  frmMain& main_;
  std::vector<ListedScene> scenes_;
  QString projectPath_;  // "" until the list was opened from or saved to a project
  std::optional<scenes::BannerFrames> banner_;  // while played
  int at_ = 0;
  bool paused_ = false;
  bool filling_ = false;  // the list and spin box are being filled, not changed by the user
};

}  // namespace app
