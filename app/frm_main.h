// frmMain: the main window. It owns the work state (the surfaces, point lists
// and frame cache every effect composes on), the generation driver and the
// option controls; Qt only displays what the work state holds.
//
// The controls and menu entries are public members under their design names,
// so that the frame list and the tests reach them as the user would. The
// handlers are the reactions to the controls' events, callable directly.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <QMainWindow>
#include <QString>

#include "app/command_line.h"
#include "app/main_menus.h"
#include "app/prompts.h"
#include "app/ui_language.h"
#include "app/window_fit.h"
#include "core/color.h"
#include "effects/driver.h"
#include "effects/work_state.h"
#include "intake/picture_loader.h"
#include "settings/settings.h"

class QCheckBox;
class QComboBox;
class QFrame;
class QLabel;
class QPushButton;
class QScrollArea;
class QTimer;

namespace framelist {
class frmFrames;
}

namespace app {

class DropField;
class HueBar;
class OptionPanel;
class PictureView;
class SlidePanel;
class RotatePanel;
class DiffusePanel;
class HuePanel;
class WindowHost;
class frmGifSetting;
class frmScenes;

// Where the program finds its files, and its command line.
struct StartupEnvironment {
  QString programFolder;  // absolute, ends with "/"
  QString iniPath;        // the settings file
  // The folders that missing Path/Source and Path/Save keys give; "" = the
  // program folder and its "SaveImages".
  QString sourceFolderDefault;
  QString saveFolderDefault;
  QString helpFolder;                          // the installed help pages, ends with "/"; "" = none
  UiLanguage language = UiLanguage::Japanese;  // which help index page opens
  bool debugCommandLine = false;               // "/debug" was given
  QString startupPicture;                      // opened once the window is up; "" = none
};

// The environment of the running program: its own folder, where its files
// go (file_locations.h), the help folder, and what the command line asked.
// The language is left for the caller, who needs the INI path to choose it.
StartupEnvironment programEnvironment(const CommandLine& commandLine);

class frmMain : public QMainWindow {
 public:
  // Runs the whole start sequence (Form_Load). prompts: the dialogs and
  // message boxes; null = the real ones. The window is not shown yet.
  explicit frmMain(const StartupEnvironment& env, std::unique_ptr<Prompts> prompts = nullptr);
  ~frmMain() override;

  // --- controls ---
  DropField* txtSource = nullptr;
  QPushButton* cmdOpen = nullptr;
  QLabel* lblSize = nullptr;
  QFrame* fraType = nullptr;
  QLabel* Label1 = nullptr;
  QComboBox* cboType = nullptr;
  SlidePanel* fraSlide = nullptr;
  OptionPanel* fraTurn = nullptr;
  RotatePanel* fraRotate = nullptr;
  OptionPanel* fraZoom = nullptr;
  DiffusePanel* fraDiffuse = nullptr;
  OptionPanel* fraElastic = nullptr;
  HuePanel* fraHue = nullptr;
  std::array<OptionPanel*, 7> optionPanels{};  // by effect index
  std::array<QCheckBox*, 7> chkMask{};         // by mask box
  QLabel* lblColor = nullptr;
  std::array<QPushButton*, 1> cmdColor{};
  QPushButton* cmdPrev = nullptr;
  std::array<QPushButton*, 2> cmdPause{};
  QPushButton* cmdCopy = nullptr;
  QPushButton* cmdSave = nullptr;
  QPushButton* cmdClose = nullptr;
  PictureView* picSource = nullptr;
  PictureView* picX = nullptr;
  // picSource and picX lie on picCanvas, which picScroll shows: all of it for
  // a picture the screen has room for, else a part, scrolled one to one.
  QScrollArea* picScroll = nullptr;
  QWidget* picCanvas = nullptr;
  QTimer* tmr1 = nullptr;
  QFrame* fraMsg = nullptr;
  QLabel* lblMsg = nullptr;
  QFrame* Frame1 = nullptr;
  QFrame* Frame2 = nullptr;
  QFrame* linMenu = nullptr;
  QFrame* linBack = nullptr;
  QFrame* linFore = nullptr;
  MainMenus menus;

  // --- option controls and their menus ---
  void cboType_Click();
  void mnuAniModeType_Click(int k);
  void chkCross_Click();
  void mnuCross_Click();
  void chkMask_Click(int box);
  void mnuMask_Click(int box);
  void optXY_Click(int k);
  void mnuXY_Click(int k);
  void optDiffuseType_Click(int k);
  void mnuDiffuseType_Click(int k);
  void optHueType_Click(int k);
  void mnuHueOptionType_Click(int k);
  // A release on the hue bar at (x, y) in bar units (any button).
  void picHue_MouseUp(int button, int shift, double x, double y);

  // --- colours ---
  void cmdColor_Click();  // also lblColor double-click and mnuBackColor
  void mnuFormColor_Click();
  void mnuBackInit_Click();

  // --- source intake ---
  void cmdOpen_Click();
  void LoadSource();  // loads the file named in txtSource
  void mnuEditPaste_Click();
  void txtSource_OLEDragDrop(const QString& path);
  // A picture named on the command line: taken as if chosen in the open
  // dialog. The constructor queues it for env.startupPicture.
  void openSourceFromCommandLine(const QString& path);

  // --- preview, save, copy ---
  void cmdPrev_Click();
  void cmdPause_Click(int index);
  void tmr1_Timer();
  void Form_KeyDown(int key);
  void cmdSave_Click();
  void cmdCopy_Click();
  // Every frame of the preview on show, in play order, to the frame list.
  void mnuEditCopyAll_Click();

  // --- help and end ---
  void mnuHelpOpen_Click();
  void mnuScenes_Click();  // shows the scene list (frm_scenes.cpp)
  void cmdClose_Click();

  // --- state ---
  effects::WorkState& workState() { return ws_; }
  effects::Driver& driver() { return *driver_; }
  frmGifSetting& gifSetting() { return *gifSetting_; }
  frmGifSetting& webpSetting() { return *webpSetting_; }
  // The one question of a save (effect, frame list or scene list): the GIF
  // dialog for ".gif", the WebP dialog for ".webp".
  std::optional<save::AnimationAnswer> askAnimation(const save::AnimationAsk& ask);
  // A save wrote this animated GIF or WebP: the dialog of its format reads
  // it back and describes it the next time it opens.
  void animationWritten(const std::string& file, output::AdPreset preset);
  framelist::frmFrames* frameList() { return frmFrames_.get(); }
  frmScenes* sceneList() { return frmScenes_; }
  effects::Host& host();
  Prompts& prompts() { return *prompts_; }
  const StartupEnvironment& environment() const { return env_; }
  const QString& sourceFolder() const { return sourceFolder_; }
  std::int16_t hueX() const { return hueX_; }
  core::Color bannerColor() const { return bannerColor_; }
  core::Color formColor() const { return formColor_; }
  // The window's size in twips and the panels' places as last fitted.
  const WindowFit& fit() const { return fit_; }
  // How often a run's yields let the window handle events, in milliseconds
  // (0 = at every yield).
  void setEventInterval(int ms);
  // The option values as a run reads them.
  effects::Options readOptions() const;
  // The settings as the unload writes them.
  settings::Settings collectSettings() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class WindowHost;
  friend class frmScenes;  // keeps the last project with the settings

  // Construction (frm_main_layout.cpp).
  void createControls();
  void createPictureArea();
  void createOptionArea();
  void createMessageArea();
  void connectControls();
  void connectMenus();
  void placeFrames();

  // Start and end (frm_main_lifecycle.cpp).
  void Form_Load();
  void Form_Unload();
  void applySettings(const settings::Settings& s);
  void wireFrameList();  // the frame list's dialogs through prompts_ (copy_command.cpp)
  settings::SettingsContext settingsContext() const;

  // Helpers.
  void discardFrames();
  void syncMenusFromControls();
  void applyFormColor(core::Color c);
  void setPreviewCommandsEnabled(bool enabled);
  void fitToSource();
  void acceptPicture(const core::Picture& picture);
  void rejectPicture(const intake::LoadResult& result);
  // The loader's limit the options menu puts in force.
  const intake::SizeLimit& sourceLimit() const;
  ScreenRoom screenRoom() const;
  void keepOnScreen();
  // Another screen may have another scale: the views' logical size changes.
  void screenMoved();
  bool screenWatched_ = false;
  // The canvas under the views takes the surfaces' size.
  void followPictureSize();
  void placeLoadedPicture(const core::Picture& picture);
  void showSurfaces(bool visible);
  void refreshViews();
  QString askSourceFile();
  void openChosenSource(const QString& name);
  void openHelpFile();

  // Runs a driver command; handlers that arrive inside its yields and must
  // not touch the work state (a drop, a close) wait until it returns.
  void runDriver(const std::function<void()>& command);
  bool driverBusy() const { return driverDepth_ > 0; }
  void runDeferred();

  StartupEnvironment env_;
  std::unique_ptr<Prompts> prompts_;
  effects::WorkState ws_;
  std::unique_ptr<WindowHost> host_;
  std::unique_ptr<effects::Driver> driver_;
  std::unique_ptr<frmGifSetting> gifSetting_;
  std::unique_ptr<frmGifSetting> webpSetting_;
  std::unique_ptr<framelist::frmFrames> frmFrames_;
  frmScenes* frmScenes_ = nullptr;  // a child window, deleted with this one

  QString sourceFolder_;
  QString lastOpenName_;  // the open dialog's previous file name
  std::int16_t hueX_ = 0;
  core::Color bannerColor_ = core::kWhite;
  core::Color formColor_ = core::kButtonFace;
  QColor bannerDialogColor_ = Qt::black;  // each colour dialog starts on its own last choice
  QColor formDialogColor_ = Qt::black;
  WindowFit fit_;
  settings::Settings loadedSettings_;  // keeps what the unload must not change (e.g. positions)

  int driverDepth_ = 0;
  std::optional<QString> pendingDrop_;
  bool closePending_ = false;
  bool unloaded_ = false;
};

}  // namespace app
