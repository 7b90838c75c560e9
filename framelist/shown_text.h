// The frame list's texts are marked with QT_TRANSLATE_NOOP in the program's
// translation context "Pictorell" (the same as the main window's), so that
// one catalogue translates both windows.
#pragma once

#include <string>

#include <QCoreApplication>
#include <QString>

namespace framelist {

// A marked text as the interface shows it: translated, or the Japanese text
// itself when no translation is installed.
inline QString shown(const char* source) { return QCoreApplication::translate("Pictorell", source); }

// The same for a text that speaks of `count` things (-1: none): the plural
// form the translation has for that number.
inline QString shown(const char* source, int count) {
  return QCoreApplication::translate("Pictorell", source, nullptr, count);
}

// A text of play/play_texts.h, as output's formatting functions take it
// (an output::TextTranslator).
inline std::string shownOutputText(const char* source, int count) { return shown(source, count).toStdString(); }

}  // namespace framelist
