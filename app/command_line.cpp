#include "app/command_line.h"

#include <QUrl>

namespace app {

namespace {

bool takeLanguage(const QString& value, CommandLine& c) {
  c.language = languageNamed(value);
  if (!c.language) c.error = QStringLiteral("--lang takes \"en\" or \"ja\", not \"%1\"").arg(value);
  return c.language.has_value();
}

}  // namespace

CommandLine parseCommandLine(const QStringList& args) {
  CommandLine c;
  bool optionsEnded = false;
  for (qsizetype i = 0; i < args.size() && c.error.isEmpty(); ++i) {
    const QString& a = args[i];
    if (!optionsEnded && a == QLatin1String("--")) {
      optionsEnded = true;
    } else if (!optionsEnded && a == QLatin1String("/debug")) {
      c.debug = true;
    } else if (!optionsEnded && (a == QLatin1String("--help") || a == QLatin1String("-h"))) {
      c.help = true;
    } else if (!optionsEnded && a == QLatin1String("--lang")) {
      if (i + 1 >= args.size())
        c.error = QStringLiteral("--lang needs \"en\" or \"ja\"");
      else
        takeLanguage(args[++i], c);
    } else if (!optionsEnded && a.startsWith(QLatin1String("--lang="))) {
      takeLanguage(a.mid(7), c);
    } else if (!optionsEnded && a.startsWith(QLatin1Char('-')) && a.size() > 1) {
      c.error = QStringLiteral("unknown option \"%1\"").arg(a);
    } else if (!c.picture.isEmpty()) {
      c.error = QStringLiteral("only one picture can be opened");
    } else {
      const QUrl url(a);
      c.picture = url.isLocalFile() ? url.toLocalFile() : a;
    }
  }
  return c;
}

QString commandLineUsage() {
  return QStringLiteral(
      "usage: brenlo [--lang en|ja] [/debug] [PICTURE]\n"
      "  --lang en|ja  the interface language (default: the settings file, else the system's)\n"
      "  /debug        the Turn and Rotate previews show their render time\n"
      "  PICTURE       a BMP, JPEG or GIF file to open at the start\n");
}

}  // namespace app
