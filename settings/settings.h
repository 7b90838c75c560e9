// The settings file's keys as one typed struct: read once while the main
// window loads, written once while it unloads. Every key is read with its
// default and checked on its own, so one bad value never spoils the others.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "settings/inifile_io.h"

namespace settings {

// Section names and the settings file's keys (never renamed: files in use
// carry them).
namespace key {
inline constexpr const char* kPosition = "Position";
inline constexpr const char* kPath = "Path";
inline constexpr const char* kSetting = "Setting";
inline constexpr const char* kGif = "GIF";
}  // namespace key

// -2147483633: the system button-face colour 0x8000000F as a signed value.
inline constexpr std::int32_t kButtonFaceValue = static_cast<std::int32_t>(0x8000000Fu - 0x100000000ull);

// The border colour the settings start with: a mid grey.
inline constexpr std::uint32_t kDefaultBorderRgb = 0x808080;

// "RRGGBB" (hex digits, any case) as 0xRRGGBB; nullopt for anything else.
std::optional<std::uint32_t> parseRgbText(const std::string& text);
// 0xRRGGBB as "RRGGBB", upper case.
std::string rgbText(std::uint32_t rgb);

struct Settings {
  // Window positions and the frame list's size, in twips.
  int top = 0;
  int left = 0;
  int framesTop = 0;
  int framesLeft = 0;
  int framesWidth = 0;
  int framesHeight = 0;
  // Folders (UTF-8 paths).
  std::string sourceFolder;
  std::string saveFolder;
  // Effect options; mask values by mask box (0 Slide, 1 Rotate, 2 Turn,
  // 3 Zoom, 4 Diffuse, 5 Elastic, 6 Hue).
  int type = 0;  // effect index 0..6; -1 on writing = no entry selected
  int cross = 0;
  std::array<int, 7> mask{};
  int rotateXY = 0;
  int diffuseType = 0;
  int hueType = 0;
  int hue = 0;  // degrees 0..359
  std::int32_t formColor = kButtonFaceValue;
  // GIF dialog: the selected option (1 animated) and the interval box text.
  int gifIsAni = 0;
  std::string gifTimeText = "0.1";
  // The animated GIF's play choices: plays (0 forever, 1..99), the hold on
  // the rest frame in hundredths of a second (0..1000, stored as seconds),
  // the ad preset (0 none, 1 Google, 2 IAB, 3 Amazon), the byte budget in KB
  // of 1000 bytes (0 none, 1..10000).
  int gifPlays = 0;
  int gifHoldCs = 0;
  int gifPreset = 0;
  int gifBudgetKb = 0;
  // The one-pixel border round every image of the animated file (0 none,
  // 1 drawn) and its colour as 0xRRGGBB (GIF/Border, GIF/BorderColor; the
  // grey Amazon's preset offers unless the user chose another).
  int gifBorder = 0;
  std::uint32_t gifBorderRgb = kDefaultBorderRgb;
  // The interface language: "" follows the system, "ja" or "en" force one.
  std::string language;
  // 1: source pictures up to 1200 x 1200 are opened (Setting/LargePictures);
  // 0 keeps the banner limit of 1000 x 200.
  int largePictures = 0;
  // The project file opened or saved last (UTF-8 path), "" = none.
  std::string lastProject;
};

// What the checks compare against, all in twips except the folder.
struct SettingsContext {
  std::string programFolder;  // ends with a separator
  // Where the folder keys point when missing: "" = the program folder (for
  // Source) and its "SaveImages" (for Save).
  std::string sourceFolderDefault;
  std::string saveFolderDefault;
  int screenWidth = 0;
  int screenHeight = 0;
  int mainWidth = 0;  // the main window's outer size
  int mainHeight = 0;
  int framesWidth = 0;  // the frame list window's current size: the defaults
  int framesHeight = 0;
};

// The program folder + "SaveImages".
std::string defaultSaveFolder(const std::string& programFolder);

// The folders that missing Source and Save keys give.
std::string sourceFolderDefault(const SettingsContext& ctx);
std::string saveFolderDefault(const SettingsContext& ctx);

// Setting/Language: "ja" or "en" (any case), else "" (follow the system).
// Read on its own before any window exists, since the texts depend on it.
std::string readLanguage(const inifile_IO& ini);

// Path/LastProject: a path ending in ".pictorell" (any case), without
// control characters, at most kMaxProjectPathBytes long; else "" (none).
inline constexpr std::size_t kMaxProjectPathBytes = 4096;
std::string readLastProject(const inifile_IO& ini);

// Reads every key with its default and check.
Settings loadSettings(const inifile_IO& ini, const SettingsContext& ctx);

// What the unload writes only under conditions.
struct SaveConditions {
  bool mainWindowNormal = true;    // neither minimised nor maximised
  bool framesWindowNormal = true;  // likewise for the frame list window
};

// Writes the keys in their order in one atomic file write. False when the
// file could not be written (the program ignores that).
bool saveSettings(inifile_IO& ini, const Settings& s, const SaveConditions& when);

// The shortest decimal text that reads back as the same float (0.1f -> "0.1").
std::string shortestFloatText(float v);

}  // namespace settings
