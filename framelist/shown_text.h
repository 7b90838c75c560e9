// The frame list's texts are marked with QT_TRANSLATE_NOOP in the program's
// translation context "Pictorell" (the same as the main window's), so that
// one catalogue translates both windows.
#pragma once

#include <QCoreApplication>
#include <QString>

namespace framelist {

// A marked text as the interface shows it: translated, or the Japanese text
// itself when no translation is installed.
inline QString shown(const char* source) { return QCoreApplication::translate("Pictorell", source); }

}  // namespace framelist
