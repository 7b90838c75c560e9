#include "intake/picture_loader.h"

#include <algorithm>

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

#include "intake/image_adapter.h"
#include "intake/picture_header.h"

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

LoadResult tooLarge(int w, int h) {
  LoadResult r;
  r.status = LoadStatus::TooLarge;
  r.width = w;
  r.height = h;
  r.message = kTooLargeMessage;
  return r;
}

bool withinLimit(int w, int h) { return w <= kMaxWidth && h <= kMaxHeight; }

const char* qtFormatOf(PictureFormat format) {
  switch (format) {
    case PictureFormat::Bmp:
      return "bmp";
    case PictureFormat::Jpeg:
      return "jpeg";
    default:
      return "gif";
  }
}

// 1. Decide the format from the bytes; 2. read the size from our own header
// reader and refuse before decoding; 3. bound the JPEG structure; 4. decode
// with Qt forced to that one format; 5. check the decoded size again.
LoadResult loadFromDevice(QIODevice& dev) {
  DeviceSource src(dev);
  const PictureFormat format = sniffFormat(src);
  if (format != PictureFormat::Bmp && format != PictureFormat::Jpeg && format != PictureFormat::Gif)
    return refused(refusalMessage(format));
  const HeaderInfo header = readPictureHeader(src, format);
  if (!header.valid) return refused(header.problem);
  if (!withinLimit(header.width, header.height)) return tooLarge(header.width, header.height);
  // A first GIF image larger than the limit is clipped to the screen by the
  // decoder, but would still be decompressed whole.
  if (!withinLimit(header.frameWidth, header.frameHeight))
    return tooLarge(std::max(header.width, header.frameWidth), std::max(header.height, header.frameHeight));
  if (format == PictureFormat::Jpeg) {
    std::string problem = checkJpegScans(src, header.scanOffset);
    if (!problem.empty()) return refused(std::move(problem), header.width, header.height);
  }
  if (!dev.seek(0)) return refused(kCannotOpenMessage);
  QImageReader::setAllocationLimit(kDecodeAllocationLimitMiB);
  QImageReader reader(&dev, qtFormatOf(format));
  reader.setAutoDetectImageFormat(false);
  reader.setAutoTransform(false);  // keep the stored orientation: its size is the one checked
  QImage image;
  if (!reader.read(&image) || image.isNull()) return refused(kDecodeFailedMessage, header.width, header.height);
  return loadPictureImage(image);
}

}  // namespace

LoadResult loadPictureFile(const std::string& path) {
  const QString name = QString::fromStdString(path);
  if (name.isEmpty() || !QFileInfo(name).isFile()) {
    LoadResult r;
    r.status = LoadStatus::NotFound;
    r.message = kNotFoundMessage;
    return r;
  }
  QFile file(name);
  if (!file.open(QIODevice::ReadOnly)) return refused(kCannotOpenMessage);
  return loadFromDevice(file);
}

LoadResult loadPictureData(const QByteArray& bytes) {
  QBuffer buffer;
  buffer.setData(bytes);
  buffer.open(QIODevice::ReadOnly);
  return loadFromDevice(buffer);
}

LoadResult loadPictureImage(const QImage& image) {
  if (image.isNull()) return refused(kNoPictureMessage);
  if (!withinLimit(image.width(), image.height())) return tooLarge(image.width(), image.height());
  LoadResult r;
  r.status = LoadStatus::Loaded;
  r.picture = intake::fromQImage(image);
  r.width = image.width();
  r.height = image.height();
  return r;
}

}  // namespace intake
