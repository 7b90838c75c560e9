#include "app/source_intake.h"

#include "app/ui_texts.h"

namespace app {

namespace {

const QStringList kBmp{QStringLiteral("*.bmp")};
const QStringList kJpg{QStringLiteral("*.jpg")};
const QStringList kGif{QStringLiteral("*.gif")};
const QStringList kPng{QStringLiteral("*.png")};
const QStringList kWebp{QStringLiteral("*.webp")};
// The JPEG entry shows ".jpg" files and ".jpeg" files too: both are offered
// to a drop, and the loader goes by the content.
const QStringList kJpgShown{QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")};

QStringList texts(const auto& list) {
  QStringList out;
  for (const char* s : list) out << text::shown(s);
  return out;
}

}  // namespace

int openFilterIndexFor(const QString& previousName) {
  const QString tail = previousName.right(3).toLower();
  if (previousName.right(4).toLower() == QLatin1String("webp")) return 5;
  if (tail == QLatin1String("png")) return 4;
  if (tail == QLatin1String("gif")) return 3;
  if (tail == QLatin1String("jpg")) return 2;
  if (tail == QLatin1String("bmp")) return 1;
  return 0;
}

FileDialogRequest openDialogRequest(const QString& startFolder, const QString& previousName) {
  FileDialogRequest r;
  r.startFolder = startFolder;
  r.filters = texts(text::kOpenFilters);
  // The file model compares the patterns without regard to case.
  r.patterns = {kBmp + kJpgShown + kGif + kPng + kWebp, kBmp, kJpgShown, kGif, kPng, kWebp};
  r.selectedFilter = openFilterIndexFor(previousName);
  return r;
}

FileDialogRequest saveDialogRequest(const QString& startFolder) {
  FileDialogRequest r;
  r.title = text::shown(text::kSaveDialogTitle);
  r.startFolder = startFolder;
  r.proposedName = QString::fromUtf8(text::kProposedBaseName);
  r.filters = texts(text::kSaveFilters);
  r.patterns = {kBmp, kJpg, kGif, kWebp};
  r.selectedFilter = 0;
  return r;
}

bool isDropOffered(const QList<QUrl>& urls) {
  if (urls.size() != 1 || !urls.front().isLocalFile()) return false;
  const QString name = urls.front().toLocalFile().toLower();
  for (const char* ext : {".bmp", ".jpg", ".jpeg", ".gif", ".png", ".webp"})
    if (name.endsWith(QLatin1String(ext))) return true;
  return false;
}

QString sizeCaption(int width, int height) { return QStringLiteral("[ %1 x %2 ]").arg(width).arg(height); }

}  // namespace app
