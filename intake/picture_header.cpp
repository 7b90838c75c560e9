#include "intake/picture_header.h"

#include <algorithm>
#include <climits>
#include <cstring>

// These readers stay free of Qt, yet their messages belong to the program's
// translation catalogue: lupdate reads the same marker as Qt defines it.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

namespace intake {

namespace {

// The texts shown when a header gives up; each says what was wrong.
constexpr const char* kUnknownFormat =
    QT_TRANSLATE_NOOP("Pictorell", "画像ファイルではないか、対応していない形式です。(対応形式: BMP・JPEG・GIF)");
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

unsigned le16(const std::uint8_t* p) { return p[0] | (p[1] << 8u); }
std::uint32_t le32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8u) | (p[2] << 16u) | (static_cast<std::uint32_t>(p[3]) << 24u);
}
unsigned be16(const std::uint8_t* p) { return (p[0] << 8u) | p[1]; }

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
      return {};
    case PictureFormat::Empty:
      return kEmptyFile;
    case PictureFormat::Png:
      return QT_TRANSLATE_NOOP("Pictorell", "PNG 形式の画像には対応していません。(対応形式: BMP・JPEG・GIF)");
    case PictureFormat::Tiff:
      return QT_TRANSLATE_NOOP("Pictorell", "TIFF 形式の画像には対応していません。(対応形式: BMP・JPEG・GIF)");
    case PictureFormat::Webp:
      return QT_TRANSLATE_NOOP("Pictorell", "WebP 形式の画像には対応していません。(対応形式: BMP・JPEG・GIF)");
    case PictureFormat::Os2Array:
      return QT_TRANSLATE_NOOP("Pictorell", "OS/2 のビットマップ配列には対応していません。(対応形式: BMP・JPEG・GIF)");
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
  const std::uint32_t infoSize = le32(h + 14);
  std::int64_t w = 0;
  std::int64_t ht = 0;
  if (infoSize == 12) {
    if (n < 22) return broken(kBmpTruncated);
    w = le16(h + 18);
    ht = le16(h + 20);
  } else if (infoSize >= 16) {
    if (n < 26) return broken(kBmpTruncated);
    w = static_cast<std::int32_t>(le32(h + 18));
    ht = static_cast<std::int32_t>(le32(h + 22));
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
  const int screenW = static_cast<int>(le16(h + 6));
  const int screenH = static_cast<int>(le16(h + 8));
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
      const int left = static_cast<int>(le16(d));
      const int top = static_cast<int>(le16(d + 2));
      const int fw = static_cast<int>(le16(d + 4));
      const int fh = static_cast<int>(le16(d + 6));
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
    unsigned rest = be16(len);
    if (rest < 2) return broken(kJpegBadMarker);
    rest -= 2;
    if (isStartOfFrame(m) && w == 0) {
      std::uint8_t f[5];  // precision, height, width
      if (rest < 6) return broken(kJpegBadMarker);
      if (!c.read(f, sizeof f)) return broken(kJpegTruncated);
      ht = static_cast<int>(be16(f + 1));
      w = static_cast<int>(be16(f + 3));
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
    if (be16(len) < 2) return kJpegBadMarker;
    c.skip(be16(len) - 2u);
    if (m == 0xDA && ++scans > kMaxJpegScans) return kJpegScanFlood;
  }
  return {};
}

HeaderInfo readPictureHeader(ByteSource& src, PictureFormat format) {
  switch (format) {
    case PictureFormat::Bmp:
      return readBmpHeader(src);
    case PictureFormat::Gif:
      return readGifHeader(src);
    case PictureFormat::Jpeg:
      return readJpegHeader(src);
    default:
      return broken(refusalMessage(format).c_str());
  }
}

}  // namespace intake
