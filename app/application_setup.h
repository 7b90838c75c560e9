// What the program sets up once before its first window: the look of the
// Japanese user interface.
#pragma once

class QApplication;

namespace app {

// A Japanese UI font (IPA P Gothic when installed, so Latin and Japanese
// glyphs match) and Qt's own Japanese texts for the standard dialogs (file,
// colour, message box buttons) when the translations are installed. Quietly
// keeps Qt's defaults for whatever is missing.
void setUpApplication(QApplication& application);

}  // namespace app
