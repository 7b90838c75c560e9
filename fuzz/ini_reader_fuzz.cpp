// The settings file's reader and the program's checks on arbitrary text:
// whatever the file holds, every setting comes out inside its range and both
// windows on the screen.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/inifile_io.h"
#include "settings/settings.h"

namespace {

// A 1920 x 1080 screen at 15 twips per pixel, a 7905 x 5500 twip main window.
settings::SettingsContext context() {
  settings::SettingsContext c;
  c.programFolder = "/opt/pictorell/";
  c.screenWidth = 28800;
  c.screenHeight = 16200;
  c.mainWidth = 7905;
  c.mainHeight = 5500;
  c.framesWidth = 7200;
  c.framesHeight = 4000;
  return c;
}

bool within(int v, int lo, int hi) { return v >= lo && v <= hi; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  settings::inifile_IO ini;
  ini.loadText(std::string(reinterpret_cast<const char*>(data), size));
  const settings::SettingsContext c = context();
  const settings::Settings s = settings::loadSettings(ini, c);
  bool ok = within(s.type, 0, 6) && within(s.cross, 0, 1) && within(s.rotateXY, 0, 1) && within(s.diffuseType, 0, 2) &&
            within(s.hueType, 0, 1) && within(s.gifIsAni, 0, 1) && within(s.hue, 0, 359);
  for (int m : s.mask) ok = ok && within(m, 0, 1);
  ok = ok && within(s.top, 0, c.screenHeight - c.mainHeight) && within(s.left, 0, c.screenWidth - c.mainWidth) &&
       within(s.framesTop, 0, c.screenHeight - c.mainHeight) && within(s.framesLeft, 0, c.screenWidth - c.mainWidth) &&
       within(s.framesWidth, 1, c.screenWidth) && within(s.framesHeight, 1, c.screenHeight);
  ok = ok && !s.gifTimeText.empty() && s.sourceFolder.size() <= settings::inifile_IO::kMaxValueLength &&
       s.saveFolder.size() <= settings::inifile_IO::kMaxValueLength;
  if (!ok) std::abort();
  (void)ini.GetSectionNames();
  return 0;
}
