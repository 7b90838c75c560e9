#include "app/file_locations.h"

#include <unistd.h>

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace app {

namespace {

// The folder of the per-user files, under the configuration and the
// pictures folders.
constexpr const char* kUserFolderName = "Pictorell";

QString withSlash(QString folder) {
  if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
  return folder;
}

}  // namespace

bool isFolderOurs(const QString& folder) {
  const QFileInfo info(folder);
  if (!info.isDir() || info.ownerId() != ::geteuid()) return false;
  if (QDir::cleanPath(info.canonicalFilePath()).startsWith(QLatin1String("/usr/"))) return false;
  QTemporaryFile probe(withSlash(folder) + QStringLiteral(".brenlo-write-test-XXXXXX"));
  return probe.open();  // removed again when probe goes
}

FileLocations locateFiles(const QString& programFolder, const QString& iniName) {
  FileLocations l;
  l.besideProgram = isFolderOurs(programFolder);
  if (l.besideProgram) {
    l.iniPath = programFolder + iniName;
    l.sourceFolderDefault = programFolder;
    l.saveFolderDefault = programFolder + QStringLiteral("SaveImages");
    return l;
  }
  // Qt reads XDG_CONFIG_HOME and the XDG pictures folder, with ~/.config and
  // ~/Pictures when they are not set.
  const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
  const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
  l.iniPath = withSlash(config) + QString::fromLatin1(kUserFolderName) + QLatin1Char('/') + iniName;
  l.sourceFolderDefault = withSlash(pictures);
  l.saveFolderDefault = withSlash(pictures) + QString::fromLatin1(kUserFolderName);
  return l;
}

QString installedHelpFolder(const QString& programFolder) {
  const QString folder = QDir::cleanPath(programFolder + QStringLiteral(PICTORELL_HELP_FROM_BIN));
  return QFileInfo(folder).isDir() ? withSlash(folder) : QString();
}

}  // namespace app
