#include "gif/gif_encoder.h"

#include <algorithm>
#include <cmath>

#include "gif/animation_writer.h"
#include "gif/colour_index.h"
#include "gif/frame_coder.h"
#include "gif/frame_mapping.h"
#include "gif/gif_stream.h"
#include "gif/quantizer.h"

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

// Two delays that one image may show for: their sum fits the field, and
// neither is so short that viewers would stretch it (most show 0 and 1 as
// about a tenth of a second), so the time on screen stays the same.
bool canMerge(int a, int b) { return a >= 2 && b >= 2 && a + b <= 65535; }

bool validTiming(const AnimationTiming& timing, std::size_t frames) {
  if (timing.delays.size() != frames) return false;
  for (int d : timing.delays) {
    if (d < 0 || d > 65535) return false;
  }
  return timing.plays >= 0 && timing.plays <= AnimationTiming::kMostPlays;
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
  const ShownFrames shown = mergeRepeats(frames, timing.delays);
  std::optional<MappedAnimation> mapped = mapAnimation(shown.frames, settings);
  if (!mapped) return std::nullopt;
  std::optional<CodedAnimation> coded = codeAnimation(shown, *mapped, gifLoopField(timing.plays), true, nullptr);
  if (!coded) return std::nullopt;
  return std::move(coded->bytes);
}

ShownFrames mergeRepeats(const std::vector<const core::Bitmap*>& frames, const std::vector<int>& delays) {
  ShownFrames out;
  for (std::size_t k = 0; k < frames.size(); ++k) {
    if (k > 0 && canMerge(out.delays.back(), delays[k]) && frames[k]->px == out.frames.back()->px) {
      out.delays.back() += delays[k];
      ++out.repeats.back();
      continue;
    }
    out.frames.push_back(frames[k]);
    out.delays.push_back(delays[k]);
    out.repeats.push_back(1);
  }
  return out;
}

}  // namespace output
