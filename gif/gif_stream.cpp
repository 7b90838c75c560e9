#include "gif/gif_stream.h"

#include <algorithm>

#include "gif/lzw_encoder.h"

namespace output {
namespace {

constexpr std::uint8_t kExtension = 0x21;
constexpr std::uint8_t kApplicationLabel = 0xFF;
constexpr std::uint8_t kGraphicControlLabel = 0xF9;
constexpr std::uint8_t kImageSeparator = 0x2C;
constexpr std::uint8_t kTrailer = 0x3B;
constexpr std::uint8_t kTableFlag = 0x80;
// Colour resolution field of the screen descriptor: 8 bits per primary.
constexpr std::uint8_t kEightBitColour = 0x70;

bool validPalette(const GifPalette* palette) { return !palette || (!palette->empty() && palette->size() <= 256); }

}  // namespace

int gifTableBits(std::size_t colours) {
  int bits = 1;
  while ((std::size_t{1} << bits) < colours) ++bits;
  return bits;
}

GifStream::GifStream(std::vector<std::uint8_t>& sink, bool shortest, LzwMemo* memo)
    : out_(sink), shortest_(shortest), memo_(memo) {}

void GifStream::put16(int value) {
  out_.push_back(static_cast<std::uint8_t>(value & 0xFF));
  out_.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// A palette padded with black to its power-of-two table.
void GifStream::putTable(const GifPalette& palette) {
  const std::size_t size = std::size_t{1} << gifTableBits(palette.size());
  for (std::size_t i = 0; i < size; ++i) {
    const core::Color c = i < palette.size() ? palette[i] : core::kBlack;
    out_.push_back(static_cast<std::uint8_t>(core::redOf(c)));
    out_.push_back(static_cast<std::uint8_t>(core::greenOf(c)));
    out_.push_back(static_cast<std::uint8_t>(core::blueOf(c)));
  }
}

bool GifStream::putScreen(int w, int h, const GifPalette* global, bool gif89) {
  if (failed_ || stage_ != Stage::Start || w < 1 || h < 1 || w > 65535 || h > 65535 || !validPalette(global)) {
    return fail();
  }
  const char* signature = gif89 ? "GIF89a" : "GIF87a";
  out_.insert(out_.end(), signature, signature + 6);
  put16(w);
  put16(h);
  const std::uint8_t table = global ? static_cast<std::uint8_t>(kTableFlag | (gifTableBits(global->size()) - 1)) : 0;
  out_.push_back(static_cast<std::uint8_t>(kEightBitColour | table));
  out_.push_back(0);  // background colour index
  out_.push_back(0);  // no pixel aspect ratio
  if (global) putTable(*global);
  width_ = w;
  height_ = h;
  globalColours_ = global ? global->size() : 0;
  stage_ = Stage::Screen;
  return true;
}

bool GifStream::putLoopCount(int loopCount) {
  if (failed_ || stage_ != Stage::Screen || loopCount < 0 || loopCount > 65535) return fail();
  static const char kApplication[] = "NETSCAPE2.0";
  out_.insert(out_.end(), {kExtension, kApplicationLabel, 11});
  out_.insert(out_.end(), kApplication, kApplication + 11);
  out_.insert(out_.end(), {3, 1});  // sub-block 1: the loop count, little-endian
  put16(loopCount);
  out_.push_back(0);
  return true;
}

bool GifStream::putFrameControl(int delay, int transparentIndex, GifDisposal disposal) {
  if (failed_ || stage_ != Stage::Screen || delay < 0 || delay > 65535 || transparentIndex < -1 ||
      transparentIndex > 255) {
    return fail();
  }
  const auto packed = static_cast<std::uint8_t>(static_cast<int>(disposal) << 2 | (transparentIndex >= 0 ? 1 : 0));
  out_.insert(out_.end(), {kExtension, kGraphicControlLabel, 4, packed});
  put16(delay);
  out_.push_back(static_cast<std::uint8_t>(std::max(0, transparentIndex)));
  out_.push_back(0);
  return true;
}

bool GifStream::putImageHeader(const GifRect& rect, const GifPalette* local, std::span<const std::uint8_t> indices) {
  if (failed_ || stage_ != Stage::Screen || rect.width < 1 || rect.height < 1 || rect.left < 0 || rect.top < 0 ||
      rect.left + rect.width > width_ || rect.top + rect.height > height_ || indices.size() != rect.area() ||
      !validPalette(local)) {
    return fail();
  }
  const std::size_t colours = local ? local->size() : globalColours_;
  const std::uint8_t highest = indices.empty() ? 0 : *std::max_element(indices.begin(), indices.end());
  if (highest >= colours) return fail();
  out_.push_back(kImageSeparator);
  put16(rect.left);
  put16(rect.top);
  put16(rect.width);
  put16(rect.height);
  out_.push_back(local ? static_cast<std::uint8_t>(kTableFlag | (gifTableBits(local->size()) - 1)) : 0);
  if (local) putTable(*local);
  return true;
}

bool GifStream::putImage(const GifRect& rect, const GifPalette* local, std::span<const std::uint8_t> indices) {
  if (!putImageHeader(rect, local, indices)) return false;
  const int codeSize = lzwCodeSizeFor(indices);
  if (memo_) {
    memo_->append(indices, codeSize, shortest_, out_);
  } else if (shortest_) {
    appendShortestLzw(indices, codeSize, out_);
  } else {
    appendLzw(indices, codeSize, LzwParse::Greedy, out_);
  }
  return true;
}

bool GifStream::countImage(const GifRect& rect, const GifPalette* local, std::span<const std::uint8_t> indices,
                           std::size_t dataBytes) {
  if (!putImageHeader(rect, local, indices)) return false;
  counted_ += dataBytes;
  return true;
}

bool GifStream::close() {
  if (stage_ == Stage::Closed) return false;
  const bool ok = !failed_ && stage_ == Stage::Screen;
  if (ok) out_.push_back(kTrailer);
  stage_ = Stage::Closed;
  return ok;
}

}  // namespace output
