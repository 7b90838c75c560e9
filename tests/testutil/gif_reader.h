// Test-side readers of GIF files: giflib with a small frame compositor,
// Qt's reader and ImageMagick, each giving the frames as a viewer shows them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "core/picture.h"

namespace outtest {

struct GifFrameInfo {
  int left = 0, top = 0, width = 0, height = 0;
  int delay = -1;        // hundredths of a second, -1 without a graphics control
  int disposal = 0;
  int transparent = -1;
  bool localPalette = false;
};

struct DecodedGif {
  std::string version;    // "GIF87a" or "GIF89a"
  int width = 0, height = 0;
  int loopCount = -1;     // NETSCAPE2.0 loop count, -1 without one
  int globalColours = 0;  // size of the global colour table, 0 without one
  std::vector<GifFrameInfo> info;
  std::vector<core::Bitmap> frames;  // composited, as a viewer shows each frame
  std::vector<std::vector<core::Color>> palettes;  // the table each image is drawn with, whole
};

// giflib's reader with our compositor (disposal "keep" and "background").
std::optional<DecodedGif> readGifWithGiflib(const std::string& path);

// ImageMagick's -coalesce, or nullopt when ImageMagick is not installed
// (callers skip) or cannot read the file.
std::optional<std::vector<core::Bitmap>> readGifWithImageMagick(const std::string& path, int width, int height);
bool haveImageMagick();

// The frames Qt's GIF reader gives, and its loop count.
std::vector<core::Bitmap> readGifWithQt(const std::string& path, int* loopCount = nullptr);

// Pixel-exact comparison of two bitmaps; says where they differ.
::testing::AssertionResult sameBitmap(const core::Bitmap& expected, const core::Bitmap& actual);

double psnrOf(const core::Bitmap& a, const core::Bitmap& b);

}  // namespace outtest
