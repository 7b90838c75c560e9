// Everything the main window asks of the user or hands to the desktop: message
// boxes, the file and colour dialogs, opening a document. The window talks to
// this interface only, so that tests can answer and record instead of blocking
// on a modal dialog.
#pragma once

#include <functional>
#include <optional>

#include <QColor>
#include <QString>
#include <QStringList>

class QFileDialog;
class QWidget;

namespace app {

enum class MessageIcon { Critical, Exclamation, Information };

struct FileDialogRequest {
  QString title;         // "" = the toolkit's own title
  QString startFolder;   // "" = the toolkit's choice
  QString proposedName;  // file name (without folder) filled in, "" for none
  QStringList filters;   // entries as shown, e.g. "ビットマップ(*.bmp)"
  // The file patterns each entry really lets through, parallel to filters
  // (the toolkit would read "(*.bmp;*.jpg;*.gif)" as one single pattern).
  QList<QStringList> patterns;
  int selectedFilter = 0;  // 0-based index into filters
};

class Prompts {
 public:
  virtual ~Prompts() = default;

  // A modal message box with the application title as caption.
  virtual void message(MessageIcon icon, const QString& text) = 0;

  // A modal Yes/No message box, No as the default button: true for Yes.
  // The base answers No without showing anything, so that a prompter that
  // knows no questions never lets a question write something.
  virtual bool question(MessageIcon icon, const QString& text) {
    (void)icon;
    (void)text;
    return false;
  }

  // The open dialog. Returns the chosen path (native separators), or "" when
  // cancelled.
  virtual QString openFile(const FileDialogRequest& request) = 0;

  // The save dialog. Returns the chosen path, or "" when cancelled; a file
  // name typed without any "." gets the chosen type's extension. Overwriting
  // is not asked about: the frames of a run overwrite files of the same names
  // anyway.
  virtual QString saveFile(const FileDialogRequest& request) = 0;

  // A colour dialog starting on `initial`; nullopt when cancelled.
  virtual std::optional<QColor> chooseColor(const QColor& initial) = 0;

  // Whether the desktop has an application that opens files of the MIME
  // type, asked without starting anything and without output.
  virtual bool hasApplicationFor(const QString& mimeType) = 0;

  // Hands a file to the desktop to open with its associated viewer. False
  // when it could not be handed on. When it was handed on but the
  // application the desktop named then fails to start, `failed` runs once,
  // later, from the event loop (it may outlive the caller: guard `this`).
  virtual bool openDocument(const QString& path, std::function<void()> failed) = 0;
};

// Sets up a Qt file dialog for the request: our own (not the desktop's)
// dialog, the filters with their real patterns, the start folder, the
// proposed name; for saving, no overwrite question and no suffix of Qt's own
// (the save dialog adds the chosen type's extension after it closes).
void configureFileDialog(QFileDialog& dialog, const FileDialogRequest& request, bool forSaving);

// The real dialogs: QMessageBox, QFileDialog, QColorDialog; the desktop's
// file associations through xdg-mime, and xdg-open (QDesktopServices when
// xdg-open is not there).
// `parent` is the window the modal dialogs belong to (may be null).
class QtPrompts : public Prompts {
 public:
  explicit QtPrompts(QWidget* parent) : parent_(parent) {}

  void message(MessageIcon icon, const QString& text) override;
  bool question(MessageIcon icon, const QString& text) override;
  QString openFile(const FileDialogRequest& request) override;
  QString saveFile(const FileDialogRequest& request) override;
  std::optional<QColor> chooseColor(const QColor& initial) override;
  bool hasApplicationFor(const QString& mimeType) override;
  bool openDocument(const QString& path, std::function<void()> failed) override;

 private:
  QWidget* parent_;
};

}  // namespace app
