// frmMain's start and end: the load sequence with the settings file, the
// unload that writes it back, the help file and the close command.
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>

#include "app/first_run.h"
#include "app/frm_gif_setting.h"
#include "app/frm_main.h"
#include "app/help_documents.h"
#include "app/hue_bar.h"
#include "app/option_panel.h"
#include "app/ui_texts.h"
#include "framelist/frm_frames.h"

namespace app {

namespace {

int radioIndex(const auto& buttons) {
  for (std::size_t k = 0; k < buttons.size(); ++k)
    if (buttons[k]->isChecked()) return static_cast<int>(k);
  return 0;
}

}  // namespace

void frmMain::animationWritten(const std::string& file, output::AdPreset preset) {
  const std::optional<save::AnimationFormat> format = save::askedFormat(save::GetFileExt(file));
  if (!format) return;
  (*format == save::AnimationFormat::Gif ? gifSetting_ : webpSetting_)->checkWritten(file, preset);
}

std::optional<save::AnimationAnswer> frmMain::askAnimation(const save::AnimationAsk& ask) {
  if (ask.format == save::AnimationFormat::Gif) return gifSetting_->askAnimation(ask);
  // The WebP dialog starts from what was typed last in either dialog and
  // leaves what is typed in it there for the GIF's.
  webpSetting_->takeSharedChoices(*gifSetting_);
  std::optional<save::AnimationAnswer> answer = webpSetting_->askAnimation(ask);
  gifSetting_->takeSharedChoices(*webpSetting_);
  return answer;
}

void frmMain::Form_Load() {
  // 1. The frame list window and the GIF options dialog, loaded but hidden.
  gifSetting_ = std::make_unique<frmGifSetting>(*prompts_, this);
  webpSetting_ = std::make_unique<frmGifSetting>(*prompts_, this, save::AnimationFormat::Webp);
  frmFrames_ = std::make_unique<framelist::frmFrames>(
      framelist::SaveSettings{ws_.SaveExt, ws_.SavePath},
      [this](const save::AnimationAsk& ask) { return askAnimation(ask); });
  wireFrameList();
  // 2. The caption with the program's version.
  setWindowTitle(QString::fromUtf8(text::kAppTitle) + QStringLiteral(" [Ver.") + QString::fromUtf8(text::kVersion) +
                 QStringLiteral("]"));
  // 3. The copy command and the edit menu.
  cmdCopy->show();
  menus.mnuEdit->menuAction()->setVisible(true);
  // 4. The progress line over its etched line; every panel at fraSlide's place.
  linFore->setGeometry(linBack->geometry());
  for (OptionPanel* p : optionPanels) p->setGeometry(fraSlide->geometry());
  // 5. The settings.
  settings::inifile_IO ini;
  ini.setFileName(env_.iniPath.toStdString());
  applySettings(settings::loadSettings(ini, settingsContext()));
  // 6. The window for the (empty) picture area.
  fitToSource();
  // 7. The hue bar is drawn; the stored hue is picked on it.
  picHue_MouseUp(0, 0, hueX_, 0);
  // 8. The help file on the first run.
  if (!firstRunRecordExists()) openHelpFile();
}

settings::SettingsContext frmMain::settingsContext() const {
  settings::SettingsContext ctx;
  ctx.programFolder = env_.programFolder.toStdString();
  ctx.sourceFolderDefault = env_.sourceFolderDefault.toStdString();
  ctx.saveFolderDefault = env_.saveFolderDefault.toStdString();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    ctx.screenWidth = pixelsToTwips(screen->geometry().width());
    ctx.screenHeight = pixelsToTwips(screen->geometry().height());
  }
  ctx.mainWidth = fit_.widthTwips;
  ctx.mainHeight = fit_.heightTwips;
  const QRect frames = frmFrames_->framesRect();
  ctx.framesWidth = pixelsToTwips(frames.width());
  ctx.framesHeight = pixelsToTwips(frames.height());
  return ctx;
}

// In the load order: the GIF dialog, the windows, the options (each set
// through its control, whose handler updates the menus), the folders, the
// window colour and the hue.
void frmMain::applySettings(const settings::Settings& s) {
  loadedSettings_ = s;
  gifSetting_->setChoice(s.gifIsAni);
  gifSetting_->setIntervalText(QString::fromStdString(s.gifTimeText));
  gifSetting_->setPlays(s.gifPlays);
  gifSetting_->setHoldCs(s.gifHoldCs);
  gifSetting_->setPreset(s.gifPreset);
  gifSetting_->setBudgetKb(s.gifBudgetKb);
  // The settings file writes the colour red first, as web colours are.
  const std::uint32_t rgb = s.gifBorderRgb;
  gifSetting_->setBorder(s.gifBorder == 1, core::rgb(static_cast<int>(rgb >> 16), static_cast<int>(rgb >> 8),
                                                     static_cast<int>(rgb)));
  frmFrames_->setFramesRect(QRect(s.framesLeft / kTwipsPerPixel, s.framesTop / kTwipsPerPixel,
                                  s.framesWidth / kTwipsPerPixel, s.framesHeight / kTwipsPerPixel));
  move(s.left / kTwipsPerPixel, s.top / kTwipsPerPixel);

  cboType->setCurrentIndex(s.type);
  fraSlide->chkCross->setChecked(s.cross == 1);
  for (int b = 0; b < 7; ++b) chkMask[b]->setChecked(s.mask[b] == 1);
  fraRotate->optXY[s.rotateXY]->setChecked(true);
  fraDiffuse->optDiffuseType[s.diffuseType]->setChecked(true);
  fraHue->optHueType[s.hueType]->setChecked(true);
  syncMenusFromControls();
  menus.mnuLargePictures->setChecked(s.largePictures == 1);

  ws_.SavePath = s.saveFolder;
  sourceFolder_ = QString::fromStdString(s.sourceFolder);
  const QString saveFolder = QString::fromStdString(s.saveFolder);
  if (!saveFolder.isEmpty() && !QFileInfo::exists(saveFolder)) {
    // A stored folder is created one level deep; the default one whole, since
    // the user's pictures folder may not exist yet either. Errors are ignored.
    if (s.saveFolder == settings::saveFolderDefault(settingsContext()))
      QDir().mkpath(saveFolder);
    else
      QDir().mkdir(saveFolder);
  }

  applyFormColor(static_cast<core::Color>(s.formColor));
  hueX_ = static_cast<std::int16_t>(s.hue);
}

settings::Settings frmMain::collectSettings() const {
  settings::Settings s = loadedSettings_;
  s.top = pixelsToTwips(y());
  s.left = pixelsToTwips(x());
  const QRect frames = frmFrames_->framesRect();
  s.framesTop = pixelsToTwips(frames.y());
  s.framesLeft = pixelsToTwips(frames.x());
  s.framesWidth = pixelsToTwips(frames.width());
  s.framesHeight = pixelsToTwips(frames.height());
  s.sourceFolder = sourceFolder_.toStdString();
  s.saveFolder = ws_.SavePath;
  s.type = cboType->currentIndex();
  s.cross = fraSlide->chkCross->isChecked() ? 1 : 0;
  for (int b = 0; b < 7; ++b) s.mask[b] = chkMask[b]->isChecked() ? 1 : 0;
  s.rotateXY = fraRotate->optXY[0]->isChecked() ? 0 : 1;
  s.diffuseType = radioIndex(fraDiffuse->optDiffuseType);
  s.hueType = fraHue->optHueType[0]->isChecked() ? 0 : 1;
  s.hue = hueX_;
  s.formColor = static_cast<std::int32_t>(formColor_);
  s.gifIsAni = gifSetting_->choice();
  s.gifTimeText = gifSetting_->intervalText().toStdString();
  s.gifPlays = gifSetting_->plays();
  s.gifHoldCs = gifSetting_->holdCs();
  s.gifPreset = gifSetting_->preset();
  s.gifBudgetKb = gifSetting_->budgetKb();
  s.gifBorder = gifSetting_->borderOn() ? 1 : 0;
  const core::Color border = gifSetting_->borderColour();
  s.gifBorderRgb = static_cast<std::uint32_t>(core::redOf(border) << 16 | core::greenOf(border) << 8 |
                                              core::blueOf(border));
  s.largePictures = menus.mnuLargePictures->isChecked() ? 1 : 0;
  return s;
}

void frmMain::Form_Unload() {
  if (unloaded_) return;
  unloaded_ = true;
  writeFirstRunRecord(QDate::currentDate());
  settings::inifile_IO ini;
  ini.setFileName(env_.iniPath.toStdString());
  QDir().mkpath(QFileInfo(env_.iniPath).path());  // the user's configuration folder may be new
  settings::SaveConditions when;
  when.mainWindowNormal = !isMinimized() && !isMaximized();
  when.framesWindowNormal = frmFrames_->isNormalState();
  (void)settings::saveSettings(ini, collectSettings(), when);  // a settings file that cannot be written is ignored
  gifSetting_->hide();
  webpSetting_->hide();
  frmFrames_->hide();
}

void frmMain::closeEvent(QCloseEvent* event) {
  // Frames collected and not saved are not thrown away without asking. Once
  // the answer is to close, the changes are let go, so that a close put off
  // until a render returns does not ask again.
  if (!frmFrames_->confirmDiscard()) {
    event->ignore();
    return;
  }
  frmFrames_->discardChanges();
  if (driverBusy()) {
    // Inside a render or a save: close once the driver has returned; a
    // preview is asked to stop, a save runs to its end.
    closePending_ = true;
    if (!driver_->isSaving() && driver_->cmdPrevTag() == "prev") runDriver([this] { driver_->previewCommand(); });
    event->ignore();
    return;
  }
  if (driver_->cmdPrevTag() == "prev") runDriver([this] { driver_->previewCommand(); });
  Form_Unload();
  event->accept();
  frmFrames_->close();
}

void frmMain::cmdClose_Click() { close(); }

void frmMain::mnuHelpOpen_Click() { openHelpFile(); }

void frmMain::openHelpFile() {
  const HelpDocuments help = findHelpDocuments(env_.programFolder, env_.helpFolder, env_.language);
  if (help.chm.isEmpty() && help.indexPage.isEmpty()) {
    prompts_->message(MessageIcon::Exclamation, text::shown(text::kHelpMissing));
    return;
  }
  const QString folder = helpFolderToShow(help);
  const auto noViewer = [prompts = prompts_.get(), folder] {
    prompts->message(MessageIcon::Exclamation, text::shown(text::kHelpNoViewer) + QLatin1Char('\n') +
                                                   text::shown(text::kHelpFolderIs).arg(folder));
  };
  // A viewer that fails to start reports back after this returns, perhaps
  // after the window has gone.
  const QPointer<frmMain> self(this);
  const auto failedLater = [self, noViewer] {
    if (self) noViewer();
  };
  for (const HelpDocument& doc : helpOpeningOrder(help, env_.language)) {
    // Asked first, so that a desktop without a viewer never gets to try
    // (and fail loudly with) browsers that are not there.
    if (prompts_->hasApplicationFor(doc.mimeType) && prompts_->openDocument(doc.path, failedLater)) return;
  }
  noViewer();
}

}  // namespace app
