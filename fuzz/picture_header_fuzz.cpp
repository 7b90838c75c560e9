// Our own header readers on arbitrary bytes: they must never read outside the
// input, and a size they report must be a real one; the PNG chunk walk and
// the WebP first image must stay inside the input.
#include <cstdint>
#include <cstdlib>

#include "intake/picture_header.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  intake::MemorySource src(data, size);
  const intake::PictureFormat format = intake::sniffFormat(src);
  const intake::HeaderInfo h = intake::readPictureHeader(src, format);
  if (h.valid) {
    if (h.width < 1 || h.height < 1) std::abort();
    if (format == intake::PictureFormat::Jpeg && h.scanOffset > size) std::abort();
    if (format == intake::PictureFormat::Jpeg) (void)intake::checkJpegScans(src, h.scanOffset);
    if (format == intake::PictureFormat::Png) {
      const intake::PngChunks chunks = intake::collectPngChunks(src);
      if (chunks.problem.empty() && chunks.keep.empty()) std::abort();
      for (const intake::ByteRange& r : chunks.keep)
        if (r.offset + r.size > size || r.size < 12) std::abort();
    }
    if (format == intake::PictureFormat::Webp) {
      // The first image lies on its canvas and its chunks inside the input.
      if (h.frameLeft < 0 || h.frameTop < 0 || h.frameWidth < 1 || h.frameHeight < 1) std::abort();
      if (static_cast<std::int64_t>(h.frameLeft) + h.frameWidth > h.width ||
          static_cast<std::int64_t>(h.frameTop) + h.frameHeight > h.height)
        std::abort();
      for (const intake::ByteRange& r : {h.webpAlpha, h.webpImage})
        if (r.offset + r.size > size) std::abort();
      if (h.webpImage.size < 8) std::abort();
    }
  } else if (h.problem.empty()) {
    std::abort();
  }
  return 0;
}
