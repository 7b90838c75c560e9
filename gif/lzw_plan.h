// A model of the greedy LZW coder (lzw_encoder.h's greedy parse, the parse
// giflib's coder also makes) over an image's indices: the same dictionary
// growth, code widths and resets. It measures how many bytes a choice of
// indices will take and steers the free choices of a frame (pixels that may
// be either their colour or transparent) toward long dictionary matches. It
// writes nothing; lzw_encoder.h does the real coding.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "core/color.h"

namespace output {

// The indices one pixel may be written as. index[0] is its own index and
// costs nothing; the others follow in order of their cost, the extra
// squared RGB error (summed over the three channels) they bring to the
// frame as shown.
struct PixelOptions {
  static constexpr int kMax = 4;
  std::uint8_t count = 1;
  std::array<std::uint8_t, kMax> index{};
  std::array<std::uint16_t, kMax> cost{};  // costlier options are not offered

  // Inserts an option keeping options 1.. in order of cost. Options dearer
  // than a cost field holds, and any past kMax, are left out.
  void add(std::uint8_t option, int extra) {
    if (count >= kMax || extra < 0 || extra > UINT16_MAX) return;
    int at = count++;
    while (at > 1 && cost[static_cast<std::size_t>(at - 1)] > extra) {
      index[static_cast<std::size_t>(at)] = index[static_cast<std::size_t>(at - 1)];
      cost[static_cast<std::size_t>(at)] = cost[static_cast<std::size_t>(at - 1)];
      --at;
    }
    index[static_cast<std::size_t>(at)] = option;
    cost[static_cast<std::size_t>(at)] = static_cast<std::uint16_t>(extra);
  }
};

class LzwPlanner {
 public:
  LzwPlanner();

  // Bytes of image data (code size byte, sub-blocks with their length
  // bytes, terminator) that the greedy parse writes for `stream`, whose values are
  // below 2^tableBits (tableBits 1..8).
  std::size_t codedBytes(std::span<const std::uint8_t> stream, int tableBits);
  // How many codes the last codedBytes call wrote.
  std::size_t lastCodeCount() const { return lastCodes_; }

  // Picks one of each pixel's options so that the LZW strings grow long,
  // spending at most `budget` extra error in all: a string is extended by
  // the first affordable option that can extend it; a new string starts
  // with the option that begins the longest match found by a short search
  // along the dictionary. Fills `out`, adds the error used to `spent` and
  // returns codedBytes(out, tableBits).
  std::size_t choose(std::span<const PixelOptions> pixels, double budget, int tableBits, std::vector<std::uint8_t>& out,
                     double& spent);

  // One pixel for lossy matching: the colour it should show, what is shown
  // there now, its own index and that index's error (squared RGB).
  struct LossyPixel {
    core::Color target;
    core::Color shown;
    std::uint8_t own;
    bool still;  // unchanged since the last frame: must keep showing `shown`
    int ownError;
  };
  // Picks indices so that strings grow long: a string is extended by the
  // pixel's own index where the dictionary has it, otherwise by whichever
  // continuation the dictionary has whose colour (palette[i], or `shown`
  // for `transparent`) is nearest the target, when it adds at most
  // `tolerance` to the pixel's own error. Still pixels only ever take
  // `shown`. A new string starts with the own index (transparent for still
  // pixels; transparent < 0: none). Fills `out`, returns its coded size.
  std::size_t chooseLossy(std::span<const LossyPixel> pixels, const std::vector<core::Color>& palette, int transparent,
                          int tolerance, int tableBits, std::vector<std::uint8_t>& out);

 private:
  struct Coder;
  // The dictionary as an open-addressing table small enough to stay in the
  // cache: each slot holds (prefix code << 8 | index) << 12 | code, or
  // kEmpty.
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  static constexpr std::size_t kSlots = 16384;
  int find(std::uint32_t key) const;
  struct Search;
  void insert(std::uint32_t key, int code);
  void clear();
  std::vector<std::uint32_t> table_;
  std::size_t lastCodes_ = 0;
  // The dictionary as a tree: each code's first child, next sibling and
  // last index, so that every continuation of a string can be listed.
  std::vector<std::int16_t> firstChild_;
  std::vector<std::int16_t> nextSibling_;
  std::vector<std::uint8_t> lastIndex_;
};

}  // namespace output
