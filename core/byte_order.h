// Numbers in file formats, byte by byte: little-endian (BMP, GIF, WebP's
// RIFF) and big-endian (PNG, JPEG). The pointer must hold enough bytes;
// callers check the length first.
#pragma once

#include <cstdint>

namespace core {

inline std::uint32_t readLe16(const std::uint8_t* p) { return p[0] | (static_cast<std::uint32_t>(p[1]) << 8u); }
inline std::uint32_t readLe24(const std::uint8_t* p) { return readLe16(p) | (static_cast<std::uint32_t>(p[2]) << 16u); }
inline std::uint32_t readLe32(const std::uint8_t* p) { return readLe24(p) | (static_cast<std::uint32_t>(p[3]) << 24u); }
inline std::uint32_t readBe16(const std::uint8_t* p) { return (static_cast<std::uint32_t>(p[0]) << 8u) | p[1]; }
inline std::uint32_t readBe32(const std::uint8_t* p) {
  return (readBe16(p) << 16u) | readBe16(p + 2);
}

inline void writeLe16(std::uint8_t* p, std::uint32_t v) {
  p[0] = static_cast<std::uint8_t>(v);
  p[1] = static_cast<std::uint8_t>(v >> 8u);
}
inline void writeLe32(std::uint8_t* p, std::uint32_t v) {
  writeLe16(p, v & 0xFFFFu);
  writeLe16(p + 2, v >> 16u);
}

}  // namespace core
