// Colour values as the rest of the program sees them.
#pragma once

#include <cstdint>

namespace core {

// 0x00BBGGRR: red in the low byte. Values with the top bit set name system
// colours (see resolveColor); raster operations act on all 32 bits.
using Color = std::uint32_t;

inline constexpr Color kBlack = 0x000000;
inline constexpr Color kWhite = 0xFFFFFF;
// The system button-face colour, stored in settings as -2147483633.
inline constexpr Color kButtonFace = 0x8000000F;
// What reading a pixel outside a surface yields (the toolkit's -1).
inline constexpr Color kInvalidColor = 0xFFFFFFFF;

constexpr Color rgb(int r, int g, int b) {
  return static_cast<Color>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int redOf(Color c) { return static_cast<int>(c & 0xFF); }
constexpr int greenOf(Color c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int blueOf(Color c) { return static_cast<int>((c >> 16) & 0xFF); }

// Squared distance of two colours in RGB space.
constexpr int squaredDistance(Color a, Color b) {
  const int dr = redOf(a) - redOf(b);
  const int dg = greenOf(a) - greenOf(b);
  const int db = blueOf(a) - blueOf(b);
  return dr * dr + dg * dg + db * db;
}

constexpr bool isSystemColor(Color c) { return (c & 0x80000000u) != 0; }

// Turns a system colour into the RGB value a surface stores. Only the
// button face is used by the program; other system colours map to the
// classic light grey as well. Ordinary colours are returned as they are.
constexpr Color resolveColor(Color c) {
  return isSystemColor(c) ? Color{0xF0F0F0} : c;
}

}  // namespace core
