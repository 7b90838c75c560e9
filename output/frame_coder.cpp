#include "output/frame_coder.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace output {
namespace {

// Palette colours at most this much farther (squared RGB distance) from a
// pixel than its nearest one may stand in for it.
constexpr int kCloseRadius = 10;

// Inserts an option keeping options 1.. in order of cost. Options dearer
// than a cost field holds are left out: no frame's budget reaches them.
void addOption(PixelOptions& o, std::uint8_t index, int cost) {
  if (o.count >= PixelOptions::kMax || cost < 0 || cost > UINT16_MAX) return;
  int at = o.count++;
  while (at > 1 && o.cost[static_cast<std::size_t>(at - 1)] > cost) {
    o.index[static_cast<std::size_t>(at)] = o.index[static_cast<std::size_t>(at - 1)];
    o.cost[static_cast<std::size_t>(at)] = o.cost[static_cast<std::size_t>(at - 1)];
    --at;
  }
  o.index[static_cast<std::size_t>(at)] = index;
  o.cost[static_cast<std::size_t>(at)] = static_cast<std::uint16_t>(cost);
}

}  // namespace

FrameCoder::FrameCoder(const std::vector<const core::Bitmap*>& frames, const MappedAnimation& animation)
    : frames_(frames), animation_(animation), canvas_(frames[0]->width, frames[0]->height) {}

const FrameCoder::Close& FrameCoder::closeTo(core::Color c) {
  if (auto it = close_.find(c); it != close_.end()) return it->second;
  // The shared palette's last entry is the transparency slot.
  const GifPalette& p = animation_.global;
  const std::size_t colours = p.size() - 1;
  int nearest = std::numeric_limits<int>::max();
  for (std::size_t i = 0; i < colours; ++i) nearest = std::min(nearest, core::squaredDistance(c, p[i]));
  Close close;
  bool skippedNearest = false;
  for (std::size_t i = 0; i < colours && close.count < 2; ++i) {
    const int d = core::squaredDistance(c, p[i]);
    if (d == nearest && !skippedNearest) {
      skippedNearest = true;
    } else if (d <= nearest + kCloseRadius) {
      close.index[close.count++] = static_cast<std::uint8_t>(i);
    }
  }
  return close_.emplace(c, close).first->second;
}

double FrameCoder::errorIfPlain(std::size_t k, const MappedFrame& f, const GifPalette& palette) const {
  const core::Bitmap& src = *frames_[k];
  double error = 0.0;
  std::size_t i = 0;
  for (int y = 0; y < src.height; ++y) {
    const core::Color* s = src.row(y);
    const core::Color* shown = canvas_.row(y);
    const bool rowInRect = y >= f.rect.top && y < f.rect.top + f.rect.height;
    for (int x = 0; x < src.width; ++x) {
      const bool inRect = rowInRect && x >= f.rect.left && x < f.rect.left + f.rect.width;
      error += core::squaredDistance(s[x], inRect ? palette[f.indices[i++]] : shown[x]);
    }
  }
  return error;
}

void FrameCoder::buildOptions(std::size_t k, const MappedFrame& f, const GifPalette& palette,
                              bool transparentFirst) {
  const core::Bitmap& src = *frames_[k];
  const core::Bitmap& before = *frames_[k - 1];
  const bool shared = animation_.mode == PaletteMode::Shared;
  options_.resize(f.indices.size());
  // Neighbouring pixels mostly share their colour, so the colour's own
  // options are worked out once per run of it.
  core::Color runColour = 0;
  PixelOptions runOptions;
  int runBase = -1;
  std::size_t i = 0;
  for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
    const core::Color* row = src.row(y);
    const core::Color* previous = before.row(y);
    const core::Color* shown = canvas_.row(y);
    for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x, ++i) {
      const core::Color c = row[x];
      if (runBase < 0 || c != runColour || runOptions.index[0] != f.indices[i]) {
        runColour = c;
        runOptions = PixelOptions{};
        runOptions.index[0] = f.indices[i];
        runBase = core::squaredDistance(c, palette[f.indices[i]]);
        if (shared) {
          const Close& close = closeTo(c);
          for (int n = 0; n < close.count; ++n) {
            const int extra = core::squaredDistance(c, palette[close.index[n]]) - runBase;
            addOption(runOptions, close.index[n], extra);
          }
        }
      }
      PixelOptions& o = options_[i];
      o = runOptions;
      if (c == previous[x] && f.transparent >= 0) {
        // Transparent shows what is already there; with a shared palette
        // that may be a stand-in colour whose error counts again.
        const int extra = shared ? core::squaredDistance(c, shown[x]) - runBase : 0;
        const auto transparent = static_cast<std::uint8_t>(f.transparent);
        if (transparentFirst && extra <= 0) {
          // Free, so it may lead: the pixel's own colour becomes an option.
          addOption(o, o.index[0], 0);
          o.index[0] = transparent;
        } else {
          addOption(o, transparent, std::max(0, extra));
        }
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

bool FrameCoder::transparencyMayPay(std::size_t k, const MappedFrame& f, std::size_t bestSoFar) {
  // Plain coding with every unchanged pixel transparent is a cheap guide: a
  // steered coding that leads with transparency does not beat the best by
  // much more than it does.
  chosen_ = f.indices;
  const auto transparent = static_cast<std::uint8_t>(f.transparent);
  std::size_t i = 0;
  for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
    const core::Color* row = frames_[k]->row(y);
    const core::Color* previous = frames_[k - 1]->row(y);
    for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x, ++i) {
      if (row[x] == previous[x]) chosen_[i] = transparent;
    }
  }
  return planner_.codedBytes(chosen_, f.tableBits) < bestSoFar + bestSoFar / 10;
}

void FrameCoder::code(std::size_t k, MappedFrame& f) {
  const GifPalette& palette = f.local ? *f.local : animation_.global;
  if (k == 0) {
    f.transparent = -1;  // the first frame covers the whole screen
    show(f, palette);
    return;
  }
  double budget = 0.0;
  if (animation_.mode == PaletteMode::Shared) {
    const double samples = 3.0 * static_cast<double>(canvas_.px.size());
    const double floorError = 255.0 * 255.0 * samples / std::pow(10.0, kNearLosslessFloorDb / 10.0);
    budget = std::max(0.0, floorError - errorIfPlain(k, f, palette));
  }
  // Steered from each pixel's own colour, and where transparency may pay,
  // steered with transparency first wherever it is free (the dictionary
  // learns transparent runs only from a coding that starts them); the
  // smaller wins.
  buildOptions(k, f, palette, false);
  double spent = 0.0;
  std::size_t best = planner_.choose(options_, budget, f.tableBits, bestChoice_, spent);
  if (f.transparent >= 0 && transparencyMayPay(k, f, best)) {
    buildOptions(k, f, palette, true);
    spent = 0.0;
    if (planner_.choose(options_, budget, f.tableBits, chosen_, spent) < best) bestChoice_.swap(chosen_);
  }
  f.indices.swap(bestChoice_);
  const auto transparent = static_cast<std::uint8_t>(f.transparent);
  if (f.transparent >= 0 && std::find(f.indices.begin(), f.indices.end(), transparent) == f.indices.end()) {
    f.transparent = -1;
  }
  show(f, palette);
}

}  // namespace output
