#include "gif/lzw_plan.h"

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
  std::size_t codes = 0;

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
    ++codes;
    if (running >= maxCode1 && code <= kMaxCode) maxCode1 = 1 << ++runningBits;
  }

  // The code that extends the current match by `index`, or -1.
  int extension(std::uint8_t index) const {
    return current < 0 ? -1 : p.find(static_cast<std::uint32_t>(current) << 8 | index);
  }

  // Moves along a dictionary entry already looked up with extension().
  void follow(int code) { current = code; }

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
    endString(key, index);
  }

  // Ends the current string where the table has no continuation by
  // `index` (key: the one looked up), and starts the next with it.
  void endString(std::uint32_t key, std::uint8_t index) {
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

LzwPlanner::LzwPlanner()
    : table_(kSlots, kEmpty), firstChild_(kMaxCode + 1, -1), nextSibling_(kMaxCode + 1, -1), lastIndex_(kMaxCode + 1) {}

namespace {
std::size_t slotOf(std::uint32_t key) { return ((key >> 12) ^ key) & 0x3FFF; }
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
  const std::size_t prefix = key >> 8;
  nextSibling_[static_cast<std::size_t>(code)] = firstChild_[prefix];
  firstChild_[prefix] = static_cast<std::int16_t>(code);
  lastIndex_[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(key & 0xFF);
}

void LzwPlanner::clear() {
  std::fill(table_.begin(), table_.end(), kEmpty);
  std::fill(firstChild_.begin(), firstChild_.end(), std::int16_t{-1});
}

std::size_t LzwPlanner::codedBytes(std::span<const std::uint8_t> stream, int tableBits) {
  Coder coder(*this, tableBits);
  for (std::uint8_t index : stream) coder.push(index);
  const std::size_t bytes = coder.finish();
  lastCodes_ = coder.codes;
  return bytes;
}

// The longest dictionary path from one code over the pixels that follow,
// taking any affordable option at each; ties go to the cheaper path. The
// number of nodes visited is capped, so the search stays cheap.
struct LzwPlanner::Search {
  // Each node visited lengthens the path by at most one pixel.
  static constexpr int kNodes = 128;

  Search(const LzwPlanner& p, std::span<const PixelOptions> px, double b) : planner(p), pixels(px), budget(b) {}

  const LzwPlanner& planner;
  std::span<const PixelOptions> pixels;
  double budget;
  int nodesLeft = kNodes;
  std::array<std::uint8_t, kNodes> path{};
  std::size_t length = 0;
  std::array<std::uint8_t, kNodes> best{};
  std::size_t bestLength = 0;
  double bestCost = 0.0;

  void from(int code, std::size_t j, double cost) {
    if (--nodesLeft < 0) return;
    if (length > bestLength || (length == bestLength && cost < bestCost)) {
      best = path;
      bestLength = length;
      bestCost = cost;
    }
    if (j >= pixels.size() || length == kNodes) return;
    const PixelOptions& o = pixels[j];
    for (int k = 0; k < o.count && nodesLeft >= 0; ++k) {
      if (cost + o.cost[k] > budget) continue;
      const int next = planner.find(static_cast<std::uint32_t>(code) << 8 | o.index[k]);
      if (next < 0) continue;
      path[length++] = o.index[k];
      from(next, j + 1, cost + o.cost[k]);
      --length;
    }
  }
};

std::size_t LzwPlanner::choose(std::span<const PixelOptions> pixels, double budget, int tableBits,
                               std::vector<std::uint8_t>& out, double& spent) {
  out.clear();
  out.reserve(pixels.size());
  Coder coder(*this, tableBits);
  double left = budget;
  auto take = [&](const PixelOptions& o, int k) {
    out.push_back(o.index[k]);
    coder.push(o.index[k]);
    left -= o.cost[k];
  };
  std::size_t i = 0;
  while (i < pixels.size()) {
    const PixelOptions& o = pixels[i];
    // 1. Extend the current string with an affordable option that can:
    // where several can, the one whose string then reaches furthest.
    int extending = -1;
    int code = -1;
    std::size_t reach = 0;
    double reachCost = 0.0;
    for (int k = 0; k < o.count; ++k) {
      if (o.cost[k] > left) continue;
      const int c = coder.extension(o.index[k]);
      if (c < 0) continue;
      if (extending >= 0 && o.count > 1) {
        if (reach == 0) {
          Search first(*this, pixels, left - o.cost[extending]);
          first.from(code, i + 1, 0.0);
          reach = first.bestLength + 1;
          reachCost = first.bestCost + o.cost[extending];
        }
        Search s(*this, pixels, left - o.cost[k]);
        s.from(c, i + 1, 0.0);
        if (s.bestLength + 1 <= reach && !(s.bestLength + 1 == reach && s.bestCost + o.cost[k] < reachCost)) continue;
        reach = s.bestLength + 1;
        reachCost = s.bestCost + o.cost[k];
      }
      extending = k;
      code = c;
    }
    if (extending >= 0) {
      out.push_back(o.index[extending]);
      coder.follow(code);
      left -= o.cost[extending];
      ++i;
      continue;
    }
    if (o.count == 1) {
      take(o, 0);
      ++i;
      continue;
    }
    // 2. A new string with a choice of start: take the one that begins the
    // longest match, then follow that match.
    int first = -1;
    Search chosen(*this, pixels, left);
    for (int k = 0; k < o.count; ++k) {
      if (o.cost[k] > left) continue;
      Search s(*this, pixels, left - o.cost[k]);
      s.from(o.index[k], i + 1, 0.0);
      if (first < 0 || s.bestLength > chosen.bestLength ||
          (s.bestLength == chosen.bestLength && s.bestCost + o.cost[k] < chosen.bestCost + o.cost[first])) {
        first = k;
        chosen.best = s.best;
        chosen.bestLength = s.bestLength;
        chosen.bestCost = s.bestCost;
      }
    }
    take(o, first);
    ++i;
    for (std::size_t step = 0; step < chosen.bestLength; ++step, ++i) {
      const PixelOptions& p = pixels[i];
      int k = 0;
      while (k + 1 < p.count && p.index[k] != chosen.best[step]) ++k;
      take(p, k);
    }
  }
  spent += budget - left;
  return coder.finish();
}

std::size_t LzwPlanner::chooseLossy(std::span<const LossyPixel> pixels, const std::vector<core::Color>& palette,
                                    int transparent, int tolerance, int tableBits, std::vector<std::uint8_t>& out) {
  out.clear();
  out.reserve(pixels.size());
  Coder coder(*this, tableBits);
  for (const LossyPixel& p : pixels) {
    const bool ownShows = palette[p.own] == p.shown;
    const auto preferred = static_cast<std::uint8_t>(p.still && transparent >= 0 && !ownShows ? transparent : p.own);
    int code = coder.extension(preferred);
    std::uint8_t index = preferred;
    if (code < 0 && coder.current >= 0) {
      // The continuation nearest the target among those the string has.
      int bestExtra = tolerance + 1;
      for (int c = firstChild_[static_cast<std::size_t>(coder.current)]; c >= 0;
           c = nextSibling_[static_cast<std::size_t>(c)]) {
        const std::uint8_t i = lastIndex_[static_cast<std::size_t>(c)];
        const core::Color colour = i == transparent ? p.shown : palette[i];
        if (p.still && colour != p.shown) continue;
        const int extra = p.still ? 0 : core::squaredDistance(p.target, colour) - p.ownError;
        if (extra < bestExtra) {
          bestExtra = extra;
          code = c;
          index = i;
        }
      }
    }
    out.push_back(index);
    if (code >= 0) {
      coder.follow(code);
    } else if (coder.current >= 0) {
      // extension() has just found no such entry.
      coder.endString(static_cast<std::uint32_t>(coder.current) << 8 | index, index);
    } else {
      coder.push(index);
    }
  }
  return coder.finish();
}

}  // namespace output
