// The image file writer (Module1): the procedures every save run calls. They
// report only through their results and never show anything.
#pragma once

#include <cstdint>
#include <string>

#include "core/picture.h"

namespace output {

// From the last "." of the name to its end, lower-cased, dot included; "" when
// the name has no dot. A dot in a folder name counts like any other.
std::string GetFileExt(const std::string& name);

// n formatted with "000": at least three digits, zero-padded (1000 stays 1000).
std::string formatNumber(int n);

// Converts a BMP file. settingA is the JPEG quality (callers pass 100);
// settingB 0 selects baseline JPEG with no chroma subsampling. True when the
// file was written.
bool BmpToJpg(const std::string& jpgName, const std::string& bmpName, std::int16_t settingA, std::int16_t settingB);
bool BmpToGif(const std::string& gifName, const std::string& bmpName, std::int16_t& option);

// Joins base + number + frameExt for numbers 0..last (and last-1..1 when
// backAndForth) into one looping animated GIF with the interval in hundredths
// of a second. True when the file was written.
bool MakeGifAnimation(const std::string& gifName, const std::string& basePath, const std::string& numberFormat,
                      const std::string& frameExt, std::int32_t last, std::int16_t interval, bool backAndForth);

// What went wrong when a save step could not write its file.
struct [[nodiscard]] WriteStatus {
  bool ok = true;
  std::string file;    // the file that could not be written
  std::string reason;  // why, e.g. "No space left on device"
  explicit operator bool() const { return ok; }
};

// Writes a picture as a 24-bit uncompressed BMP file (SavePicture).
WriteStatus SavePicture(const core::Picture& picture, const std::string& fileName);

// The frame output step for file number `number`: writes base + NNN + ".bmp",
// then with saveExt ".jpg" converts it (and deletes the BMP when that worked),
// with ".gif" outside an animation run likewise. A failed conversion keeps the
// BMP and is not an error; a BMP that cannot be written is.
WriteStatus writeFrame(const core::Picture& frame, const std::string& base, int number, const std::string& saveExt,
                       bool animationRun);

// The animation finishing step: MakeGifAnimation(base + ".gif", base, "000",
// ".bmp", last, interval, backAndForth); when it returns true, deletes the
// frame files base + 000..last + ".bmp".
WriteStatus finishAnimation(const std::string& base, int last, std::int16_t interval, bool backAndForth);

}  // namespace output
