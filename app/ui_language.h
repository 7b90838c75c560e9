// The interface language: Japanese, the language of every text in the
// sources and the default, or English from the embedded catalogue.
#pragma once

#include <optional>
#include <string>

#include <QLocale>
#include <QString>

class QCoreApplication;

namespace app {

enum class UiLanguage { Japanese, English };

// "ja" or "en", in any case; nullopt for anything else.
std::optional<UiLanguage> languageNamed(const QString& name);

// The first that decides: the command line's --lang, the settings file's
// Setting/Language ("" = not set), then the system: English when the
// system's first interface language is English, Japanese otherwise.
UiLanguage chooseLanguage(std::optional<UiLanguage> commandLine, const QString& settingsValue, const QLocale& system);

// The language of brenlo-render's messages: --lang when given, else the
// window's choice from the system, except that the C or POSIX locale (no
// language chosen at all) counts as English, the language of the command's
// own texts.
UiLanguage chooseTerminalLanguage(std::optional<UiLanguage> commandLine, const QLocale& system);

// A marked text of the catalogue (context "Pictorell", UTF-8) in the
// language: the Japanese source itself, or its English translation (the
// source when the catalogue has none). Needs no application object.
std::string textIn(UiLanguage language, const char* source);

// Installs the translators for the language on the application, which owns
// them: for English the program's catalogue (Qt's own texts are English
// already); for Japanese Qt's own Japanese texts (qtbase_ja from Qt's
// translations folder) when installed. False when a translation that the
// language needs could not be loaded (the interface then stays Japanese, or
// Qt's dialogs English).
bool installTranslations(QCoreApplication& application, UiLanguage language);

// Removes what installTranslations installed (tests switch languages).
void removeTranslations(QCoreApplication& application);

}  // namespace app
