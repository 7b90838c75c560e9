// Palettes for pictures with more than 256 colours, from libimagequant, and
// plain nearest-colour remapping.
#pragma once

#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <vector>

#include "core/picture.h"
#include "gif/colour_index.h"
#include "gif/gif_stream.h"

namespace output {

struct QuantizeSettings {
  int maxColours = 256;    // 2..256
  int speed = 4;           // libimagequant's 1 (slowest, best) .. 10
  float dithering = 1.0f;  // 0 = none .. 1 = full error diffusion
};

// A palette and the rect's pixels as indices into it.
struct QuantizedRect {
  GifPalette palette;
  std::vector<std::uint8_t> indices;  // rect.width x rect.height, row by row
};

// Quantizes the pixels of `rect` in the bitmap on their own. nullopt when the
// library fails.
std::optional<QuantizedRect> quantizeRect(const core::Bitmap& bitmap, const GifRect& rect,
                                          const QuantizeSettings& settings);

// A palette for a histogram of colours with their counts.
std::optional<GifPalette> quantizeHistogram(const std::vector<ColourHistogram::Entry>& histogram,
                                            const QuantizeSettings& settings);

// A palette of at most `colours` entries for a histogram of few colours:
// starting from every colour on its own, repeatedly merges the two groups
// whose merging adds the least squared error (Ward's rule), and returns the
// groups' mean colours. Exact when the histogram holds at most `colours`
// colours. Costs about n^2 for n colours: meant for up to a few thousand.
GifPalette mergeClosestColours(const std::vector<ColourHistogram::Entry>& histogram, std::size_t colours);

// Nearest palette entry by plain RGB distance (what PSNR measures), cached
// per colour.
// Palette entries sorted by red (ties by index), for searches that walk out
// from a colour's red and stop on each side where red alone is farther than
// the answer can be.
class PaletteByRed {
 public:
  struct Entry {
    int red;
    int index;
  };
  // Sorts again when the palette has grown since the last call.
  void follow(const GifPalette& palette);
  // consider(entry) for the entries outward from `red`, one step up then one
  // down, until on both sides the squared red distance is over limit().
  template <class Limit, class Consider>
  void walk(int red, Limit limit, Consider consider) const {
    const auto start =
        std::lower_bound(entries_.begin(), entries_.end(), red, [](const Entry& e, int r) { return e.red < r; });
    auto up = start;
    auto down = start;
    bool upOpen = up != entries_.end();
    bool downOpen = down != entries_.begin();
    while (upOpen || downOpen) {
      if (upOpen) {
        const int dr = up->red - red;
        if (dr * dr > limit()) {
          upOpen = false;
        } else {
          consider(*up);
          upOpen = ++up != entries_.end();
        }
      }
      if (downOpen) {
        const int dr = red - std::prev(down)->red;
        if (dr * dr > limit()) {
          downOpen = false;
        } else {
          consider(*--down);
          downOpen = down != entries_.begin();
        }
      }
    }
  }

 private:
  std::vector<Entry> entries_;
};

class NearestColour {
 public:
  explicit NearestColour(const GifPalette& palette) : palette_(palette) {}
  std::uint8_t operator()(core::Color c);
  // The same answer, not remembered: for callers that ask each colour once.
  std::uint8_t search(core::Color c);
  // The same again, starting from an entry likely to be the answer (such
  // as the colour's nearest before the palette moved a little), which
  // bounds the search sooner.
  std::uint8_t search(core::Color c, std::uint8_t guess);

 private:
  std::uint8_t searchFrom(core::Color c, int best, int bestDistance);
  const GifPalette& palette_;
  PaletteByRed byRed_;
  ColourMemo<std::uint8_t> cache_;
};

// Per colour, the palette entries that may stand in for its nearest one:
// the first two in palette order, the nearest itself left out, whose squared
// RGB distance is at most `radius` above the nearest's. Cached per colour;
// the palette may grow between calls (the answers given stay).
class CloseColours {
 public:
  struct Close {
    std::uint8_t count = 0;
    std::uint8_t index[2] = {0, 0};
  };
  CloseColours(const GifPalette& palette, int radius) : palette_(palette), radius_(radius) {}
  const Close& operator()(core::Color c);

 private:
  struct Near {
    int index;
    int distance;
  };
  const GifPalette& palette_;
  int radius_;
  PaletteByRed byRed_;
  std::vector<Near> within_;  // scratch: the entries near enough
  ColourMemo<Close> cache_;
};

// Each counted colour's nearest palette entry, and remapError's figure for
// them.
struct HistogramRemap {
  std::vector<std::uint8_t> nearest;
  double error = 0.0;
};
HistogramRemap remapHistogram(const std::vector<ColourHistogram::Entry>& histogram, const GifPalette& palette);

// Moves each palette entry to the mean of the colours that map to it, a few
// times (k-means in RGB), weighting colours by their counts. Lowers the
// squared error of a nearest-colour remap. remap, when given, holds the
// palette's remap (remapHistogram), which the first round then needs not
// search again, and receives that of the palette refined.
void refinePalette(GifPalette& palette, const std::vector<ColourHistogram::Entry>& histogram, int rounds,
                   HistogramRemap* remap = nullptr);

// The summed squared RGB error of mapping every counted colour to its
// nearest palette entry.
double remapError(const std::vector<ColourHistogram::Entry>& histogram, NearestColour& nearest,
                  const GifPalette& palette);

}  // namespace output
