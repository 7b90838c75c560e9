#include "app/help_documents.h"

#include <QDir>
#include <QFileInfo>

#include "app/ui_texts.h"

namespace app {

namespace {

QString existing(const QString& path) { return QFileInfo(path).isFile() ? path : QString(); }

}  // namespace

HelpDocuments findHelpDocuments(const QString& programFolder, const QString& helpFolder, UiLanguage language) {
  const QString chmName = QString::fromUtf8(text::kHelpFileName);
  HelpDocuments d;
  d.chm = existing(programFolder + chmName);
  if (helpFolder.isEmpty()) return d;
  if (d.chm.isEmpty()) d.chm = existing(helpFolder + chmName);
  if (language == UiLanguage::English) d.indexPage = existing(helpFolder + QStringLiteral("en/index.html"));
  if (d.indexPage.isEmpty()) d.indexPage = existing(helpFolder + QStringLiteral("index.html"));
  return d;
}

QString helpFolderToShow(const HelpDocuments& help) {
  const QString document = help.indexPage.isEmpty() ? help.chm : help.indexPage;
  return document.isEmpty() ? QString() : QDir::toNativeSeparators(QFileInfo(document).absolutePath());
}

std::vector<HelpDocument> helpOpeningOrder(const HelpDocuments& help, UiLanguage language) {
  std::vector<HelpDocument> order;
  const HelpDocument chm{help.chm, kChmMimeType};
  const HelpDocument page{help.indexPage, kHtmlMimeType};
  for (const HelpDocument& d : language == UiLanguage::English ? std::vector{page, chm} : std::vector{chm, page})
    if (!d.path.isEmpty()) order.push_back(d);
  return order;
}

}  // namespace app
