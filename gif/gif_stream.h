// A GIF file written into memory, block by block. Every call is checked; the
// first failure makes every later call fail too.
#pragma once

#include <cstdint>
#include <span>
#include <vector>

#include "core/color.h"

namespace output {

class LzwMemo;

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
  // Appends the file to `sink`, which must outlive the stream. shortest:
  // each image is LZW-coded in every way we know and the shortest is kept;
  // otherwise with the plain greedy parse only (quicker, for measuring).
  // memo, when given, supplies images coded before (it must outlive the
  // stream).
  explicit GifStream(std::vector<std::uint8_t>& sink, bool shortest = true, LzwMemo* memo = nullptr);
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
  // by row, each below the size of the palette it is shown with. local: the
  // image's own palette, or null to use the global one. The LZW code size is
  // the smallest the indices allow, whatever the palette's size.
  [[nodiscard]] bool putImage(const GifRect& rect, const GifPalette* local, std::span<const std::uint8_t> indices);
  // As putImage, but the image data is only counted, as dataBytes long
  // (what the coder is known to write for these indices): for the length
  // of a file that need not be made. length() includes it.
  [[nodiscard]] bool countImage(const GifRect& rect, const GifPalette* local, std::span<const std::uint8_t> indices,
                                std::size_t dataBytes);
  // The bytes written so far, and those counted.
  std::size_t length() const { return out_.size() + counted_; }
  // Writes the trailer and closes. True when the whole file was written.
  [[nodiscard]] bool close();

 private:
  bool fail() {
    failed_ = true;
    return false;
  }
  void put16(int value);
  void putTable(const GifPalette& palette);
  // The image descriptor and local table; false when the image is refused.
  bool putImageHeader(const GifRect& rect, const GifPalette* local, std::span<const std::uint8_t> indices);

  std::vector<std::uint8_t>& out_;
  bool shortest_;
  LzwMemo* memo_;
  enum class Stage { Start, Screen, Closed } stage_ = Stage::Start;
  int width_ = 0;
  int height_ = 0;
  std::size_t globalColours_ = 0;  // 0: no global palette
  bool failed_ = false;
  std::size_t counted_ = 0;
};

}  // namespace output
