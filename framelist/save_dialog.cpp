#include "framelist/save_dialog.h"

#include <QFileDialog>
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
  return files.isEmpty() ? QString{} : files.front();
}

}  // namespace framelist
