// The frame list's save dialog (cdlFrames): its settings as data, so tests can
// check them and answer in place of the user, and the real Qt dialog.
#pragma once

#include <functional>
#include <string>

#include <QString>
#include <QStringList>

class QWidget;

namespace framelist {

struct SaveDialogRequest {
  QString title;         // "保存先およびベース名の設定"
  QStringList filters;   // BMP, JPEG, GIF, WebP entries; the first is selected
  QString initialDir;    // SavePath (the dialog does not change it)
  QString proposedName;  // "BaseName"
};

// The dialog's settings for a save that starts in savePath (UTF-8).
SaveDialogRequest frameSaveDialogRequest(const std::string& savePath);

// Shows the request and returns the chosen full path, or "" when cancelled.
using SaveNameAsker = std::function<QString(const SaveDialogRequest&)>;

// The real dialog: modal, no overwrite question, no read-only box and no
// extension added to what the user typed.
QString askSaveNameWithDialog(QWidget* parent, const SaveDialogRequest& request);

}  // namespace framelist
