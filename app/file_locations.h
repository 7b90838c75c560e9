// Where the program keeps its settings file and saves its frames, and where
// it finds its help.
//
// A program folder that the user can really write (the build folder, a
// portable copy) keeps everything beside the program as it always did: the
// INI file named after the executable, "SaveImages", the open dialog starting
// there. An installed program (/usr/bin) cannot: its INI file goes to the
// user's configuration folder ($XDG_CONFIG_HOME, else ~/.config, +
// "/Pictorell/"), its frames to the user's pictures folder + "/Pictorell".
#pragma once

#include <QString>

namespace app {

struct FileLocations {
  bool besideProgram = true;
  QString iniPath;
  // The folders that missing Path/Source and Path/Save keys give.
  QString sourceFolderDefault;
  QString saveFolderDefault;
};

// True when the current user owns the folder and a file can really be
// created in it (and is removed again). Permission bits alone are not
// enough: root may write anywhere, but not on a read-only file system, and a
// folder owned by someone else is not the user's to fill. Folders under /usr
// belong to the system's packages and are never ours, not even root's.
bool isFolderOurs(const QString& folder);

// programFolder: absolute, ending with "/"; iniName: e.g. "brenlo.ini".
FileLocations locateFiles(const QString& programFolder, const QString& iniName);

// The folder of the installed help pages: programFolder + the path from the
// executables' folder to the help's (as installed, and as laid out in the
// build tree), cleaned; "" when it does not exist.
QString installedHelpFolder(const QString& programFolder);

}  // namespace app
