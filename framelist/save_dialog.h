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

// The real dialog: modal, no overwrite question, no read-only box; a name
// typed without an extension gets the chosen type's (withTypeExtension).
QString askSaveNameWithDialog(QWidget* parent, const SaveDialogRequest& request);

// The first pattern of a file type entry, "ＧＩＦ(*.gif)" -> "*.gif" (the
// last parenthesised list, up to its first ';' or space); "" when the entry
// has none.
QString firstPatternOf(const QString& entry);

// path with the extension of typePattern ("*.gif" -> ".gif") added when its
// file name has no "." at all, as desktop save dialogs do: "banner" saved as
// a GIF must not quietly become BMP files. A file name with a "." keeps what
// the user typed, since its extension already chooses the format. Patterns
// without a plain extension ("", "*") leave the path as it is.
QString withTypeExtension(const QString& path, const QString& typePattern);

}  // namespace framelist
