#include "app/picture_loader.h"

#include <QFileInfo>
#include <QImageReader>

#include "app/image_adapter.h"

namespace intake {

namespace {

LoadResult tooLarge(int w, int h) {
  LoadResult r;
  r.status = LoadStatus::TooLarge;
  r.width = w;
  r.height = h;
  r.message = kTooLargeMessage;
  return r;
}

bool withinLimit(int w, int h) { return w <= kMaxWidth && h <= kMaxHeight; }

}  // namespace

LoadResult loadPictureFile(const std::string& path) {
  const QString name = QString::fromStdString(path);
  if (name.isEmpty() || !QFileInfo(name).isFile()) {
    LoadResult r;
    r.status = LoadStatus::NotFound;
    r.message = kNotFoundMessage;
    return r;
  }
  QImageReader reader(name);
  reader.setDecideFormatFromContent(true);
  const QByteArray format = reader.format();
  if (format != "bmp" && format != "jpeg" && format != "gif") {
    LoadResult r;
    r.message = "対応していない画像形式です。";
    return r;
  }
  const QSize declared = reader.size();
  if (declared.isValid() && !withinLimit(declared.width(), std::abs(declared.height())))
    return tooLarge(declared.width(), std::abs(declared.height()));
  QImage image = reader.read();
  if (image.isNull()) {
    LoadResult r;
    r.message = reader.errorString().toStdString();
    return r;
  }
  return loadPictureImage(image);
}

LoadResult loadPictureImage(const QImage& image) {
  if (!withinLimit(image.width(), image.height())) return tooLarge(image.width(), image.height());
  LoadResult r;
  r.status = LoadStatus::Loaded;
  r.picture = app::fromQImage(image);
  r.width = image.width();
  r.height = image.height();
  return r;
}

}  // namespace intake
