// Pictorell: builds the main window (which loads its settings) and runs it.
#include <QApplication>
#include <QFont>
#include <QFontDatabase>

#include "app/frm_main.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // A Japanese face for every text, so Latin and Japanese glyphs match.
  if (QFontDatabase::families().contains(QStringLiteral("IPAPGothic"))) {
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPointSize(9);
    QApplication::setFont(font);
  }
  app::frmMain window(app::programEnvironment());
  window.show();
  return QApplication::exec();
}
