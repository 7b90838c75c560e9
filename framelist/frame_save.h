// Saving the frame list: the chosen name becomes a folder, a base name and an
// extension, then every frame goes through the writer's frame output step and,
// for one animated GIF, its animation finishing step. No Qt, no dialogs: the
// window asks its questions through the callables passed in.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/picture.h"
#include "output/writer.h"

namespace framelist {

// AskGifOutput: true for one animated GIF, false for one GIF file per frame;
// interval receives the display interval in hundredths of a second (it holds
// 10 when called).
using GifQuestion = std::function<bool(std::int16_t& interval)>;

// The save settings the frame list shares with the main window's saves. The
// frame list's save sets SaveExt and only reads SavePath (its dialog's start
// folder); both are owned by the caller and must outlive the user.
struct SaveSettings {
  std::string& SaveExt;
  const std::string& SavePath;
};

// What one save writes, decided before the first file.
struct SavePlan {
  std::string base;            // folder + "/" + base name: every output name starts with it
  std::string saveExt;         // GetFileExt of the chosen name, "" when it has none
  bool animated = false;       // one animated GIF (only ever true for ".gif")
  std::int16_t interval = 10;  // hundredths of a second, for the animation
};

// The default interval the GIF question starts from.
inline constexpr std::int16_t kDefaultGifInterval = 10;

// Everything before the writing: returns nullopt, changing nothing, when name
// is "" (the dialog was cancelled) or has no folder. Otherwise sets saveExt
// to GetFileExt(name) and, for ".gif", asks askGif once. The base name is
// the file part of name cut before its first ".", so "a.b.gif" gives "a".
std::optional<SavePlan> planFrameSave(const std::string& name, std::string& saveExt, const GifQuestion& askGif);

// Writes frames 0..n-1 as base + NNN (+ conversion as saveExt asks), then for
// an animated plan joins them into base + ".gif" and removes the BMP files.
// A one-frame list chosen as an animated GIF still becomes base + ".gif" (a
// one-frame GIF), since that is what the user asked for. An empty list writes
// nothing. Stops at the first file that cannot be written and says which and
// why; a failed conversion keeps its BMP file and is not an error.
output::WriteStatus writeFrameFiles(const std::vector<core::Picture>& frames, const SavePlan& plan);

// The message shown when a save stopped at a file it could not write: the
// headline, the file and the system's reason, one per line.
extern const char* const kSaveFailedHeadline;
std::string saveFailureMessage(const output::WriteStatus& status, const std::string& headline = kSaveFailedHeadline);

}  // namespace framelist
