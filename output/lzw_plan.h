// A model of the LZW coder that giflib runs over an image's indices: the
// same greedy parse, dictionary growth, code widths and resets. It measures
// how many bytes a choice of indices will take and steers the free choices
// of a frame (pixels that may be either their colour or transparent) toward
// long dictionary matches. It writes nothing; giflib does the real coding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

namespace output {

class LzwPlanner {
 public:
  LzwPlanner();

  // Bytes of image data (code size byte, sub-blocks with their length
  // bytes, terminator) that giflib writes for `stream`, whose values are
  // below 2^tableBits (tableBits 1..8).
  std::size_t codedBytes(std::span<const std::uint8_t> stream, int tableBits);

  // Fills `out` with want[i] where isFree[i] is 0, and with want[i] or
  // `transparent` where it is non-zero, choosing greedily whichever extends
  // the current dictionary match. Returns codedBytes(out, tableBits).
  std::size_t chooseFree(std::span<const std::uint8_t> want, std::span<const std::uint8_t> isFree,
                         std::uint8_t transparent, int tableBits, std::vector<std::uint8_t>& out);

 private:
  struct Coder;
  // The dictionary as an open-addressing table small enough to stay in the
  // cache: each slot holds (prefix code << 8 | index) << 12 | code, or
  // kEmpty.
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  static constexpr std::size_t kSlots = 8192;
  int find(std::uint32_t key) const;
  void insert(std::uint32_t key, int code);
  void clear();
  std::vector<std::uint32_t> table_;
};

}  // namespace output
