#include "framelist/save_dialog.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QWidget>

#include "framelist/shown_text.h"

namespace framelist {

SaveDialogRequest frameSaveDialogRequest(const std::string& savePath) {
  SaveDialogRequest r;
  r.title = shown(QT_TRANSLATE_NOOP("Pictorell", "保存先およびベース名の設定"));
  r.filters = QStringList{shown(QT_TRANSLATE_NOOP("Pictorell", "ビットマップ(*.bmp)")),
                          shown(QT_TRANSLATE_NOOP("Pictorell", "ＪＰＥＧ(*.jpg)")),
                          shown(QT_TRANSLATE_NOOP("Pictorell", "ＧＩＦ(*.gif)")),
                          shown(QT_TRANSLATE_NOOP("Pictorell", "ＷｅｂＰ(*.webp)"))};
  r.initialDir = QString::fromStdString(savePath);
  r.proposedName = QStringLiteral("BaseName");
  return r;
}

QString askSaveNameWithDialog(QWidget* parent, const SaveDialogRequest& request) {
  QFileDialog dialog(parent, request.title, request.initialDir);
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setFileMode(QFileDialog::AnyFile);
  // The base name is a prefix, not the final file: asking to overwrite a
  // file called "BaseName" would be meaningless.
  dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
  dialog.setNameFilters(request.filters);
  dialog.selectNameFilter(request.filters.value(0));
  dialog.selectFile(request.proposedName);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList files = dialog.selectedFiles();
  if (files.isEmpty()) return {};
  return withTypeExtension(files.front(), firstPatternOf(dialog.selectedNameFilter()));
}

QString firstPatternOf(const QString& entry) {
  const qsizetype open = entry.lastIndexOf(QLatin1Char('('));
  const qsizetype close = entry.lastIndexOf(QLatin1Char(')'));
  if (open < 0 || close <= open) return {};
  const QString inside = entry.mid(open + 1, close - open - 1);
  return inside.section(QLatin1Char(';'), 0, 0).section(QLatin1Char(' '), 0, 0).trimmed();
}

QString withTypeExtension(const QString& path, const QString& typePattern) {
  const QString extension = typePattern.mid(1);  // ".gif"
  if (!typePattern.startsWith(QLatin1String("*.")) || extension.size() < 2 || extension.contains(QLatin1Char('*')) ||
      extension.contains(QLatin1Char('?')))
    return path;
  const QString fileName = QFileInfo(path).fileName();
  if (fileName.isEmpty() || fileName.contains(QLatin1Char('.'))) return path;
  return path + extension;
}

}  // namespace framelist
