#include "check/banner_file.h"

#include <gif_lib.h>
#include <webp/demux.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <memory>

namespace check {

namespace {

constexpr std::uint32_t kOpaque = 0xFF000000u;

bool startsWith(const std::uint8_t* data, std::size_t size, const char* magic, std::size_t offset = 0) {
  const std::size_t n = std::strlen(magic);
  return size >= offset + n && std::memcmp(data + offset, magic, n) == 0;
}

std::string canvasProblem(std::int64_t w, std::int64_t h) {
  if (w < 1 || h < 1) return "the canvas has no pixels";
  if (w > kMaxCanvasWidth || h > kMaxCanvasHeight)
    return "the canvas is " + std::to_string(w) + " x " + std::to_string(h) + " pixels, larger than " +
           std::to_string(kMaxCanvasWidth) + " x " + std::to_string(kMaxCanvasHeight);
  return "";
}

// A composed canvas with its transparent pixels over a white page.
void toShown(const std::vector<std::uint32_t>& canvas, core::Bitmap& out) {
  for (std::size_t i = 0; i < canvas.size(); ++i)
    out.px[i] = (canvas[i] & kOpaque) ? (canvas[i] & 0xFFFFFFu) : core::kWhite;
}

// ---- GIF, through giflib's record-by-record calls ----

struct MemoryInput {
  const std::uint8_t* data;
  std::size_t size;
  std::size_t at = 0;
};

int readInput(GifFileType* gif, GifByteType* out, int n) {
  auto* in = static_cast<MemoryInput*>(gif->UserData);
  const std::size_t want = n > 0 ? static_cast<std::size_t>(n) : 0;
  const std::size_t got = std::min(want, in->size - in->at);
  std::memcpy(out, in->data + in->at, got);
  in->at += got;
  return static_cast<int>(got);
}

struct GifCloser {
  void operator()(GifFileType* g) const {
    int err = 0;
    DGifCloseFile(g, &err);
  }
};

// One pass over a GIF: the facts always, the frames composed when `visit`
// is set.
std::string walkGif(const std::uint8_t* data, std::size_t size, BannerFacts* facts, const FrameVisitor* visit) {
  if (size < 13) return "the file ends inside the GIF header";
  // The logical screen, checked before giflib sees the file.
  const int sw = data[6] | (data[7] << 8);
  const int sh = data[8] | (data[9] << 8);
  if (std::string p = canvasProblem(sw, sh); !p.empty()) return p;
  MemoryInput input{data, size};
  int err = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&input, readInput, &err));
  if (!gif) return "not a readable GIF (" + std::string(GifErrorString(err) ? GifErrorString(err) : "?") + ")";
  const auto area = static_cast<std::uint64_t>(sw) * static_cast<std::uint64_t>(sh);
  if (facts) {
    facts->format = BannerFormat::Gif;
    facts->width = sw;
    facts->height = sh;
  }
  std::vector<std::uint32_t> canvas(area, 0);
  std::vector<std::uint32_t> saved;
  std::vector<GifPixelType> line;
  core::Bitmap shown(sw, sh, core::Bitmap::Unfilled{});
  GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
  int frames = 0;
  bool stopped = false;
  for (;;) {
    GifRecordType type = UNDEFINED_RECORD_TYPE;
    if (DGifGetRecordType(gif.get(), &type) == GIF_ERROR) return "the GIF is cut short or broken";
    if (type == TERMINATE_RECORD_TYPE) break;
    if (type == EXTENSION_RECORD_TYPE) {
      int code = 0;
      GifByteType* block = nullptr;
      if (DGifGetExtension(gif.get(), &code, &block) == GIF_ERROR) return "a GIF extension is broken";
      bool netscape = false;
      bool first = true;
      while (block) {
        if (code == GRAPHICS_EXT_FUNC_CODE && first) {
          if (DGifExtensionToGCB(block[0], block + 1, &gcb) == GIF_ERROR) return "a GIF frame's timing is broken";
        } else if (code == APPLICATION_EXT_FUNC_CODE && first) {
          netscape = block[0] == 11 && (std::memcmp(block + 1, "NETSCAPE2.0", 11) == 0 ||
                                        std::memcmp(block + 1, "ANIMEXTS1.0", 11) == 0);
        } else if (netscape && block[0] >= 3 && block[1] == 1 && facts) {
          facts->hasLoop = true;
          facts->loopCount = block[2] | (block[3] << 8);
        }
        first = false;
        if (DGifGetExtensionNext(gif.get(), &block) == GIF_ERROR) return "a GIF extension is broken";
      }
      continue;
    }
    if (type != IMAGE_DESC_RECORD_TYPE) return "the GIF holds an unknown block";
    if (DGifGetImageDesc(gif.get()) == GIF_ERROR) return "a GIF frame's header is broken";
    if (++frames > kMaxFrames) return "more than " + std::to_string(kMaxFrames) + " frames";
    if (static_cast<std::uint64_t>(frames) * area > kMaxComposedPixels) return "too many frames for their size";
    const GifImageDesc& d = gif->Image;
    if (d.Width < 1 || d.Height < 1 || d.Width > sw || d.Height > sh) return "a GIF frame is larger than its canvas";
    const ColorMapObject* map = d.ColorMap ? d.ColorMap : gif->SColorMap;
    if (!map) return "a GIF frame has no colour table";
    if (facts) facts->storedDelaysMs.push_back(gcb.DelayTime * 10);
    const bool compose = visit && !stopped;
    if (compose && gcb.DisposalMode == DISPOSE_PREVIOUS) saved = canvas;
    line.resize(static_cast<std::size_t>(d.Width));
    // Interlaced rows arrive in four passes.
    static constexpr int kStart[] = {0, 4, 2, 1};
    static constexpr int kStep[] = {8, 8, 4, 2};
    const int passes = d.Interlace ? 4 : 1;
    for (int pass = 0; pass < passes; ++pass) {
      const int start = d.Interlace ? kStart[pass] : 0;
      const int step = d.Interlace ? kStep[pass] : 1;
      for (int row = start; row < d.Height; row += step) {
        if (DGifGetLine(gif.get(), line.data(), d.Width) == GIF_ERROR) return "a GIF frame's pixels are cut short";
        const int y = d.Top + row;
        if (!compose || y >= sh) continue;
        std::uint32_t* out = canvas.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(sw);
        for (int col = 0; col < d.Width; ++col) {
          const int x = d.Left + col;
          if (x >= sw) break;
          const int index = line[static_cast<std::size_t>(col)];
          if (index == gcb.TransparentColor) continue;
          if (index >= map->ColorCount) {
            out[x] = kOpaque;
            continue;
          }
          const GifColorType& c = map->Colors[index];
          out[x] = kOpaque | core::rgb(c.Red, c.Green, c.Blue);
        }
      }
    }
    if (compose) {
      toShown(canvas, shown);
      if (!(*visit)(shown, frames - 1)) stopped = true;
      if (gcb.DisposalMode == DISPOSE_BACKGROUND) {
        for (int y = d.Top; y < std::min(sh, d.Top + d.Height); ++y)
          for (int x = d.Left; x < std::min(sw, d.Left + d.Width); ++x)
            canvas[static_cast<std::size_t>(y) * static_cast<std::size_t>(sw) + static_cast<std::size_t>(x)] = 0;
      } else if (gcb.DisposalMode == DISPOSE_PREVIOUS) {
        canvas.swap(saved);
      }
    }
    gcb = GraphicsControlBlock{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    if (stopped && !facts) return "";
  }
  if (frames == 0) return "the GIF has no frames";
  return "";
}

// ---- WebP, through libwebp's demuxer and animation decoder ----

struct DemuxDeleter {
  void operator()(WebPDemuxer* d) const { WebPDemuxDelete(d); }
};
struct AnimDeleter {
  void operator()(WebPAnimDecoder* d) const { WebPAnimDecoderDelete(d); }
};

std::string walkWebp(const std::uint8_t* data, std::size_t size, BannerFacts* facts, const FrameVisitor* visit) {
  const WebPData bytes{data, size};
  std::unique_ptr<WebPDemuxer, DemuxDeleter> demux(WebPDemux(&bytes));
  if (!demux) return "not a readable WebP";
  const auto w = static_cast<std::int64_t>(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_WIDTH));
  const auto h = static_cast<std::int64_t>(WebPDemuxGetI(demux.get(), WEBP_FF_CANVAS_HEIGHT));
  if (std::string p = canvasProblem(w, h); !p.empty()) return p;
  const auto frames = static_cast<std::int64_t>(WebPDemuxGetI(demux.get(), WEBP_FF_FRAME_COUNT));
  if (frames < 1) return "the WebP has no frames";
  if (frames > kMaxFrames) return "more than " + std::to_string(kMaxFrames) + " frames";
  if (static_cast<std::uint64_t>(frames) * static_cast<std::uint64_t>(w * h) > kMaxComposedPixels)
    return "too many frames for their size";
  if (facts) {
    facts->format = BannerFormat::Webp;
    facts->width = static_cast<int>(w);
    facts->height = static_cast<int>(h);
    const bool animated = (WebPDemuxGetI(demux.get(), WEBP_FF_FORMAT_FLAGS) & ANIMATION_FLAG) != 0;
    facts->hasLoop = animated;
    facts->loopCount = animated ? static_cast<int>(WebPDemuxGetI(demux.get(), WEBP_FF_LOOP_COUNT)) : 0;
    WebPIterator it;
    if (!WebPDemuxGetFrame(demux.get(), 1, &it)) return "a WebP frame is broken";
    do {
      facts->storedDelaysMs.push_back(animated ? it.duration : 0);
    } while (WebPDemuxNextFrame(&it));
    WebPDemuxReleaseIterator(&it);
    if (static_cast<std::int64_t>(facts->storedDelaysMs.size()) != frames) return "a WebP frame is broken";
  }
  if (!visit) return "";
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) return "libwebp cannot decode";
  options.color_mode = MODE_RGBA;
  options.use_threads = 0;
  std::unique_ptr<WebPAnimDecoder, AnimDeleter> dec(WebPAnimDecoderNew(&bytes, &options));
  if (!dec) return "not a readable WebP";
  core::Bitmap shown(static_cast<int>(w), static_cast<int>(h), core::Bitmap::Unfilled{});
  int index = 0;
  while (WebPAnimDecoderHasMoreFrames(dec.get())) {
    std::uint8_t* rgba = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(dec.get(), &rgba, &timestamp)) return "a WebP frame's pixels are broken";
    for (std::size_t i = 0; i < shown.px.size(); ++i) {
      const std::uint8_t* p = rgba + i * 4;
      const int a = p[3];
      const auto over = [a](int c) { return (c * a + 255 * (255 - a) + 127) / 255; };
      shown.px[i] = core::rgb(over(p[0]), over(p[1]), over(p[2]));
    }
    if (!(*visit)(shown, index++)) break;
  }
  return "";
}

std::string walk(const std::uint8_t* data, std::size_t size, BannerFacts* facts, const FrameVisitor* visit) {
  if (size > kMaxFileBytes) return "the file is larger than " + std::to_string(kMaxFileBytes >> 20) + " MB";
  if (startsWith(data, size, "GIF87a") || startsWith(data, size, "GIF89a")) return walkGif(data, size, facts, visit);
  if (startsWith(data, size, "RIFF") && startsWith(data, size, "WEBP", 8)) return walkWebp(data, size, facts, visit);
  return "neither a GIF nor a WebP file";
}

}  // namespace

bool delayLengthened(int storedMs) { return storedMs <= 10; }

PlayedTiming playedTiming(const BannerFacts& facts) {
  PlayedTiming t;
  for (int d : facts.storedDelaysMs) t.delaysMs.push_back(delayLengthened(d) ? 100 : d);
  for (int d : t.delaysMs) t.onePlayMs += d;
  t.shortestMs = t.delaysMs.empty() ? 0 : *std::min_element(t.delaysMs.begin(), t.delaysMs.end());
  if (t.delaysMs.size() <= 1) {
    t.plays = 1;  // a single picture is not animated
  } else if (!facts.hasLoop) {
    t.plays = 1;
  } else if (facts.loopCount == 0) {
    t.plays = 0;
  } else {
    // A GIF's loop count says how often the animation repeats after its
    // first play; a WebP's how often it plays.
    t.plays = facts.format == BannerFormat::Gif ? facts.loopCount + 1 : facts.loopCount;
  }
  t.totalMs = t.plays == 0 ? -1 : t.onePlayMs * t.plays;
  return t;
}

ReadResult readBanner(const std::uint8_t* data, std::size_t size) {
  ReadResult r;
  r.problem = walk(data, size, &r.facts, nullptr);
  r.ok = r.problem.empty();
  r.facts.bytes = size;
  return r;
}

std::string composeFrames(const std::uint8_t* data, std::size_t size, const FrameVisitor& visit) {
  return walk(data, size, nullptr, &visit);
}

std::string readWholeFile(const std::string& path, std::vector<std::uint8_t>& out) {
  std::ifstream in(path, std::ios::binary | std::ios::ate);
  if (!in) return "cannot open the file";
  const std::streamoff size = in.tellg();
  if (size < 0) return "cannot read the file";
  if (static_cast<std::uint64_t>(size) > kMaxFileBytes)
    return "the file is larger than " + std::to_string(kMaxFileBytes >> 20) + " MB";
  out.resize(static_cast<std::size_t>(size));
  in.seekg(0);
  if (size > 0 && !in.read(reinterpret_cast<char*>(out.data()), size)) return "cannot read the file";
  return "";
}

}  // namespace check
