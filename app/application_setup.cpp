#include "app/application_setup.h"

#include "core/memory_tuning.h"

#include <QApplication>
#include <QFont>
#include <QFontDatabase>

namespace app {

void setUpApplication(QApplication& application, UiLanguage language) {
  core::keepFreedFramesForReuse();
  QGuiApplication::setDesktopFileName(QString::fromLatin1(kDesktopId));
  if (QFontDatabase::families().contains(QStringLiteral("IPAPGothic"))) {
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPointSize(9);
    QApplication::setFont(font);
  }
  installTranslations(application, language);
}

}  // namespace app
