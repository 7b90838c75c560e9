// JPEG encoding with libjpeg-turbo.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "core/picture.h"

namespace output {

struct JpegSettings {
  int quality = 100;         // 1..100
  bool progressive = false;  // false: baseline
};

// The bitmap as a JFIF file with 4:4:4 sampling (every colour sample kept),
// or nullopt when the settings are out of range, the bitmap is empty, or the
// encoder reports an error. Never ends the process.
std::optional<std::vector<std::uint8_t>> encodeJpeg(const core::Bitmap& bitmap, const JpegSettings& settings);

}  // namespace output
