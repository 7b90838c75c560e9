// A small colour -> palette index map for images with few colours.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "core/color.h"
#include "core/picture.h"

namespace output {

// Up to 256 distinct 24-bit colours, numbered in order of first appearance.
class ColourIndex {
 public:
  static constexpr int kCapacity = 256;

  // The colour's index, adding it when new. -1 when it is new and 256
  // colours are already known (the map is then unchanged).
  int add(core::Color colour);
  // The colour's index, or -1 when unknown.
  int find(core::Color colour) const;

  // Adds every pixel of the bitmap; false as soon as one does not fit.
  bool addAll(const core::Bitmap& bitmap);

  int size() const { return static_cast<int>(colours_.size()); }
  const std::vector<core::Color>& colours() const { return colours_; }

 private:
  // Open addressing, four times the capacity so probes stay short. A slot
  // holds colour | kUsed, so black is told apart from an empty slot.
  static constexpr std::uint32_t kUsed = 0x01000000u;
  static constexpr std::size_t kSlots = 1024;
  std::size_t slotOf(core::Color key) const;

  std::array<std::uint32_t, kSlots> keys_{};
  std::array<std::uint8_t, kSlots> values_{};
  std::vector<core::Color> colours_;
};

// Every pixel of the bitmap as its index. All colours must be in `index`.
void mapToIndices(const ColourIndex& index, const core::Bitmap& bitmap, std::vector<std::uint8_t>& out);

}  // namespace output

namespace output {

// An answer per colour, remembered: open addressing, cheaper than a node
// map on the hot paths that ask once per pixel. Keyed by red, green and
// blue only (the answers kept here depend on nothing else). A reference
// returned stays valid until the next add.
template <typename Value>
class ColourMemo {
 public:
  // The value remembered for c, or nullptr.
  const Value* find(core::Color c) const {
    const std::uint32_t key = keyOf(c);
    for (std::size_t s = slotOf(key);; s = (s + 1) & (keys_.size() - 1)) {
      if (keys_[s] == key) return &values_[s];
      if (keys_[s] == 0) return nullptr;
    }
  }
  // Remembers v for c, which must not be known yet.
  const Value& add(core::Color c, const Value& v) {
    if ((size_ + 1) * 2 > keys_.size()) grow();
    const std::uint32_t key = keyOf(c);
    std::size_t s = slotOf(key);
    while (keys_[s] != 0) s = (s + 1) & (keys_.size() - 1);
    keys_[s] = key;
    values_[s] = v;
    ++size_;
    return values_[s];
  }

 private:
  static constexpr std::uint32_t kUsed = 0x01000000u;
  static std::uint32_t keyOf(core::Color c) { return (c & 0x00FFFFFFu) | kUsed; }
  std::size_t slotOf(std::uint32_t key) const {
    std::uint32_t h = key * 0x9E3779B1u;
    h ^= h >> 15;
    return h & (keys_.size() - 1);
  }
  void grow() {
    std::vector<std::uint32_t> keys(keys_.size() * 2, 0);
    std::vector<Value> values(keys.size());
    keys.swap(keys_);
    values.swap(values_);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (keys[i] == 0) continue;
      std::size_t s = slotOf(keys[i]);
      while (keys_[s] != 0) s = (s + 1) & (keys_.size() - 1);
      keys_[s] = keys[i];
      values_[s] = values[i];
    }
  }
  std::vector<std::uint32_t> keys_ = std::vector<std::uint32_t>(1024, 0);
  std::vector<Value> values_ = std::vector<Value>(1024);
  std::size_t size_ = 0;
};

// How often each 24-bit colour occurs in a set of bitmaps.
class ColourHistogram {
 public:
  struct Entry {
    core::Color colour;
    std::uint64_t count;
  };

  // Counts every pixel. False (with the bitmap partly counted) as soon as
  // more than maxColours distinct colours have been seen.
  bool addAll(const core::Bitmap& bitmap, std::size_t maxColours = SIZE_MAX);
  // Counts every step-th pixel, starting with the first.
  void addSampled(const core::Bitmap& bitmap, std::size_t step);
  std::size_t size() const { return size_; }
  // Every colour with its count, in no particular order.
  std::vector<Entry> entries() const;

 private:
  void add(core::Color colour, std::uint64_t count);
  void grow();

  static constexpr std::uint32_t kUsed = 0x01000000u;
  std::vector<std::uint32_t> keys_ = std::vector<std::uint32_t>(4096, 0);
  std::vector<std::uint64_t> counts_ = std::vector<std::uint64_t>(4096, 0);
  std::size_t size_ = 0;
};

}  // namespace output
