// The rules around loading a source picture that do not need the window: the
// open and save dialog settings, which drops are offered, the size caption.
#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include "app/prompts.h"

namespace app {

// The open dialog's filter entry (0-based) for the previous file name, by its
// end, lower-cased: "webp" 5; by the last three characters "png" 4, "gif" 3,
// "jpg" 2, "bmp" 1; else 0 (all supported pictures).
int openFilterIndexFor(const QString& previousName);

// The open dialog: all supported pictures, BMP, JPEG (".jpg" and ".jpeg"),
// GIF, PNG, WebP; no title of its own; preselected from the previous name.
FileDialogRequest openDialogRequest(const QString& startFolder, const QString& previousName);

// The save dialog: its title, BMP/JPEG/GIF/WebP with BMP selected, the
// proposed name "BaseName".
FileDialogRequest saveDialogRequest(const QString& startFolder);

// A drop is offered only for exactly one local file whose name ends, in any
// case, in ".bmp", ".jpg", ".jpeg", ".gif", ".png" or ".webp".
bool isDropOffered(const QList<QUrl>& urls);

// "[ w x h ]".
QString sizeCaption(int width, int height);

}  // namespace app
