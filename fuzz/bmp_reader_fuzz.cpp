// The writer's BMP reader (what turns saved frames back into pictures for the
// JPEG and GIF encoders) on arbitrary bytes, and the round trip of whatever
// it accepts.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "frame_files/bmp_codec.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto bitmap = output::decodeBmp(std::span<const std::uint8_t>(data, size));
  if (!bitmap) return 0;
  if (bitmap->width < 1 || bitmap->height < 1 || bitmap->width > output::kMaxBmpSide ||
      bitmap->height > output::kMaxBmpSide)
    std::abort();
  // What we write must read back to the same pixels (low 24 bits).
  const auto again = output::decodeBmp(output::encodeBmp(*bitmap));
  if (!again || again->width != bitmap->width || again->height != bitmap->height) std::abort();
  for (std::size_t i = 0; i < bitmap->px.size(); ++i)
    if ((again->px[i] ^ bitmap->px[i]) & 0xFFFFFFu) std::abort();
  return 0;
}
