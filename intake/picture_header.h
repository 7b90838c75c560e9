// Reading what a picture file says about itself before anything is decoded:
// which format the bytes are, and the picture's size from the format's own
// header. Plain C++ (no Qt), so that hostile input can be fuzzed cheaply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace intake {

// Random-access bytes of a file or a buffer.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  // Total length in bytes.
  virtual std::uint64_t size() const = 0;
  // Copies up to n bytes from offset into out; returns how many were copied
  // (fewer at the end, 0 past the end or after a read error).
  virtual std::size_t readAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) = 0;
};

// A ByteSource over memory the caller keeps alive.
class MemorySource final : public ByteSource {
 public:
  MemorySource(const void* data, std::size_t size) : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}
  std::uint64_t size() const override { return size_; }
  std::size_t readAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) override;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
};

// What the first bytes of a file say it is. Only Bmp, Jpeg, Gif, Png and Webp
// are ever decoded; the other values exist to tell the user what was wrong.
enum class PictureFormat { Empty, Unknown, Bmp, Jpeg, Gif, Png, Tiff, Webp, Os2Array };

// Decides the format from the magic bytes at the start of src (the name of
// the file plays no part).
PictureFormat sniffFormat(ByteSource& src);

// The user-facing text (Japanese, UTF-8) for a format we refuse; empty for
// the formats we decode.
std::string refusalMessage(PictureFormat format);

// Bounds on the structure walked before a JPEG is handed to a decoder. Real
// files stay far below them; floods of markers make some decoders slow.
inline constexpr int kMaxJpegSegmentsBeforeScan = 128;
inline constexpr int kMaxJpegScans = 100;
inline constexpr int kMaxJpegMarkers = 1024;     // after the first scan, every marker but RSTn
inline constexpr int kMaxJpegStrayBytes = 4096;  // garbage and fill bytes between segments
inline constexpr int kMaxGifBlocksBeforeImage = 4096;
inline constexpr int kMaxPngChunks = 65536;  // every chunk up to IEND
inline constexpr int kMaxWebpChunksBeforeImage = 4096;
// The most compressed image data handed to a decoder: a 1000 x 200 picture
// at 16 bits per channel with alpha is 1.6 MB even stored uncompressed. A PNG
// is held to less: a quarter more than its picture's own filtered rows.
inline constexpr std::uint64_t kMaxPngImageDataBytes = std::uint64_t{16} << 20;
inline constexpr std::uint64_t kMaxWebpImageDataBytes = std::uint64_t{16} << 20;

// A run of bytes in the file.
struct ByteRange {
  std::uint64_t offset = 0;
  std::uint64_t size = 0;
};

struct HeaderInfo {
  bool valid = false;  // false: the header is broken; problem says how
  int width = 0;       // when valid: the size the picture will decode to, in
  int height = 0;      //   pixels, both >= 1 (a top-down BMP's height made positive)
  int frameWidth = 0;  // GIF, WebP: the first image's own size (0 elsewhere)
  int frameHeight = 0;
  int frameLeft = 0;  // WebP: where the first image lies on the canvas
  int frameTop = 0;
  bool animated = false;         // an animated PNG or WebP (its first frame is what loads)
  std::uint64_t scanOffset = 0;  // JPEG only: where the first scan's data starts
  // WebP only: the first image's ALPH chunk (size 0 when none) and its VP8 or
  // VP8L chunk, each from its chunk header on, as a decoder takes them.
  ByteRange webpAlpha;
  ByteRange webpImage;
  std::string problem;  // when !valid: user-facing text (Japanese, UTF-8)
};

// The header readers: each expects src to hold the format that sniffFormat
// found, reads only up to the picture's size (the JPEG reader walks the
// markers to the first scan, the GIF reader the blocks to the first image)
// and never allocates in proportion to what the header claims.
HeaderInfo readBmpHeader(ByteSource& src);
HeaderInfo readGifHeader(ByteSource& src);
HeaderInfo readJpegHeader(ByteSource& src);
// The PNG signature and its IHDR chunk (CRC checked): the size, and a bit
// depth and colour type that exist. The IHDR of an animated PNG is the
// canvas, and its default image the first frame.
HeaderInfo readPngHeader(ByteSource& src);
// RIFF "WEBP" with a VP8 (lossy), VP8L (lossless) or VP8X (extended) first
// chunk; for VP8X the chunks are walked to the first image (of an animation,
// the first frame), whose bitstream header must agree with the canvas.
HeaderInfo readWebpHeader(ByteSource& src);

// What a PNG decoder needs of an accepted PNG: the chunks IHDR, PLTE, tRNS
// and IDAT, in file order, each from its length field to its CRC (the
// ancillary rest, text and colour profiles included, is left out: it is not
// drawn, and compressed text is a classic way to make a decoder inflate
// gigabytes). Walks every chunk up to IEND, checking the CRC of each kept one.
struct PngChunks {
  std::vector<ByteRange> keep;
  std::string problem;  // "" when keep is usable; else user-facing
};
PngChunks collectPngChunks(ByteSource& src);

// The CRC-32 of PNG (and zlib), continuing from `crc` (0 to start).
std::uint32_t crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size);

// Walks a JPEG from its first scan (HeaderInfo::scanOffset) to its end marker,
// reading every byte once. Returns "" when the structure is within the bounds
// above, else the user-facing problem. Run it only once the size is known to
// be acceptable: it reads the whole file.
std::string checkJpegScans(ByteSource& src, std::uint64_t scanOffset);

// Dispatches on format (Bmp, Jpeg, Gif, Png or Webp; anything else gives
// !valid).
HeaderInfo readPictureHeader(ByteSource& src, PictureFormat format);

}  // namespace intake
