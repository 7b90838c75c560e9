// The project file (.pictorell): a small text file a person can read, with
// the banner's scenes (each picture by its path relative to the project
// file, the effect with its options and the hold), the banner colour and the
// play settings. Reading never throws; a file that is not a whole, valid
// project gives one message and no project.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/color.h"
#include "effects/options.h"
#include "play/animation_plan.h"
#include "frame_files/write_status.h"
#include "scenes/scene.h"

namespace scenes {

inline constexpr const char* kProjectExtension = ".pictorell";
inline constexpr std::size_t kMaxProjectBytes = 1 << 20;
inline constexpr std::size_t kMaxScenes = 50;

struct ProjectScene {
  std::string picture;  // as written: relative to the project file's folder (or absolute)
  effects::Options options;
  int holdCs = kDefaultSceneHoldCs;
  bool operator==(const ProjectScene& o) const;
};

struct Project {
  std::optional<core::Color> bannerColor;  // none: each picture's corner colour
  int intervalCs = 10;                     // hundredths of a second per frame
  int plays = 0;                           // 0 = forever, else 1..output::kMaxPlays
  output::AdPreset preset = output::AdPreset::None;
  std::vector<ProjectScene> scenes;
  bool operator==(const Project& o) const;
};

struct ProjectRead {
  std::optional<Project> project;
  std::string error;  // e.g. "line 9: unknown effect 'zom'"
};

// The project in its text; the first line names the format, the last is
// "end", so a cut-off file is told from a whole one.
std::string projectText(const Project& project);
ProjectRead parseProject(std::string_view text);

// The file on disk: read whole (at most kMaxProjectBytes), written whole or
// not at all (an earlier file stays as it was when writing fails).
ProjectRead readProjectFile(const std::string& path);
output::WriteStatus writeProjectFile(const std::string& path, const Project& project);

// A scene's picture path as the file holds it, to the path to open, and
// back: relative to the folder of projectPath.
std::string picturePath(const std::string& projectPath, const std::string& written);
std::string writtenPicturePath(const std::string& projectPath, const std::string& picture);

// The effect names of the project file and brenlo-render ("slide", ...).
std::string_view effectName(int effect);
int effectNamed(std::string_view name);  // -1 when unknown

}  // namespace scenes
