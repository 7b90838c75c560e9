#include "frame_files/jpeg_encoder.h"

#include <turbojpeg.h>

#include <bit>
#include <memory>

namespace output {
namespace {

struct TjHandleCloser {
  void operator()(void* h) const { tjDestroy(h); }
};
struct TjBufferFree {
  void operator()(unsigned char* p) const { tjFree(p); }
};

}  // namespace

std::optional<std::vector<std::uint8_t>> encodeJpeg(const core::Bitmap& bitmap, const JpegSettings& settings) {
  if (settings.quality < 1 || settings.quality > 100 || bitmap.width < 1 || bitmap.height < 1) return std::nullopt;
  // TurboJPEG reports errors through return values (it recovers from
  // libjpeg's error_exit with its own longjmp handler), so a bad encode
  // returns -1 here instead of ending the process.
  std::unique_ptr<void, TjHandleCloser> tj(tjInitCompress());
  if (!tj) return std::nullopt;
  // Colours are 0x00BBGGRR words: in memory R, G, B, then an unused byte.
  static_assert(std::endian::native == std::endian::little, "TJPF_RGBX assumes little-endian colour words");
  const auto* pixels = reinterpret_cast<const unsigned char*>(bitmap.px.data());
  const int pitch = bitmap.width * 4;
  unsigned char* out = nullptr;
  unsigned long outSize = 0;
  const int flags = TJFLAG_ACCURATEDCT | (settings.progressive ? TJFLAG_PROGRESSIVE : 0);
  const int rc = tjCompress2(tj.get(), pixels, bitmap.width, pitch, bitmap.height, TJPF_RGBX, &out, &outSize,
                             TJSAMP_444, settings.quality, flags);
  std::unique_ptr<unsigned char, TjBufferFree> owned(out);
  if (rc != 0 || !owned || outSize == 0) return std::nullopt;
  return std::vector<std::uint8_t>(owned.get(), owned.get() + outSize);
}

}  // namespace output
