#include "intake/picture_loader.h"

#include <gtest/gtest.h>

#include <gif_lib.h>

#include <map>

#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QtEndian>

#include "testutil.h"

namespace {

using intake::LoadStatus;

// Distinct colours in every corner, so flips and swaps show.
QImage banner(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(qRgb(40, 80, 120));
  img.setPixel(0, 0, qRgb(255, 0, 0));
  img.setPixel(w - 1, 0, qRgb(0, 255, 0));
  img.setPixel(0, h - 1, qRgb(0, 0, 255));
  return img;
}

int appendToByteArray(GifFileType* gif, const GifByteType* data, int len) {
  static_cast<QByteArray*>(gif->UserData)->append(reinterpret_cast<const char*>(data), len);
  return len;
}

// Qt reads GIFs but cannot write them: giflib does, for pictures of at most
// 256 colours.
QByteArray encodeGif(const QImage& img) {
  std::map<QRgb, int> index;
  for (int y = 0; y < img.height(); ++y)
    for (int x = 0; x < img.width(); ++x) index.emplace(img.pixel(x, y), 0);
  ColorMapObject* map = GifMakeMapObject(256, nullptr);
  int n = 0;
  for (auto& [rgb, i] : index) {
    i = n;
    map->Colors[n++] = GifColorType{static_cast<GifByteType>(qRed(rgb)), static_cast<GifByteType>(qGreen(rgb)),
                                    static_cast<GifByteType>(qBlue(rgb))};
  }
  QByteArray bytes;
  int err = 0;
  GifFileType* gif = EGifOpen(&bytes, appendToByteArray, &err);
  EGifSetGifVersion(gif, true);
  EXPECT_EQ(EGifPutScreenDesc(gif, img.width(), img.height(), 8, 0, map), GIF_OK);
  EXPECT_EQ(EGifPutImageDesc(gif, 0, 0, img.width(), img.height(), false, nullptr), GIF_OK);
  std::vector<GifPixelType> line(static_cast<std::size_t>(img.width()));
  for (int y = 0; y < img.height(); ++y) {
    for (int x = 0; x < img.width(); ++x)
      line[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(index[img.pixel(x, y)]);
    EXPECT_EQ(EGifPutLine(gif, line.data(), img.width()), GIF_OK);
  }
  EXPECT_EQ(EGifCloseFile(gif, &err), GIF_OK);
  GifFreeMapObject(map);
  return bytes;
}

QByteArray encode(const QImage& img, const char* format) {
  if (std::string_view(format) == "GIF") return encodeGif(img);
  QByteArray bytes;
  QBuffer buf(&bytes);
  buf.open(QIODevice::WriteOnly);
  EXPECT_TRUE(img.save(&buf, format)) << format;
  return bytes;
}

class PictureLoader : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const QByteArray& bytes) {
    const std::string path = (dir_ / name).string();
    QFile f(QString::fromStdString(path));
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
    return path;
  }
  std::filesystem::path dir_ = testutil::makeTempDir("picture_loader");
};

TEST_F(PictureLoader, SizeLimitIsInclusiveInEveryFormat) {
  for (const char* fmt : {"BMP", "JPEG", "GIF", "PNG", "WEBP"}) {
    SCOPED_TRACE(fmt);
    const auto ok = intake::loadPictureData(encode(banner(1000, 200), fmt));
    ASSERT_EQ(ok.status, LoadStatus::Loaded) << ok.message;
    EXPECT_EQ(ok.picture.width(), 1000);
    EXPECT_EQ(ok.picture.height(), 200);
    for (const QSize over : {QSize(1001, 200), QSize(1000, 201)}) {
      const auto r = intake::loadPictureData(encode(banner(over.width(), over.height()), fmt));
      EXPECT_EQ(r.status, LoadStatus::TooLarge);
      EXPECT_EQ(r.message, "画像が大きすぎます。(～1000x200pixels)");
      EXPECT_EQ(r.width, over.width());
      EXPECT_EQ(r.height, over.height());
    }
  }
}

// With large pictures allowed the limit is 1200 x 1200, with its own message;
// a file over it is refused from its header, so a body cut off after the
// header still reads as too large rather than as broken.
TEST_F(PictureLoader, LargeLimitIsInclusiveInEveryFormatAndRefusedFromTheHeader) {
  for (const char* fmt : {"BMP", "JPEG", "GIF", "PNG", "WEBP"}) {
    SCOPED_TRACE(fmt);
    const auto ok = intake::loadPictureData(encode(banner(1200, 1200), fmt), intake::kLargeLimit);
    ASSERT_EQ(ok.status, LoadStatus::Loaded) << ok.message;
    EXPECT_EQ(ok.picture.width(), 1200);
    EXPECT_EQ(ok.picture.height(), 1200);
    const bool lossy = std::string_view(fmt) == "JPEG" || std::string_view(fmt) == "WEBP";
    if (!lossy) {
      EXPECT_EQ(ok.picture.pixel(1199, 0), core::rgb(0, 255, 0));
    }
    const auto banner300 = intake::loadPictureData(encode(banner(300, 250), fmt));
    EXPECT_EQ(banner300.status, LoadStatus::TooLarge);
    EXPECT_EQ(banner300.message, "画像が大きすぎます。(～1000x200pixels)");
    for (const QSize over : {QSize(1201, 1200), QSize(1200, 1201)}) {
      const QByteArray bytes = encode(banner(over.width(), over.height()), fmt);
      // (A WebP's header reader wants its whole first image chunk.)
      QList<QByteArray> claims{bytes};
      if (std::string_view(fmt) != "WEBP") claims << bytes.left(1024);
      for (const QByteArray& claimed : claims) {
        const auto r = intake::loadPictureData(claimed, intake::kLargeLimit);
        EXPECT_EQ(r.status, LoadStatus::TooLarge);
        EXPECT_EQ(r.message, "画像が大きすぎます。(～1200x1200pixels)");
        EXPECT_EQ(r.width, over.width());
        EXPECT_EQ(r.height, over.height());
      }
    }
  }
  const intake::LoadResult pasted = intake::loadPictureImage(banner(1200, 1201), intake::kLargeLimit);
  EXPECT_EQ(pasted.message, "画像が大きすぎます。(～1200x1200pixels)");
  EXPECT_EQ(intake::loadPictureImage(banner(160, 600), intake::kLargeLimit).status, LoadStatus::Loaded);
}

// Qt writes bottom-up rows; flipping them and negating the stored height
// gives the same picture stored top-down.
QByteArray topDownBmp(const QImage& img) {
  QByteArray b = encode(img, "BMP");
  const auto at = [&](int off) { return qFromLittleEndian<qint32>(b.constData() + off); };
  const int offset = at(10);
  const int stride = b.size() - offset;
  const int rowBytes = stride / img.height();
  QByteArray rows = b.mid(offset);
  for (int y = 0; y < img.height(); ++y)
    b.replace(offset + y * rowBytes, rowBytes, rows.mid((img.height() - 1 - y) * rowBytes, rowBytes));
  char negative[4];
  qToLittleEndian<qint32>(-at(22), negative);
  b.replace(22, 4, negative, 4);
  return b;
}

TEST_F(PictureLoader, TopDownBmpsKeepTheirOrientationAndTheLimit) {
  const auto r = intake::loadPictureFile(write("top down.bmp", topDownBmp(banner(468, 60))));
  ASSERT_EQ(r.status, LoadStatus::Loaded) << r.message;
  EXPECT_EQ(r.picture.height(), 60);
  EXPECT_EQ(r.picture.pixel(0, 0), core::rgb(255, 0, 0));
  EXPECT_EQ(r.picture.pixel(467, 0), core::rgb(0, 255, 0));
  EXPECT_EQ(r.picture.pixel(0, 59), core::rgb(0, 0, 255));
  const auto over = intake::loadPictureData(topDownBmp(banner(1000, 201)));
  EXPECT_EQ(over.status, LoadStatus::TooLarge);
  EXPECT_EQ(over.height, 201);
}

TEST_F(PictureLoader, DecidesByContentNotByName) {
  const auto gifAsBmp = intake::loadPictureFile(write("banner.bmp", encode(banner(468, 60), "GIF")));
  ASSERT_EQ(gifAsBmp.status, LoadStatus::Loaded) << gifAsBmp.message;
  EXPECT_EQ(gifAsBmp.picture.pixel(0, 0), core::rgb(255, 0, 0));
  const auto png = intake::loadPictureFile(write("png.jpg", encode(banner(468, 60), "PNG")));
  ASSERT_EQ(png.status, LoadStatus::Loaded) << png.message;
  EXPECT_EQ(png.picture.pixel(467, 0), core::rgb(0, 255, 0));
  const auto webp = intake::loadPictureFile(write("webp.bmp", encode(banner(468, 60), "WEBP")));
  ASSERT_EQ(webp.status, LoadStatus::Loaded) << webp.message;
  EXPECT_EQ(webp.width, 468);
  const auto tiff = intake::loadPictureData(encode(banner(468, 60), "TIFF"));
  EXPECT_EQ(tiff.status, LoadStatus::Unreadable);
  EXPECT_EQ(tiff.message, "TIFF 形式の画像には対応していません。(対応形式: BMP・JPEG・GIF・PNG・WebP)");
  EXPECT_EQ(intake::loadPictureFile(write("empty.gif", {})).message, "ファイルが空です。(0 バイト)");
  const auto text = intake::loadPictureFile(write("note.bmp", "plain words\n"));
  EXPECT_EQ(text.status, LoadStatus::Unreadable);
  EXPECT_EQ(text.message, "画像ファイルではないか、対応していない形式です。(対応形式: BMP・JPEG・GIF・PNG・WebP)");
}

TEST_F(PictureLoader, MissingFilesAndPathsWithJapaneseAndSpaces) {
  const auto none = intake::loadPictureFile((dir_ / "no such.bmp").string());
  EXPECT_EQ(none.status, LoadStatus::NotFound);
  EXPECT_EQ(none.message, "ファイルが見つかりません。");
  EXPECT_EQ(intake::loadPictureFile("").status, LoadStatus::NotFound);
  EXPECT_EQ(intake::loadPictureFile(dir_.string()).status, LoadStatus::NotFound);  // a folder
  const auto jp = intake::loadPictureFile(write("バナー 画像.jpg", encode(banner(468, 60), "JPEG")));
  ASSERT_EQ(jp.status, LoadStatus::Loaded) << jp.message;
  EXPECT_EQ(jp.width, 468);
}

// Inserts `count` comment segments after the start marker.
QByteArray withComments(QByteArray jpeg, int count) {
  QByteArray com;
  for (int i = 0; i < count; ++i) com.append("\xFF\xFE\x00\x03x", 5);
  return jpeg.insert(2, com);
}

TEST_F(PictureLoader, JpegMarkerFloodIsRefusedBeforeDecoding) {
  const QByteArray jpeg = encode(banner(468, 60), "JPEG");
  EXPECT_EQ(intake::loadPictureData(withComments(jpeg, 20)).status, LoadStatus::Loaded);
  const auto flood = intake::loadPictureData(withComments(jpeg, 200000));
  EXPECT_EQ(flood.status, LoadStatus::Unreadable);
  EXPECT_EQ(flood.message, "JPEG ファイルの構造が不正です。(マーカーが多すぎます)");
}

TEST_F(PictureLoader, TruncatedFilesNeverCrash) {
  for (const char* fmt : {"BMP", "JPEG", "GIF", "PNG", "WEBP"}) {
    const QByteArray whole = encode(banner(468, 60), fmt);
    for (int len : {1, 10, 30, static_cast<int>(whole.size() / 2), static_cast<int>(whole.size() - 1)}) {
      const auto r = intake::loadPictureData(whole.left(len));
      if (r.status == LoadStatus::Loaded) {
        EXPECT_EQ(r.picture.width(), 468) << fmt << " " << len;
      } else {
        EXPECT_FALSE(r.message.empty()) << fmt << " " << len;
      }
    }
  }
}

TEST(ClipboardPicture, GoesThroughTheSameSizeCheck) {
  EXPECT_EQ(intake::loadPictureImage(banner(1001, 200)).status, LoadStatus::TooLarge);
  const auto r = intake::loadPictureImage(banner(1000, 200));
  ASSERT_EQ(r.status, LoadStatus::Loaded);
  EXPECT_EQ(r.picture.pixel(999, 0), core::rgb(0, 255, 0));
  const auto null = intake::loadPictureImage(QImage());
  EXPECT_EQ(null.status, LoadStatus::Unreadable);
  EXPECT_FALSE(null.message.empty());
}

}  // namespace
