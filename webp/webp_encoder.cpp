#include "webp/webp_encoder.h"

#include <gif_lib.h>

#include <cmath>
#include <cstring>
#include <memory>

#include <webp/demux.h>
#include <webp/encode.h>
#include <webp/mux.h>

#include "core/byte_order.h"
#include "gif/gif_encoder.h"

namespace output {
namespace {

// libwebp's effort settings: method 0..6 and, for lossless files, an effort
// 0..100 given as the quality. On banner frames (1000 x 200, 22 frames) the
// animation encoder's own search for the smaller of its two ways to lay each
// frame over the last (minimize_size) saves far more than a higher method
// does, and method 2 with effort 50 lands within a few percent of method 6
// with effort 100 in a twentieth of the time.
constexpr int kLosslessMethod = 2;
constexpr int kLosslessEffort = 50;
constexpr int kLossyMethod = 4;
constexpr int kMaxDuration = (1 << 24) - 1;  // a 24-bit field, milliseconds

struct Settings {
  bool lossless = true;
  int quality = 100;
  bool minimizeSize = true;
};

struct EncoderDeleter {
  void operator()(WebPAnimEncoder* e) const { WebPAnimEncoderDelete(e); }
};
struct DecoderDeleter {
  void operator()(WebPAnimDecoder* d) const { WebPAnimDecoderDelete(d); }
};

// Encodes the frames, frame i starting at starts[i] ms and the last one
// ending at starts.back() (one more entry than frames).
std::optional<std::vector<std::uint8_t>> encode(const std::vector<const core::Bitmap*>& frames,
                                                const std::vector<int>& starts, int webpLoops, Settings s) {
  const int w = frames.front()->width;
  const int h = frames.front()->height;
  WebPAnimEncoderOptions options;
  if (!WebPAnimEncoderOptionsInit(&options)) return std::nullopt;
  options.anim_params.loop_count = webpLoops;
  options.anim_params.bgcolor = 0xFFFFFFFFu;  // a hint only: opaque white
  options.minimize_size = s.minimizeSize ? 1 : 0;
  std::unique_ptr<WebPAnimEncoder, EncoderDeleter> encoder(WebPAnimEncoderNew(w, h, &options));
  WebPConfig config;
  if (!encoder || !WebPConfigInit(&config)) return std::nullopt;
  config.lossless = s.lossless ? 1 : 0;
  config.quality = static_cast<float>(s.lossless ? kLosslessEffort : s.quality);
  config.method = s.lossless ? kLosslessMethod : kLossyMethod;
  config.thread_level = 0;  // one thread: the same bytes every time, and the machine's other core stays free
  if (!WebPValidateConfig(&config)) return std::nullopt;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    WebPPicture picture;
    if (!WebPPictureInit(&picture)) return std::nullopt;
    picture.use_argb = 1;
    picture.width = w;
    picture.height = h;
    // 0x00BBGGRR in memory is R, G, B, unused: RGBX.
    const bool ok =
        WebPPictureImportRGBX(&picture, reinterpret_cast<const std::uint8_t*>(frames[i]->px.data()), w * 4) &&
        WebPAnimEncoderAdd(encoder.get(), &picture, starts[i], &config);
    WebPPictureFree(&picture);
    if (!ok) return std::nullopt;
  }
  if (!WebPAnimEncoderAdd(encoder.get(), nullptr, starts.back(), nullptr)) return std::nullopt;
  WebPData data;
  WebPDataInit(&data);
  if (!WebPAnimEncoderAssemble(encoder.get(), &data)) {
    WebPDataClear(&data);
    return std::nullopt;
  }
  std::vector<std::uint8_t> bytes(data.bytes, data.bytes + data.size);
  WebPDataClear(&data);
  return bytes;
}

// The candidates are encoded one millisecond per frame, so that each ANMF
// chunk's duration says how many frames it stands for (the encoder merges
// unchanged frames). This writes the real durations in their place; false
// when one does not fit the 24-bit field.
bool applyDelays(std::vector<std::uint8_t>& webp, const std::vector<int>& delays) {
  std::size_t next = 0;
  for (std::size_t at = 12; at + 8 <= webp.size();) {
    const std::uint32_t size = core::readLe32(webp.data() + at + 4);
    if (std::memcmp(webp.data() + at, "ANMF", 4) == 0 && size >= 16) {
      std::uint8_t* duration = webp.data() + at + 8 + 12;
      const std::uint32_t covered = core::readLe24(duration);
      std::int64_t ms = 0;
      for (std::uint32_t k = 0; k < covered && next < delays.size(); ++k) ms += std::int64_t{delays[next++]} * 10;
      if (ms > kMaxDuration) return false;
      duration[0] = static_cast<std::uint8_t>(ms);
      duration[1] = static_cast<std::uint8_t>(ms >> 8);
      duration[2] = static_cast<std::uint8_t>(ms >> 16);
    }
    at += 8 + size + (size & 1u);
  }
  return true;
}

// The size of the first frame alone as a lossless WebP picture with the
// animation's lossless settings. The animation starts with that same frame,
// encoded the same way, so no lossless animation of these frames is smaller.
std::size_t firstFrameLosslessBytes(const core::Bitmap& frame) {
  WebPConfig config;
  WebPPicture picture;
  if (!WebPConfigInit(&config) || !WebPPictureInit(&picture)) return 0;
  config.lossless = 1;
  config.quality = static_cast<float>(kLosslessEffort);
  config.method = kLosslessMethod;
  picture.use_argb = 1;
  picture.width = frame.width;
  picture.height = frame.height;
  WebPMemoryWriter writer;
  WebPMemoryWriterInit(&writer);
  picture.writer = WebPMemoryWrite;
  picture.custom_ptr = &writer;
  const bool ok =
      WebPPictureImportRGBX(&picture, reinterpret_cast<const std::uint8_t*>(frame.px.data()), frame.width * 4) &&
      WebPEncode(&config, &picture);
  const std::size_t size = ok ? writer.size : 0;
  WebPPictureFree(&picture);
  WebPMemoryWriterClear(&writer);
  return size;
}

// Mean and lowest PSNR of the frames as shown.
struct Quality {
  double mean = 0.0;
  double min = 0.0;
  // Reaching a bar means no worse on average and no worse in the worst
  // frame: a low mean bar alone lets a few frames go blocky.
  bool reaches(const Quality& bar) const { return mean >= bar.mean && min >= bar.min; }
};

std::optional<Quality> qualityOf(const std::vector<const core::Bitmap*>& frames,
                                 const std::optional<std::vector<core::Bitmap>>& shown) {
  if (!shown || frames.empty() || frames.size() != shown->size()) return std::nullopt;
  Quality q{0.0, core::kExactFrameDb};
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (frames[i]->width != (*shown)[i].width || frames[i]->height != (*shown)[i].height) return std::nullopt;
    const double p = core::framePsnr(*frames[i], (*shown)[i]);
    q.mean += p;
    q.min = std::min(q.min, p);
  }
  q.mean /= static_cast<double>(frames.size());
  return q;
}

struct Candidate {
  std::vector<std::uint8_t> bytes;
  Quality quality;
};

std::optional<Candidate> tryEncode(const std::vector<const core::Bitmap*>& frames, const std::vector<int>& probeStarts,
                                   int webpLoops, Settings s) {
  std::optional<std::vector<std::uint8_t>> bytes = encode(frames, probeStarts, webpLoops, s);
  if (!bytes) return std::nullopt;
  const std::optional<Quality> q = qualityOf(frames, webpFramesAsShown(*bytes, 1, frames.size()));
  if (!q) return std::nullopt;
  return Candidate{std::move(*bytes), *q};
}

// Our animated GIF's quality as shown: the bar for a lossy WebP.
std::optional<Quality> gifQuality(const std::vector<const core::Bitmap*>& frames) {
  const std::optional<std::vector<std::uint8_t>> gif =
      encodeGifAnimation(frames, AnimationTiming::uniform(frames.size(), 1));
  if (!gif) return std::nullopt;
  return qualityOf(frames, gifFramesAsShown(*gif, 1));
}

// ---- reading GIFs back -------------------------------------------------------

struct GifMemory {
  const std::vector<std::uint8_t>* bytes;
  std::size_t at = 0;
};

int readGifMemory(GifFileType* gif, GifByteType* out, int n) {
  auto* m = static_cast<GifMemory*>(gif->UserData);
  const std::size_t count = std::min<std::size_t>(static_cast<std::size_t>(n), m->bytes->size() - m->at);
  std::memcpy(out, m->bytes->data() + m->at, count);
  m->at += count;
  return static_cast<int>(count);
}

struct GifCloser {
  void operator()(GifFileType* g) const {
    int error = 0;
    DGifCloseFile(g, &error);
  }
};

}  // namespace

std::optional<std::vector<core::Bitmap>> gifFramesAsShown(const std::vector<std::uint8_t>& bytes, int unitHundredths) {
  GifMemory memory{&bytes};
  int error = 0;
  std::unique_ptr<GifFileType, GifCloser> gif(DGifOpen(&memory, readGifMemory, &error));
  if (!gif || DGifSlurp(gif.get()) != GIF_OK || gif->ImageCount < 1) return std::nullopt;
  const int w = gif->SWidth;
  const int h = gif->SHeight;
  core::Color background = core::kWhite;
  if (gif->SColorMap && gif->SBackGroundColor < gif->SColorMap->ColorCount) {
    const GifColorType c = gif->SColorMap->Colors[gif->SBackGroundColor];
    background = core::rgb(c.Red, c.Green, c.Blue);
  }
  core::Bitmap canvas(w, h, background);
  std::vector<core::Bitmap> out;
  for (int i = 0; i < gif->ImageCount; ++i) {
    const SavedImage& image = gif->SavedImages[i];
    GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, 0, NO_TRANSPARENT_COLOR};
    DGifSavedExtensionToGCB(gif.get(), i, &gcb);
    const ColorMapObject* map = image.ImageDesc.ColorMap ? image.ImageDesc.ColorMap : gif->SColorMap;
    if (!map) return std::nullopt;
    const core::Bitmap before = canvas;
    const GifImageDesc& d = image.ImageDesc;
    for (int y = 0; y < d.Height; ++y) {
      for (int x = 0; x < d.Width; ++x) {
        const int cx = d.Left + x;
        const int cy = d.Top + y;
        const int index = image.RasterBits[static_cast<std::size_t>(y) * static_cast<std::size_t>(d.Width) +
                                           static_cast<std::size_t>(x)];
        if (cx >= w || cy >= h || index == gcb.TransparentColor || index >= map->ColorCount) continue;
        const GifColorType c = map->Colors[index];
        canvas.row(cy)[cx] = core::rgb(c.Red, c.Green, c.Blue);
      }
    }
    const int repeats = unitHundredths > 0 ? gcb.DelayTime / unitHundredths : 1;
    for (int r = 0; r < repeats; ++r) out.push_back(canvas);
    if (gcb.DisposalMode == DISPOSE_BACKGROUND) {
      for (int y = d.Top; y < std::min(h, d.Top + d.Height); ++y)
        for (int x = d.Left; x < std::min(w, d.Left + d.Width); ++x) canvas.row(y)[x] = background;
    } else if (gcb.DisposalMode == DISPOSE_PREVIOUS) {
      canvas = before;
    }
  }
  return out;
}

std::optional<std::vector<core::Bitmap>> webpFramesAsShown(const std::vector<std::uint8_t>& bytes, int unitMs,
                                                           std::size_t stillFrames) {
  WebPAnimDecoderOptions options;
  if (!WebPAnimDecoderOptionsInit(&options)) return std::nullopt;
  options.color_mode = MODE_RGBA;
  options.use_threads = 0;
  const WebPData data{bytes.data(), bytes.size()};
  std::unique_ptr<WebPAnimDecoder, DecoderDeleter> decoder(WebPAnimDecoderNew(&data, &options));
  WebPAnimInfo info;
  if (!decoder || !WebPAnimDecoderGetInfo(decoder.get(), &info)) return std::nullopt;
  std::vector<core::Bitmap> out;
  int previous = 0;
  while (WebPAnimDecoderHasMoreFrames(decoder.get())) {
    std::uint8_t* rgba = nullptr;
    int timestamp = 0;
    if (!WebPAnimDecoderGetNext(decoder.get(), &rgba, &timestamp)) return std::nullopt;
    core::Bitmap frame(static_cast<int>(info.canvas_width), static_cast<int>(info.canvas_height),
                       core::Bitmap::Unfilled{});
    for (std::size_t i = 0; i < frame.px.size(); ++i, rgba += 4) frame.px[i] = core::rgb(rgba[0], rgba[1], rgba[2]);
    const bool still = info.frame_count == 1 && timestamp == previous;
    const int repeats = still ? static_cast<int>(stillFrames) : unitMs > 0 ? (timestamp - previous) / unitMs : 1;
    previous = timestamp;
    for (int r = 0; r < repeats; ++r) out.push_back(frame);
  }
  return out;
}

std::optional<double> meanPsnr(const std::vector<const core::Bitmap*>& frames, const std::vector<core::Bitmap>& shown) {
  if (frames.empty() || frames.size() != shown.size()) return std::nullopt;
  double sum = 0.0;
  for (std::size_t i = 0; i < frames.size(); ++i) {
    if (frames[i]->width != shown[i].width || frames[i]->height != shown[i].height) return std::nullopt;
    sum += core::framePsnr(*frames[i], shown[i]);
  }
  return sum / static_cast<double>(frames.size());
}

std::optional<std::vector<std::uint8_t>> encodeWebpAnimation(const std::vector<const core::Bitmap*>& frames,
                                                             const AnimationTiming& timing, WebpChoice* choice) {
  if (frames.empty() || timing.delays.size() != frames.size()) return std::nullopt;
  const core::Bitmap* first = frames.front();
  if (!first || first->width < 1 || first->height < 1 || first->width > WEBP_MAX_DIMENSION ||
      first->height > WEBP_MAX_DIMENSION)
    return std::nullopt;
  for (const core::Bitmap* f : frames)
    if (!f || f->width != first->width || f->height != first->height) return std::nullopt;
  for (int d : timing.delays)
    if (d < 0 || d > 65535) return std::nullopt;
  if (timing.plays < 0 || timing.plays > AnimationTiming::kMostPlays) return std::nullopt;
  // WebP's loop count is the play count itself, 0 = forever, in 16 bits.
  const int webpLoops = std::min(timing.plays, 65535);

  try {
    std::vector<int> probe(frames.size() + 1);
    for (std::size_t i = 0; i < probe.size(); ++i) probe[i] = static_cast<int>(i);
    WebpChoice chosen;
    const std::optional<Quality> bar = gifQuality(frames);
    chosen.gifPsnr = bar ? bar->mean : core::kExactFrameDb;
    std::optional<Candidate> best;
    Settings bestSettings{true, kLosslessEffort, true};
    if (bar && bar->mean < core::kExactFrameDb) {
      // The lowest quality that reaches the bar: quality 100 first (when
      // even that falls short, lossless it is), then a bisection over 0..99
      // with the quicker settings; PSNR grows with the quality in practice,
      // and every candidate is measured, so a file below the bar is never
      // chosen. The quality found is then encoded with the size search on.
      int lossyQuality = 100;
      bool lossyMinimized = false;
      int lo = 0;
      int hi = 100;
      for (int q = 100; lo <= hi; q = (lo + hi) / 2) {
        std::optional<Candidate> c = tryEncode(frames, probe, webpLoops, Settings{false, q, false});
        ++chosen.encodes;
        if (!c) return std::nullopt;
        if (c->quality.reaches(*bar)) {
          best = std::move(c);
          lossyQuality = q;
          hi = q - 1;
        } else {
          if (q == 100) break;
          lo = q + 1;
        }
      }
      if (best) {
        std::optional<Candidate> smaller = tryEncode(frames, probe, webpLoops, Settings{false, lossyQuality, true});
        ++chosen.encodes;
        if (smaller && smaller->quality.reaches(*bar) && smaller->bytes.size() < best->bytes.size()) {
          best = std::move(smaller);
          lossyMinimized = true;
        }
        bestSettings = Settings{false, lossyQuality, lossyMinimized};
        chosen.lossless = false;
        chosen.quality = lossyQuality;
        chosen.psnr = best->quality.mean;
      }
    }
    // Lossless, unless its first frame alone is already no smaller than the
    // lossy file (photographs: lossless is many times larger).
    if (!best || firstFrameLosslessBytes(*frames.front()) < best->bytes.size()) {
      std::optional<Candidate> lossless = tryEncode(frames, probe, webpLoops, Settings{true, kLosslessEffort, true});
      ++chosen.encodes;
      if (!lossless) return std::nullopt;
      if (!best || lossless->bytes.size() <= best->bytes.size()) {
        best = std::move(lossless);
        bestSettings = Settings{true, kLosslessEffort, true};
        chosen.lossless = true;
        chosen.quality = 100;
        chosen.psnr = best->quality.mean;
      }
    }
    std::vector<std::uint8_t> bytes = std::move(best->bytes);
    if (!applyDelays(bytes, timing.delays)) {
      // A frame shown for more than 4.6 hours: let the encoder split it.
      std::vector<int> starts(frames.size() + 1, 0);
      for (std::size_t i = 0; i < frames.size(); ++i) starts[i + 1] = starts[i] + timing.delays[i] * 10;
      std::optional<std::vector<std::uint8_t>> real = encode(frames, starts, webpLoops, bestSettings);
      ++chosen.encodes;
      if (!real) return std::nullopt;
      bytes = std::move(*real);
    }
    if (choice) *choice = chosen;
    return bytes;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace output
