// The scene list's project: the .pictorell file opened, saved and reopened
// from the File menu. The file itself is read and written by the scenes
// library; here it meets the pictures, the dialogs and the settings.
#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include <QAction>
#include <QFileInfo>
#include <QListWidget>
#include <QMenu>
#include <QMenuBar>
#include <QVBoxLayout>

#include "app/frm_gif_setting.h"
#include "app/frm_main.h"
#include "app/frm_scenes.h"
#include "app/ui_texts.h"
#include "intake/picture_loader.h"
#include "scenes/project_file.h"

namespace app {

namespace {

FileDialogRequest projectDialogRequest(const char* title, const QString& current) {
  FileDialogRequest r;
  r.title = text::shown(title);
  if (!current.isEmpty()) {
    const QFileInfo info(current);
    r.startFolder = info.absolutePath();
    r.proposedName = info.fileName();
  }
  r.filters = {text::shown(text::kProjectFilter)};
  r.patterns = {{QStringLiteral("*.pictorell")}};
  return r;
}

// The GIF dialog's interval text ("0.1") in hundredths of a second; the
// project's own value when the text is no number.
int intervalCsOf(const QString& text, int fallback) {
  bool ok = false;
  const double seconds = text.toDouble(&ok);
  if (!ok || seconds <= 0.0 || seconds > 655.35) return fallback;
  return static_cast<int>(seconds * 100.0 + 0.5);
}

}  // namespace

void frmScenes::createProjectMenus() {
  mnuProjectOpen = new QAction(text::shown(text::kMnuProjectOpen), this);
  mnuProjectSave = new QAction(text::shown(text::kMnuProjectSave), this);
  mnuProjectSaveAs = new QAction(text::shown(text::kMnuProjectSaveAs), this);
  mnuProjectLast = new QAction(this);
  mnuProjectLast->setVisible(false);
  connect(mnuProjectOpen, &QAction::triggered, this, &frmScenes::mnuProjectOpen_Click);
  connect(mnuProjectSave, &QAction::triggered, this, &frmScenes::mnuProjectSave_Click);
  connect(mnuProjectSaveAs, &QAction::triggered, this, &frmScenes::mnuProjectSaveAs_Click);
  connect(mnuProjectLast, &QAction::triggered, this, &frmScenes::mnuProjectLast_Click);

  // In the main window's File menu, between the save and the end.
  QMenu* file = main_.menus.mnuFile;
  QAction* quit = main_.menus.mnuFileQuit;
  file->insertActions(quit, {mnuProjectOpen, mnuProjectSave, mnuProjectSaveAs, mnuProjectLast});
  file->insertSeparator(quit);
  connect(file, &QMenu::aboutToShow, this, &frmScenes::refreshLastProject);

  // And this window's own menu.
  auto* bar = new QMenuBar(this);
  QMenu* project = bar->addMenu(text::shown(text::kMnuSceneProject));
  project->addActions({mnuProjectOpen, mnuProjectSave, mnuProjectSaveAs, mnuProjectLast});
  connect(project, &QMenu::aboutToShow, this, &frmScenes::refreshLastProject);
  layout()->setMenuBar(bar);
  refreshLastProject();
}

void frmScenes::refreshLastProject() {
  const QString last = QString::fromStdString(main_.loadedSettings_.lastProject);
  mnuProjectLast->setText(text::shown(text::kMnuProjectLast).arg(QFileInfo(last).fileName()));
  mnuProjectLast->setToolTip(last);
  mnuProjectLast->setVisible(!last.isEmpty());
}

void frmScenes::rememberProject(const QString& path) {
  projectPath_ = path;
  main_.loadedSettings_.lastProject = QFileInfo(path).absoluteFilePath().toStdString();
  refreshLastProject();
}

void frmScenes::mnuProjectOpen_Click() {
  const QString name = main_.prompts().openFile(projectDialogRequest(text::kProjectOpenTitle, projectPath_));
  if (!name.isEmpty()) openProject(name);
}

void frmScenes::mnuProjectLast_Click() {
  refreshLastProject();
  if (!main_.loadedSettings_.lastProject.empty()) openProject(QString::fromStdString(main_.loadedSettings_.lastProject));
}

void frmScenes::mnuProjectSave_Click() {
  if (projectPath_.isEmpty())
    mnuProjectSaveAs_Click();
  else
    saveProject(projectPath_);
}

void frmScenes::mnuProjectSaveAs_Click() {
  if (scenes_.empty()) return;
  QString name = main_.prompts().saveFile(projectDialogRequest(text::kProjectSaveTitle, projectPath_));
  if (name.isEmpty()) return;
  if (!name.endsWith(QLatin1String(scenes::kProjectExtension), Qt::CaseInsensitive))
    name += QLatin1String(scenes::kProjectExtension);
  saveProject(name);
}

bool frmScenes::openProject(const QString& path) {
  Prompts& prompts = main_.prompts();
  const std::string file = path.toStdString();
  const scenes::ProjectRead read = scenes::readProjectFile(file);
  if (!read.project) {
    prompts.message(MessageIcon::Exclamation,
                    text::shown(text::kProjectUnreadable).arg(path, QString::fromStdString(read.error)));
    return false;
  }
  const scenes::Project& project = *read.project;
  // Every picture is loaded before anything in the list changes.
  std::vector<ListedScene> loaded;
  for (std::size_t i = 0; i < project.scenes.size(); ++i) {
    const scenes::ProjectScene& ps = project.scenes[i];
    const std::string picture = scenes::picturePath(file, ps.picture);
    const QString number = QString::number(i + 1);
    const QString shownPicture = QString::fromStdString(picture);
    std::error_code ec;
    if (!std::filesystem::is_regular_file(picture, ec)) {
      prompts.message(MessageIcon::Exclamation, text::shown(text::kScenePictureMissing).arg(number, shownPicture));
      return false;
    }
    const intake::LoadResult result = intake::loadPictureFile(picture);
    if (result.status != intake::LoadStatus::Loaded) {
      prompts.message(MessageIcon::Exclamation, text::shown(text::kScenePictureUnreadable)
                                                    .arg(number, shownPicture, text::shown(result.message.c_str())));
      return false;
    }
    if (!loaded.empty()) {
      const core::Picture& first = loaded.front().scene.picture;
      if (result.picture.width() != first.width() || result.picture.height() != first.height()) {
        prompts.message(MessageIcon::Exclamation, text::shown(text::kScenePictureSize)
                                                      .arg(number, shownPicture)
                                                      .arg(result.picture.width())
                                                      .arg(result.picture.height())
                                                      .arg(first.width())
                                                      .arg(first.height()));
        return false;
      }
    }
    ListedScene s;
    s.scene.picture = result.picture;
    s.scene.options = ps.options;
    s.scene.options.bannerColor = project.bannerColor.value_or(result.picture.pixel(0, 0));
    s.scene.holdCs = ps.holdCs;
    s.source = shownPicture;
    loaded.push_back(std::move(s));
  }
  scenes_ = std::move(loaded);
  // The play settings go where the save asks for them: the GIF dialog.
  frmGifSetting& gif = main_.gifSetting();
  gif.setIntervalText(QString::number(project.intervalCs / 100.0));
  gif.setPlays(project.plays);
  gif.setPreset(static_cast<int>(project.preset));
  refreshList(scenes_.empty() ? -1 : 0);
  rememberProject(path);
  return true;
}

bool frmScenes::saveProject(const QString& path) {
  Prompts& prompts = main_.prompts();
  const std::string file = path.toStdString();
  scenes::Project project;
  for (std::size_t i = 0; i < scenes_.size(); ++i) {
    const ListedScene& s = scenes_[i];
    std::error_code ec;
    if (s.source.isEmpty() || !std::filesystem::is_regular_file(s.source.toStdString(), ec)) {
      prompts.message(MessageIcon::Exclamation, text::shown(text::kScenePictureNotFile).arg(i + 1));
      return false;
    }
    scenes::ProjectScene ps;
    ps.picture = scenes::writtenPicturePath(file, s.source.toStdString());
    ps.options = s.scene.options;
    ps.holdCs = s.scene.holdCs;
    project.scenes.push_back(std::move(ps));
  }
  // Scenes that each show their own corner colour keep it so ("corner");
  // otherwise the first scene's colour is the banner's.
  const bool corners = std::all_of(scenes_.begin(), scenes_.end(), [](const ListedScene& s) {
    return s.scene.options.bannerColor == s.scene.picture.pixel(0, 0);
  });
  if (!scenes_.empty() && !corners) project.bannerColor = scenes_.front().scene.options.bannerColor;
  const frmGifSetting& gif = main_.gifSetting();
  project.intervalCs = intervalCsOf(gif.intervalText(), project.intervalCs);
  project.plays = gif.plays();
  project.preset = static_cast<output::AdPreset>(gif.preset());
  const output::WriteStatus status = scenes::writeProjectFile(file, project);
  if (!status) {
    prompts.message(MessageIcon::Exclamation,
                    text::shown(text::kProjectNotWritten)
                        .arg(QString::fromStdString(status.file), QString::fromStdString(status.reason)));
    return false;
  }
  rememberProject(path);
  return true;
}

}  // namespace app
