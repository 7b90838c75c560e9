// Reading source pictures: the one loader behind the open command, a dropped
// file, a paste from the clipboard and brenlo-render.
#pragma once

#include <string>

#include <QByteArray>
#include <QImage>
#include <QtGlobal>

#include "core/picture.h"

namespace intake {

// The size limit for source pictures, in pixels (inclusive).
inline constexpr int kMaxWidth = 1000;
inline constexpr int kMaxHeight = 200;
// The limit with large pictures allowed: every ad size the networks list,
// and the square and landscape pictures of responsive ads.
inline constexpr int kLargeMaxWidth = 1200;
inline constexpr int kLargeMaxHeight = 1200;

enum class LoadStatus {
  Loaded,      // picture holds the decoded picture, within the limit
  NotFound,    // no such file (or the name is empty)
  TooLarge,    // wider or higher than the limit in force
  Unreadable,  // not a BMP, JPEG, GIF, PNG or WebP picture we can read
};

struct LoadResult {
  LoadStatus status = LoadStatus::Unreadable;
  core::Picture picture;  // only when Loaded
  int width = 0;          // the picture's size as far as it is known
  int height = 0;
  std::string message;  // what to tell the user when not Loaded (UTF-8)
};

// The messages the window shows for NotFound and TooLarge. Every message of
// the loader is a marked text of the program's translation catalogue (context
// "Pictorell"); the window translates it where it shows it.
inline constexpr const char* kNotFoundMessage = QT_TRANSLATE_NOOP("Pictorell", "ファイルが見つかりません。");
inline constexpr const char* kTooLargeMessage =
    QT_TRANSLATE_NOOP("Pictorell", "画像が大きすぎます。(～1000x200pixels)");
inline constexpr const char* kTooLargeLargeMessage =
    QT_TRANSLATE_NOOP("Pictorell", "画像が大きすぎます。(～1200x1200pixels)");

// The largest picture a load takes, and what it says about a larger one.
struct SizeLimit {
  int width;
  int height;
  const char* message;
};
inline constexpr SizeLimit kBannerLimit{kMaxWidth, kMaxHeight, kTooLargeMessage};
inline constexpr SizeLimit kLargeLimit{kLargeMaxWidth, kLargeMaxHeight, kTooLargeLargeMessage};
inline constexpr const SizeLimit& sizeLimit(bool largePictures) { return largePictures ? kLargeLimit : kBannerLimit; }

// The most memory Qt's decoders may allocate for one picture, in MiB: far
// above the 0.8 MB a 1000 x 200 picture needs (5.8 MB at 1200 x 1200), far below what a hostile
// header could ask for. Set by every load, so that it does not depend on the
// Qt version's default.
inline constexpr int kDecodeAllocationLimitMiB = 32;

// Loads a BMP, JPEG, GIF, PNG or WebP file (of an animated GIF, PNG or WebP,
// the first frame). The format is decided from the content, not the name;
// anything else is refused (Unreadable, with a message saying what was
// wrong). The size is checked from the header before any pixel is decoded,
// and again after decoding. A picture with transparent pixels becomes opaque
// as toOpaquePicture says. path is UTF-8. Every status other than Loaded
// carries a non-empty message; TooLarge carries the limit's own.
LoadResult loadPictureFile(const std::string& path, const SizeLimit& limit = kBannerLimit);

// The same for a file's bytes already in memory (status never NotFound).
LoadResult loadPictureData(const QByteArray& bytes, const SizeLimit& limit = kBannerLimit);

// Takes a clipboard bitmap through the same size check and the same
// transparency rule. A null image is Unreadable.
LoadResult loadPictureImage(const QImage& image, const SizeLimit& limit = kBannerLimit);

// The picture the effects get from a decoded image. Without an alpha channel,
// or with every pixel fully opaque: fromQImage, as for any opaque picture.
// Otherwise flattenTransparency (transparency.h) on its unpremultiplied
// 8-bit ARGB (16-bit channels rounded to the nearest 8-bit value): every
// fully transparent pixel takes one key colour found nowhere else in the
// picture, partly transparent ones are laid over white.
core::Picture toOpaquePicture(const QImage& image);

}  // namespace intake
