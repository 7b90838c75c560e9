#include "gif/frame_coder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "gif/lzw_encoder.h"
#include "gif/shown_bound.h"

namespace output {
namespace {

// Palette colours at most this much farther (squared RGB distance) from a
// pixel than its nearest one may stand in for it.
constexpr int kCloseRadius = 10;

}  // namespace

FrameCoder::FrameCoder(const std::vector<const core::Bitmap*>& frames, const MappedAnimation& animation, LzwMemo* memo)
    : frames_(frames),
      animation_(animation),
      canvas_(frames[0]->width, frames[0]->height),
      closeTo_(animation.global, kCloseRadius),
      memo_(memo) {}

double FrameCoder::errorIfPlain(std::size_t k, const MappedFrame& f, const GifPalette& palette) const {
  const core::Bitmap& src = *frames_[k];
  // In integers, exact as a double's sum would be (far below 2^53) and quicker.
  std::uint64_t error = 0;
  std::size_t i = 0;
  for (int y = 0; y < src.height; ++y) {
    const core::Color* s = src.row(y);
    const core::Color* shown = canvas_.row(y);
    const bool rowInRect = y >= f.rect.top && y < f.rect.top + f.rect.height;
    for (int x = 0; x < src.width; ++x) {
      const bool inRect = rowInRect && x >= f.rect.left && x < f.rect.left + f.rect.width;
      error += static_cast<std::uint64_t>(core::squaredDistance(s[x], inRect ? palette[f.indices[i++]] : shown[x]));
    }
  }
  return static_cast<double>(error);
}

void FrameCoder::buildOptions(std::size_t k, const MappedFrame& f, const GifPalette& palette, bool transparentFirst,
                              int limit) {
  const core::Bitmap& src = *frames_[k];
  const bool shared = modeOf(f) == PaletteMode::Shared;
  options_.resize(f.indices.size());
  // Neighbouring pixels mostly share their colour, so the colour's own
  // options are worked out once per run of it.
  core::Color runColour = 0;
  PixelOptions runOptions;
  int runBase = -1;
  std::size_t i = 0;
  for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
    const core::Color* row = src.row(y);
    const core::Color* shown = canvas_.row(y);
    for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x, ++i) {
      const core::Color c = row[x];
      if (runBase < 0 || c != runColour || runOptions.index[0] != f.indices[i]) {
        runColour = c;
        runOptions = PixelOptions{};
        runOptions.index[0] = f.indices[i];
        runBase = core::squaredDistance(c, palette[f.indices[i]]);
        if (shared) {
          const CloseColours::Close& close = closeTo_(c);
          for (int n = 0; n < close.count; ++n) {
            // The transparent index would show the frame before, not
            // this colour.
            if (close.index[n] >= limit || close.index[n] == f.transparent) continue;
            const int extra = core::squaredDistance(c, palette[close.index[n]]) - runBase;
            runOptions.add(close.index[n], extra);
          }
        }
      }
      PixelOptions& o = options_[i];
      o = runOptions;
      if (clear_[i] == kNotClear || f.transparent < 0) continue;
      // Transparent shows what is already there; with a shared palette
      // that may be a stand-in colour whose error counts again.
      const int extra = shared ? core::squaredDistance(c, shown[x]) - runBase : 0;
      const auto transparent = static_cast<std::uint8_t>(f.transparent);
      if (clear_[i] == kClearAtCost) {
        o.add(transparent, std::max(0, extra));
      } else if (o.index[0] >= limit) {
        // Its own index would widen every code: transparent it is.
        o = PixelOptions{};
        o.index[0] = transparent;
      } else if (transparentFirst && extra <= 0) {
        // Free, so it may lead: the pixel's own colour becomes an option.
        o.add(o.index[0], 0);
        o.index[0] = transparent;
      } else {
        o.add(transparent, std::max(0, extra));
      }
    }
  }
}

void FrameCoder::show(const MappedFrame& f, const GifPalette& palette) {
  std::size_t i = 0;
  for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
    core::Color* row = canvas_.row(y);
    for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x, ++i) {
      if (static_cast<int>(f.indices[i]) != f.transparent) row[x] = palette[f.indices[i]];
    }
  }
}

void FrameCoder::transparentRuns(const MappedFrame& f, int minRun, int limit, std::vector<std::uint8_t>& out) const {
  out = f.indices;
  const auto transparent = static_cast<std::uint8_t>(f.transparent);
  const auto width = static_cast<std::size_t>(f.rect.width);
  for (std::size_t rowStart = 0; rowStart < out.size(); rowStart += width) {
    const std::size_t end = rowStart + width;
    for (std::size_t x = rowStart; x < end;) {
      std::size_t run = x;
      while (run < end && clear_[run] == kClear) ++run;
      for (std::size_t r = x; r < run; ++r) {
        if (run - x >= static_cast<std::size_t>(minRun) || out[r] >= limit) out[r] = transparent;
      }
      x = run + 1;
    }
  }
}

void FrameCoder::fewestRuns(const MappedFrame& f, int limit, RunTie tie, bool shortOwnRuns,
                            std::vector<std::uint8_t>& out) const {
  const auto transparent = static_cast<std::uint8_t>(f.transparent);
  const std::size_t n = f.indices.size();
  const auto still = [&](std::size_t j) { return clear_[j] == kClear; };
  const auto allowed = [&](std::size_t j, std::uint8_t v) {
    return v == transparent ? still(j) : f.indices[j] == v && v < limit;
  };
  const auto reach = [&](std::size_t from, std::uint8_t v) {
    std::size_t j = from;
    while (j < n && allowed(j, v)) ++j;
    return j;
  };
  out.resize(n);
  std::uint8_t current = 0;
  bool started = false;
  for (std::size_t j = 0; j < n;) {
    if (!started || !allowed(j, current)) {
      // The value allowed here whose run goes furthest.
      const std::uint8_t own = f.indices[j];
      const std::size_t ownReach = allowed(j, own) ? reach(j, own) : j;
      const std::size_t clearReach = still(j) ? reach(j, transparent) : j;
      const std::size_t width = static_cast<std::size_t>(f.rect.width);
      const bool tieClear =
          tie == RunTie::Clear || (tie == RunTie::Above && j >= width && out[j - width] == transparent);
      current = clearReach > ownReach || (clearReach == ownReach && tieClear) ? transparent : own;
      started = true;
      const std::size_t end = std::max(ownReach, clearReach);
      for (; j < end; ++j) out[j] = current;
      continue;
    }
    out[j++] = current;
  }
  if (!shortOwnRuns) return;
  // Unchanged pixels at either end of a run of a colour go over to the
  // transparent run next to them: as many runs, and transparent runs that
  // line up from row to row.
  for (std::size_t s = 0; s < n;) {
    std::size_t e = s;
    while (e < n && out[e] == out[s]) ++e;
    std::size_t first = s;
    while (first < e && still(first)) ++first;
    if (out[s] != transparent && first < e) {
      std::size_t last = e;
      while (still(last - 1)) --last;
      const auto at = [&](std::size_t j) { return out.begin() + static_cast<std::ptrdiff_t>(j); };
      if (s > 0 && out[s - 1] == transparent) std::fill(at(s), at(first), transparent);
      if (e < n && out[e] == transparent) std::fill(at(last), at(e), transparent);
    }
    s = e;
  }
}

// The candidates were measured with the greedy model; the writer codes
// better than that. Those the model puts close to the best are coded for
// real and the shortest taken.
const FrameCoder::Candidate& FrameCoder::shortestCandidate() {
  std::stable_sort(candidates_.begin(), candidates_.end(),
                   [](const Candidate& l, const Candidate& r) { return l.estimate < r.estimate; });
  const std::size_t close = candidates_[0].estimate + candidates_[0].estimate / 50 + 8;
  std::size_t best = 0, bestBytes = SIZE_MAX;
  for (std::size_t c = 0; c < candidates_.size() && c < 3 && candidates_[c].estimate <= close; ++c) {
    if (c == 1) bestBytes = realBytes(candidates_[0].indices);
    if (c == 0) continue;
    const std::size_t bytes = realBytes(candidates_[c].indices);
    if (bytes < bestBytes) {
      bestBytes = bytes;
      best = c;
    }
  }
  return candidates_[best];
}

std::size_t FrameCoder::realBytes(const std::vector<std::uint8_t>& indices) {
  scratch_.clear();
  if (memo_) {
    memo_->append(indices, lzwCodeSizeFor(indices), true, scratch_);
  } else {
    appendShortestLzw(indices, lzwCodeSizeFor(indices), scratch_);
  }
  return scratch_.size();
}

int FrameCoder::commonStillIndex(const MappedFrame& f, int limit) const {
  std::array<std::size_t, 256> count{};
  for (std::size_t i = 0; i < f.indices.size(); ++i) {
    if (clear_[i] == kClear) ++count[f.indices[i]];
  }
  int best = -1;
  for (int v = 0; v < limit; ++v) {
    const auto at = static_cast<std::size_t>(v);
    if (!needed_[at] && count[at] > 0 && (best < 0 || count[at] > count[static_cast<std::size_t>(best)])) best = v;
  }
  return best;
}

std::pair<int, int> FrameCoder::transparentSlot(const MappedFrame& f) {
  std::array<bool, 256>& needed = needed_;
  needed.fill(false);
  stillPixels_ = 0;
  for (std::size_t i = 0; i < f.indices.size(); ++i) {
    if (clear_[i] == kClear) {
      ++stillPixels_;
    } else {
      needed[f.indices[i]] = true;
    }
  }
  int transparent = 0;
  while (transparent < 256 && needed[static_cast<std::size_t>(transparent)]) ++transparent;
  int highest = transparent < 256 ? transparent : 0;
  for (int v = 255; v > highest; --v) {
    if (needed[static_cast<std::size_t>(v)]) highest = v;
  }
  int bits = 2;
  while ((1 << bits) <= highest) ++bits;
  return {transparent < 256 ? transparent : -1, bits};
}

void FrameCoder::classify(std::size_t k, MappedFrame& f, const GifPalette& palette) {
  const core::Bitmap& src = *frames_[k];
  const core::Bitmap& before = *frames_[k - 1];
  clear_.assign(f.indices.size(), kNotClear);
  const PaletteMode mode = modeOf(f);
  std::optional<PaletteDistances> distances;
  if (mode == PaletteMode::PerFrame) {
    distances.emplace(palette);
    // Each frame brings its own palette: a pixel outside the rectangle may
    // show an earlier palette's colour that this one beats by more than
    // one step of it. Such pixels are written again.
    coverStalePixels(
        f, src, canvas_,
        [&](int, int, core::Color c) { return f.exact ? (*distances)(c).nearest : (*distances)(c).next; },
        [&](int, int, core::Color c) { return (*distances)(c).index; });
    clear_.assign(f.indices.size(), kNotClear);
  }
  std::size_t i = 0;
  for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
    const core::Color* row = src.row(y);
    const core::Color* previous = before.row(y);
    const core::Color* shown = canvas_.row(y);
    for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x, ++i) {
      const core::Color c = row[x];
      if (mode == PaletteMode::Exact) {
        clear_[i] = shown[x] == c ? kClear : kNotClear;
        continue;
      }
      int own = core::squaredDistance(c, palette[f.indices[i]]);
      int allowed = own + kCloseRadius;  // a stand-in colour's reach
      if (distances) {
        // A quantizer's remap need not be the nearest entry by RGB.
        const PaletteDistances::Near& near = (*distances)(c);
        if (near.nearest < own) {
          f.indices[i] = near.index;
          own = near.nearest;
        }
        allowed = f.exact ? own : std::max(own, near.next);
      }
      const int kept = core::squaredDistance(c, shown[x]);
      // Free where what is shown is no worse, or where the pixel did not
      // change and shows what an earlier frame chose for this colour.
      if (kept <= own || (c == previous[x] && kept <= allowed)) {
        clear_[i] = kClear;
      } else if (kept <= allowed && mode == PaletteMode::Shared) {
        clear_[i] = kClearAtCost;
      }
    }
  }
}

std::size_t FrameCoder::greedyBytes(const MappedFrame& f) {
  const int size = lzwCodeSizeFor(f.indices);
  return size == chosenCodeSize_ ? chosenEstimate_ : planner_.codedBytes(f.indices, size);
}

void FrameCoder::code(std::size_t k, MappedFrame& f) {
  const GifPalette& palette = f.local ? *f.local : animation_.global;
  f.transparent = -1;
  chosenCodeSize_ = 0;
  if (k == 0) {  // the first frame covers the whole screen
    if (modeOf(f) == PaletteMode::PerFrame) {
      // A quantizer's remap need not be the nearest entry by RGB.
      PaletteDistances distances(palette);
      std::size_t i = 0;
      for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
        const core::Color* row = frames_[0]->row(y);
        for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x, ++i) f.indices[i] = distances(row[x]).index;
      }
    }
    show(f, palette);
    return;
  }
  double budget = 0.0;
  if (modeOf(f) == PaletteMode::Shared) {
    const double samples = 3.0 * static_cast<double>(canvas_.px.size());
    const double floorError = 255.0 * 255.0 * samples / std::pow(10.0, kNearLosslessFloorDb / 10.0);
    budget = std::max(0.0, floorError - errorIfPlain(k, f, palette));
  }
  classify(k, f, palette);
  // Without transparency every pixel keeps its index.
  candidates_.clear();
  const int plainSize = lzwCodeSizeFor(f.indices);
  candidates_.push_back({planner_.codedBytes(f.indices, plainSize), f.indices, -1, plainSize});
  const auto [transparent, bits] = transparentSlot(f);
  // Where nearly every pixel changes (a hue turn), transparency has
  // nothing to offer that pays for trying it.
  if (transparent >= 0 && stillPixels_ * 50 >= f.indices.size()) {
    f.transparent = transparent;
    const int size = std::max(2, bits);
    const auto consider = [&](std::size_t bytes) { candidates_.push_back({bytes, chosen_, transparent, size}); };
    const int still = commonStillIndex(f, 1 << bits);
    // As few runs as can be: each unchanged pixel continues the run before
    // it, transparent or in its own colour.
    for (const bool shortOwnRuns : {false, true}) {
      for (RunTie tie : {RunTie::Own, RunTie::Above, RunTie::Clear}) {
        fewestRuns(f, 1 << bits, tie, shortOwnRuns, chosen_);
        consider(planner_.codedBytes(chosen_, bits));
      }
    }
    // The transparent index may also be the colour most unchanged pixels
    // have, when no changed pixel needs it: written as itself or as
    // transparent, such a pixel is then one index either way.
    if (still >= 0 && still != transparent) {
      f.transparent = still;
      for (RunTie tie : {RunTie::Own, RunTie::Above, RunTie::Clear}) {
        fewestRuns(f, 1 << bits, tie, false, chosen_);
        candidates_.push_back({planner_.codedBytes(chosen_, bits), chosen_, still, size});
      }
      f.transparent = transparent;
    }
    // Unchanged pixels transparent in every run of them, or only in the
    // longer runs, where a transparent run is worth what it breaks.
    for (int minRun : {1, 4, 16, 64}) {
      transparentRuns(f, minRun, 1 << bits, chosen_);
      consider(planner_.codedBytes(chosen_, bits));
    }
    // Steered pixel by pixel, from each pixel's own colour and with
    // transparency first wherever it is free (the dictionary learns
    // transparent runs only from a coding that starts them).
    for (bool first : {false, true}) {
      buildOptions(k, f, palette, first, 1 << bits);
      double spent = 0.0;
      consider(planner_.choose(options_, budget, bits, chosen_, spent));
    }
  }
  const Candidate& chosen = shortestCandidate();
  chosenEstimate_ = chosen.estimate;
  chosenCodeSize_ = chosen.codeSize;
  bestChoice_ = chosen.indices;
  const int bestTransparent = chosen.transparent;
  f.indices.swap(bestChoice_);
  f.transparent = bestTransparent;
  if (f.transparent >= 0 &&
      std::find(f.indices.begin(), f.indices.end(), static_cast<std::uint8_t>(f.transparent)) == f.indices.end()) {
    f.transparent = -1;
  }
  show(f, palette);
}

}  // namespace output
