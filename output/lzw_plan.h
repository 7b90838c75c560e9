// A model of the LZW coder that giflib runs over an image's indices: the
// same greedy parse, dictionary growth, code widths and resets. It measures
// how many bytes a choice of indices will take and steers the free choices
// of a frame (pixels that may be either their colour or transparent) toward
// long dictionary matches. It writes nothing; giflib does the real coding.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

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
};

class LzwPlanner {
 public:
  LzwPlanner();

  // Bytes of image data (code size byte, sub-blocks with their length
  // bytes, terminator) that giflib writes for `stream`, whose values are
  // below 2^tableBits (tableBits 1..8).
  std::size_t codedBytes(std::span<const std::uint8_t> stream, int tableBits);

  // Picks one of each pixel's options so that the LZW strings grow long,
  // spending at most `budget` extra error in all: a string is extended by
  // the first affordable option that can extend it; a new string starts
  // with the option that begins the longest match found by a short search
  // along the dictionary. Fills `out`, adds the error used to `spent` and
  // returns codedBytes(out, tableBits).
  std::size_t choose(std::span<const PixelOptions> pixels, double budget, int tableBits,
                     std::vector<std::uint8_t>& out, double& spent);

 private:
  struct Coder;
  // The dictionary as an open-addressing table small enough to stay in the
  // cache: each slot holds (prefix code << 8 | index) << 12 | code, or
  // kEmpty.
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  static constexpr std::size_t kSlots = 8192;
  int find(std::uint32_t key) const;
  struct Search;
  void insert(std::uint32_t key, int code);
  void clear();
  std::vector<std::uint32_t> table_;
};

}  // namespace output
