// Taking a source picture: the open command, a dropped file, a paste. All
// end in the same steps: size check, the work surfaces, the size caption,
// the banner colour, the window fitted, the cache emptied.
#include <QClipboard>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>

#include "app/drop_field.h"
#include "app/frm_main.h"
#include "app/option_panel.h"
#include "app/picture_view.h"
#include "app/source_intake.h"
#include "app/ui_texts.h"
#include "intake/picture_loader.h"
#include "save/target.h"

namespace app {

namespace {
// The loader's messages are marked texts of the program's catalogue.
QString loaderMessage(const intake::LoadResult& result) { return text::shown(result.message.c_str()); }
}  // namespace

QString frmMain::askSourceFile() {
  QString name = prompts_->openFile(openDialogRequest(sourceFolder_, lastOpenName_));
  if (!name.isEmpty()) lastOpenName_ = name;
  return name;
}

void frmMain::cmdOpen_Click() {
  const QString name = askSourceFile();
  if (name.isEmpty()) return;  // cancelled: nothing changes
  openChosenSource(name);
}

void frmMain::openChosenSource(const QString& name) {
  txtSource->setText(name);
  sourceFolder_ = QString::fromStdString(save::FolderOf(name.toStdString()));
  LoadSource();
}

void frmMain::openSourceFromCommandLine(const QString& path) {
  // As if chosen in the open dialog: an absolute path with the platform's
  // separators, which the dialog also remembers for its filter.
  const QString name = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
  lastOpenName_ = name;
  openChosenSource(name);
}

void frmMain::LoadSource() {
  discardFrames();
  setPreviewCommandsEnabled(false);
  ws_.picX.clear();
  const intake::LoadResult result = intake::loadPictureFile(txtSource->text().toStdString(), sourceLimit());
  if (result.status == intake::LoadStatus::NotFound) {
    prompts_->message(MessageIcon::Critical, loaderMessage(result));
    ws_.picSource.clear();
    ws_.picSource.resize(kDesignPictureWidth, kDesignPictureHeight);
    refreshViews();
    return;
  }
  showSurfaces(false);
  if (result.status == intake::LoadStatus::Unreadable) {
    // The previous source stays; the commands stay disabled.
    prompts_->message(MessageIcon::Critical, loaderMessage(result));
  } else if (result.status == intake::LoadStatus::TooLarge) {
    rejectPicture(result);
  } else {
    acceptPicture(result.picture);
  }
  showSurfaces(true);
}

void frmMain::mnuEditPaste_Click() {
  const QImage image = QGuiApplication::clipboard()->image();
  if (image.isNull()) {
    prompts_->message(MessageIcon::Exclamation, text::shown(text::kClipboardEmpty));
    return;
  }
  txtSource->setText(text::shown(text::kClipboardSource));
  discardFrames();
  setPreviewCommandsEnabled(false);
  ws_.picX.clear();
  showSurfaces(false);
  const intake::LoadResult result = intake::loadPictureImage(image, sourceLimit());
  if (result.status == intake::LoadStatus::Loaded)
    acceptPicture(result.picture);
  else if (result.status == intake::LoadStatus::TooLarge)
    rejectPicture(result);
  else
    prompts_->message(MessageIcon::Critical, loaderMessage(result));
  showSurfaces(true);
}

void frmMain::txtSource_OLEDragDrop(const QString& path) {
  if (driverBusy()) {
    // A render or a save is inside a yield: take the file when it returns,
    // and ask a rendering preview to stop first.
    pendingDrop_ = path;
    if (!driver_->isSaving() && driver_->cmdPrevTag() == "prev") runDriver([this] { driver_->previewCommand(); });
    return;
  }
  // A playing preview ends before its frames are replaced.
  if (driver_->cmdPrevTag() == "prev") runDriver([this] { driver_->previewCommand(); });
  txtSource->setText(path);
  LoadSource();  // the open dialog's start folder stays as it is
}

void frmMain::acceptPicture(const core::Picture& picture) {
  const core::Color corner = effects::acceptSource(ws_, picture);
  lblSize->setText(sizeCaption(picture.width(), picture.height()));
  setPreviewCommandsEnabled(true);
  fitToSource();
  bannerColor_ = corner;
  setSwatchColor(lblColor, QColor(core::redOf(corner), core::greenOf(corner), core::blueOf(corner)));
  refreshViews();
}

const intake::SizeLimit& frmMain::sourceLimit() const { return intake::sizeLimit(menus.mnuLargePictures->isChecked()); }

void frmMain::rejectPicture(const intake::LoadResult& result) {
  prompts_->message(MessageIcon::Critical, loaderMessage(result));  // names the limit in force
  ws_.picSource.clear();
  ws_.picX.clear();
  ws_.picSource.resize(kDesignPictureWidth, kDesignPictureHeight);
  ws_.picX.resize(kDesignPictureWidth, kDesignPictureHeight);
  lblSize->setText(QString());
  refreshViews();  // the window keeps its size
}

void frmMain::showSurfaces(bool visible) {
  picSource->setVisible(visible);
  picX->setVisible(visible);
  if (visible) refreshViews();
}

}  // namespace app
