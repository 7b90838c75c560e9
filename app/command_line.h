// brenlo's command line: brenlo [--lang en|ja] [/debug] [PICTURE]
// in any order. "/debug" keeps its meaning (the Turn and Rotate previews
// show their render time); PICTURE is opened as if chosen in the open dialog
// (the desktop entry's "Open with" passes it); --lang overrides the settings
// file and the system's language.
#pragma once

#include <optional>

#include <QString>
#include <QStringList>

#include "app/ui_language.h"

namespace app {

struct CommandLine {
  bool debug = false;
  std::optional<UiLanguage> language;
  QString picture;    // a local path ("file:" URLs are turned into one); "" = none
  bool help = false;  // --help / -h: print the usage and end
  QString error;      // why the arguments were refused; "" = accepted
};

// args: the arguments after the program name, Qt's own already removed.
CommandLine parseCommandLine(const QStringList& args);

// The usage text, one line per form, ending with a newline.
QString commandLineUsage();

}  // namespace app
