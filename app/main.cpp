// Pictorell: builds the main window (which loads its settings) and runs it.
#include <QApplication>

#include "app/application_setup.h"
#include "app/frm_main.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  app::setUpApplication(application);
  app::frmMain window(app::programEnvironment());
  window.show();
  return QApplication::exec();
}
