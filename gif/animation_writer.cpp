#include "gif/animation_writer.h"

#include <algorithm>

#include "gif/frame_coder.h"
#include "gif/lzw_encoder.h"
#include "gif/gif_encoder.h"
#include "gif/shown_quality.h"

namespace output {

void coverIndices(GifPalette& palette, const MappedFrame& f) {
  int highest = f.transparent;
  for (std::uint8_t v : f.indices) highest = std::max(highest, static_cast<int>(v));
  if (highest >= static_cast<int>(palette.size())) palette.resize(static_cast<std::size_t>(highest) + 1, core::kBlack);
}

namespace {

// putImage(gif, k, frame) puts image k.
template <typename PutImage>
bool streamAnimation(GifStream& gif, int width, int height, const MappedAnimation& coded,
                     const std::vector<int>& delays, int loopCount, PutImage putImage) {
  if (!gif.putScreen(width, height, &coded.global, true)) return false;
  if (loopCount != kNoLoopBlock && !gif.putLoopCount(loopCount)) return false;
  for (std::size_t k = 0; k < coded.frames.size(); ++k) {
    const MappedFrame& f = coded.frames[k];
    if (!gif.putFrameControl(delays[k], f.transparent, GifDisposal::Keep) || !putImage(gif, k, f)) return false;
  }
  return gif.close();
}

}  // namespace

std::optional<std::vector<std::uint8_t>> writeAnimation(int width, int height, const MappedAnimation& coded,
                                                        const std::vector<int>& delays, int loopCount, bool shortest,
                                                        LzwMemo* memo) {
  std::vector<std::uint8_t> out;
  GifStream gif(out, shortest, memo);
  const auto put = [](GifStream& g, std::size_t, const MappedFrame& f) {
    return g.putImage(f.rect, f.local ? &*f.local : nullptr, f.indices);
  };
  if (!streamAnimation(gif, width, height, coded, delays, loopCount, put)) return std::nullopt;
  return out;
}

std::optional<std::size_t> measureAnimation(int width, int height, const MappedAnimation& coded,
                                            const std::vector<int>& delays, int loopCount,
                                            const std::vector<std::size_t>& dataBytes) {
  if (dataBytes.size() != coded.frames.size()) return std::nullopt;
  std::vector<std::uint8_t> out;
  GifStream gif(out, false);
  const auto count = [&](GifStream& g, std::size_t k, const MappedFrame& f) {
    return g.countImage(f.rect, f.local ? &*f.local : nullptr, f.indices, dataBytes[k]);
  };
  if (!streamAnimation(gif, width, height, coded, delays, loopCount, count)) return std::nullopt;
  return gif.length();
}

namespace {

// pass and passes place the frames among the parts of the progress's step.
std::optional<CodedAnimation> codeInOrder(const ShownFrames& shown, MappedAnimation coded, int loopCount, bool shortest,
                                          const CancelFlag* cancel, WorkProgress* progress, int pass, int passes,
                                          LzwMemo* memo) {
  FrameCoder coder(shown.frames, coded, memo);
  const core::Bitmap& first = *shown.frames[0];
  ShownQuality quality(first.width, first.height);
  CodedAnimation out;
  const auto n = static_cast<long long>(coded.frames.size());
  for (std::size_t k = 0; k < coded.frames.size(); ++k) {
    throwIfCancelled(cancel);
    reportPart(progress, pass * n + static_cast<long long>(k), passes * n);
    MappedFrame& f = coded.frames[k];
    coder.code(k, f);
    GifPalette& palette = f.local ? *f.local : coded.global;
    coverIndices(palette, f);
    quality.show(f, palette, *shown.frames[k], shown.repeats[k]);
    out.framePsnr.push_back(quality.lastPsnr());
    const std::size_t table = f.local ? 3u << gifTableBits(f.local->size()) : 0;
    out.frameBytes.push_back(coder.greedyBytes(f) + table);
  }
  std::optional<std::vector<std::uint8_t>> bytes =
      writeAnimation(first.width, first.height, coded, shown.delays, loopCount, shortest, memo);
  if (!bytes) return std::nullopt;
  out.bytes = std::move(*bytes);
  out.size = out.bytes.size();
  out.psnr = quality.meanPsnr();
  return out;
}

}  // namespace

std::optional<CodedAnimation> codeAnimation(const ShownFrames& shown, const MappedAnimation& mapped, int loopCount,
                                            bool shortest, const CancelFlag* cancel, WorkProgress* progress,
                                            LzwMemo* memo) {
  // Past 64 colours nearly every frame codes with wide codes in any order.
  constexpr std::size_t kOrderMatters = 64;
  const bool bothOrders =
      mapped.mode != PaletteMode::PerFrame && mapped.frames.size() >= 2 && mapped.global.size() <= kOrderMatters;
  const int passes = bothOrders ? 2 : 1;
  std::optional<CodedAnimation> best =
      codeInOrder(shown, mapped, loopCount, shortest, cancel, progress, 0, passes, memo);
  if (!best || !bothOrders) return best;
  MappedAnimation other = mapped;
  orderPalette(other, shown.frames, PaletteOrder::MostUsed);
  std::optional<CodedAnimation> second =
      codeInOrder(shown, std::move(other), loopCount, shortest, cancel, progress, 1, passes, memo);
  if (second && second->size < best->size) best = std::move(second);
  return best;
}

}  // namespace output
