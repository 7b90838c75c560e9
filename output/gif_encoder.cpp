#include "output/gif_encoder.h"

#include <cmath>

#include "output/colour_index.h"
#include "output/frame_coder.h"
#include "output/frame_mapping.h"
#include "output/gif_stream.h"
#include "output/quantizer.h"

namespace output {
namespace {

// A single picture with more colours than a GIF holds is dithered: without
// the animation's size targets, smooth gradients matter more than PSNR.
constexpr float kStillDithering = 1.0f;

bool sameSize(const std::vector<const core::Bitmap*>& frames) {
  for (const core::Bitmap* f : frames) {
    if (!f || f->width != frames[0]->width || f->height != frames[0]->height || f->width < 1 || f->height < 1) {
      return false;
    }
  }
  return true;
}

bool validTiming(const AnimationTiming& timing, std::size_t frames) {
  if (timing.delays.size() != frames) return false;
  for (int d : timing.delays) {
    if (d < 0 || d > 65535) return false;
  }
  return timing.loopCount == AnimationTiming::kNoLoopBlock || (timing.loopCount >= 0 && timing.loopCount <= 65535);
}

// Writes one image with its graphics control.
bool putFrame(GifStream& gif, int delay, MappedFrame& frame) {
  return gif.putFrameControl(delay, frame.transparent, GifDisposal::Keep) &&
         gif.putImage(frame.rect, frame.local ? &*frame.local : nullptr, frame.indices);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> encodeGif(const core::Bitmap& bitmap) {
  if (bitmap.width < 1 || bitmap.height < 1) return std::nullopt;
  const GifRect whole{0, 0, bitmap.width, bitmap.height};
  GifPalette palette;
  std::vector<std::uint8_t> indices;
  ColourIndex exact;
  if (exact.addAll(bitmap)) {
    palette = exact.colours();
    mapToIndices(exact, bitmap, indices);
  } else {
    std::optional<QuantizedRect> q = quantizeRect(bitmap, whole, QuantizeSettings{256, 4, kStillDithering});
    if (!q) return std::nullopt;
    palette = std::move(q->palette);
    indices = std::move(q->indices);
  }
  std::vector<std::uint8_t> out;
  GifStream gif(out);
  if (!gif.putScreen(bitmap.width, bitmap.height, &palette, false) || !gif.putImage(whole, nullptr, indices) ||
      !gif.close()) {
    return std::nullopt;
  }
  return out;
}

std::optional<std::vector<std::uint8_t>> encodeGifAnimation(const std::vector<const core::Bitmap*>& frames,
                                                            const AnimationTiming& timing) {
  return encodeGifAnimation(frames, timing, MappingSettings{});
}

std::optional<std::vector<std::uint8_t>> encodeGifAnimation(const std::vector<const core::Bitmap*>& frames,
                                                            const AnimationTiming& timing,
                                                            const MappingSettings& settings) {
  if (frames.empty() || !sameSize(frames) || !validTiming(timing, frames.size())) return std::nullopt;
  std::optional<MappedAnimation> mapped = mapAnimation(frames, settings);
  if (!mapped) return std::nullopt;
  std::vector<std::uint8_t> out;
  GifStream gif(out);
  if (!gif.putScreen(frames[0]->width, frames[0]->height, &mapped->global, true)) return std::nullopt;
  if (timing.loopCount != AnimationTiming::kNoLoopBlock && !gif.putLoopCount(timing.loopCount)) return std::nullopt;
  FrameCoder coder(frames, *mapped);
  for (std::size_t k = 0; k < mapped->frames.size(); ++k) {
    MappedFrame& frame = mapped->frames[k];
    coder.code(k, frame);
    if (!putFrame(gif, timing.delays[k], frame)) return std::nullopt;
    // The pixels are written; free them early, frames can be large.
    frame = MappedFrame{};
  }
  if (!gif.close()) return std::nullopt;
  return out;
}

}  // namespace output
