#include "output/lzw_plan.h"

#include <algorithm>

namespace output {
namespace {

constexpr int kMaxCode = 4095;  // giflib's LZ_MAX_CODE

}  // namespace

// Bit counting mirrors giflib's EGifCompressOutput and EGifCompressLine.
struct LzwPlanner::Coder {
  LzwPlanner& p;
  int minCodeSize;
  int clearCode;
  int running = 0;
  int runningBits = 0;
  int maxCode1 = 0;
  int current = -1;  // code of the string matched so far; -1 before the first index
  std::size_t bits = 0;

  Coder(LzwPlanner& planner, int tableBits)
      : p(planner), minCodeSize(std::max(2, tableBits)), clearCode(1 << minCodeSize) {
    reset();
    emit(clearCode);
  }

  void reset() {
    p.clear();
    running = clearCode + 2;
    runningBits = minCodeSize + 1;
    maxCode1 = 1 << runningBits;
  }

  void emit(int code) {
    bits += static_cast<std::size_t>(runningBits);
    if (running >= maxCode1 && code <= kMaxCode) maxCode1 = 1 << ++runningBits;
  }

  // The code that extends the current match by `index`, or -1.
  int extension(std::uint8_t index) const {
    return current < 0 ? -1 : p.find(static_cast<std::uint32_t>(current) << 8 | index);
  }

  void push(std::uint8_t index) {
    if (current < 0) {
      current = index;
      return;
    }
    const std::uint32_t key = static_cast<std::uint32_t>(current) << 8 | index;
    if (const int code = p.find(key); code >= 0) {
      current = code;
      return;
    }
    emit(current);
    current = index;
    if (running >= kMaxCode) {
      emit(clearCode);
      reset();
    } else {
      p.insert(key, running++);
    }
  }

  std::size_t finish() {
    if (current >= 0) emit(current);
    emit(clearCode + 1);  // end of information
    const std::size_t dataBytes = (bits + 7) / 8;
    // Code size byte, one length byte per sub-block of up to 255, terminator.
    return 1 + dataBytes + (dataBytes + 254) / 255 + 1;
  }
};

LzwPlanner::LzwPlanner() : table_(kSlots, kEmpty) {}

namespace {
std::size_t slotOf(std::uint32_t key) { return ((key >> 12) ^ key) & 0x1FFF; }
}  // namespace

int LzwPlanner::find(std::uint32_t key) const {
  for (std::size_t slot = slotOf(key);; slot = (slot + 1) & (kSlots - 1)) {
    const std::uint32_t entry = table_[slot];
    if (entry == kEmpty) return -1;
    if (entry >> 12 == key) return static_cast<int>(entry & 0xFFF);
  }
}

void LzwPlanner::insert(std::uint32_t key, int code) {
  std::size_t slot = slotOf(key);
  while (table_[slot] != kEmpty) slot = (slot + 1) & (kSlots - 1);
  table_[slot] = key << 12 | static_cast<std::uint32_t>(code);
}

void LzwPlanner::clear() { std::fill(table_.begin(), table_.end(), kEmpty); }

std::size_t LzwPlanner::codedBytes(std::span<const std::uint8_t> stream, int tableBits) {
  Coder coder(*this, tableBits);
  for (std::uint8_t index : stream) coder.push(index);
  return coder.finish();
}

std::size_t LzwPlanner::chooseFree(std::span<const std::uint8_t> want, std::span<const std::uint8_t> isFree,
                                   std::uint8_t transparent, int tableBits, std::vector<std::uint8_t>& out) {
  out.resize(want.size());
  Coder coder(*this, tableBits);
  bool lastWasTransparent = false;
  for (std::size_t i = 0; i < want.size(); ++i) {
    std::uint8_t chosen = want[i];
    if (isFree[i] != 0) {
      const bool colourExtends = coder.extension(want[i]) >= 0;
      const bool clearExtends = coder.extension(transparent) >= 0;
      // Extend the match when one choice can; when both or neither can, keep
      // to what the previous pixel chose, so runs stay runs.
      if (clearExtends != colourExtends) {
        chosen = clearExtends ? transparent : want[i];
      } else {
        chosen = lastWasTransparent ? transparent : want[i];
      }
    }
    lastWasTransparent = chosen == transparent;
    out[i] = chosen;
    coder.push(chosen);
  }
  return coder.finish();
}

}  // namespace output
