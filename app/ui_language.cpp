#include "app/ui_language.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace app {

namespace {

// Every translator we install carries this name, so that it can be found
// and removed again.
constexpr const char* kTranslatorName = "pictorell-translator";

bool install(QCoreApplication& application, const QString& file, const QString& folder) {
  auto* translator = new QTranslator(&application);
  translator->setObjectName(QString::fromLatin1(kTranslatorName));
  if (!translator->load(file, folder) || !QCoreApplication::installTranslator(translator)) {
    delete translator;
    return false;
  }
  return true;
}

}  // namespace

std::optional<UiLanguage> languageNamed(const QString& name) {
  const QString n = name.toLower();
  if (n == QLatin1String("ja")) return UiLanguage::Japanese;
  if (n == QLatin1String("en")) return UiLanguage::English;
  return std::nullopt;
}

UiLanguage chooseLanguage(std::optional<UiLanguage> commandLine, const QString& settingsValue, const QLocale& system) {
  if (commandLine) return *commandLine;
  if (const auto stored = languageNamed(settingsValue)) return *stored;
  // The language the user reads messages in (LANGUAGE, LC_MESSAGES, LANG),
  // not the one numbers are formatted in.
  const QStringList preferred = system.uiLanguages();
  const QLocale first = preferred.isEmpty() ? system : QLocale(preferred.front());
  return first.language() == QLocale::English ? UiLanguage::English : UiLanguage::Japanese;
}

UiLanguage chooseTerminalLanguage(std::optional<UiLanguage> commandLine, const QLocale& system) {
  if (commandLine) return *commandLine;
  const QStringList preferred = system.uiLanguages();
  const QLocale first = preferred.isEmpty() ? system : QLocale(preferred.front());
  if (system.language() == QLocale::C || first.language() == QLocale::C) return UiLanguage::English;
  return chooseLanguage(std::nullopt, QString(), system);
}

std::string textIn(UiLanguage language, const char* source) {
  if (language == UiLanguage::Japanese) return source;
  // Loaded once: a command prints a message or two, a test many.
  static const QTranslator* const english = [] {
    auto* t = new QTranslator;
    if (!t->load(QStringLiteral("pictorell_en"), QStringLiteral(":/i18n"))) {
      delete t;
      return static_cast<QTranslator*>(nullptr);
    }
    return t;
  }();
  const QString translated = english ? english->translate("Pictorell", source) : QString();
  return translated.isEmpty() ? std::string(source) : translated.toStdString();
}

bool installTranslations(QCoreApplication& application, UiLanguage language) {
  if (language == UiLanguage::English)
    return install(application, QStringLiteral("pictorell_en"), QStringLiteral(":/i18n"));
  // The program's texts are Japanese already; the standard dialogs follow.
  return install(application, QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath));
}

void removeTranslations(QCoreApplication& application) {
  for (QTranslator* t :
       application.findChildren<QTranslator*>(QString::fromLatin1(kTranslatorName), Qt::FindDirectChildrenOnly)) {
    QCoreApplication::removeTranslator(t);
    delete t;
  }
}

}  // namespace app
