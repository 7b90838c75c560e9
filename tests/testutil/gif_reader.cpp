#include <gtest/gtest.h>

#include "gif_reader.h"

#include <gif_lib.h>

#include <QImage>
#include <QImageReader>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace outtest {
namespace {

struct GifCloser {
  void operator()(GifFileType* g) const {
    int err = 0;
    DGifCloseFile(g, &err);
  }
};

core::Color colourAt(const ColorMapObject* map, int index) {
  if (!map || index < 0 || index >= map->ColorCount) return 0xFF00FF;  // visible as an error
  const GifColorType& c = map->Colors[index];
  return core::rgb(c.Red, c.Green, c.Blue);
}

void readExtensions(const SavedImage& image, GifFrameInfo& info, int& loopCount) {
  for (int e = 0; e < image.ExtensionBlockCount; ++e) {
    const ExtensionBlock& block = image.ExtensionBlocks[e];
    if (block.Function == GRAPHICS_EXT_FUNC_CODE) {
      GraphicsControlBlock gcb;
      if (DGifExtensionToGCB(static_cast<size_t>(block.ByteCount), block.Bytes, &gcb) == GIF_OK) {
        info.delay = gcb.DelayTime;
        info.disposal = gcb.DisposalMode;
        info.transparent = gcb.TransparentColor;
      }
    } else if (block.Function == APPLICATION_EXT_FUNC_CODE && block.ByteCount == 11 &&
               std::string(reinterpret_cast<const char*>(block.Bytes), 11) == "NETSCAPE2.0" && e + 1 < image.ExtensionBlockCount) {
      const ExtensionBlock& data = image.ExtensionBlocks[e + 1];
      if (data.ByteCount == 3 && data.Bytes[0] == 1) loopCount = data.Bytes[1] | data.Bytes[2] << 8;
    }
  }
}

}  // namespace

std::optional<DecodedGif> readGifWithGiflib(const std::string& path) {
  int err = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpenFileName(path.c_str(), &err));
  if (!gif || DGifSlurp(gif.get()) != GIF_OK) return std::nullopt;
  DecodedGif out;
  {
    std::FILE* f = std::fopen(path.c_str(), "rb");
    char sig[7] = {};
    if (f && std::fread(sig, 1, 6, f) == 6) out.version = sig;
    if (f) std::fclose(f);
  }
  out.width = gif->SWidth;
  out.height = gif->SHeight;
  out.globalColours = gif->SColorMap ? gif->SColorMap->ColorCount : 0;
  core::Bitmap canvas(out.width, out.height, colourAt(gif->SColorMap, gif->SBackGroundColor));
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    GifFrameInfo info;
    info.left = image.ImageDesc.Left;
    info.top = image.ImageDesc.Top;
    info.width = image.ImageDesc.Width;
    info.height = image.ImageDesc.Height;
    info.localPalette = image.ImageDesc.ColorMap != nullptr;
    readExtensions(image, info, out.loopCount);
    const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    std::vector<core::Color>& palette = out.palettes.emplace_back();
    for (int c = 0; map && c < map->ColorCount; ++c) palette.push_back(colourAt(map, c));
    const core::Bitmap before = canvas;
    for (int y = 0; y < info.height; ++y) {
      for (int x = 0; x < info.width; ++x) {
        const int index = image.RasterBits[y * info.width + x];
        const int cx = info.left + x, cy = info.top + y;
        if (index == info.transparent || cx >= out.width || cy >= out.height) continue;
        canvas.row(cy)[cx] = colourAt(map, index);
      }
    }
    out.frames.push_back(canvas);
    out.info.push_back(info);
    if (info.disposal == DISPOSE_BACKGROUND) {
      for (int y = info.top; y < std::min(out.height, info.top + info.height); ++y) {
        for (int x = info.left; x < std::min(out.width, info.left + info.width); ++x) {
          canvas.row(y)[x] = colourAt(gif->SColorMap, gif->SBackGroundColor);
        }
      }
    } else if (info.disposal == DISPOSE_PREVIOUS) {
      canvas = before;
    }
  }
  return out;
}

bool haveImageMagick() { return std::system("command -v convert-im6.q16 >/dev/null 2>&1") == 0; }

std::optional<std::vector<core::Bitmap>> readGifWithImageMagick(const std::string& path, int width, int height) {
  const std::string command = "convert-im6.q16 '" + path + "' -coalesce -depth 8 rgb:- 2>/dev/null";
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string bytes;
  char buffer[65536];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) bytes.append(buffer, n);
  if (::pclose(pipe) != 0) return std::nullopt;
  const std::size_t frameBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
  if (frameBytes == 0 || bytes.size() % frameBytes != 0) return std::nullopt;
  std::vector<core::Bitmap> frames;
  for (std::size_t at = 0; at < bytes.size(); at += frameBytes) {
    core::Bitmap b(width, height);
    const auto* p = reinterpret_cast<const unsigned char*>(bytes.data()) + at;
    for (core::Color& c : b.px) {
      c = core::rgb(p[0], p[1], p[2]);
      p += 3;
    }
    frames.push_back(std::move(b));
  }
  return frames;
}

std::vector<core::Bitmap> readGifWithQt(const std::string& path, int* loopCount) {
  QImageReader reader(QString::fromStdString(path));
  std::vector<core::Bitmap> frames;
  QImage image;
  while (reader.read(&image)) {
    const QImage rgb = image.convertToFormat(QImage::Format_RGB32);
    core::Bitmap b(rgb.width(), rgb.height());
    for (int y = 0; y < rgb.height(); ++y) {
      const auto* line = reinterpret_cast<const QRgb*>(rgb.constScanLine(y));
      for (int x = 0; x < rgb.width(); ++x) b.row(y)[x] = core::rgb(qRed(line[x]), qGreen(line[x]), qBlue(line[x]));
    }
    frames.push_back(std::move(b));
  }
  if (loopCount) *loopCount = reader.loopCount();
  return frames;
}

::testing::AssertionResult sameBitmap(const core::Bitmap& expected, const core::Bitmap& actual) {
  if (expected.width != actual.width || expected.height != actual.height) {
    return ::testing::AssertionFailure() << "size " << actual.width << "x" << actual.height << ", expected "
                                         << expected.width << "x" << expected.height;
  }
  for (int y = 0; y < expected.height; ++y) {
    for (int x = 0; x < expected.width; ++x) {
      if ((expected.row(y)[x] & 0xFFFFFF) != (actual.row(y)[x] & 0xFFFFFF)) {
        return ::testing::AssertionFailure() << "pixel (" << x << "," << y << ") is " << std::hex
                                             << actual.row(y)[x] << ", expected " << expected.row(y)[x];
      }
    }
  }
  return ::testing::AssertionSuccess();
}

double psnrOf(const core::Bitmap& a, const core::Bitmap& b) {
  double error = 0.0;
  for (std::size_t i = 0; i < a.px.size(); ++i) {
    const int dr = core::redOf(a.px[i]) - core::redOf(b.px[i]);
    const int dg = core::greenOf(a.px[i]) - core::greenOf(b.px[i]);
    const int db = core::blueOf(a.px[i]) - core::blueOf(b.px[i]);
    error += dr * dr + dg * dg + db * db;
  }
  if (error == 0.0) return INFINITY;
  return 10.0 * std::log10(255.0 * 255.0 * 3.0 * static_cast<double>(a.px.size()) / error);
}

}  // namespace outtest
