// Windows BMP files: the 24-bit form the writer saves, and a strict reader.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "core/picture.h"

namespace output {

// A 24-bit uncompressed BMP (BITMAPINFOHEADER, bottom-up rows, each padded to
// a multiple of 4 bytes, 2835 pixels per metre). Only the low 24 bits of each
// colour are stored. The bitmap must be at least 1 x 1.
std::vector<std::uint8_t> encodeBmp(const core::Bitmap& bitmap);

// Reads an uncompressed 24- or 32-bit BMP (bottom-up or top-down; for 32 bits
// also BI_BITFIELDS with the usual 0x00FF0000/0x0000FF00/0x000000FF masks;
// the fourth byte is ignored). Anything else, and every file that is
// truncated or whose header does not add up, gives nullopt; no byte outside
// `file` is ever read.
std::optional<core::Bitmap> decodeBmp(std::span<const std::uint8_t> file);

// The largest width or height either direction accepts.
inline constexpr int kMaxBmpSide = 32767;

}  // namespace output
