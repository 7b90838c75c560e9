// A GIF file written with giflib's streaming calls into memory. Every call
// is checked; the first failure makes every later call fail too.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "core/color.h"

struct GifFileType;

namespace output {

// Up to 256 colours; written padded with black to a power of two (at least 2).
using GifPalette = std::vector<core::Color>;

struct GifRect {
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  std::size_t area() const { return static_cast<std::size_t>(width) * static_cast<std::size_t>(height); }
};

// How a decoder treats a frame's area before drawing the next one.
enum class GifDisposal { Keep = 1, RestoreBackground = 2 };

// log2 of the table size a palette of n colours is written with (1..8).
int gifTableBits(std::size_t colours);

class GifStream {
 public:
  // Appends the file to `sink`, which must outlive the stream.
  explicit GifStream(std::vector<std::uint8_t>& sink);
  ~GifStream();
  GifStream(const GifStream&) = delete;
  GifStream& operator=(const GifStream&) = delete;

  // Logical screen of w x h pixels, with an optional global palette (may be
  // null) and background colour index 0. gif89: writes "GIF89a" (needed for
  // the animation extensions); otherwise "GIF87a".
  [[nodiscard]] bool putScreen(int w, int h, const GifPalette* global, bool gif89);
  // NETSCAPE2.0 application extension with the stored loop count (0..65535):
  // 0 = play forever, n = show the sequence n + 1 times.
  [[nodiscard]] bool putLoopCount(int loopCount);
  // Graphics control extension for the next image: delay in hundredths of a
  // second (0..65535), transparent index or -1 for none.
  [[nodiscard]] bool putFrameControl(int delay, int transparentIndex, GifDisposal disposal);
  // One image: `indices` holds rect.width x rect.height palette indices, row
  // by row (giflib may mask them in place). local: the image's own palette,
  // or null to use the global one.
  [[nodiscard]] bool putImage(const GifRect& rect, const GifPalette* local, std::vector<std::uint8_t>& indices);
  // Writes the trailer and closes. True when the whole file was written.
  [[nodiscard]] bool close();

 private:
  struct Closer {
    void operator()(GifFileType* gif) const;
  };
  bool fail() {
    failed_ = true;
    return false;
  }

  std::unique_ptr<GifFileType, Closer> gif_;
  bool failed_ = false;
};

}  // namespace output
