#include "app/prompts.h"

#include <memory>

#include <QColorDialog>
#include <QComboBox>
#include <QDesktopServices>
#include <QDir>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QUrl>

#include "app/ui_texts.h"
#include "framelist/save_dialog.h"

namespace app {

namespace {

QMessageBox::Icon toQtIcon(MessageIcon icon) {
  switch (icon) {
    case MessageIcon::Critical:
      return QMessageBox::Critical;
    case MessageIcon::Exclamation:
      return QMessageBox::Warning;
    case MessageIcon::Information:
      return QMessageBox::Information;
  }
  return QMessageBox::NoIcon;
}

// Qt reads the text inside an entry's parentheses as space-separated
// patterns, so "(*.bmp;*.jpg;*.gif)" would be one pattern that matches no
// file. The entries keep their text; the dialog's file model gets the real
// patterns whenever an entry is chosen.
void applyRealPatterns(QFileDialog& dialog, const FileDialogRequest& request) {
  auto* model = dialog.findChild<QFileSystemModel*>();
  auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
  if (!model || request.patterns.size() != request.filters.size()) return;
  auto apply = [model, request](int index) {
    if (index >= 0 && index < request.patterns.size()) model->setNameFilters(request.patterns[index]);
  };
  apply(request.selectedFilter);
  if (combo) {
    QObject::connect(combo, &QComboBox::activated, model, apply);
    QObject::connect(combo, &QComboBox::currentIndexChanged, model, apply);
  }
}

QString runFileDialog(QWidget* parent, const FileDialogRequest& request, bool forSaving) {
  QFileDialog dialog(parent);
  configureFileDialog(dialog, request, forSaving);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  if (chosen.isEmpty()) return {};
  const QString path = QDir::toNativeSeparators(chosen.front());
  if (!forSaving) return path;
  const qsizetype entry = request.filters.indexOf(dialog.selectedNameFilter());
  const QString pattern = entry >= 0 && entry < request.patterns.size() && !request.patterns[entry].isEmpty()
                              ? request.patterns[entry].front()
                              : framelist::firstPatternOf(dialog.selectedNameFilter());
  return framelist::withTypeExtension(path, pattern);
}

}  // namespace

void configureFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool forSaving) {
  if (!request.title.isEmpty()) dialog.setWindowTitle(request.title);
  if (!request.startFolder.isEmpty()) dialog.setDirectory(request.startFolder);
  // Our own dialog everywhere, so that the pattern fix-up applies and the
  // dialog looks the same on every desktop.
  dialog.setOption(QFileDialog::DontUseNativeDialog);
  dialog.setAcceptMode(forSaving ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
  dialog.setFileMode(forSaving ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
  if (forSaving) {
    // The chosen name only carries a folder, a base name and a format; the
    // frames get names of their own, so there is nothing to overwrite here.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    dialog.setDefaultSuffix(QString());
  }
  dialog.setNameFilters(request.filters);
  if (request.selectedFilter >= 0 && request.selectedFilter < request.filters.size())
    dialog.selectNameFilter(request.filters[request.selectedFilter]);
  if (!request.proposedName.isEmpty()) dialog.selectFile(request.proposedName);
  applyRealPatterns(dialog, request);
}

void QtPrompts::message(MessageIcon icon, const QString& text) {
  QMessageBox box(toQtIcon(icon), QString::fromUtf8(text::kAppTitle), text, QMessageBox::Ok, parent_);
  box.exec();
}

bool QtPrompts::question(MessageIcon icon, const QString& text) {
  QMessageBox box(toQtIcon(icon), QString::fromUtf8(text::kAppTitle), text, QMessageBox::Yes | QMessageBox::No,
                  parent_);
  box.setDefaultButton(QMessageBox::No);
  return box.exec() == QMessageBox::Yes;
}

QString QtPrompts::openFile(const FileDialogRequest& request) { return runFileDialog(parent_, request, false); }

QString QtPrompts::saveFile(const FileDialogRequest& request) { return runFileDialog(parent_, request, true); }

std::optional<QColor> QtPrompts::chooseColor(const QColor& initial) {
  const QColor c = QColorDialog::getColor(initial, parent_);
  if (!c.isValid()) return std::nullopt;
  return c;
}

bool QtPrompts::hasApplicationFor(const QString& mimeType) {
  // xdg-mime answers from the same associations that xdg-open (behind
  // QDesktopServices) then uses. Without xdg-utils nothing would open.
  const QString xdgMime = QStandardPaths::findExecutable(QStringLiteral("xdg-mime"));
  if (!xdgMime.isEmpty()) {
    QProcess query;
    query.setStandardErrorFile(QProcess::nullDevice());
    query.start(xdgMime, {QStringLiteral("query"), QStringLiteral("default"), mimeType});
    if (query.waitForFinished(5000) && query.exitStatus() == QProcess::NormalExit &&
        !query.readAllStandardOutput().trimmed().isEmpty())
      return true;
  }
  // A web page also opens in Debian's chosen browser when no desktop file
  // claims it.
  return mimeType == QLatin1String("text/html") &&
         !QStandardPaths::findExecutable(QStringLiteral("x-www-browser")).isEmpty();
}

bool QtPrompts::openDocument(const QString& path, std::function<void()> failed) {
  const QString xdgOpen = QStandardPaths::findExecutable(QStringLiteral("xdg-open"));
  if (xdgOpen.isEmpty()) return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
  // QDesktopServices starts xdg-open detached and reports success as soon as
  // it runs, so a viewer that then fails to start went unnoticed. Its exit
  // status is the desktop's answer. The process has no parent: destroying it
  // with the window would kill a viewer that xdg-open waits on.
  auto* opener = new QProcess;
  opener->setStandardOutputFile(QProcess::nullDevice());
  opener->setStandardErrorFile(QProcess::nullDevice());
  auto reported = std::make_shared<bool>(false);
  auto fail = [failed = std::move(failed), reported] {
    if (*reported) return;
    *reported = true;
    if (failed) failed();
  };
  QObject::connect(opener, &QProcess::finished, opener, [opener, fail](int code, QProcess::ExitStatus status) {
    if (status != QProcess::NormalExit || code != 0) fail();
    opener->deleteLater();
  });
  QObject::connect(opener, &QProcess::errorOccurred, opener, [opener, fail](QProcess::ProcessError error) {
    if (error != QProcess::FailedToStart) return;
    fail();
    opener->deleteLater();
  });
  opener->start(xdgOpen, {path});
  return true;
}

}  // namespace app
