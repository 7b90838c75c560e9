#include "output/gif_stream.h"

#include <gif_lib.h>

#include <cstring>

namespace output {
namespace {

// giflib's output function: appends to the sink. Never lets an exception
// cross into the C library; a short count makes giflib fail the call.
int appendToSink(GifFileType* gif, const GifByteType* data, int length) noexcept {
  try {
    auto* sink = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
    sink->insert(sink->end(), data, data + length);
    return length;
  } catch (...) {
    return 0;
  }
}

struct MapFree {
  void operator()(ColorMapObject* map) const { GifFreeMapObject(map); }
};
using MapPtr = std::unique_ptr<ColorMapObject, MapFree>;

// giflib wants a power-of-two table; unused entries are black.
MapPtr makeMap(const GifPalette& palette) {
  if (palette.empty() || palette.size() > 256) return nullptr;
  std::vector<GifColorType> colours(std::size_t{1} << gifTableBits(palette.size()), GifColorType{0, 0, 0});
  for (std::size_t i = 0; i < palette.size(); ++i) {
    colours[i].Red = static_cast<GifByteType>(core::redOf(palette[i]));
    colours[i].Green = static_cast<GifByteType>(core::greenOf(palette[i]));
    colours[i].Blue = static_cast<GifByteType>(core::blueOf(palette[i]));
  }
  return MapPtr(GifMakeMapObject(static_cast<int>(colours.size()), colours.data()));
}

}  // namespace

int gifTableBits(std::size_t colours) {
  int bits = 1;
  while ((std::size_t{1} << bits) < colours) ++bits;
  return bits;
}

void GifStream::Closer::operator()(GifFileType* gif) const {
  int error = 0;
  EGifCloseFile(gif, &error);  // frees the handle whatever it returns
}

GifStream::GifStream(std::vector<std::uint8_t>& sink) {
  int error = 0;
  gif_.reset(EGifOpen(&sink, appendToSink, &error));
  failed_ = !gif_;
}

GifStream::~GifStream() = default;

bool GifStream::putScreen(int w, int h, const GifPalette* global, bool gif89) {
  if (failed_ || w < 1 || h < 1 || w > 65535 || h > 65535) return fail();
  MapPtr map;
  if (global && !(map = makeMap(*global))) return fail();
  EGifSetGifVersion(gif_.get(), gif89);
  failed_ = EGifPutScreenDesc(gif_.get(), w, h, 8, 0, map.get()) != GIF_OK;
  return !failed_;
}

bool GifStream::putLoopCount(int loopCount) {
  if (failed_ || loopCount < 0 || loopCount > 65535) return fail();
  static const char kApplication[] = "NETSCAPE2.0";
  // Sub-block 1: the loop count, little-endian.
  const GifByteType loop[3] = {1, static_cast<GifByteType>(loopCount & 0xFF),
                               static_cast<GifByteType>((loopCount >> 8) & 0xFF)};
  failed_ = EGifPutExtensionLeader(gif_.get(), APPLICATION_EXT_FUNC_CODE) != GIF_OK ||
            EGifPutExtensionBlock(gif_.get(), 11, kApplication) != GIF_OK ||
            EGifPutExtensionBlock(gif_.get(), 3, loop) != GIF_OK || EGifPutExtensionTrailer(gif_.get()) != GIF_OK;
  return !failed_;
}

bool GifStream::putFrameControl(int delay, int transparentIndex, GifDisposal disposal) {
  if (failed_ || delay < 0 || delay > 65535 || transparentIndex < -1 || transparentIndex > 255) {
    return fail();
  }
  GraphicsControlBlock gcb{};
  gcb.DisposalMode = static_cast<int>(disposal);
  gcb.UserInputFlag = false;
  gcb.DelayTime = delay;
  gcb.TransparentColor = transparentIndex;
  GifByteType block[4] = {};
  const std::size_t length = EGifGCBToExtension(&gcb, block);
  failed_ = length != 4 || EGifPutExtension(gif_.get(), GRAPHICS_EXT_FUNC_CODE, 4, block) != GIF_OK;
  return !failed_;
}

bool GifStream::putImage(const GifRect& rect, const GifPalette* local, std::vector<std::uint8_t>& indices) {
  if (failed_ || rect.width < 1 || rect.height < 1 || indices.size() != rect.area()) return fail();
  MapPtr map;
  if (local && !(map = makeMap(*local))) return fail();
  if (EGifPutImageDesc(gif_.get(), rect.left, rect.top, rect.width, rect.height, false, map.get()) != GIF_OK) {
    return fail();
  }
  for (int y = 0; y < rect.height; ++y) {
    GifPixelType* line = indices.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(rect.width);
    if (EGifPutLine(gif_.get(), line, rect.width) != GIF_OK) return fail();
  }
  return true;
}

bool GifStream::close() {
  if (!gif_) return false;
  int error = 0;
  const bool closed = EGifCloseFile(gif_.release(), &error) == GIF_OK;
  return closed && !failed_;
}

}  // namespace output
