#include "intake/picture_header.h"

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>

#include "core/byte_order.h"

// These readers stay free of Qt, yet their messages belong to the program's
// translation catalogue: lupdate reads the same marker as Qt defines it.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

namespace intake {

namespace {

// The texts shown when a header gives up; each says what was wrong.
constexpr const char* kUnknownFormat = QT_TRANSLATE_NOOP(
    "Pictorell", "画像ファイルではないか、対応していない形式です。(対応形式: BMP・JPEG・GIF・PNG・WebP)");
constexpr const char* kEmptyFile = QT_TRANSLATE_NOOP("Pictorell", "ファイルが空です。(0 バイト)");
constexpr const char* kBmpTruncated =
    QT_TRANSLATE_NOOP("Pictorell", "BMP ファイルが途中で切れています。(ヘッダーが不完全です)");
constexpr const char* kBmpBadHeader =
    QT_TRANSLATE_NOOP("Pictorell", "BMP ファイルのヘッダーが壊れています。(未知のヘッダー形式です)");
constexpr const char* kBmpBadSize =
    QT_TRANSLATE_NOOP("Pictorell", "BMP ファイルのヘッダーが壊れています。(幅または高さが不正です)");
constexpr const char* kGifTruncated = QT_TRANSLATE_NOOP("Pictorell", "GIF ファイルが途中で切れています。");
constexpr const char* kGifNoImage = QT_TRANSLATE_NOOP("Pictorell", "GIF ファイルに画像が含まれていません。");
constexpr const char* kGifBadBlock = QT_TRANSLATE_NOOP("Pictorell", "GIF ファイルの構造が壊れています。");
constexpr const char* kGifBadSize = QT_TRANSLATE_NOOP("Pictorell", "GIF ファイルの画像の大きさが不正です。");
constexpr const char* kGifFlood =
    QT_TRANSLATE_NOOP("Pictorell", "GIF ファイルの構造が不正です。(画像の前のブロックが多すぎます)");
constexpr const char* kJpegTruncated =
    QT_TRANSLATE_NOOP("Pictorell", "JPEG ファイルが途中で切れています。(画像データがありません)");
constexpr const char* kJpegBadMarker = QT_TRANSLATE_NOOP("Pictorell", "JPEG ファイルの構造が壊れています。");
constexpr const char* kJpegBadSize = QT_TRANSLATE_NOOP("Pictorell", "JPEG ファイルの画像の大きさが不正です。");
constexpr const char* kJpegFlood =
    QT_TRANSLATE_NOOP("Pictorell", "JPEG ファイルの構造が不正です。(マーカーが多すぎます)");
constexpr const char* kJpegScanFlood =
    QT_TRANSLATE_NOOP("Pictorell", "JPEG ファイルの構造が不正です。(スキャンが多すぎます)");
constexpr const char* kPngTruncated = QT_TRANSLATE_NOOP("Pictorell", "PNG ファイルが途中で切れています。");
constexpr const char* kPngBadHeader =
    QT_TRANSLATE_NOOP("Pictorell", "PNG ファイルのヘッダーが壊れています。(IHDR チャンクが不正です)");
constexpr const char* kPngBadSize = QT_TRANSLATE_NOOP("Pictorell", "PNG ファイルの画像の大きさが不正です。");
constexpr const char* kPngBadColour = QT_TRANSLATE_NOOP("Pictorell", "PNG ファイルの色の形式が不正です。");
constexpr const char* kPngBadCrc = QT_TRANSLATE_NOOP("Pictorell", "PNG ファイルが壊れています。(CRC が一致しません)");
constexpr const char* kPngBadChunk = QT_TRANSLATE_NOOP("Pictorell", "PNG ファイルの構造が壊れています。");
constexpr const char* kPngNoImage = QT_TRANSLATE_NOOP("Pictorell", "PNG ファイルに画像データがありません。");
constexpr const char* kPngFlood =
    QT_TRANSLATE_NOOP("Pictorell", "PNG ファイルの構造が不正です。(チャンクが多すぎます)");
constexpr const char* kPngTooMuchData =
    QT_TRANSLATE_NOOP("Pictorell", "PNG ファイルの構造が不正です。(画像データが大きすぎます)");
constexpr const char* kWebpTruncated = QT_TRANSLATE_NOOP("Pictorell", "WebP ファイルが途中で切れています。");
constexpr const char* kWebpBadHeader = QT_TRANSLATE_NOOP("Pictorell", "WebP ファイルのヘッダーが壊れています。");
constexpr const char* kWebpBadSize = QT_TRANSLATE_NOOP("Pictorell", "WebP ファイルの画像の大きさが不正です。");
constexpr const char* kWebpBadChunk = QT_TRANSLATE_NOOP("Pictorell", "WebP ファイルの構造が壊れています。");
constexpr const char* kWebpNoImage = QT_TRANSLATE_NOOP("Pictorell", "WebP ファイルに画像が含まれていません。");
constexpr const char* kWebpFlood =
    QT_TRANSLATE_NOOP("Pictorell", "WebP ファイルの構造が不正です。(画像の前のチャンクが多すぎます)");
constexpr const char* kWebpTooMuchData =
    QT_TRANSLATE_NOOP("Pictorell", "WebP ファイルの構造が不正です。(画像データが大きすぎます)");

HeaderInfo broken(const char* problem) {
  HeaderInfo h;
  h.problem = problem;
  return h;
}

HeaderInfo sized(int w, int h) {
  HeaderInfo info;
  info.valid = true;
  info.width = w;
  info.height = h;
  return info;
}

using core::readBe16;
using core::readBe32;
using core::readLe16;
using core::readLe24;
using core::readLe32;

// Sequential reading through a small buffer, so that walking thousands of
// tiny blocks costs no more than reading the file once.
class Cursor {
 public:
  Cursor(ByteSource& src, std::uint64_t pos) : src_(src), pos_(pos) {}

  std::uint64_t pos() const { return pos_; }

  // The next byte, or -1 at the end.
  int next() {
    if (at_ >= len_ && !fill()) return -1;
    ++pos_;
    return buf_[at_++];
  }

  // Reads exactly n bytes; false at the end.
  bool read(std::uint8_t* out, std::size_t n) {
    for (std::size_t i = 0; i < n; ++i) {
      const int b = next();
      if (b < 0) return false;
      out[i] = static_cast<std::uint8_t>(b);
    }
    return true;
  }

  void skip(std::uint64_t n) {
    if (n <= len_ - at_) {
      at_ += static_cast<std::size_t>(n);
    } else {
      at_ = len_ = 0;
    }
    pos_ += n;
  }

  // Moves to the next byte equal to value without consuming it; false when
  // there is none.
  bool seekByte(std::uint8_t value) {
    for (;;) {
      if (at_ >= len_ && !fill()) return false;
      const void* hit = std::memchr(buf_ + at_, value, len_ - at_);
      if (hit) {
        const auto found = static_cast<std::size_t>(static_cast<const std::uint8_t*>(hit) - buf_);
        pos_ += found - at_;
        at_ = found;
        return true;
      }
      pos_ += len_ - at_;
      at_ = len_;
    }
  }

 private:
  bool fill() {
    at_ = 0;
    len_ = src_.readAt(pos_, buf_, sizeof buf_);
    return len_ > 0;
  }

  ByteSource& src_;
  std::uint64_t pos_;
  std::uint8_t buf_[8192];
  std::size_t at_ = 0;
  std::size_t len_ = 0;
};

int clampToInt(std::int64_t v) { return static_cast<int>(std::min<std::int64_t>(v, INT_MAX)); }

bool isStartOfFrame(int m) {
  // SOF0-SOF15 except DHT (C4), JPG (C8) and DAC (CC).
  return m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xC8 && m != 0xCC;
}

bool isStandalone(int m) { return m == 0x01 || (m >= 0xD0 && m <= 0xD7); }

// Finds the next marker code between segments: skips stray bytes and 0xFF
// fill bytes (within a budget, as decoders tolerate a few). -1 at the end,
// -2 when the budget is spent.
int nextMarker(Cursor& c, int& stray) {
  int b = c.next();
  while (b >= 0 && b != 0xFF) {
    if (++stray > kMaxJpegStrayBytes) return -2;
    b = c.next();
  }
  b = c.next();
  while (b == 0xFF) {
    if (++stray > kMaxJpegStrayBytes) return -2;
    b = c.next();
  }
  return b;
}

}  // namespace

std::size_t MemorySource::readAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) {
  if (offset >= size_) return 0;
  const std::size_t count = std::min<std::uint64_t>(n, size_ - offset);
  std::memcpy(out, data_ + offset, count);
  return count;
}

PictureFormat sniffFormat(ByteSource& src) {
  std::uint8_t m[12] = {};
  const std::size_t n = src.readAt(0, m, sizeof m);
  auto starts = [&](const char* magic, std::size_t len, std::size_t at = 0) {
    return n >= at + len && std::memcmp(m + at, magic, len) == 0;
  };
  if (n == 0) return PictureFormat::Empty;
  if (starts("BM", 2)) return PictureFormat::Bmp;
  if (starts("\xFF\xD8\xFF", 3)) return PictureFormat::Jpeg;
  if (starts("GIF87a", 6) || starts("GIF89a", 6)) return PictureFormat::Gif;
  if (starts("\x89PNG\r\n\x1A\n", 8)) return PictureFormat::Png;
  if (starts("II*\0", 4) || starts("MM\0*", 4)) return PictureFormat::Tiff;
  if (starts("RIFF", 4) && starts("WEBP", 4, 8)) return PictureFormat::Webp;
  if (starts("BA", 2)) return PictureFormat::Os2Array;
  return PictureFormat::Unknown;
}

std::string refusalMessage(PictureFormat format) {
  switch (format) {
    case PictureFormat::Bmp:
    case PictureFormat::Jpeg:
    case PictureFormat::Gif:
    case PictureFormat::Png:
    case PictureFormat::Webp:
      return {};
    case PictureFormat::Empty:
      return kEmptyFile;
    case PictureFormat::Tiff:
      return QT_TRANSLATE_NOOP("Pictorell",
                               "TIFF 形式の画像には対応していません。(対応形式: BMP・JPEG・GIF・PNG・WebP)");
    case PictureFormat::Os2Array:
      return QT_TRANSLATE_NOOP("Pictorell",
                               "OS/2 のビットマップ配列には対応していません。(対応形式: BMP・JPEG・GIF・PNG・WebP)");
    case PictureFormat::Unknown:
      break;
  }
  return kUnknownFormat;
}

HeaderInfo readBmpHeader(ByteSource& src) {
  // File header (14 bytes), then the info header, which starts with its own
  // length: 12 for OS/2 1.x (16-bit sizes), 16 to 64 for OS/2 2.x and 40 or
  // more for the Windows versions (32-bit signed sizes at the same places).
  std::uint8_t h[26];
  const std::size_t n = src.readAt(0, h, sizeof h);
  if (n < 18) return broken(kBmpTruncated);
  const std::uint32_t infoSize = readLe32(h + 14);
  std::int64_t w = 0;
  std::int64_t ht = 0;
  if (infoSize == 12) {
    if (n < 22) return broken(kBmpTruncated);
    w = readLe16(h + 18);
    ht = readLe16(h + 20);
  } else if (infoSize >= 16) {
    if (n < 26) return broken(kBmpTruncated);
    w = static_cast<std::int32_t>(readLe32(h + 18));
    ht = static_cast<std::int32_t>(readLe32(h + 22));
  } else {
    return broken(kBmpBadHeader);
  }
  // A negative height means the rows are stored top-down; the picture is as
  // high as its absolute value.
  if (w <= 0 || ht == 0) return broken(kBmpBadSize);
  return sized(clampToInt(w), clampToInt(ht < 0 ? -ht : ht));
}

HeaderInfo readGifHeader(ByteSource& src) {
  std::uint8_t h[13];
  if (src.readAt(0, h, sizeof h) < sizeof h) return broken(kGifTruncated);
  const int screenW = static_cast<int>(readLe16(h + 6));
  const int screenH = static_cast<int>(readLe16(h + 8));
  Cursor c(src, sizeof h);
  if (h[10] & 0x80) c.skip(3u << ((h[10] & 7u) + 1u));  // global colour table
  for (int blocks = 0;; ++blocks) {
    if (blocks > kMaxGifBlocksBeforeImage) return broken(kGifFlood);
    const int b = c.next();
    if (b < 0) return broken(kGifTruncated);
    if (b == 0x3B) return broken(kGifNoImage);
    if (b == 0x2C) {
      std::uint8_t d[8];
      if (!c.read(d, sizeof d)) return broken(kGifTruncated);
      const int left = static_cast<int>(readLe16(d));
      const int top = static_cast<int>(readLe16(d + 2));
      const int fw = static_cast<int>(readLe16(d + 4));
      const int fh = static_cast<int>(readLe16(d + 6));
      if (fw == 0 || fh == 0) return broken(kGifBadSize);
      // A logical screen of 0 takes the first image's extent, as decoders do.
      HeaderInfo info = sized(screenW ? screenW : left + fw, screenH ? screenH : top + fh);
      info.frameWidth = fw;
      info.frameHeight = fh;
      return info;
    }
    if (b != 0x21 || c.next() < 0) return broken(b == 0x21 ? kGifTruncated : kGifBadBlock);
    for (int len = c.next(); len != 0; len = c.next()) {  // data sub-blocks
      if (len < 0) return broken(kGifTruncated);
      c.skip(static_cast<unsigned>(len));
    }
  }
}

HeaderInfo readJpegHeader(ByteSource& src) {
  Cursor c(src, 2);  // past the start-of-image marker
  int stray = 0;
  int w = 0;
  int ht = 0;
  std::uint8_t len[2];
  for (int segments = 1;; ++segments) {
    if (segments > kMaxJpegSegmentsBeforeScan) return broken(kJpegFlood);
    const int m = nextMarker(c, stray);
    if (m == -2) return broken(kJpegFlood);
    if (m < 0 || m == 0xD9) return broken(kJpegTruncated);
    if (m == 0xD8 || m == 0x00) return broken(kJpegBadMarker);
    if (isStandalone(m)) continue;
    if (!c.read(len, 2)) return broken(kJpegTruncated);
    unsigned rest = readBe16(len);
    if (rest < 2) return broken(kJpegBadMarker);
    rest -= 2;
    if (isStartOfFrame(m) && w == 0) {
      std::uint8_t f[5];  // precision, height, width
      if (rest < 6) return broken(kJpegBadMarker);
      if (!c.read(f, sizeof f)) return broken(kJpegTruncated);
      ht = static_cast<int>(readBe16(f + 1));
      w = static_cast<int>(readBe16(f + 3));
      // A height of 0 would be given later by a DNL marker: not supported.
      if (w == 0 || ht == 0) return broken(kJpegBadSize);
      rest -= sizeof f;
    }
    c.skip(rest);
    if (m == 0xDA) {
      if (w == 0) return broken(kJpegBadMarker);
      if (c.pos() > src.size()) return broken(kJpegTruncated);
      HeaderInfo info = sized(w, ht);
      info.scanOffset = c.pos();
      return info;
    }
  }
}

std::string checkJpegScans(ByteSource& src, std::uint64_t scanOffset) {
  // Progressive files with thousands of scans are as hostile as floods before
  // the first one. A missing end marker (a truncated file) is left to the
  // decoder.
  Cursor c(src, scanOffset);
  int scans = 1;
  int markers = 0;
  std::uint8_t len[2];
  while (c.seekByte(0xFF)) {
    c.next();
    int m = c.next();
    while (m == 0xFF) m = c.next();
    if (m < 0 || m == 0xD9) return {};
    if (m == 0x00 || isStandalone(m)) continue;  // stuffed byte, restart marker
    if (++markers > kMaxJpegMarkers) return kJpegFlood;
    if (!c.read(len, 2)) return {};
    if (readBe16(len) < 2) return kJpegBadMarker;
    c.skip(readBe16(len) - 2u);
    if (m == 0xDA && ++scans > kMaxJpegScans) return kJpegScanFlood;
  }
  return {};
}

// ---- PNG ----------------------------------------------------------------------

namespace {

constexpr std::uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool isChunk(const std::uint8_t* type, const char* name) { return std::memcmp(type, name, 4) == 0; }

bool validPngColour(int type, int depth) {
  switch (type) {
    case 0:  // grey
      return depth == 1 || depth == 2 || depth == 4 || depth == 8 || depth == 16;
    case 3:  // palette
      return depth == 1 || depth == 2 || depth == 4 || depth == 8;
    case 2:  // RGB
    case 4:  // grey + alpha
    case 6:  // RGB + alpha
      return depth == 8 || depth == 16;
    default:
      return false;
  }
}

bool isLetter(std::uint8_t b) { return (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z'); }

int pngChannels(int colourType) {
  switch (colourType) {
    case 2:
      return 3;
    case 4:
      return 2;
    case 6:
      return 4;
    default:
      return 1;
  }
}

// The bytes of filtered scanlines the picture decompresses to (each row one
// filter byte plus its samples; Adam7 stores seven smaller pictures).
std::uint64_t pngRawBytes(std::uint64_t w, std::uint64_t h, int depth, int colourType, bool interlaced) {
  const std::uint64_t bits = static_cast<std::uint64_t>(depth) * static_cast<std::uint64_t>(pngChannels(colourType));
  auto picture = [bits](std::uint64_t pw, std::uint64_t ph) -> std::uint64_t {
    if (pw == 0 || ph == 0) return 0;
    const std::uint64_t row = 1 + (pw * bits + 7) / 8;
    return row > UINT64_MAX / ph ? UINT64_MAX : row * ph;
  };
  if (!interlaced) return picture(w, h);
  static constexpr int kPasses[7][4] = {{0, 0, 8, 8}, {4, 0, 8, 8}, {0, 4, 4, 8}, {2, 0, 4, 4},
                                        {0, 2, 2, 4}, {1, 0, 2, 2}, {0, 1, 1, 2}};
  std::uint64_t sum = 0;
  for (const auto& p : kPasses) {
    const std::uint64_t part = picture(w > static_cast<std::uint64_t>(p[0]) ? (w - p[0] + p[2] - 1) / p[2] : 0,
                                       h > static_cast<std::uint64_t>(p[1]) ? (h - p[1] + p[3] - 1) / p[3] : 0);
    sum = part > UINT64_MAX - sum ? UINT64_MAX : sum + part;
  }
  return sum;
}

PngChunks pngProblem(const char* problem) {
  PngChunks out;
  out.problem = problem;
  return out;
}

}  // namespace

std::uint32_t crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size) {
  static const auto table = [] {
    std::array<std::uint32_t, 256> t{};
    for (std::uint32_t n = 0; n < 256; ++n) {
      std::uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1u) ? 0xEDB88320u ^ (c >> 1u) : c >> 1u;
      t[n] = c;
    }
    return t;
  }();
  crc = ~crc;
  for (std::size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFFu] ^ (crc >> 8u);
  return ~crc;
}

HeaderInfo readPngHeader(ByteSource& src) {
  // Signature (8), then IHDR: length (4), type (4), 13 bytes of data, CRC (4).
  std::uint8_t h[33];
  if (src.readAt(0, h, sizeof h) < sizeof h) return broken(kPngTruncated);
  if (std::memcmp(h, kPngSignature, 8) != 0 || readBe32(h + 8) != 13 || !isChunk(h + 12, "IHDR"))
    return broken(kPngBadHeader);
  if (crc32(0, h + 12, 17) != readBe32(h + 29)) return broken(kPngBadCrc);
  const std::uint32_t w = readBe32(h + 16);
  const std::uint32_t ht = readBe32(h + 20);
  if (w == 0 || ht == 0 || w > INT32_MAX || ht > INT32_MAX) return broken(kPngBadSize);
  if (!validPngColour(h[25], h[24])) return broken(kPngBadColour);
  // Compression and filter method 0 are the only ones; interlace 0 or Adam7.
  if (h[26] != 0 || h[27] != 0 || h[28] > 1) return broken(kPngBadHeader);
  return sized(static_cast<int>(w), static_cast<int>(ht));
}

PngChunks collectPngChunks(ByteSource& src) {
  std::uint8_t ihdr[29];
  if (src.readAt(0, ihdr, sizeof ihdr) < sizeof ihdr) return pngProblem(kPngTruncated);
  const int colourType = ihdr[25];
  // Deflate never needs much more room than the data it holds (stored blocks
  // add 5 bytes in 65535, fixed codes at most an eighth): anything beyond a
  // quarter more is data a decoder would inflate for nothing.
  const std::uint64_t raw = pngRawBytes(readBe32(ihdr + 16), readBe32(ihdr + 20), ihdr[24], colourType, ihdr[28] == 1);
  const std::uint64_t maxImageBytes = std::min(kMaxPngImageDataBytes, raw / 4 * 5 + 65536);
  PngChunks out;
  Cursor c(src, 8);
  bool havePalette = false;
  bool haveImage = false;
  std::uint64_t imageBytes = 0;
  std::uint8_t buf[4096];
  for (int chunks = 0;; ++chunks) {
    if (chunks >= kMaxPngChunks) return pngProblem(kPngFlood);
    const std::uint64_t at = c.pos();
    std::uint8_t head[8];
    if (at == src.size() && haveImage) break;  // only IEND is missing: the image is all there
    if (!c.read(head, sizeof head)) return pngProblem(kPngTruncated);
    const std::uint32_t len = readBe32(head);
    const std::uint8_t* type = head + 4;
    if (len > INT32_MAX || !isLetter(type[0]) || !isLetter(type[1]) || !isLetter(type[2]) || !isLetter(type[3]))
      return pngProblem(kPngBadChunk);
    if (at + 12 + len > src.size()) return pngProblem(kPngTruncated);
    if (isChunk(type, "IEND")) break;
    bool keep = false;
    if (isChunk(type, "IHDR")) {
      if (chunks != 0) return pngProblem(kPngBadChunk);
      keep = true;
    } else if (isChunk(type, "PLTE")) {
      if (haveImage) return pngProblem(kPngBadChunk);
      keep = havePalette = true;
    } else if (isChunk(type, "tRNS")) {
      keep = !haveImage;  // after the image data it means nothing
    } else if (isChunk(type, "IDAT")) {
      keep = haveImage = true;
      imageBytes += len;
      if (imageBytes > maxImageBytes) return pngProblem(kPngTooMuchData);
    } else if (type[0] >= 'A' && type[0] <= 'Z') {
      return pngProblem(kPngBadChunk);  // a critical chunk no decoder knows
    }
    if (!keep) {
      c.skip(std::uint64_t{len} + 4);
      continue;
    }
    std::uint32_t crc = crc32(0, type, 4);
    for (std::uint32_t left = len; left > 0;) {
      const std::size_t n = std::min<std::uint32_t>(left, sizeof buf);
      if (!c.read(buf, n)) return pngProblem(kPngTruncated);
      crc = crc32(crc, buf, n);
      left -= static_cast<std::uint32_t>(n);
    }
    std::uint8_t stored[4];
    if (!c.read(stored, 4)) return pngProblem(kPngTruncated);
    if (crc != readBe32(stored)) return pngProblem(kPngBadCrc);
    out.keep.push_back({at, std::uint64_t{len} + 12});
  }
  if (!haveImage) return pngProblem(kPngNoImage);
  if (colourType == 3 && !havePalette) return pngProblem(kPngBadChunk);
  return out;
}

// ---- WebP ---------------------------------------------------------------------

namespace {

struct RiffChunk {
  std::uint8_t tag[4] = {};
  std::uint64_t at = 0;    // the chunk header
  std::uint32_t size = 0;  // payload bytes
  std::uint64_t payload() const { return at + 8; }
  std::uint64_t next() const { return at + 8 + size + (size & 1u); }  // payloads are padded to even
};

// The chunk at `at`, which must end by `end`; nullptr-like problem otherwise.
const char* readRiffChunk(ByteSource& src, std::uint64_t at, std::uint64_t end, RiffChunk& out) {
  std::uint8_t h[8];
  if (at + 8 > end || src.readAt(at, h, sizeof h) < sizeof h) return kWebpTruncated;
  std::memcpy(out.tag, h, 4);
  out.at = at;
  out.size = readLe32(h + 4);
  if (at + 8 + out.size > end) return kWebpTruncated;
  return nullptr;
}

bool isTag(const RiffChunk& c, const char* tag) { return std::memcmp(c.tag, tag, 4) == 0; }
bool isBitstream(const RiffChunk& c) { return isTag(c, "VP8 ") || isTag(c, "VP8L"); }

// The picture size a VP8 or VP8L bitstream's own header gives.
const char* readBitstreamSize(ByteSource& src, const RiffChunk& chunk, int& w, int& h) {
  std::uint8_t b[10] = {};
  if (isTag(chunk, "VP8L")) {
    // Signature 0x2F, then 14 bits width - 1, 14 bits height - 1, the alpha
    // hint and a 3-bit version that must be 0.
    if (chunk.size < 5) return kWebpBadHeader;
    if (src.readAt(chunk.payload(), b, 5) < 5) return kWebpTruncated;
    const std::uint32_t bits = readLe32(b + 1);
    if (b[0] != 0x2F || (bits >> 29u) != 0) return kWebpBadHeader;
    w = static_cast<int>(bits & 0x3FFFu) + 1;
    h = static_cast<int>((bits >> 14u) & 0x3FFFu) + 1;
    return nullptr;
  }
  // A key frame: the 3-byte frame tag (key frame, profile 0-3, shown, first
  // partition inside the chunk), the start code 9D 01 2A, then 14-bit width
  // and height (their top two bits are a scaling hint that decoders ignore).
  if (chunk.size < 10) return kWebpBadHeader;
  if (src.readAt(chunk.payload(), b, 10) < 10) return kWebpTruncated;
  const std::uint32_t tag = readLe24(b);
  if ((tag & 1u) != 0 || ((tag >> 1u) & 7u) > 3 || ((tag >> 4u) & 1u) == 0 || (tag >> 5u) >= chunk.size)
    return kWebpBadHeader;
  if (b[3] != 0x9D || b[4] != 0x01 || b[5] != 0x2A) return kWebpBadHeader;
  w = static_cast<int>(readLe16(b + 6) & 0x3FFFu);
  h = static_cast<int>(readLe16(b + 8) & 0x3FFFu);
  return w == 0 || h == 0 ? kWebpBadSize : nullptr;
}

// Finds the image in [from, end): an optional ALPH chunk, then the VP8 or
// VP8L chunk; other chunks are skipped (at most `budget` of them).
const char* findImage(ByteSource& src, std::uint64_t from, std::uint64_t end, int& budget, HeaderInfo& info) {
  info.webpAlpha = {};
  for (std::uint64_t at = from; at < end; --budget) {
    if (budget <= 0) return kWebpFlood;
    RiffChunk c;
    if (const char* p = readRiffChunk(src, at, end, c)) return p;
    if (isTag(c, "ALPH")) info.webpAlpha = {c.at, std::uint64_t{8} + c.size + (c.size & 1u)};
    if (isBitstream(c)) {
      info.webpImage = {c.at, std::uint64_t{8} + c.size};
      // The alpha plane belongs to lossy images only; VP8L carries its own.
      if (isTag(c, "VP8L")) info.webpAlpha = {};
      if (info.webpAlpha.size + info.webpImage.size > kMaxWebpImageDataBytes) return kWebpTooMuchData;
      return readBitstreamSize(src, c, info.frameWidth, info.frameHeight);
    }
    at = c.next();
  }
  return kWebpNoImage;
}

}  // namespace

HeaderInfo readWebpHeader(ByteSource& src) {
  std::uint8_t h[12];
  if (src.readAt(0, h, sizeof h) < sizeof h) return broken(kWebpTruncated);
  const std::uint32_t riffSize = readLe32(h + 4);
  if (std::memcmp(h, "RIFF", 4) != 0 || std::memcmp(h + 8, "WEBP", 4) != 0 || riffSize < 12)
    return broken(kWebpBadHeader);
  const std::uint64_t end = std::uint64_t{riffSize} + 8;
  if (end > src.size()) return broken(kWebpTruncated);
  RiffChunk first;
  if (const char* p = readRiffChunk(src, 12, end, first)) return broken(p);

  HeaderInfo info;
  int budget = kMaxWebpChunksBeforeImage;
  if (isBitstream(first)) {
    // A simple file: the bitstream is the picture.
    if (const char* p = findImage(src, 12, end, budget, info)) return broken(p);
    HeaderInfo out = sized(info.frameWidth, info.frameHeight);
    out.frameWidth = info.frameWidth;
    out.frameHeight = info.frameHeight;
    out.webpImage = info.webpImage;
    return out;
  }
  if (!isTag(first, "VP8X") || first.size != 10) return broken(kWebpBadHeader);
  // Flags, 3 reserved bytes, then the canvas width - 1 and height - 1 in 24 bits each.
  std::uint8_t x[10];
  if (src.readAt(first.payload(), x, sizeof x) < sizeof x) return broken(kWebpTruncated);
  const std::int64_t canvasW = std::int64_t{readLe24(x + 4)} + 1;
  const std::int64_t canvasH = std::int64_t{readLe24(x + 7)} + 1;
  info.animated = (x[0] & 0x02u) != 0;
  if (!info.animated) {
    if (const char* p = findImage(src, first.next(), end, budget, info)) return broken(p);
    if (info.frameWidth != canvasW || info.frameHeight != canvasH) return broken(kWebpBadSize);
  } else {
    // The first ANMF chunk: x / 2, y / 2, width - 1, height - 1 (24 bits
    // each), the duration (24 bits) and a flags byte, then the frame's own
    // ALPH and VP8 / VP8L chunks.
    RiffChunk c;
    for (std::uint64_t at = first.next();; at = c.next(), --budget) {
      if (budget <= 0) return broken(kWebpFlood);
      if (at >= end) return broken(kWebpNoImage);
      if (const char* p = readRiffChunk(src, at, end, c)) return broken(p);
      if (isTag(c, "ANMF")) break;
    }
    std::uint8_t f[16];
    if (c.size < sizeof f + 8) return broken(kWebpBadChunk);
    if (src.readAt(c.payload(), f, sizeof f) < sizeof f) return broken(kWebpTruncated);
    info.frameLeft = static_cast<int>(readLe24(f) * 2);
    info.frameTop = static_cast<int>(readLe24(f + 3) * 2);
    const std::int64_t frameW = std::int64_t{readLe24(f + 6)} + 1;
    const std::int64_t frameH = std::int64_t{readLe24(f + 9)} + 1;
    if (info.frameLeft + frameW > canvasW || info.frameTop + frameH > canvasH) return broken(kWebpBadSize);
    if (const char* p = findImage(src, c.payload() + sizeof f, c.payload() + c.size, budget, info)) return broken(p);
    if (info.frameWidth != frameW || info.frameHeight != frameH) return broken(kWebpBadSize);
  }
  HeaderInfo out = info;
  out.valid = true;
  out.width = clampToInt(canvasW);
  out.height = clampToInt(canvasH);
  return out;
}

HeaderInfo readPictureHeader(ByteSource& src, PictureFormat format) {
  switch (format) {
    case PictureFormat::Bmp:
      return readBmpHeader(src);
    case PictureFormat::Gif:
      return readGifHeader(src);
    case PictureFormat::Jpeg:
      return readJpegHeader(src);
    case PictureFormat::Png:
      return readPngHeader(src);
    case PictureFormat::Webp:
      return readWebpHeader(src);
    default:
      return broken(refusalMessage(format).c_str());
  }
}

}  // namespace intake
