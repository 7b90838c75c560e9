#include "gif/quantizer.h"

#include <libimagequant.h>
#include <omp.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <memory>

namespace output {
namespace {

struct LiqDelete {
  void operator()(liq_attr* p) const { liq_attr_destroy(p); }
  void operator()(liq_image* p) const { liq_image_destroy(p); }
  void operator()(liq_result* p) const { liq_result_destroy(p); }
  void operator()(liq_histogram* p) const { liq_histogram_destroy(p); }
};
template <typename T>
using LiqPtr = std::unique_ptr<T, LiqDelete>;

// libimagequant parallelises with OpenMP. On small, busy machines its
// threads spin waiting for one another and a palette can take ten times
// longer; one thread is steady and fast enough for banner-sized frames.
class OneThread {
 public:
  OneThread() : saved_(omp_get_max_threads()) { omp_set_num_threads(1); }
  ~OneThread() { omp_set_num_threads(saved_); }
  OneThread(const OneThread&) = delete;
  OneThread& operator=(const OneThread&) = delete;

 private:
  int saved_;
};

LiqPtr<liq_attr> makeAttr(const QuantizeSettings& s) {
  LiqPtr<liq_attr> attr(liq_attr_create());
  if (!attr || liq_set_max_colors(attr.get(), s.maxColours) != LIQ_OK || liq_set_speed(attr.get(), s.speed) != LIQ_OK) {
    return nullptr;
  }
  return attr;
}

constexpr double kAnalysedPixels = 25000.0;

// The rect as opaque RGBA, the layout libimagequant reads.
std::vector<liq_color> rgbaOf(const core::Bitmap& b, const GifRect& r) {
  std::vector<liq_color> out;
  out.reserve(r.area());
  for (int y = r.top; y < r.top + r.height; ++y) {
    const core::Color* row = b.row(y);
    for (int x = r.left; x < r.left + r.width; ++x) {
      const core::Color c = row[x];
      out.push_back(liq_color{static_cast<unsigned char>(core::redOf(c)), static_cast<unsigned char>(core::greenOf(c)),
                              static_cast<unsigned char>(core::blueOf(c)), 255});
    }
  }
  return out;
}

GifPalette paletteOf(const liq_palette* p) {
  GifPalette out;
  for (unsigned i = 0; i < p->count; ++i) out.push_back(core::rgb(p->entries[i].r, p->entries[i].g, p->entries[i].b));
  return out;
}

}  // namespace

std::optional<QuantizedRect> quantizeRect(const core::Bitmap& bitmap, const GifRect& rect,
                                          const QuantizeSettings& settings) {
  const OneThread oneThread;
  LiqPtr<liq_attr> attr = makeAttr(settings);
  if (!attr) return std::nullopt;
  std::vector<liq_color> rgba = rgbaOf(bitmap, rect);
  LiqPtr<liq_image> image(liq_image_create_rgba(attr.get(), rgba.data(), rect.width, rect.height, 0));
  if (!image) return std::nullopt;
  // Large rects are analysed on a regular grid of about kAnalysedPixels:
  // the palette comes out as good and several times faster. Every pixel
  // is still remapped.
  const std::size_t step = static_cast<std::size_t>(std::sqrt(static_cast<double>(rect.area()) / kAnalysedPixels));
  std::vector<liq_color> grid;
  LiqPtr<liq_image> sample;
  if (step >= 2) {
    const GifRect g{0, 0, (rect.width + static_cast<int>(step) - 1) / static_cast<int>(step),
                    (rect.height + static_cast<int>(step) - 1) / static_cast<int>(step)};
    grid.reserve(g.area());
    for (int y = 0; y < rect.height; y += static_cast<int>(step)) {
      for (int x = 0; x < rect.width; x += static_cast<int>(step)) {
        grid.push_back(
            rgba[static_cast<std::size_t>(y) * static_cast<std::size_t>(rect.width) + static_cast<std::size_t>(x)]);
      }
    }
    sample.reset(liq_image_create_rgba(attr.get(), grid.data(), g.width, g.height, 0));
    if (!sample) return std::nullopt;
  }
  LiqPtr<liq_histogram> histogram(liq_histogram_create(attr.get()));
  if (!histogram ||
      liq_histogram_add_image(histogram.get(), attr.get(), sample ? sample.get() : image.get()) != LIQ_OK) {
    return std::nullopt;
  }
  liq_result* raw = nullptr;
  if (liq_histogram_quantize(histogram.get(), attr.get(), &raw) != LIQ_OK) return std::nullopt;
  LiqPtr<liq_result> result(raw);
  if (liq_set_dithering_level(result.get(), settings.dithering) != LIQ_OK) return std::nullopt;
  QuantizedRect out;
  out.indices.resize(rect.area());
  if (liq_write_remapped_image(result.get(), image.get(), out.indices.data(), out.indices.size()) != LIQ_OK) {
    return std::nullopt;
  }
  // Read after remapping: the library refines the palette while it remaps.
  out.palette = paletteOf(liq_get_palette(result.get()));
  return out;
}

std::optional<GifPalette> quantizeHistogram(const std::vector<ColourHistogram::Entry>& histogram,
                                            const QuantizeSettings& settings) {
  const OneThread oneThread;
  LiqPtr<liq_attr> attr = makeAttr(settings);
  if (!attr || histogram.empty()) return std::nullopt;
  LiqPtr<liq_histogram> liqHistogram(liq_histogram_create(attr.get()));
  if (!liqHistogram) return std::nullopt;
  std::vector<liq_histogram_entry> entries;
  entries.reserve(histogram.size());
  for (const ColourHistogram::Entry& e : histogram) {
    const auto count = static_cast<unsigned>(std::min<std::uint64_t>(e.count, UINT32_MAX));
    entries.push_back(liq_histogram_entry{liq_color{static_cast<unsigned char>(core::redOf(e.colour)),
                                                    static_cast<unsigned char>(core::greenOf(e.colour)),
                                                    static_cast<unsigned char>(core::blueOf(e.colour)), 255},
                                          count});
  }
  if (liq_histogram_add_colors(liqHistogram.get(), attr.get(), entries.data(), static_cast<int>(entries.size()), 0) !=
      LIQ_OK) {
    return std::nullopt;
  }
  liq_result* raw = nullptr;
  if (liq_histogram_quantize(liqHistogram.get(), attr.get(), &raw) != LIQ_OK) return std::nullopt;
  LiqPtr<liq_result> result(raw);
  return paletteOf(liq_get_palette(result.get()));
}

namespace {

struct Group {
  double n = 0, r = 0, g = 0, b = 0;  // weight and mean colour
  bool alive = true;
  std::size_t nearest = 0;
  double nearestCost = 0;
};

// The squared error that merging two groups adds.
double mergeCost(const Group& a, const Group& b) {
  const double dr = a.r - b.r, dg = a.g - b.g, db = a.b - b.b;
  return a.n * b.n / (a.n + b.n) * (dr * dr + dg * dg + db * db);
}

void findNearest(std::vector<Group>& groups, std::size_t i) {
  Group& g = groups[i];
  g.nearestCost = std::numeric_limits<double>::infinity();
  for (std::size_t j = 0; j < groups.size(); ++j) {
    if (j == i || !groups[j].alive) continue;
    const double cost = mergeCost(g, groups[j]);
    if (cost < g.nearestCost) {
      g.nearestCost = cost;
      g.nearest = j;
    }
  }
}

}  // namespace

GifPalette mergeClosestColours(const std::vector<ColourHistogram::Entry>& histogram, std::size_t colours) {
  std::vector<Group> groups;
  for (const ColourHistogram::Entry& e : histogram) {
    groups.push_back(Group{static_cast<double>(e.count), static_cast<double>(core::redOf(e.colour)),
                           static_cast<double>(core::greenOf(e.colour)), static_cast<double>(core::blueOf(e.colour))});
  }
  std::size_t alive = groups.size();
  if (alive > colours) {
    for (std::size_t i = 0; i < groups.size(); ++i) findNearest(groups, i);
  }
  while (alive > colours) {
    std::size_t a = 0;
    while (!groups[a].alive) ++a;
    for (std::size_t i = a + 1; i < groups.size(); ++i) {
      if (groups[i].alive && groups[i].nearestCost < groups[a].nearestCost) a = i;
    }
    const std::size_t b = groups[a].nearest;
    Group& ga = groups[a];
    const Group& gb = groups[b];
    const double n = ga.n + gb.n;
    ga.r = (ga.r * ga.n + gb.r * gb.n) / n;
    ga.g = (ga.g * ga.n + gb.g * gb.n) / n;
    ga.b = (ga.b * ga.n + gb.b * gb.n) / n;
    ga.n = n;
    groups[b].alive = false;
    --alive;
    // Groups that pointed at either one look again; the others only need to
    // know whether the merged group is now nearer.
    for (std::size_t i = 0; i < groups.size(); ++i) {
      if (!groups[i].alive || i == a) continue;
      if (groups[i].nearest == a || groups[i].nearest == b) {
        findNearest(groups, i);
      } else if (const double cost = mergeCost(groups[i], ga); cost < groups[i].nearestCost) {
        groups[i].nearestCost = cost;
        groups[i].nearest = a;
      }
    }
    findNearest(groups, a);
  }
  GifPalette palette;
  for (const Group& g : groups) {
    if (g.alive) {
      palette.push_back(core::rgb(static_cast<int>(std::lround(g.r)), static_cast<int>(std::lround(g.g)),
                                  static_cast<int>(std::lround(g.b))));
    }
  }
  return palette;
}

std::uint8_t NearestColour::operator()(core::Color c) {
  if (const std::uint8_t* known = cache_.find(c)) return *known;
  return cache_.add(c, search(c));
}

void PaletteByRed::follow(const GifPalette& palette) {
  if (entries_.size() == palette.size()) return;
  entries_.clear();
  for (std::size_t i = 0; i < palette.size(); ++i)
    entries_.push_back(Entry{core::redOf(palette[i]), static_cast<int>(i)});
  std::sort(entries_.begin(), entries_.end(),
            [](const Entry& a, const Entry& b) { return a.red != b.red ? a.red < b.red : a.index < b.index; });
}

std::uint8_t NearestColour::search(core::Color c) { return searchFrom(c, 0, std::numeric_limits<int>::max()); }

std::uint8_t NearestColour::search(core::Color c, std::uint8_t guess) {
  return searchFrom(c, guess, core::squaredDistance(c, palette_[guess]));
}

std::uint8_t NearestColour::searchFrom(core::Color c, int best, int bestDistance) {
  byRed_.follow(palette_);
  // The nearest entry, the lowest index among equally near ones (as a scan
  // in palette order finds it): every entry as near as the best so far is
  // still looked at.
  byRed_.walk(
      core::redOf(c), [&] { return bestDistance; },
      [&](const PaletteByRed::Entry& e) {
        const int d = core::squaredDistance(c, palette_[static_cast<std::size_t>(e.index)]);
        if (d < bestDistance || (d == bestDistance && e.index < best)) {
          bestDistance = d;
          best = e.index;
        }
      });
  return static_cast<std::uint8_t>(best);
}

const CloseColours::Close& CloseColours::operator()(core::Color c) {
  if (const Close* known = cache_.find(c)) return *known;
  const GifPalette& p = palette_;
  byRed_.follow(p);
  // Every entry within the radius of the nearest.
  int nearest = 1 << 20;  // beyond any squared RGB distance, with room for the radius
  within_.clear();
  byRed_.walk(
      core::redOf(c), [&] { return nearest + radius_; },
      [&](const PaletteByRed::Entry& e) {
        const int d = core::squaredDistance(c, p[static_cast<std::size_t>(e.index)]);
        nearest = std::min(nearest, d);
        if (d <= nearest + radius_) within_.push_back({e.index, d});
      });
  // In palette order, as a scan of the whole palette meets them.
  std::sort(within_.begin(), within_.end(), [](const Near& a, const Near& b) { return a.index < b.index; });
  Close close;
  bool skippedNearest = false;
  for (std::size_t i = 0; i < within_.size() && close.count < 2; ++i) {
    const int d = within_[i].distance;
    if (d == nearest && !skippedNearest) {
      skippedNearest = true;
    } else if (d <= nearest + radius_) {
      close.index[close.count++] = static_cast<std::uint8_t>(within_[i].index);
    }
  }
  return cache_.add(c, close);
}

namespace {

// The summed squared error of showing each counted colour as the entry
// given for it, added up in the histogram's order as remapError does.
double errorOf(const std::vector<ColourHistogram::Entry>& histogram, const GifPalette& palette,
               const std::vector<std::uint8_t>& nearest) {
  double total = 0.0;
  for (std::size_t i = 0; i < histogram.size(); ++i) {
    total += static_cast<double>(core::squaredDistance(histogram[i].colour, palette[nearest[i]])) *
             static_cast<double>(histogram[i].count);
  }
  return total;
}

// guesses, when not empty: each colour's nearest entry before the palette
// moved.
std::vector<std::uint8_t> nearestOfEach(const std::vector<ColourHistogram::Entry>& histogram, const GifPalette& palette,
                                        const std::vector<std::uint8_t>& guesses = {}) {
  NearestColour nearest(palette);
  std::vector<std::uint8_t> out;
  out.reserve(histogram.size());
  // Each colour of a histogram comes once: nothing to remember.
  for (std::size_t i = 0; i < histogram.size(); ++i) {
    const core::Color c = histogram[i].colour;
    out.push_back(guesses.empty() ? nearest.search(c) : nearest.search(c, guesses[i]));
  }
  return out;
}

}  // namespace

HistogramRemap remapHistogram(const std::vector<ColourHistogram::Entry>& histogram, const GifPalette& palette) {
  HistogramRemap out;
  out.nearest = nearestOfEach(histogram, palette);
  out.error = errorOf(histogram, palette, out.nearest);
  return out;
}

void refinePalette(GifPalette& palette, const std::vector<ColourHistogram::Entry>& histogram, int rounds,
                   HistogramRemap* remap) {
  struct Sum {
    std::uint64_t r = 0, g = 0, b = 0, n = 0;
  };
  std::vector<std::uint8_t> nearest;
  bool moved = false;
  for (int round = 0; round < rounds; ++round) {
    if (round == 0 && remap) {
      nearest.swap(remap->nearest);
    } else {
      nearest = nearestOfEach(histogram, palette, nearest);
    }
    std::vector<Sum> sums(palette.size());
    for (std::size_t h = 0; h < histogram.size(); ++h) {
      const ColourHistogram::Entry& e = histogram[h];
      Sum& s = sums[nearest[h]];
      s.r += static_cast<std::uint64_t>(core::redOf(e.colour)) * e.count;
      s.g += static_cast<std::uint64_t>(core::greenOf(e.colour)) * e.count;
      s.b += static_cast<std::uint64_t>(core::blueOf(e.colour)) * e.count;
      s.n += e.count;
    }
    moved = false;
    for (std::size_t i = 0; i < palette.size(); ++i) {
      if (sums[i].n == 0) continue;
      const auto mean = [&](std::uint64_t total) { return static_cast<int>((total + sums[i].n / 2) / sums[i].n); };
      const core::Color c = core::rgb(mean(sums[i].r), mean(sums[i].g), mean(sums[i].b));
      moved = moved || c != palette[i];
      palette[i] = c;
    }
    if (!moved) break;
  }
  if (!remap) return;
  if (moved || nearest.empty()) {
    remap->nearest = nearestOfEach(histogram, palette, nearest);
    remap->error = errorOf(histogram, palette, remap->nearest);
  } else {
    // The last round left the palette as it found it: its remap stands.
    remap->nearest.swap(nearest);
    remap->error = errorOf(histogram, palette, remap->nearest);
  }
}

double remapError(const std::vector<ColourHistogram::Entry>& histogram, NearestColour& nearest,
                  const GifPalette& palette) {
  double total = 0.0;
  for (const ColourHistogram::Entry& e : histogram) {
    // Each colour of a histogram comes once: nothing to remember.
    total += static_cast<double>(core::squaredDistance(e.colour, palette[nearest.search(e.colour)])) *
             static_cast<double>(e.count);
  }
  return total;
}

}  // namespace output
