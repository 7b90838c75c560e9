// frmMain: construction, the wiring of controls and menus to the handlers,
// and the rules that keep option controls and menu entries in step.
#include "app/frm_main.h"

#include <QApplication>
#include <QComboBox>
#include <QCoreApplication>
#include <QEvent>
#include <QFileInfo>
#include <QLabel>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include "app/drop_field.h"
#include "app/file_locations.h"
#include "app/frm_gif_setting.h"
#include "app/frm_scenes.h"
#include "app/hue_bar.h"
#include "app/option_panel.h"
#include "app/picture_view.h"
#include "app/window_host.h"
#include "core/effect_kind.h"
#include "framelist/frm_frames.h"

namespace app {

StartupEnvironment programEnvironment(const CommandLine& commandLine) {
  StartupEnvironment env;
  env.programFolder = QCoreApplication::applicationDirPath();
  if (!env.programFolder.endsWith(QLatin1Char('/'))) env.programFolder += QLatin1Char('/');
  const FileLocations files =
      locateFiles(env.programFolder,
                  QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName() + QStringLiteral(".ini"));
  env.iniPath = files.iniPath;
  env.sourceFolderDefault = files.sourceFolderDefault;
  env.saveFolderDefault = files.saveFolderDefault;
  env.helpFolder = installedHelpFolder(env.programFolder);
  env.debugCommandLine = commandLine.debug;
  env.startupPicture = commandLine.picture;
  return env;
}

frmMain::frmMain(const StartupEnvironment& env, std::unique_ptr<Prompts> prompts)
    : env_(env), prompts_(prompts ? std::move(prompts) : std::make_unique<QtPrompts>(this)) {
  host_ = std::make_unique<WindowHost>(*this);
  driver_ = std::make_unique<effects::Driver>(ws_, *host_, env_.debugCommandLine);
  menus = buildMainMenus(menuBar());
  createControls();
  connectControls();
  connectMenus();
  Form_Load();
  // Once the window is up, so that a message about the picture has a window
  // to belong to.
  if (!env_.startupPicture.isEmpty())
    QTimer::singleShot(0, this, [this] { openSourceFromCommandLine(env_.startupPicture); });
}

// The scene list goes first, while the work state and driver it plays the
// banner on still exist.
frmMain::~frmMain() { delete frmScenes_; }

void frmMain::connectControls() {
  connect(cmdOpen, &QPushButton::clicked, this, &frmMain::cmdOpen_Click);
  connect(cboType, &QComboBox::currentIndexChanged, this, &frmMain::cboType_Click);
  connect(fraSlide->chkCross, &QCheckBox::toggled, this, &frmMain::chkCross_Click);
  for (int b = 0; b < 7; ++b) connect(chkMask[b], &QCheckBox::toggled, this, [this, b] { chkMask_Click(b); });
  auto onSelect = [this](QRadioButton* r, void (frmMain::*handler)(int), int k) {
    connect(r, &QRadioButton::toggled, this, [this, handler, k](bool on) {
      if (on) (this->*handler)(k);
    });
  };
  for (int k = 0; k < 2; ++k) onSelect(fraRotate->optXY[k], &frmMain::optXY_Click, k);
  for (int k = 0; k < 3; ++k) onSelect(fraDiffuse->optDiffuseType[k], &frmMain::optDiffuseType_Click, k);
  for (int k = 0; k < 2; ++k) onSelect(fraHue->optHueType[k], &frmMain::optHueType_Click, k);
  fraHue->picHue->setReleaseHandler([this](double x, double y) { picHue_MouseUp(0, 0, x, y); });
  connect(cmdColor[0], &QPushButton::clicked, this, &frmMain::cmdColor_Click);
  lblColor->installEventFilter(this);
  connect(cmdPrev, &QPushButton::clicked, this, &frmMain::cmdPrev_Click);
  for (int i = 0; i < 2; ++i) connect(cmdPause[i], &QPushButton::clicked, this, [this, i] { cmdPause_Click(i); });
  connect(cmdCopy, &QPushButton::clicked, this, &frmMain::cmdCopy_Click);
  connect(cmdSave, &QPushButton::clicked, this, &frmMain::cmdSave_Click);
  connect(cmdClose, &QPushButton::clicked, this, &frmMain::cmdClose_Click);
  connect(tmr1, &QTimer::timeout, this, &frmMain::tmr1_Timer);
  // A drop is taken after the drag has finished, not inside it.
  txtSource->setDropHandler(
      [this](const QString& path) { QTimer::singleShot(0, this, [this, path] { txtSource_OLEDragDrop(path); }); });
  auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
  connect(esc, &QShortcut::activated, this, [this] { Form_KeyDown(Qt::Key_Escape); });
}

void frmMain::connectMenus() {
  const MainMenus& m = menus;
  connect(m.mnuFileOpen, &QAction::triggered, this, &frmMain::cmdOpen_Click);
  connect(m.mnuFileSave, &QAction::triggered, this, &frmMain::cmdSave_Click);
  connect(m.mnuFileQuit, &QAction::triggered, this, &frmMain::cmdClose_Click);
  connect(m.mnuEditCopy, &QAction::triggered, this, &frmMain::cmdCopy_Click);
  connect(m.mnuEditCopyAll, &QAction::triggered, this, &frmMain::mnuEditCopyAll_Click);
  // Playing or paused alike, the preview's frames can be taken while the
  // menu is open.
  connect(m.mnuEdit, &QMenu::aboutToShow, this,
          [this] { menus.mnuEditCopyAll->setEnabled(!driver_->previewFrames().empty()); });
  connect(m.mnuEditPaste, &QAction::triggered, this, &frmMain::mnuEditPaste_Click);
  connect(m.mnuPreview, &QAction::triggered, this, &frmMain::cmdPrev_Click);
  connect(m.mnuScenes, &QAction::triggered, this, &frmMain::mnuScenes_Click);
  frmScenes_ = new frmScenes(*this);  // adds the project entries to the File menu
  for (int k = 0; k < 7; ++k)
    connect(m.mnuAniModeType[k], &QAction::triggered, this, [this, k] { mnuAniModeType_Click(k); });
  connect(m.mnuCross, &QAction::triggered, this, &frmMain::mnuCross_Click);
  for (int b = 0; b < 7; ++b) connect(m.mnuMask[b], &QAction::triggered, this, [this, b] { mnuMask_Click(b); });
  for (int k = 0; k < 2; ++k) connect(m.mnuXY[k], &QAction::triggered, this, [this, k] { mnuXY_Click(k); });
  for (int k = 0; k < 3; ++k)
    connect(m.mnuDiffuseType[k], &QAction::triggered, this, [this, k] { mnuDiffuseType_Click(k); });
  for (int k = 0; k < 2; ++k)
    connect(m.mnuHueOptionType[k], &QAction::triggered, this, [this, k] { mnuHueOptionType_Click(k); });
  connect(m.mnuBackColor, &QAction::triggered, this, &frmMain::cmdColor_Click);
  connect(m.mnuFormColor, &QAction::triggered, this, &frmMain::mnuFormColor_Click);
  connect(m.mnuBackInit, &QAction::triggered, this, &frmMain::mnuBackInit_Click);
  connect(m.mnuHelpOpen, &QAction::triggered, this, &frmMain::mnuHelpOpen_Click);
}

bool frmMain::eventFilter(QObject* watched, QEvent* event) {
  if (watched == lblColor && event->type() == QEvent::MouseButtonDblClick && lblColor->isEnabled()) {
    cmdColor_Click();
    return true;
  }
  return QMainWindow::eventFilter(watched, event);
}

effects::Options frmMain::readOptions() const {
  effects::Options o;
  o.effect = cboType->currentIndex();
  for (int b = 0; b < 7; ++b) o.mask[b] = chkMask[b]->isChecked();
  o.cross = fraSlide->chkCross->isChecked();
  o.axis = fraRotate->optXY[1]->isChecked() ? 1 : 0;
  o.diffuseType = fraDiffuse->optDiffuseType[2]->isChecked() ? 2 : (fraDiffuse->optDiffuseType[1]->isChecked() ? 1 : 0);
  o.hueType = fraHue->optHueType[1]->isChecked() ? 1 : 0;
  o.hueX = hueX_;
  o.bannerColor = bannerColor_;
  return o;
}

void frmMain::discardFrames() { ws_.emptyCache(); }

// --- the effect list ---

void frmMain::cboType_Click() {
  discardFrames();
  const int selected = cboType->currentIndex();
  for (int k = 0; k < 7; ++k) {
    menus.mnuAniModeType[k]->setChecked(k == selected);
    menus.optionMenus[k]->menuAction()->setVisible(k == selected);
    optionPanels[k]->setVisible(k == selected);
  }
}

void frmMain::mnuAniModeType_Click(int k) {
  if (cboType->currentIndex() != k) cboType->setCurrentIndex(k);  // runs cboType_Click
  syncMenusFromControls();
}

// --- options ---

void frmMain::chkCross_Click() {
  discardFrames();
  menus.mnuCross->setChecked(fraSlide->chkCross->isChecked());
}

void frmMain::mnuCross_Click() {
  fraSlide->chkCross->setChecked(!fraSlide->chkCross->isChecked());
  syncMenusFromControls();
}

void frmMain::chkMask_Click(int box) {
  discardFrames();
  menus.mnuMask[box]->setChecked(chkMask[box]->isChecked());
}

void frmMain::mnuMask_Click(int box) {
  // The Hue mask entry only mirrors its box; clicking it does nothing.
  if (box != core::kMaskHue) chkMask[box]->setChecked(!chkMask[box]->isChecked());
  syncMenusFromControls();
}

void frmMain::optXY_Click(int k) {
  discardFrames();
  menus.mnuXY[k]->setChecked(true);
  menus.mnuXY[1 - k]->setChecked(false);
}

void frmMain::mnuXY_Click(int k) {
  fraRotate->optXY[k]->setChecked(true);
  syncMenusFromControls();
}

void frmMain::optDiffuseType_Click(int k) {
  discardFrames();
  for (int j = 0; j < 3; ++j) menus.mnuDiffuseType[j]->setChecked(j == k);
}

void frmMain::mnuDiffuseType_Click(int k) {
  fraDiffuse->optDiffuseType[k]->setChecked(true);
  syncMenusFromControls();
}

// The hue type and the target hue keep the cached frames.
void frmMain::optHueType_Click(int k) {
  for (int j = 0; j < 2; ++j) menus.mnuHueOptionType[j]->setChecked(j == k);
}

void frmMain::mnuHueOptionType_Click(int k) {
  fraHue->optHueType[k]->setChecked(true);
  syncMenusFromControls();
}

void frmMain::picHue_MouseUp(int /*button*/, int /*shift*/, double x, double y) {
  const core::Color c = hueBarColorAt(fraHue->picHue->bar(), x, y);
  setSwatchColor(fraHue->lblHueColor, QColor(core::redOf(c), core::greenOf(c), core::blueOf(c)));
  hueX_ = hueFromRelease(x);
}

// A menu entry's own click flips its check mark; the marks always end as the
// controls say.
void frmMain::syncMenusFromControls() {
  const int selected = cboType->currentIndex();
  for (int k = 0; k < 7; ++k) menus.mnuAniModeType[k]->setChecked(k == selected);
  menus.mnuCross->setChecked(fraSlide->chkCross->isChecked());
  for (int b = 0; b < 7; ++b) menus.mnuMask[b]->setChecked(chkMask[b]->isChecked());
  for (int k = 0; k < 2; ++k) menus.mnuXY[k]->setChecked(fraRotate->optXY[k]->isChecked());
  for (int k = 0; k < 3; ++k) menus.mnuDiffuseType[k]->setChecked(fraDiffuse->optDiffuseType[k]->isChecked());
  for (int k = 0; k < 2; ++k) menus.mnuHueOptionType[k]->setChecked(fraHue->optHueType[k]->isChecked());
}

// --- colours ---

namespace {
QColor toQColor(core::Color c) { return QColor(core::redOf(c), core::greenOf(c), core::blueOf(c)); }
core::Color fromQColor(const QColor& c) { return core::rgb(c.red(), c.green(), c.blue()); }
}  // namespace

void frmMain::cmdColor_Click() {
  discardFrames();
  const auto chosen = prompts_->chooseColor(bannerDialogColor_);
  if (!chosen) return;
  bannerDialogColor_ = *chosen;
  bannerColor_ = fromQColor(*chosen);
  setSwatchColor(lblColor, *chosen);
}

void frmMain::mnuFormColor_Click() {
  const auto chosen = prompts_->chooseColor(formDialogColor_);
  if (!chosen) return;
  formDialogColor_ = *chosen;
  applyFormColor(fromQColor(*chosen));
}

void frmMain::mnuBackInit_Click() { applyFormColor(core::kButtonFace); }

// The window and every panel, check box and option button on it take the
// colour; buttons, text boxes, pictures and the colour swatches keep theirs.
// Check boxes and option buttons are drawn over their panel, which is
// painted in the same colour.
void frmMain::applyFormColor(core::Color c) {
  formColor_ = c;
  const QColor colour = core::isSystemColor(c) ? QApplication::palette().color(QPalette::Button) : toQColor(c);
  auto paint = [&colour](QWidget* w, bool fill) {
    QPalette p = w->palette();
    p.setColor(QPalette::Window, colour);
    w->setPalette(p);
    w->setAutoFillBackground(fill);
  };
  paint(centralWidget(), true);
  for (QWidget* w : {static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Frame2), static_cast<QWidget*>(fraType),
                     static_cast<QWidget*>(fraMsg)})
    paint(w, true);
  for (OptionPanel* p : optionPanels) paint(p, true);
  for (QCheckBox* b : centralWidget()->findChildren<QCheckBox*>()) paint(b, false);
  for (QRadioButton* r : centralWidget()->findChildren<QRadioButton*>()) paint(r, false);
}

void frmMain::setPreviewCommandsEnabled(bool enabled) {
  cmdPrev->setEnabled(enabled);
  cmdSave->setEnabled(enabled);
  menus.mnuPreview->setEnabled(enabled);
  menus.mnuFileSave->setEnabled(enabled);
}

void frmMain::refreshViews() {
  picX->refresh();
  picSource->refresh();
  followPictureSize();
}

void frmMain::followPictureSize() {
  const QSize size = picSource->size().expandedTo(picX->size());
  if (picCanvas->size() != size) picCanvas->setFixedSize(size);
}

}  // namespace app
