// brenlo's command line and the choice of the interface language.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include "app/ui_language.h"

namespace {

using app::UiLanguage;

app::CommandLine parse(std::initializer_list<const char*> args) {
  QStringList list;
  for (const char* a : args) list << QString::fromUtf8(a);
  return app::parseCommandLine(list);
}

TEST(CommandLine, DebugPictureAndLanguageComeInAnyOrder) {
  const app::CommandLine none = parse({});
  EXPECT_FALSE(none.debug);
  EXPECT_FALSE(none.language);
  EXPECT_TRUE(none.picture.isEmpty());
  EXPECT_TRUE(none.error.isEmpty());

  EXPECT_TRUE(parse({"/debug"}).debug);
  const app::CommandLine all = parse({"写真 1.gif", "--lang", "en", "/debug"});
  EXPECT_TRUE(all.error.isEmpty()) << all.error.toStdString();
  EXPECT_TRUE(all.debug);
  EXPECT_EQ(all.language, UiLanguage::English);
  EXPECT_EQ(all.picture, QString::fromUtf8("写真 1.gif"));
  EXPECT_EQ(parse({"--lang=JA", "a.bmp"}).language, UiLanguage::Japanese);
  // The desktop may hand over a URL; a name that merely looks odd stays a name.
  EXPECT_EQ(parse({"file:///tmp/a%20b.bmp"}).picture, "/tmp/a b.bmp");
  EXPECT_EQ(parse({"x:y#1.bmp"}).picture, "x:y#1.bmp");
  // After "--" an argument is a picture name, even one that starts with "-".
  EXPECT_EQ(parse({"--", "-a.bmp"}).picture, "-a.bmp");
  EXPECT_TRUE(parse({"--help"}).help);
}

TEST(CommandLine, BadArgumentsAreRefusedWithAReason) {
  EXPECT_FALSE(parse({"--lang"}).error.isEmpty());
  EXPECT_FALSE(parse({"--lang", "fr"}).error.isEmpty());
  EXPECT_FALSE(parse({"--lang=de"}).error.isEmpty());
  EXPECT_FALSE(parse({"-debug"}).error.isEmpty());
  EXPECT_FALSE(parse({"a.bmp", "b.bmp"}).error.isEmpty());
  EXPECT_TRUE(app::commandLineUsage().startsWith("usage: brenlo [--lang en|ja] [/debug] [PICTURE]\n"));
}

TEST(UiLanguageChoice, CommandLineThenSettingsThenTheSystem) {
  const QLocale english(QLocale::English, QLocale::UnitedStates);
  const QLocale japanese(QLocale::Japanese, QLocale::Japan);
  const QLocale german(QLocale::German, QLocale::Germany);
  EXPECT_EQ(app::chooseLanguage(std::nullopt, "", english), UiLanguage::English);
  EXPECT_EQ(app::chooseLanguage(std::nullopt, "", QLocale(QLocale::English, QLocale::UnitedKingdom)),
            UiLanguage::English);
  EXPECT_EQ(app::chooseLanguage(std::nullopt, "", japanese), UiLanguage::Japanese);
  // Japanese stays the default for every other language, and for "C".
  EXPECT_EQ(app::chooseLanguage(std::nullopt, "", german), UiLanguage::Japanese);
  EXPECT_EQ(app::chooseLanguage(std::nullopt, "", QLocale::c()), UiLanguage::Japanese);
  EXPECT_EQ(app::chooseLanguage(std::nullopt, "en", japanese), UiLanguage::English);
  EXPECT_EQ(app::chooseLanguage(std::nullopt, "ja", english), UiLanguage::Japanese);
  EXPECT_EQ(app::chooseLanguage(std::nullopt, "xx", english), UiLanguage::English);
  EXPECT_EQ(app::chooseLanguage(UiLanguage::Japanese, "en", english), UiLanguage::Japanese);
  EXPECT_EQ(app::chooseLanguage(UiLanguage::English, "ja", japanese), UiLanguage::English);
}

}  // namespace
