// The LZW coding of one GIF image's indices, written by us rather than by
// giflib so that each image gets the smallest code size its indices allow and
// the parse that codes it shortest.
#pragma once

#include <cstdint>
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
// Every index must be below 2^codeSize (codeSize 2..8). The dictionary is
// reset with a clear code when it is full, as every decoder expects.
void appendLzw(std::span<const std::uint8_t> indices, int codeSize, LzwParse parse, std::vector<std::uint8_t>& out);

// The shortest of the parses above, appended to `out`.
void appendShortestLzw(std::span<const std::uint8_t> indices, int codeSize, std::vector<std::uint8_t>& out);

}  // namespace output
