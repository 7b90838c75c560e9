// Float-to-integer conversions shared by every algorithm.
#pragma once

#include <cmath>
#include <cstdint>

namespace core {

// Nearest integer, halves to the even neighbour (the default rounding mode).
// std::round would send halves away from zero and change frames.
inline std::int32_t roundToInt(double v) { return static_cast<std::int32_t>(std::lrint(v)); }
inline std::int32_t roundToInt(float v) { return static_cast<std::int32_t>(std::lrint(v)); }

// Largest integer not greater than v.
inline std::int32_t floorToInt(float v) { return static_cast<std::int32_t>(std::floor(v)); }

}  // namespace core
