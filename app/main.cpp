// Pictorell: reads the command line, settles the language, builds the main
// window (which loads its settings) and runs it.
#include <cstdio>

#include <QApplication>
#include <QLocale>

#include "app/application_setup.h"
#include "app/command_line.h"
#include "app/frm_main.h"
#include "settings/inifile_io.h"
#include "settings/settings.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const app::CommandLine commandLine = app::parseCommandLine(QCoreApplication::arguments().mid(1));
  if (commandLine.help) {
    std::fputs(app::commandLineUsage().toLocal8Bit().constData(), stdout);
    return 0;
  }
  if (!commandLine.error.isEmpty()) {
    std::fprintf(stderr, "brenlo: %s\n%s", commandLine.error.toLocal8Bit().constData(),
                 app::commandLineUsage().toLocal8Bit().constData());
    return 2;
  }
  // The texts depend on the language, so the settings file is asked for it
  // before anything is built.
  app::StartupEnvironment env = app::programEnvironment(commandLine);
  settings::inifile_IO ini;
  ini.setFileName(env.iniPath.toStdString());
  env.language =
      app::chooseLanguage(commandLine.language, QString::fromStdString(settings::readLanguage(ini)), QLocale::system());
  app::setUpApplication(application, env.language);
  app::frmMain window(env);
  window.show();
  return QApplication::exec();
}
