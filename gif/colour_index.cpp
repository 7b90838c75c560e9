#include "gif/colour_index.h"

namespace output {

std::size_t ColourIndex::slotOf(core::Color key) const {
  // A multiplicative hash spreads neighbouring colours over the table.
  std::size_t slot = (key * 2654435761u) >> 22 & (kSlots - 1);
  while (keys_[slot] != 0 && keys_[slot] != key) slot = (slot + 1) & (kSlots - 1);
  return slot;
}

int ColourIndex::add(core::Color colour) {
  const std::uint32_t key = (colour & 0x00FFFFFFu) | kUsed;
  const std::size_t slot = slotOf(key);
  if (keys_[slot] == key) return values_[slot];
  if (colours_.size() == kCapacity) return -1;
  keys_[slot] = key;
  values_[slot] = static_cast<std::uint8_t>(colours_.size());
  colours_.push_back(colour & 0x00FFFFFFu);
  return values_[slot];
}

int ColourIndex::find(core::Color colour) const {
  const std::uint32_t key = (colour & 0x00FFFFFFu) | kUsed;
  const std::size_t slot = slotOf(key);
  return keys_[slot] == key ? values_[slot] : -1;
}

bool ColourIndex::addAll(const core::Bitmap& bitmap) {
  // Pictures hold long runs of one colour; skip repeats of the last one.
  core::Color last = 0;
  bool haveLast = false;
  for (core::Color c : bitmap.px) {
    if (haveLast && c == last) continue;
    if (add(c) < 0) return false;
    last = c;
    haveLast = true;
  }
  return true;
}

void mapToIndices(const ColourIndex& index, const core::Bitmap& bitmap, std::vector<std::uint8_t>& out) {
  out.resize(bitmap.px.size());
  core::Color last = 0;
  std::uint8_t lastIndex = 0;
  bool haveLast = false;
  for (std::size_t i = 0; i < bitmap.px.size(); ++i) {
    const core::Color c = bitmap.px[i];
    if (!haveLast || c != last) {
      lastIndex = static_cast<std::uint8_t>(index.find(c));
      last = c;
      haveLast = true;
    }
    out[i] = lastIndex;
  }
}

}  // namespace output

namespace output {

bool ColourHistogram::addAll(const core::Bitmap& bitmap, std::size_t maxColours) {
  // Count runs of one colour at a time: pictures are mostly runs.
  const std::size_t n = bitmap.px.size();
  std::size_t i = 0;
  while (i < n) {
    const core::Color c = bitmap.px[i];
    std::size_t j = i + 1;
    while (j < n && bitmap.px[j] == c) ++j;
    add(c, j - i);
    if (size_ > maxColours) return false;
    i = j;
  }
  return true;
}

void ColourHistogram::addSampled(const core::Bitmap& bitmap, std::size_t step) {
  for (std::size_t i = 0; i < bitmap.px.size(); i += step) add(bitmap.px[i], 1);
}

void ColourHistogram::add(core::Color colour, std::uint64_t count) {
  const std::uint32_t key = (colour & 0x00FFFFFFu) | kUsed;
  const std::size_t mask = keys_.size() - 1;
  std::uint32_t h = key * 0x9E3779B1u;
  h ^= h >> 15;
  std::size_t slot = h & mask;
  while (keys_[slot] != 0 && keys_[slot] != key) slot = (slot + 1) & mask;
  if (keys_[slot] == 0) {
    keys_[slot] = key;
    ++size_;
  }
  counts_[slot] += count;
  if (size_ * 2 > keys_.size()) grow();
}

void ColourHistogram::grow() {
  std::vector<std::uint32_t> oldKeys(keys_.size() * 2, 0);
  std::vector<std::uint64_t> oldCounts(counts_.size() * 2, 0);
  oldKeys.swap(keys_);
  oldCounts.swap(counts_);
  size_ = 0;
  for (std::size_t i = 0; i < oldKeys.size(); ++i) {
    if (oldKeys[i] != 0) add(oldKeys[i], oldCounts[i]);
  }
}

std::vector<ColourHistogram::Entry> ColourHistogram::entries() const {
  std::vector<Entry> out;
  out.reserve(size_);
  for (std::size_t i = 0; i < keys_.size(); ++i) {
    if (keys_[i] != 0) out.push_back(Entry{keys_[i] & 0x00FFFFFFu, counts_[i]});
  }
  return out;
}

}  // namespace output
