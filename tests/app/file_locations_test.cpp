// Where the settings file and the saved frames go: beside a program whose
// folder the user can write, in the user's own folders otherwise.
#include "app/file_locations.h"

#include <unistd.h>

#include <filesystem>
#include <fstream>

#include <QCheckBox>

#include "app/option_panel.h"
#include "settings/inifile_io.h"
#include "small_fs.h"
#include "window_fixture.h"

namespace {

namespace fs = std::filesystem;

QString folderOf(const fs::path& p) { return QString::fromStdString(p.string()) + "/"; }

// The user's folders under a temporary home: XDG_CONFIG_HOME and HOME point
// there for the test's duration.
class UserFolders : public apptest::WindowTest {
 protected:
  void SetUp() override {
    WindowTest::SetUp();
    home = dir / "home";
    config = dir / "config";
    fs::create_directories(home);
    savedHome = qgetenv("HOME");
    savedConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QByteArray::fromStdString(home.string()));
    qputenv("XDG_CONFIG_HOME", QByteArray::fromStdString(config.string()));
  }
  void TearDown() override {
    qputenv("HOME", savedHome);
    qputenv("XDG_CONFIG_HOME", savedConfig);
    WindowTest::TearDown();
  }

  // A program folder the current user cannot make use of: owned by someone
  // else when we are root, without write permission otherwise.
  ::testing::AssertionResult makeForeign(const fs::path& folder) {
    if (::geteuid() == 0) {
      if (::chown(folder.c_str(), 65534, 65534) != 0) return ::testing::AssertionFailure() << "chown failed";
    } else {
      fs::permissions(folder, fs::perms::owner_read | fs::perms::owner_exec);
    }
    return ::testing::AssertionSuccess();
  }

  fs::path home;
  fs::path config;
  QByteArray savedHome;
  QByteArray savedConfig;
};

TEST_F(UserFolders, AFolderIsOursOnlyWhenWeOwnItAndCanReallyWriteIt) {
  const fs::path mine = dir / "mine";
  fs::create_directories(mine);
  EXPECT_TRUE(app::isFolderOurs(folderOf(mine)));
  EXPECT_TRUE(fs::is_empty(mine));  // the probe file is gone again
  EXPECT_FALSE(app::isFolderOurs(folderOf(dir / "missing")));
  // The system's packages own /usr, also when root could write there.
  EXPECT_FALSE(app::isFolderOurs(QStringLiteral("/usr/bin/")));

  const fs::path foreign = dir / "foreign";
  fs::create_directories(foreign);
  ASSERT_TRUE(makeForeign(foreign));
  EXPECT_FALSE(app::isFolderOurs(folderOf(foreign)));
  fs::permissions(foreign, fs::perms::owner_all);  // so that the folder can be removed

  testutil::SmallFs disk(64);
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot();
  EXPECT_TRUE(app::isFolderOurs(folderOf(disk.path())));
  ASSERT_TRUE(disk.makeReadOnly());
  EXPECT_FALSE(app::isFolderOurs(folderOf(disk.path())));  // root too: the write is what is tested
}

TEST_F(UserFolders, AWritableProgramFolderKeepsEverythingBesideIt) {
  const app::FileLocations l = app::locateFiles(env.programFolder, "brenlo.ini");
  EXPECT_TRUE(l.besideProgram);
  EXPECT_EQ(l.iniPath, env.programFolder + "brenlo.ini");
  EXPECT_EQ(l.sourceFolderDefault, env.programFolder);
  EXPECT_EQ(l.saveFolderDefault, env.programFolder + "SaveImages");
}

TEST_F(UserFolders, AnUnusableProgramFolderSendsTheFilesToTheUsersFolders) {
  ASSERT_TRUE(makeForeign(dir / "prog"));
  const app::FileLocations l = app::locateFiles(env.programFolder, "brenlo.ini");
  fs::permissions(dir / "prog", fs::perms::owner_all);
  EXPECT_FALSE(l.besideProgram);
  EXPECT_EQ(l.iniPath, QString::fromStdString((config / "Pictorell" / "brenlo.ini").string()));
  EXPECT_EQ(l.sourceFolderDefault, QString::fromStdString((home / "Pictures").string()) + "/");
  EXPECT_EQ(l.saveFolderDefault, QString::fromStdString((home / "Pictures" / "Pictorell").string()));
}

TEST_F(UserFolders, AProgramOnAReadOnlyFileSystemKeepsItsSettingsInTheConfigFolder) {
  testutil::SmallFs disk(64);
  if (!disk.mounted()) GTEST_SKIP() << disk.whyNot();
  ASSERT_TRUE(disk.makeReadOnly());
  env.programFolder = folderOf(disk.path());
  const app::FileLocations l = app::locateFiles(env.programFolder, "brenlo.ini");
  env.iniPath = l.iniPath;
  env.sourceFolderDefault = l.sourceFolderDefault;
  env.saveFolderDefault = l.saveFolderDefault;

  app::frmMain& w = start();
  // Neither the pictures folder nor the configuration folder existed.
  const fs::path saves = home / "Pictures" / "Pictorell";
  EXPECT_TRUE(fs::is_directory(saves));
  EXPECT_EQ(w.workState().SavePath, saves.string());
  EXPECT_EQ(w.sourceFolder(), QString::fromStdString((home / "Pictures").string()) + "/");
  w.chkMask[3]->setChecked(true);
  EXPECT_TRUE(w.close());

  // The same keys in the same format, only in another place.
  const fs::path ini = config / "Pictorell" / "brenlo.ini";
  ASSERT_TRUE(fs::is_regular_file(ini));
  settings::inifile_IO back;
  back.setFileName(ini.string());
  EXPECT_EQ(back.ReadStr("Path", "Save", ""), saves.string());
  EXPECT_EQ(back.ReadStr("Setting", "Mask_Zoom", ""), "1");
  EXPECT_EQ(back.GetSectionNames(), (std::vector<std::string>{"Position", "Path", "Setting", "GIF"}));
  EXPECT_TRUE(fs::is_empty(disk.path()));

  // The next start reads it from there.
  window.reset();
  app::frmMain& again = start();
  EXPECT_TRUE(again.chkMask[3]->isChecked());
}

}  // namespace
