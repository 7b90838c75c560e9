// The English catalogue is complete: lupdate, run over the sources into a
// copy of translations/pictorell_en.ts, finds no text without a finished
// English translation (every plural form of a text that has them). A Japanese
// text added without English fails here.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QXmlStreamReader>

#include "testutil.h"

namespace {

namespace fs = std::filesystem;

struct Entry {
  QString source;
  QString translation;
  QStringList forms;  // a text with plural forms: one translation per form
  QString type;       // "" finished, "unfinished", "vanished", "obsolete"

  bool finished() const {
    if (!type.isEmpty()) return false;
    if (forms.isEmpty()) return !translation.isEmpty();
    return std::none_of(forms.begin(), forms.end(), [](const QString& f) { return f.isEmpty(); });
  }
};

std::vector<Entry> readTs(const QString& path) {
  QFile file(path);
  EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << path.toStdString();
  std::vector<Entry> entries;
  QXmlStreamReader xml(&file);
  Entry e;
  bool inTranslation = false;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == QLatin1String("message")) {
      e = Entry{};
    } else if (xml.isStartElement() && xml.name() == QLatin1String("source")) {
      e.source = xml.readElementText();
    } else if (xml.isStartElement() && xml.name() == QLatin1String("translation")) {
      e.type = xml.attributes().value(QLatin1String("type")).toString();
      inTranslation = true;
    } else if (xml.isStartElement() && xml.name() == QLatin1String("numerusform")) {
      e.forms << xml.readElementText();
    } else if (xml.isCharacters() && inTranslation) {
      e.translation += xml.text();
    } else if (xml.isEndElement() && xml.name() == QLatin1String("translation")) {
      inTranslation = false;
    } else if (xml.isEndElement() && xml.name() == QLatin1String("message")) {
      entries.push_back(e);
    }
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  return entries;
}

TEST(Translations, EveryShownTextHasAFinishedEnglishTranslation) {
  const fs::path work = testutil::makeTempDir("translations");
  const QString copy = QString::fromStdString((work / "pictorell_en.ts").string());
  ASSERT_TRUE(QFile::copy(QStringLiteral(PICTORELL_TS_FILE), copy));

  QStringList args = QString::fromUtf8(PICTORELL_LUPDATE_OPTIONS).split(u'|', Qt::SkipEmptyParts);
  args << QStringLiteral("@" PICTORELL_TR_SOURCES) << QStringLiteral("-ts") << copy;
  QProcess lupdate;
  lupdate.start(QStringLiteral(PICTORELL_LUPDATE), args);
  ASSERT_TRUE(lupdate.waitForFinished(120000));
  ASSERT_EQ(lupdate.exitCode(), 0) << lupdate.readAllStandardError().toStdString();

  const std::vector<Entry> entries = readTs(copy);
  EXPECT_GE(entries.size(), 100u);  // every window's texts were found
  QStringList untranslated;
  for (const Entry& e : entries)
    if (!e.finished()) untranslated << e.source;
  EXPECT_TRUE(untranslated.isEmpty()) << "No finished English for (run the update_translations target, then translate "
                                         "in translations/pictorell_en.ts):\n"
                                      << untranslated.join(u'\n').toStdString();
}

}  // namespace
