#include "app/application_setup.h"

#include "core/memory_tuning.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>
#include <QLibraryInfo>
#include <QTranslator>

namespace app {

void setUpApplication(QApplication& application) {
  core::keepFreedFramesForReuse();
  if (QFontDatabase::families().contains(QStringLiteral("IPAPGothic"))) {
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPointSize(9);
    QApplication::setFont(font);
  }
  // Every text of the program is Japanese, whatever the system's language:
  // the standard dialogs follow it.
  auto* translator = new QTranslator(&application);
  if (translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(translator);
}

}  // namespace app
