#include "settings/settings.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <cmath>
#include <string_view>

#include "core/effect_kind.h"

namespace settings {

namespace {

// The option keys of the Setting and GIF sections that hold a small index:
// values outside lo..hi fall back to 0.
struct IndexKey {
  const char* section;
  const char* name;
  int lo;
  int hi;
  int& (*field)(Settings&);
};

// Read in this order; written in the order of kWriteOrder below.
const IndexKey kIndexKeys[] = {
    {key::kGif, "IsAni", 0, 1, [](Settings& s) -> int& { return s.gifIsAni; }},
    {key::kSetting, "Type", 0, 6, [](Settings& s) -> int& { return s.type; }},
    {key::kSetting, "Cross", 0, 1, [](Settings& s) -> int& { return s.cross; }},
    {key::kSetting, "Mask_Slide", 0, 1, [](Settings& s) -> int& { return s.mask[core::kMaskSlide]; }},
    {key::kSetting, "Mask_Turn", 0, 1, [](Settings& s) -> int& { return s.mask[core::kMaskTurn]; }},
    {key::kSetting, "Mask_Rotate", 0, 1, [](Settings& s) -> int& { return s.mask[core::kMaskRotate]; }},
    {key::kSetting, "Mask_Zoom", 0, 1, [](Settings& s) -> int& { return s.mask[core::kMaskZoom]; }},
    {key::kSetting, "Mask_Diffuse", 0, 1, [](Settings& s) -> int& { return s.mask[core::kMaskDiffuse]; }},
    {key::kSetting, "Mask_Elastic", 0, 1, [](Settings& s) -> int& { return s.mask[core::kMaskElastic]; }},
    {key::kSetting, "Mask_Hue", 0, 1, [](Settings& s) -> int& { return s.mask[core::kMaskHue]; }},
    {key::kSetting, "RotateXY", 0, 1, [](Settings& s) -> int& { return s.rotateXY; }},
    {key::kSetting, "DiffuseType", 0, 2, [](Settings& s) -> int& { return s.diffuseType; }},
    {key::kSetting, "HueType", 0, 1, [](Settings& s) -> int& { return s.hueType; }},
    {key::kSetting, "LargePictures", 0, 1, [](Settings& s) -> int& { return s.largePictures; }},
    {key::kGif, "Plays", 0, 99, [](Settings& s) -> int& { return s.gifPlays; }},
    {key::kGif, "Preset", 0, 3, [](Settings& s) -> int& { return s.gifPreset; }},
    {key::kGif, "Budget", 0, 10000, [](Settings& s) -> int& { return s.gifBudgetKb; }},
};

// The hold is stored in seconds like the interval; anything that is not 0 to
// 10 seconds gives no hold.
constexpr int kMaxHoldCs = 1000;
int readHoldCs(const inifile_IO& ini) {
  const float seconds = ini.ReadSng(key::kGif, "Hold", 0.0f);
  const float cs = seconds * 100.0f;
  if (!(cs >= 0.0f && cs <= static_cast<float>(kMaxHoldCs))) return 0;
  return static_cast<int>(std::lrint(cs));
}

// A position or size read as text (default "0" or the current size) and
// converted to an integer; text that is no number gives the default.
int readTwips(const inifile_IO& ini, const char* name, int def) { return ini.ReadLng(key::kPosition, name, def); }

// 0 when the window would start above or left of the screen, or so far
// down or right that it would not fit on it.
int placeOnScreen(int value, int screenExtent, int windowExtent) {
  return (value < 0 || value > screenExtent - windowExtent) ? 0 : value;
}

// A size that is no usable size gives the default; one beyond the screen is
// cut to the screen.
int usableSize(int value, int def, int screenExtent) {
  if (value <= 0) return def;
  return screenExtent > 0 ? std::min(value, screenExtent) : value;
}

void loadPositions(const inifile_IO& ini, const SettingsContext& ctx, Settings& s) {
  // The frame list is clamped against the main window's size, not its own.
  s.framesTop = placeOnScreen(readTwips(ini, "FramesTop", 0), ctx.screenHeight, ctx.mainHeight);
  s.framesLeft = placeOnScreen(readTwips(ini, "FramesLeft", 0), ctx.screenWidth, ctx.mainWidth);
  s.framesWidth = usableSize(readTwips(ini, "FramesWidth", ctx.framesWidth), ctx.framesWidth, ctx.screenWidth);
  s.framesHeight = usableSize(readTwips(ini, "FramesHeight", ctx.framesHeight), ctx.framesHeight, ctx.screenHeight);
  s.top = placeOnScreen(readTwips(ini, "Top", 0), ctx.screenHeight, ctx.mainHeight);
  s.left = placeOnScreen(readTwips(ini, "Left", 0), ctx.screenWidth, ctx.mainWidth);
}

bool writeInt(inifile_IO& ini, const char* section, const char* name, long long v) {
  return ini.WriteStr(section, name, std::to_string(v));
}

}  // namespace

std::string defaultSaveFolder(const std::string& programFolder) { return programFolder + "SaveImages"; }

std::string sourceFolderDefault(const SettingsContext& ctx) {
  return ctx.sourceFolderDefault.empty() ? ctx.programFolder : ctx.sourceFolderDefault;
}

std::string saveFolderDefault(const SettingsContext& ctx) {
  return ctx.saveFolderDefault.empty() ? defaultSaveFolder(ctx.programFolder) : ctx.saveFolderDefault;
}

std::string readLanguage(const inifile_IO& ini) {
  std::string v = ini.ReadStr(key::kSetting, "Language", "");
  for (char& c : v) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return (v == "ja" || v == "en") ? v : std::string();
}

std::string readLastProject(const inifile_IO& ini) {
  const std::string v = ini.ReadStr(key::kPath, "LastProject", "");
  static constexpr std::string_view kExtension = ".pictorell";
  if (v.size() <= kExtension.size() || v.size() > kMaxProjectPathBytes) return {};
  for (const char c : v)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7f) return {};
  for (std::size_t i = 0; i < kExtension.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(v[v.size() - kExtension.size() + i])) != kExtension[i]) return {};
  return v;
}

std::optional<std::uint32_t> parseRgbText(const std::string& text) {
  if (text.size() != 6) return std::nullopt;
  std::uint32_t rgb = 0;
  for (const char c : text) {
    const int digit = std::isdigit(static_cast<unsigned char>(c))   ? c - '0'
                      : (c >= 'a' && c <= 'f')                      ? c - 'a' + 10
                      : (c >= 'A' && c <= 'F')                      ? c - 'A' + 10
                                                                    : -1;
    if (digit < 0) return std::nullopt;
    rgb = rgb * 16 + static_cast<std::uint32_t>(digit);
  }
  return rgb;
}

std::string rgbText(std::uint32_t rgb) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string s(6, '0');
  for (int i = 5; i >= 0; --i, rgb >>= 4) s[static_cast<std::size_t>(i)] = kDigits[rgb & 0xF];
  return s;
}

std::string shortestFloatText(float v) {
  char buf[64];
  const auto [end, ec] = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed);
  if (ec != std::errc()) return "0";
  return std::string(buf, end);
}

Settings loadSettings(const inifile_IO& ini, const SettingsContext& ctx) {
  Settings s;
  for (const IndexKey& k : kIndexKeys) {
    const int v = ini.ReadInt(k.section, k.name, 0);
    k.field(s) = (v < k.lo || v > k.hi) ? 0 : v;
  }
  s.gifTimeText = shortestFloatText(ini.ReadSng(key::kGif, "Time", 0.1f));
  s.gifHoldCs = readHoldCs(ini);
  s.gifBorder = ini.ReadInt(key::kGif, "Border", 0) == 1 ? 1 : 0;
  s.gifBorderRgb = parseRgbText(ini.ReadStr(key::kGif, "BorderColor", "")).value_or(kDefaultBorderRgb);
  loadPositions(ini, ctx, s);
  s.saveFolder = ini.ReadStr(key::kPath, "Save", saveFolderDefault(ctx));
  s.sourceFolder = ini.ReadStr(key::kPath, "Source", sourceFolderDefault(ctx));
  s.language = readLanguage(ini);
  s.lastProject = readLastProject(ini);
  s.formColor = ini.ReadLng(key::kSetting, "FormColor", kButtonFaceValue);
  s.hue = std::clamp<int>(ini.ReadInt(key::kSetting, "Hue", 0), 0, 359);
  return s;
}

bool saveSettings(inifile_IO& ini, const Settings& s, const SaveConditions& when) {
  ini.beginUpdate();
  if (when.mainWindowNormal) {
    writeInt(ini, key::kPosition, "Top", s.top);
    writeInt(ini, key::kPosition, "Left", s.left);
  }
  if (when.framesWindowNormal) {
    writeInt(ini, key::kPosition, "FramesTop", s.framesTop);
    writeInt(ini, key::kPosition, "FramesLeft", s.framesLeft);
    writeInt(ini, key::kPosition, "FramesWidth", s.framesWidth);
    writeInt(ini, key::kPosition, "FramesHeight", s.framesHeight);
  }
  ini.WriteStr(key::kPath, "Source", s.sourceFolder);
  ini.WriteStr(key::kPath, "Save", s.saveFolder);
  if (core::isValidEffectIndex(s.type)) writeInt(ini, key::kSetting, "Type", s.type);
  writeInt(ini, key::kSetting, "Cross", s.cross);
  // The mask keys in effect order, each from its own box.
  constexpr std::array<std::pair<const char*, int>, 7> kMaskKeys{{
      {"Mask_Slide", core::kMaskSlide},
      {"Mask_Turn", core::kMaskTurn},
      {"Mask_Rotate", core::kMaskRotate},
      {"Mask_Zoom", core::kMaskZoom},
      {"Mask_Diffuse", core::kMaskDiffuse},
      {"Mask_Elastic", core::kMaskElastic},
      {"Mask_Hue", core::kMaskHue},
  }};
  for (const auto& [name, box] : kMaskKeys) writeInt(ini, key::kSetting, name, s.mask[static_cast<std::size_t>(box)]);
  writeInt(ini, key::kSetting, "RotateXY", s.rotateXY);
  writeInt(ini, key::kSetting, "DiffuseType", s.diffuseType);
  writeInt(ini, key::kSetting, "HueType", s.hueType);
  writeInt(ini, key::kSetting, "Hue", s.hue);
  writeInt(ini, key::kSetting, "FormColor", s.formColor);
  writeInt(ini, key::kGif, "IsAni", s.gifIsAni);
  ini.WriteStr(key::kGif, "Time", s.gifTimeText);
  writeInt(ini, key::kGif, "Plays", s.gifPlays);
  ini.WriteStr(key::kGif, "Hold",
               shortestFloatText(static_cast<float>(std::clamp(s.gifHoldCs, 0, kMaxHoldCs)) / 100.0f));
  writeInt(ini, key::kGif, "Preset", s.gifPreset);
  writeInt(ini, key::kGif, "Budget", s.gifBudgetKb);
  // Only a chosen language is written; the key is absent by default.
  if (!s.language.empty()) ini.WriteStr(key::kSetting, "Language", s.language);
  // Written once switched on, so that a file of the program's defaults keeps
  // its keys; switched off again, the key stays and says so.
  constexpr const char* kAbsent = "\x01";
  if (s.largePictures != 0 || ini.ReadStr(key::kSetting, "LargePictures", kAbsent) != kAbsent)
    writeInt(ini, key::kSetting, "LargePictures", s.largePictures != 0 ? 1 : 0);
  // Likewise the border and its colour: absent until the border was used.
  if (s.gifBorder != 0 || ini.ReadStr(key::kGif, "Border", kAbsent) != kAbsent) {
    writeInt(ini, key::kGif, "Border", s.gifBorder != 0 ? 1 : 0);
    ini.WriteStr(key::kGif, "BorderColor", rgbText(s.gifBorderRgb & 0xFFFFFF));
  }
  // Likewise the last project: absent until one was opened or saved.
  if (!s.lastProject.empty()) ini.WriteStr(key::kPath, "LastProject", s.lastProject);
  return ini.endUpdate();
}

}  // namespace settings
