#include "frame_files/bmp_codec.h"

#include <cstdlib>

#include "core/byte_order.h"

namespace output {
namespace {

constexpr std::size_t kFileHeaderSize = 14;
constexpr std::uint32_t kInfoHeaderSize = 40;
constexpr std::uint32_t kBiRgb = 0;
constexpr std::uint32_t kBiBitfields = 3;
constexpr std::int32_t kPixelsPerMetre = 2835;  // 72 dpi

std::size_t rowBytes(int width, int bitsPerPixel) {
  return (static_cast<std::size_t>(width) * static_cast<std::size_t>(bitsPerPixel) / 8 + 3) & ~std::size_t{3};
}

// The header fields the reader needs, already checked for consistency.
struct Layout {
  int width = 0;
  int height = 0;
  bool topDown = false;
  int bytesPerPixel = 0;
  std::size_t offset = 0;
  std::size_t stride = 0;
};

bool masksAreStandard(std::span<const std::uint8_t> file) {
  // Masks follow a 40-byte header directly; larger headers hold them inside.
  const std::size_t at = kFileHeaderSize + kInfoHeaderSize;
  if (file.size() < at + 12) return false;  // also for 41- to 51-byte headers that end inside the masks
  return core::readLe32(file.data() + at) == 0x00FF0000u && core::readLe32(file.data() + at + 4) == 0x0000FF00u && core::readLe32(file.data() + at + 8) == 0x000000FFu;
}

std::optional<Layout> readLayout(std::span<const std::uint8_t> file) {
  if (file.size() < kFileHeaderSize + kInfoHeaderSize || file[0] != 'B' || file[1] != 'M') return std::nullopt;
  const std::uint32_t headerSize = core::readLe32(file.data() + 14);
  if (headerSize < kInfoHeaderSize || headerSize > 1024 || kFileHeaderSize + headerSize > file.size()) {
    return std::nullopt;
  }
  const auto width = static_cast<std::int32_t>(core::readLe32(file.data() + 18));
  const auto height = static_cast<std::int32_t>(core::readLe32(file.data() + 22));
  const std::uint32_t planes = core::readLe16(file.data() + 26);
  const std::uint32_t bits = core::readLe16(file.data() + 28);
  const std::uint32_t compression = core::readLe32(file.data() + 30);
  if (planes != 1 || (bits != 24 && bits != 32)) return std::nullopt;
  const bool bitfields = bits == 32 && compression == kBiBitfields && masksAreStandard(file);
  if (compression != kBiRgb && !bitfields) return std::nullopt;
  if (width < 1 || width > kMaxBmpSide || height == 0 || height < -kMaxBmpSide || height > kMaxBmpSide) {
    return std::nullopt;
  }
  Layout l;
  l.width = width;
  l.height = std::abs(height);
  l.topDown = height < 0;
  l.bytesPerPixel = static_cast<int>(bits / 8);
  l.offset = core::readLe32(file.data() + 10);
  l.stride = rowBytes(width, static_cast<int>(bits));
  // Sides are at most 32767, so this product fits easily in 64 bits.
  const std::uint64_t pixelBytes = static_cast<std::uint64_t>(l.stride) * static_cast<std::uint64_t>(l.height);
  if (l.offset < kFileHeaderSize + headerSize || l.offset > file.size() || pixelBytes > file.size() - l.offset) {
    return std::nullopt;
  }
  return l;
}

}  // namespace

std::vector<std::uint8_t> encodeBmp(const core::Bitmap& bitmap) {
  const std::size_t stride = rowBytes(bitmap.width, 24);
  const std::size_t pixelBytes = stride * static_cast<std::size_t>(bitmap.height);
  const std::size_t offset = kFileHeaderSize + kInfoHeaderSize;
  std::vector<std::uint8_t> out(offset + pixelBytes, 0);
  out[0] = 'B';
  out[1] = 'M';
  core::writeLe32(out.data() + 2, static_cast<std::uint32_t>(out.size()));
  core::writeLe32(out.data() + 10, static_cast<std::uint32_t>(offset));
  core::writeLe32(out.data() + 14, kInfoHeaderSize);
  core::writeLe32(out.data() + 18, static_cast<std::uint32_t>(bitmap.width));
  core::writeLe32(out.data() + 22, static_cast<std::uint32_t>(bitmap.height));  // positive: bottom-up
  core::writeLe16(out.data() + 26, 1);
  core::writeLe16(out.data() + 28, 24);
  core::writeLe32(out.data() + 30, kBiRgb);
  core::writeLe32(out.data() + 34, static_cast<std::uint32_t>(pixelBytes));
  core::writeLe32(out.data() + 38, static_cast<std::uint32_t>(kPixelsPerMetre));
  core::writeLe32(out.data() + 42, static_cast<std::uint32_t>(kPixelsPerMetre));
  for (int y = 0; y < bitmap.height; ++y) {
    const core::Color* src = bitmap.row(bitmap.height - 1 - y);
    std::uint8_t* dst = out.data() + offset + static_cast<std::size_t>(y) * stride;
    for (int x = 0; x < bitmap.width; ++x) {
      const core::Color c = src[x];
      dst[0] = static_cast<std::uint8_t>(c >> 16);  // blue
      dst[1] = static_cast<std::uint8_t>(c >> 8);   // green
      dst[2] = static_cast<std::uint8_t>(c);        // red
      dst += 3;
    }
  }
  return out;
}

std::optional<core::Bitmap> decodeBmp(std::span<const std::uint8_t> file) {
  const std::optional<Layout> l = readLayout(file);
  if (!l) return std::nullopt;
  core::Bitmap bitmap(l->width, l->height);
  for (int y = 0; y < l->height; ++y) {
    const int fileRow = l->topDown ? y : l->height - 1 - y;
    const std::uint8_t* src = file.data() + l->offset + static_cast<std::size_t>(fileRow) * l->stride;
    core::Color* dst = bitmap.row(y);
    for (int x = 0; x < l->width; ++x) {
      dst[x] = core::rgb(src[2], src[1], src[0]);
      src += l->bytesPerPixel;
    }
  }
  return bitmap;
}

}  // namespace output
