#include "gif/lzw_encoder.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace output {
namespace {

constexpr int kMaxCode = 4095;  // the largest code a 12-bit GIF code holds
// How many shorter matches the look-ahead parse weighs against the longest.
constexpr std::size_t kLookAheadCandidates = 6;

// The string table as open addressing: a slot holds
// (prefix code << 8 | index) << 12 | code, or kEmpty.
class Dictionary {
 public:
  static constexpr std::uint32_t kEmpty = 0xFFFFFFFFu;
  Dictionary() : slots_(kSlots, kEmpty) {}

  int find(int prefix, std::uint8_t index) const {
    const std::uint32_t key = static_cast<std::uint32_t>(prefix) << 8 | index;
    for (std::size_t s = slotOf(key);; s = (s + 1) & (kSlots - 1)) {
      const std::uint32_t e = slots_[s];
      if (e == kEmpty) return -1;
      if (e >> 12 == key) return static_cast<int>(e & 0xFFF);
    }
  }
  void insert(int prefix, std::uint8_t index, int code) {
    const std::uint32_t key = static_cast<std::uint32_t>(prefix) << 8 | index;
    std::size_t s = slotOf(key);
    while (slots_[s] != kEmpty) s = (s + 1) & (kSlots - 1);
    slots_[s] = key << 12 | static_cast<std::uint32_t>(code);
  }
  void clear() { std::fill(slots_.begin(), slots_.end(), kEmpty); }

 private:
  static constexpr std::size_t kSlots = 16384;
  static std::size_t slotOf(std::uint32_t key) { return ((key >> 12) ^ (key * 0x9E3779B1u >> 18)) & (kSlots - 1); }
  std::vector<std::uint32_t> slots_;
};

// Codes packed least significant bit first, as GIF stores them.
class BitPacker {
 public:
  void put(int code, int width) {
    acc_ |= static_cast<std::uint64_t>(code) << filled_;
    filled_ += width;
    while (filled_ >= 8) {
      bytes_.push_back(static_cast<std::uint8_t>(acc_));
      acc_ >>= 8;
      filled_ -= 8;
    }
  }
  void flush() {
    if (filled_ > 0) bytes_.push_back(static_cast<std::uint8_t>(acc_));
    acc_ = 0;
    filled_ = 0;
  }
  std::vector<std::uint8_t>& bytes() { return bytes_; }

 private:
  std::vector<std::uint8_t> bytes_;
  std::uint64_t acc_ = 0;
  int filled_ = 0;
};

// Copyable mid-image, so that codings which agree up to some point can share
// the work before it.
class Encoder {
 public:
  // fullFor: how many codes to keep using a full table before starting
  // over; below 0, start over as soon as it fills, one code early, as
  // giflib does.
  Encoder(std::span<const std::uint8_t> px, int codeSize, int fullFor = -1)
      : px_(px), codeSize_(codeSize), clear_(1 << codeSize), fullFor_(fullFor) {
    bits_.bytes().reserve(px.size() / 2 + 16);
    reset();
    emit(clear_);
  }

  bool filled() const { return filled_; }
  void setFullFor(int fullFor) { fullFor_ = fullFor; }
  std::vector<std::uint8_t>& codes() { return bits_.bytes(); }

  void run(LzwParse parse) {
    while (at_ < px_.size()) step(parse);
    emit(clear_ + 1);
    bits_.flush();
  }

  // Greedy steps while every fullFor codes alike: until the table is about
  // to fill. False when the image ended first.
  bool greedyUntilFull() {
    while (at_ < px_.size()) {
      if (next_ >= kMaxCode) return true;
      step(LzwParse::Greedy);
    }
    return false;
  }

 private:
  void step(LzwParse parse) {
    const std::size_t longest = match(at_);
    std::size_t take = longest;
    if (parse == LzwParse::LookAhead && at_ + longest < px_.size()) take = bestSplit(at_, longest);
    const int code = codes_[take % codes_.size()];
    emit(code);
    at_ += take;
    if (at_ < px_.size()) grow(code, px_[at_]);
  }
  void reset() {
    usedFull_ = 0;
    dict_.clear();
    next_ = clear_ + 2;
    width_ = codeSize_ + 1;
  }
  void emit(int code) {
    bits_.put(code, width_);
    if (next_ >= (1 << width_) && width_ < 12) ++width_;
  }
  // Adds string + index; a full table starts over after a clear code, at
  // once or after fullFor_ more codes.
  void grow(int prefix, std::uint8_t index) {
    if (fullFor_ < 0 ? next_ >= kMaxCode : next_ > kMaxCode && ++usedFull_ > fullFor_) {
      filled_ = true;
      emit(clear_);
      reset();
    } else if (next_ <= kMaxCode) {
      dict_.insert(prefix, index, next_++);
    }
  }
  // The longest match from i. codes_ keeps the codes of its last few
  // prefixes: the prefix of length l at codes_[l % size].
  std::size_t match(std::size_t i) {
    int code = px_[i];
    std::size_t length = 1;
    codes_[1] = code;
    while (i + length < px_.size()) {
      const int next = dict_.find(code, px_[i + length]);
      if (next < 0) break;
      code = next;
      ++length;
      codes_[length % codes_.size()] = code;
    }
    return length;
  }
  std::size_t matchLength(std::size_t i) const {
    int code = px_[i];
    std::size_t length = 1;
    while (i + length < px_.size()) {
      const int next = dict_.find(code, px_[i + length]);
      if (next < 0) break;
      code = next;
      ++length;
    }
    return length;
  }
  // Of the longest match and a few shorter ones, the length whose next
  // string reaches furthest; ties keep the longer string.
  std::size_t bestSplit(std::size_t i, std::size_t longest) const {
    std::size_t best = longest;
    std::size_t reach = longest + matchLength(i + longest);
    const std::size_t shortest = longest > kLookAheadCandidates ? longest - kLookAheadCandidates : 1;
    for (std::size_t l = longest - 1; l >= shortest && l > 0; --l) {
      const std::size_t r = l + matchLength(i + l);
      if (r > reach) {
        reach = r;
        best = l;
      }
    }
    return best;
  }

  std::span<const std::uint8_t> px_;
  int codeSize_;
  int clear_;
  int fullFor_;
  int usedFull_ = 0;
  bool filled_ = false;
  BitPacker bits_;
  std::size_t at_ = 0;
  Dictionary dict_;
  std::array<int, kLookAheadCandidates + 1> codes_{};
  int next_ = 0;
  int width_ = 0;
};

void appendBlocks(const std::vector<std::uint8_t>& codes, int codeSize, std::vector<std::uint8_t>& out) {
  out.push_back(static_cast<std::uint8_t>(codeSize));
  for (std::size_t at = 0; at < codes.size(); at += 255) {
    const std::size_t n = std::min<std::size_t>(255, codes.size() - at);
    out.push_back(static_cast<std::uint8_t>(n));
    out.insert(out.end(), codes.begin() + static_cast<std::ptrdiff_t>(at),
               codes.begin() + static_cast<std::ptrdiff_t>(at + n));
  }
  out.push_back(0);
}

}  // namespace

int lzwCodeSizeFor(std::span<const std::uint8_t> indices) {
  std::uint8_t highest = 0;
  for (std::uint8_t v : indices) highest = std::max(highest, v);
  int bits = 2;
  while ((1 << bits) <= highest) ++bits;
  return bits;
}

void appendLzw(std::span<const std::uint8_t> indices, int codeSize, LzwParse parse, std::vector<std::uint8_t>& out,
               int fullFor) {
  Encoder encoder(indices, codeSize, fullFor);
  encoder.run(parse);
  appendBlocks(encoder.codes(), codeSize, out);
}

void appendShortestLzw(std::span<const std::uint8_t> indices, int codeSize, std::vector<std::uint8_t>& out) {
  // The greedy codings differ only from where the table first fills on.
  Encoder shared(indices, codeSize);
  const bool fills = shared.greedyUntilFull();
  std::vector<std::uint8_t> best;
  int bestFullFor = -1;
  // Images that fill the table also try keeping it full for a while: where
  // the picture repeats itself, its strings go on paying.
  for (int fullFor : {-1, 1024, 1 << 30}) {
    Encoder encoder = shared;
    encoder.setFullFor(fullFor);
    encoder.run(LzwParse::Greedy);
    if (best.empty() || encoder.codes().size() < best.size()) {
      best.swap(encoder.codes());
      bestFullFor = fullFor;
    }
    if (!fills || !encoder.filled()) break;
  }
  Encoder lookAhead(indices, codeSize, bestFullFor);
  lookAhead.run(LzwParse::LookAhead);
  if (lookAhead.codes().size() < best.size()) best.swap(lookAhead.codes());
  appendBlocks(best, codeSize, out);
}

namespace {

// FNV-1a over eight bytes at a time: only to tell images apart quickly; a
// match is always confirmed byte by byte.
std::uint64_t hashOf(std::span<const std::uint8_t> bytes) {
  std::uint64_t h = 0xCBF29CE484222325ull ^ bytes.size();
  std::size_t i = 0;
  for (; i + 8 <= bytes.size(); i += 8) {
    std::uint64_t word;
    std::memcpy(&word, bytes.data() + i, 8);
    h = (h ^ word) * 0x100000001B3ull;
  }
  for (; i < bytes.size(); ++i) h = (h ^ bytes[i]) * 0x100000001B3ull;
  return h;
}

}  // namespace

void LzwMemo::append(std::span<const std::uint8_t> indices, int codeSize, bool shortest,
                     std::vector<std::uint8_t>& out) {
  const std::uint64_t hash = hashOf(indices);
  for (const Entry& e : entries_) {
    if (e.hash == hash && e.codeSize == codeSize && e.shortest == shortest &&
        std::equal(e.indices.begin(), e.indices.end(), indices.begin(), indices.end())) {
      out.insert(out.end(), e.data.begin(), e.data.end());
      return;
    }
  }
  Entry e{hash, codeSize, shortest, std::vector<std::uint8_t>(indices.begin(), indices.end()), {}};
  if (shortest) {
    appendShortestLzw(indices, codeSize, e.data);
  } else {
    appendLzw(indices, codeSize, LzwParse::Greedy, e.data);
  }
  out.insert(out.end(), e.data.begin(), e.data.end());
  held_ += e.indices.size() + e.data.size();
  entries_.push_back(std::move(e));
  while (held_ > kHeldBytes && entries_.size() > 1) {
    held_ -= entries_.front().indices.size() + entries_.front().data.size();
    entries_.pop_front();
  }
}

}  // namespace output
