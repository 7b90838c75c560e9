// Our image library: the five calls the writer drives. Images live in a
// table of handles; handle 0 always means failure.
#pragma once

#include <cstdint>
#include <string>

#include "gif/gif_encoder.h"

namespace output {

// The calls as one interface, so that tests can put a recording or failing
// library behind the writer. Every call is safe with any handle value;
// unknown handles make a call fail (or do nothing, for DeleteDIB).
class ImageLibrary {
 public:
  virtual ~ImageLibrary() = default;

  // Loads a BMP file. A new image handle (never 0), or 0 when the file cannot
  // be read or is not a BMP we accept. The caller owns the image until it
  // passes the handle to DeleteDIB.
  virtual std::int32_t BMPtoDIB(const std::string& bmpName) = 0;

  // Encodes the image as a JPEG file. settingA: the quality, 1..100 (every
  // caller passes 100); settingB: 0 = baseline, non-zero = progressive; both
  // keep every colour sample (no chroma subsampling). Non-zero when the file
  // was written. The image stays the caller's.
  virtual std::int32_t DIBtoJPG(const std::string& jpgName, std::int32_t image, std::int16_t settingA,
                                std::int16_t settingB) = 0;

  // Encodes the image as a single-frame GIF file. option: only 0 is defined
  // (every caller passes it); other values fail. Non-zero when written.
  virtual std::int32_t DIBtoGIF(const std::string& gifName, std::int32_t image, std::int16_t option) = 0;

  // Encodes images[0..highest] as one looping animated GIF, each shown for
  // `interval` hundredths of a second (0..32767; negative fails). All images
  // must have one size. Non-zero when written. The images stay the caller's:
  // this call releases none of them.
  virtual std::int32_t DIBtoGIFAni(const std::string& gifName, const std::int32_t* images, std::int32_t highest,
                                   std::int16_t interval) = 0;

  // The same with a delay per image and a play count (timing.delays has
  // highest + 1 entries). A library that only knows one interval for
  // all images takes an endlessly looping uniform timing through
  // DIBtoGIFAni and refuses any other.
  virtual std::int32_t DIBtoGIFAniTimed(const std::string& gifName, const std::int32_t* images, std::int32_t highest,
                                        const AnimationTiming& timing);

  // Releases an image. Unknown handles (0, already released) are ignored.
  virtual void DeleteDIB(std::int32_t image) = 0;
};

// The library the writer uses unless told otherwise: BMP via our own reader,
// JPEG via libjpeg-turbo, GIF via our own GIF codec (gif/). Files are written
// completely or not at all. Thread-safe.
ImageLibrary& defaultImageLibrary();

// How many images the default library holds now (for leak checks).
std::size_t liveImageCount();

}  // namespace output
