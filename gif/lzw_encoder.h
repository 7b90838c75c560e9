// The LZW coding of one GIF image's indices, written by us rather than by
// giflib so that each image gets the smallest code size its indices allow and
// the parse that codes it shortest.
#pragma once

#include <cstdint>
#include <deque>
#include <span>
#include <vector>

namespace output {

// The smallest LZW minimum code size (2..8) that holds every index.
int lzwCodeSizeFor(std::span<const std::uint8_t> indices);

// How the codes are chosen. Every variant decodes to the same indices in any
// GIF decoder: they differ only in where one string ends and the next begins.
enum class LzwParse {
  // The longest dictionary match each time (what every encoder does).
  Greedy,
  // Where a shorter match lets the next string reach further, takes it:
  // fewer codes on pictures with long repeats.
  LookAhead,
};

// Appends the image data of a GIF image to `out`: the minimum code size
// byte, the codes in sub-blocks of at most 255 bytes, and the terminator.
// Every index must be below 2^codeSize (codeSize 2..8). fullFor < 0: the
// table starts over with a clear code as soon as it fills (one code early,
// as giflib does); otherwise it is used full, without new strings, for
// fullFor more codes first (decoders stop adding strings to a full table).
void appendLzw(std::span<const std::uint8_t> indices, int codeSize, LzwParse parse, std::vector<std::uint8_t>& out,
               int fullFor = -1);

// The shortest of the parses above, appended to `out`.
void appendShortestLzw(std::span<const std::uint8_t> indices, int codeSize, std::vector<std::uint8_t>& out);

// The image data of images coded before, kept so that an image met again
// (a candidate measured and then written, or an image that comes out alike
// at two trial qualities of a fit) is not coded twice. Holds about
// kHeldBytes, forgetting the oldest first. One memo serves one thread.
class LzwMemo {
 public:
  // As appendShortestLzw (shortest) or appendLzw with the greedy parse.
  void append(std::span<const std::uint8_t> indices, int codeSize, bool shortest, std::vector<std::uint8_t>& out);

  static constexpr std::size_t kHeldBytes = std::size_t{16} << 20;

 private:
  struct Entry {
    std::uint64_t hash;
    int codeSize;
    bool shortest;
    std::vector<std::uint8_t> indices;
    std::vector<std::uint8_t> data;
  };
  std::deque<Entry> entries_;
  std::size_t held_ = 0;
};

}  // namespace output
