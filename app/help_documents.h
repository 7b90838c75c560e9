// Which help documents exist and in which order the help command tries
// them. The compiled help file brenlo.chm is Japanese; its pages are also
// installed as HTML, with an English index page for the English interface.
#pragma once

#include <vector>

#include <QString>

#include "app/ui_language.h"

namespace app {

inline constexpr const char* kChmMimeType = "application/vnd.ms-htmlhelp";
inline constexpr const char* kHtmlMimeType = "text/html";

struct HelpDocuments {
  QString chm;        // brenlo.chm beside the program, else in the help folder; "" = none
  QString indexPage;  // the index page for the language (the Japanese one when no English page exists); "" = none
};

// programFolder and helpFolder end with "/" (helpFolder may be "").
HelpDocuments findHelpDocuments(const QString& programFolder, const QString& helpFolder, UiLanguage language);

struct HelpDocument {
  QString path;
  const char* mimeType;
};

// The folder to name when no application shows the help, so that the user
// can open the pages by hand: the index page's folder, else the CHM's
// (native separators, no trailing separator; "" when there is neither).
QString helpFolderToShow(const HelpDocuments& help);

// The documents that exist, in the order to try: the CHM, then the HTML
// index in the browser. In English the English index page comes first, as
// the CHM holds Japanese pages only.
std::vector<HelpDocument> helpOpeningOrder(const HelpDocuments& help, UiLanguage language);

}  // namespace app
