// Reading source pictures: the one loader behind the open command, a dropped
// file, a paste from the clipboard and brenlo-render.
#pragma once

#include <string>

#include <QImage>

#include "core/picture.h"

namespace intake {

// The size limit for source pictures, in pixels (inclusive).
inline constexpr int kMaxWidth = 1000;
inline constexpr int kMaxHeight = 200;

enum class LoadStatus {
  Loaded,      // picture holds the decoded picture, within the limit
  NotFound,    // no such file (or the name is empty)
  TooLarge,    // wider than kMaxWidth or higher than kMaxHeight
  Unreadable,  // not a BMP, JPEG or GIF picture we can read
};

struct LoadResult {
  LoadStatus status = LoadStatus::Unreadable;
  core::Picture picture;  // only when Loaded
  int width = 0;          // the picture's size as far as it is known
  int height = 0;
  std::string message;    // what to tell the user when not Loaded (UTF-8)
};

// The messages the window shows for NotFound and TooLarge.
inline constexpr const char* kNotFoundMessage = "ファイルが見つかりません。";
inline constexpr const char* kTooLargeMessage = "画像が大きすぎます。(～1000x200pixels)";

// Loads a BMP, JPEG or GIF file (the first frame of an animated GIF). The
// format is decided from the content, not the name. path is UTF-8.
LoadResult loadPictureFile(const std::string& path);

// Takes a clipboard bitmap through the same size check.
LoadResult loadPictureImage(const QImage& image);

}  // namespace intake
