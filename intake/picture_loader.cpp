#include "intake/picture_loader.h"

#include <algorithm>
#include <cstring>
#include <initializer_list>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include <webp/decode.h>

#include "intake/image_adapter.h"
#include "intake/picture_header.h"
#include "intake/transparency.h"

namespace intake {

namespace {

constexpr const char* kCannotOpenMessage =
    QT_TRANSLATE_NOOP("Pictorell", "ファイルを開けませんでした。(読み取りの権限がないか、使用中です)");
constexpr const char* kDecodeFailedMessage =
    QT_TRANSLATE_NOOP("Pictorell", "画像を読み込めませんでした。(ファイルが壊れているか、対応していない種類です)");
constexpr const char* kNoPictureMessage = QT_TRANSLATE_NOOP("Pictorell", "画像がありません。");

// Reads a QIODevice in place; the header readers seek freely.
class DeviceSource final : public ByteSource {
 public:
  explicit DeviceSource(QIODevice& dev) : dev_(dev) {}
  std::uint64_t size() const override { return static_cast<std::uint64_t>(dev_.size()); }
  std::size_t readAt(std::uint64_t offset, std::uint8_t* out, std::size_t n) override {
    if (offset >= size() || !dev_.seek(static_cast<qint64>(offset))) return 0;
    const qint64 got = dev_.read(reinterpret_cast<char*>(out), static_cast<qint64>(n));
    return got > 0 ? static_cast<std::size_t>(got) : 0;
  }

 private:
  QIODevice& dev_;
};

LoadResult refused(std::string message, int w = 0, int h = 0) {
  LoadResult r;
  r.status = LoadStatus::Unreadable;
  r.message = std::move(message);
  r.width = w;
  r.height = h;
  return r;
}

LoadResult tooLarge(int w, int h, const SizeLimit& limit) {
  LoadResult r;
  r.status = LoadStatus::TooLarge;
  r.width = w;
  r.height = h;
  r.message = limit.message;
  return r;
}

bool withinLimit(int w, int h, const SizeLimit& limit) { return w <= limit.width && h <= limit.height; }

const char* qtFormatOf(PictureFormat format) {
  switch (format) {
    case PictureFormat::Bmp:
      return "bmp";
    case PictureFormat::Jpeg:
      return "jpeg";
    case PictureFormat::Png:
      return "png";
    default:
      return "gif";
  }
}

bool isDecoded(PictureFormat format) {
  return format == PictureFormat::Bmp || format == PictureFormat::Jpeg || format == PictureFormat::Gif ||
         format == PictureFormat::Png || format == PictureFormat::Webp;
}

// The bytes of the ranges, one after another; false when a read falls short.
bool readRanges(QIODevice& dev, std::initializer_list<ByteRange> ranges, QByteArray& out) {
  for (const ByteRange& r : ranges) {
    if (r.size == 0) continue;
    if (!dev.seek(static_cast<qint64>(r.offset))) return false;
    const QByteArray part = dev.read(static_cast<qint64>(r.size));
    if (part.size() != static_cast<qsizetype>(r.size)) return false;
    out += part;
  }
  return true;
}

// A PNG holding only what is drawn: the signature, the chunks the header
// walk kept (CRCs checked) and an IEND.
bool assemblePng(QIODevice& dev, const PngChunks& chunks, QByteArray& out) {
  out = QByteArray("\x89PNG\r\n\x1A\n", 8);
  for (const ByteRange& r : chunks.keep)
    if (!readRanges(dev, {r}, out)) return false;
  out += QByteArray("\0\0\0\0IEND\xAE\x42\x60\x82", 12);
  return true;
}

// The first image of a WebP with libwebp: the ALPH and VP8 / VP8L chunks the
// header found, decoded unpremultiplied, and for an animation placed on a
// transparent canvas (an animation's background colour is only a hint, which
// players ignore). A null image when the bitstream does not decode.
QImage decodeWebp(QIODevice& dev, const HeaderInfo& h) {
  QByteArray data;
  if (!readRanges(dev, {h.webpAlpha, h.webpImage}, data)) return {};
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(data.constData());
  const auto size = static_cast<std::size_t>(data.size());
  WebPDecoderConfig config;
  if (!WebPInitDecoderConfig(&config) || WebPGetFeatures(bytes, size, &config.input) != VP8_STATUS_OK) return {};
  if (config.input.width != h.frameWidth || config.input.height != h.frameHeight) return {};
  QImage frame(h.frameWidth, h.frameHeight, QImage::Format_ARGB32);
  if (frame.isNull()) return {};
  // Qt's ARGB32 is B, G, R, A in memory on the little-endian machines we build for.
  static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN);
  config.output.colorspace = MODE_BGRA;
  config.output.is_external_memory = 1;
  config.output.u.RGBA.rgba = frame.bits();
  config.output.u.RGBA.stride = static_cast<int>(frame.bytesPerLine());
  config.output.u.RGBA.size = static_cast<std::size_t>(frame.sizeInBytes());
  const VP8StatusCode status = WebPDecode(bytes, size, &config);
  WebPFreeDecBuffer(&config.output);
  if (status != VP8_STATUS_OK) return {};
  if (frame.width() == h.width && frame.height() == h.height) return frame;
  QImage canvas(h.width, h.height, QImage::Format_ARGB32);
  if (canvas.isNull()) return {};
  canvas.fill(0);
  for (int y = 0; y < frame.height(); ++y)
    std::memcpy(canvas.scanLine(h.frameTop + y) + std::size_t{4} * static_cast<std::size_t>(h.frameLeft),
                frame.constScanLine(y), std::size_t{4} * static_cast<std::size_t>(frame.width()));
  return canvas;
}

// 1. Decide the format from the bytes; 2. read the size from our own header
// reader and refuse before decoding; 3. bound the JPEG structure; 4. decode
// with Qt forced to that one format; 5. check the decoded size again.
LoadResult loadFromDevice(QIODevice& dev, const SizeLimit& limit) {
  DeviceSource src(dev);
  const PictureFormat format = sniffFormat(src);
  if (!isDecoded(format)) return refused(refusalMessage(format));
  const HeaderInfo header = readPictureHeader(src, format);
  if (!header.valid) return refused(header.problem);
  if (!withinLimit(header.width, header.height, limit)) return tooLarge(header.width, header.height, limit);
  // A first GIF image larger than the limit is clipped to the screen by the
  // decoder, but would still be decompressed whole. (A WebP frame lies
  // inside its canvas; the header reader made sure of that.)
  if (!withinLimit(header.frameWidth, header.frameHeight, limit))
    return tooLarge(std::max(header.width, header.frameWidth), std::max(header.height, header.frameHeight), limit);
  if (format == PictureFormat::Jpeg) {
    std::string problem = checkJpegScans(src, header.scanOffset);
    if (!problem.empty()) return refused(std::move(problem), header.width, header.height);
  }
  if (format == PictureFormat::Webp) {
    const QImage image = decodeWebp(dev, header);
    if (image.isNull()) return refused(kDecodeFailedMessage, header.width, header.height);
    return loadPictureImage(image, limit);
  }
  QIODevice* input = &dev;
  QBuffer pngBuffer;
  if (format == PictureFormat::Png) {
    const PngChunks chunks = collectPngChunks(src);
    if (!chunks.problem.empty()) return refused(chunks.problem, header.width, header.height);
    QByteArray png;
    if (!assemblePng(dev, chunks, png)) return refused(kCannotOpenMessage);
    pngBuffer.setData(png);
    pngBuffer.open(QIODevice::ReadOnly);
    input = &pngBuffer;
  }
  if (!input->seek(0)) return refused(kCannotOpenMessage);
  QImageReader::setAllocationLimit(kDecodeAllocationLimitMiB);
  QImageReader reader(input, qtFormatOf(format));
  reader.setAutoDetectImageFormat(false);
  reader.setAutoTransform(false);  // keep the stored orientation: its size is the one checked
  QImage image;
  if (!reader.read(&image) || image.isNull()) return refused(kDecodeFailedMessage, header.width, header.height);
  return loadPictureImage(image, limit);
}

}  // namespace

core::Picture toOpaquePicture(const QImage& image) {
  if (!image.hasAlphaChannel()) return fromQImage(image);
  const QImage argb = image.convertToFormat(QImage::Format_ARGB32);
  bool opaque = true;
  for (int y = 0; y < argb.height() && opaque; ++y) {
    const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
    for (int x = 0; x < argb.width(); ++x)
      if (qAlpha(row[x]) != 255) {
        opaque = false;
        break;
      }
  }
  if (opaque) return fromQImage(image);
  // Rows of Format_ARGB32 are whole 32-bit words with no padding.
  static_assert(sizeof(QRgb) == sizeof(std::uint32_t));
  Flattened flat =
      flattenTransparency(reinterpret_cast<const std::uint32_t*>(argb.constBits()), argb.width(), argb.height());
  return core::Picture::fromBitmap(std::move(flat.bitmap));
}

LoadResult loadPictureFile(const std::string& path, const SizeLimit& limit) {
  const QString name = QString::fromStdString(path);
  if (name.isEmpty() || !QFileInfo(name).isFile()) {
    LoadResult r;
    r.status = LoadStatus::NotFound;
    r.message = kNotFoundMessage;
    return r;
  }
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return refused(kCannotOpenMessage);
  return loadFromDevice(file, limit);
}

LoadResult loadPictureData(const QByteArray& bytes, const SizeLimit& limit) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  return loadFromDevice(buffer, limit);
}

LoadResult loadPictureImage(const QImage& image, const SizeLimit& limit) {
  if (image.isNull()) return refused(kNoPictureMessage);
  if (!withinLimit(image.width(), image.height(), limit)) return tooLarge(image.width(), image.height(), limit);
  LoadResult r;
  r.status = LoadStatus::Loaded;
  r.picture = toOpaquePicture(image);
  r.width = image.width();
  r.height = image.height();
  return r;
}

}  // namespace intake
