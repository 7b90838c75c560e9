// Our own header readers on arbitrary bytes: they must never read outside the
// input, and a size they report must be a real one.
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
  } else if (h.problem.empty()) {
    std::abort();
  }
  return 0;
}
