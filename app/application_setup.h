// What the program sets up once before its first window: the desktop's name
// for it, the interface font and the language of every text.
#pragma once

#include "app/ui_language.h"

class QApplication;

namespace app {

// The id of the desktop entry, the AppStream component and the icon.
inline constexpr const char* kDesktopId = "io.github.kovatek.Pictorell";

// The desktop file name (so the window is matched to its entry and icon), a
// Japanese UI font (IPA P Gothic when installed, so Latin and Japanese glyphs
// match), and the translations for the language (ui_language.h). Quietly
// keeps Qt's defaults for whatever is missing.
void setUpApplication(QApplication& application, UiLanguage language);

}  // namespace app
