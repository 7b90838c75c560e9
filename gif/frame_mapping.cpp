#include "gif/frame_mapping.h"

#include <algorithm>
#include <array>
#include <bitset>
#include <cmath>
#include <cstring>
#include <unordered_map>

#include "core/cancel.h"
#include "gif/colour_index.h"
#include "gif/lzw_plan.h"
#include "gif/quantizer.h"

namespace output {
namespace {

// A shared palette this good (PSNR in dB over all frames) is kept without
// trying per-frame palettes: the differences would not be visible, and each
// local palette costs up to 768 bytes.
constexpr double kSharedIsGoodEnoughDb = 45.0;
// Frames with more distinct colours than this are measured on a sample of
// about kSamples pixels instead: a palette that cannot be shared shows that
// on a sample as well, at a fraction of the cost.
constexpr std::size_t kFullHistogramColours = 65536;
constexpr std::size_t kSamples = 32768;
// Up to this many colours, a shared palette merges the closest colours
// exactly; that beats a general quantizer by about 2 dB on logos.
constexpr std::size_t kMergedColours = 2048;
// What refining a shared palette can gain at most, in dB.
constexpr double kRefineGainDb = 10.0;
// Per-frame palettes must beat the shared one by this much to pay for
// their tables.
constexpr double kPerFrameMarginDb = 1.0;

double psnrOf(double squaredError, std::size_t samples) {
  if (squaredError <= 0.0) return INFINITY;
  return 10.0 * std::log10(255.0 * 255.0 * static_cast<double>(samples) / squaredError);
}

std::vector<GifRect> changedRects(const std::vector<const core::Bitmap*>& frames) {
  std::vector<GifRect> rects{GifRect{0, 0, frames[0]->width, frames[0]->height}};
  for (std::size_t k = 1; k < frames.size(); ++k) rects.push_back(changedRect(*frames[k - 1], *frames[k]));
  return rects;
}

// The rect's pixels through `toIndex`, reusing the last answer along runs.
template <typename ToIndex>
std::vector<std::uint8_t> indicesOf(const core::Bitmap& b, const GifRect& r, ToIndex&& toIndex) {
  std::vector<std::uint8_t> out;
  out.reserve(r.area());
  core::Color last = b.row(r.top)[r.left];
  std::uint8_t lastIndex = toIndex(last);
  for (int y = r.top; y < r.top + r.height; ++y) {
    const core::Color* row = b.row(y);
    for (int x = r.left; x < r.left + r.width; ++x) {
      if (row[x] != last) {
        last = row[x];
        lastIndex = toIndex(last);
      }
      out.push_back(lastIndex);
    }
  }
  return out;
}

MappedFrame frameShell(const std::vector<GifRect>& rects, std::size_t k) {
  MappedFrame f;
  f.rect = rects[k];
  return f;
}

// The palette indices each frame needs: all of the first frame's, and of
// each later frame those of the pixels that change (the others may be
// transparent). wantsSlot, when given, receives for each frame whether its
// coder looks for a transparent index (FrameCoder does not where nearly
// every pixel changes).
std::vector<std::bitset<256>> neededIndices(const MappedAnimation& a, const std::vector<const core::Bitmap*>& frames,
                                            std::vector<bool>* wantsSlot = nullptr) {
  std::vector<std::bitset<256>> needed(frames.size());
  if (wantsSlot) wantsSlot->assign(frames.size(), false);
  for (std::uint8_t v : a.frames[0].indices) needed[0].set(v);
  for (std::size_t k = 1; k < frames.size(); ++k) {
    const MappedFrame& f = a.frames[k];
    std::size_t i = 0, still = 0;
    for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
      const core::Color* now = frames[k]->row(y);
      const core::Color* before = frames[k - 1]->row(y);
      for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x, ++i) {
        if (now[x] != before[x]) {
          needed[k].set(f.indices[i]);
        } else {
          ++still;
        }
      }
    }
    if (wantsSlot) (*wantsSlot)[k] = still * 50 >= f.indices.size();
  }
  return needed;
}

// Renumbers a shared palette so that frames need low indices: a frame's
// codes are as wide as its highest index. Frames are served in order of
// how few colours they still lack, each adding those next; a frame whose
// colours are already placed costs nothing more.
// Renumbers the shared palette: entry order[i] becomes entry i.
void renumber(MappedAnimation& a, const std::vector<std::size_t>& order) {
  const std::size_t n = a.global.size();
  std::vector<std::uint8_t> newIndex(n);
  GifPalette palette(n);
  for (std::size_t i = 0; i < n; ++i) {
    newIndex[order[i]] = static_cast<std::uint8_t>(i);
    palette[i] = a.global[order[i]];
  }
  a.global = std::move(palette);
  for (MappedFrame& f : a.frames) {
    for (std::uint8_t& v : f.indices) v = newIndex[v];
  }
}

// The entries most later frames need first; ties by how many frames in all.
std::vector<std::size_t> mostUsedFirst(const MappedAnimation& a, const std::vector<const core::Bitmap*>& frames) {
  const std::size_t n = a.global.size();
  const std::vector<std::bitset<256>> needed = neededIndices(a, frames);
  std::vector<int> later(n, 0), all(n, 0);
  for (std::size_t k = 0; k < needed.size(); ++k) {
    for (std::size_t v = 0; v < n; ++v) {
      later[v] += k > 0 && needed[k][v] ? 1 : 0;
      all[v] += needed[k][v] ? 1 : 0;
    }
  }
  std::vector<std::size_t> order(n);
  for (std::size_t i = 0; i < n; ++i) order[i] = i;
  std::stable_sort(order.begin(), order.end(), [&](std::size_t l, std::size_t r) {
    return later[l] != later[r] ? later[l] > later[r] : all[l] > all[r];
  });
  return order;
}

// The bits of `codes` LZW codes at each minimum code size 2..8: codes
// widen as the table grows, so a wider start costs only the early codes.
std::array<double, 9> codeBits(std::size_t codes) {
  std::array<double, 9> out{};
  for (int size = 2; size <= 8; ++size) {
    double bits = 0.0;
    int width = size + 1, next = (1 << size) + 2;
    for (std::size_t c = 0; c < codes; ++c) {
      bits += width;
      if (next < 4095)
        ++next;
      else
        width = size + 1, next = (1 << size) + 2;  // a clear code starts over
      if (next >= (1 << width) && width < 12) ++width;
    }
    out[static_cast<std::size_t>(size)] = bits;
  }
  return out;
}

// What an order costs: each frame's codes at the width its highest index
// (or the first index it leaves free for transparency, when higher and the
// frame wants one) needs.
struct OrderModel {
  std::vector<std::bitset<256>> needed;
  std::vector<bool> wantsSlot;
  std::vector<std::array<double, 9>> areas;
};

double orderCost(const std::vector<std::size_t>& order, const OrderModel& m) {
  std::array<std::size_t, 256> position{};
  for (std::size_t i = 0; i < order.size(); ++i) position[order[i]] = i;
  double cost = 0.0;
  for (std::size_t k = 0; k < m.needed.size(); ++k) {
    std::bitset<256> used;
    std::size_t highest = 0;
    for (std::size_t v = 0; v < order.size(); ++v) {
      if (!m.needed[k][v]) continue;
      used.set(position[v]);
      highest = std::max(highest, position[v]);
    }
    std::size_t free = 0;
    while (free < 256 && used[free]) ++free;
    if (m.wantsSlot[k]) highest = std::max(highest, std::min<std::size_t>(free, 255));
    std::size_t bits = 2;
    while ((std::size_t{1} << bits) <= highest) ++bits;
    cost += m.areas[k][bits];
  }
  return cost;
}

// Small palettes only are improved by local search: large ones code with
// wide codes whatever their order.
constexpr std::size_t kSwapsPay = 64;

// Swaps pairs of entries, and moves single entries to other places, while
// that lowers orderCost. Returns the cost reached.
double improveOrder(std::vector<std::size_t>& order, const OrderModel& m) {
  double cost = orderCost(order, m);
  const auto keepIfBetter = [&](auto&& undo) {
    const double c = orderCost(order, m);
    if (c < cost) {
      cost = c;
      return true;
    }
    undo();
    return false;
  };
  // The entry at `from` taken out and put back in at `to`.
  const auto move = [&](std::size_t from, std::size_t to) {
    const auto at = [&](std::size_t i) { return order.begin() + static_cast<std::ptrdiff_t>(i); };
    if (from < to) {
      std::rotate(at(from), at(from + 1), at(to + 1));
    } else {
      std::rotate(at(to), at(from), at(from + 1));
    }
  };
  for (int sweep = 0; sweep < 6; ++sweep) {
    bool improved = false;
    for (std::size_t i = 0; i < order.size(); ++i) {
      for (std::size_t j = i + 1; j < order.size(); ++j) {
        std::swap(order[i], order[j]);
        improved = keepIfBetter([&] { std::swap(order[i], order[j]); }) || improved;
      }
    }
    // A move shifts every entry between, which no single swap does.
    for (std::size_t i = 0; i < order.size(); ++i) {
      for (std::size_t j = 0; j < order.size(); ++j) {
        if (j == i) continue;
        move(i, j);
        improved = keepIfBetter([&] { move(j, i); }) || improved;
      }
    }
    if (!improved) break;
  }
  return cost;
}

std::vector<std::size_t> narrowCodesOrder(const MappedAnimation& a, const std::vector<const core::Bitmap*>& frames) {
  const std::size_t n = a.global.size();
  const std::vector<std::bitset<256>> needed = neededIndices(a, frames);
  std::vector<int> framesNeeding(n, 0);
  for (const std::bitset<256>& s : needed) {
    for (std::size_t v = 0; v < n; ++v) framesNeeding[v] += s[v] ? 1 : 0;
  }
  std::vector<std::size_t> order;
  std::bitset<256> placed;
  std::vector<bool> served(frames.size(), false);
  const auto servedBy = [&](const std::bitset<256>& colours) {
    int count = 0;
    for (std::size_t j = 0; j < frames.size(); ++j) count += !served[j] && (needed[j] & ~colours).none() ? 1 : 0;
    return count;
  };
  for (;;) {
    // Of the frames lacking the fewest colours, the one whose colours
    // complete the most frames.
    std::size_t next = SIZE_MAX, fewest = SIZE_MAX;
    int completes = 0;
    for (std::size_t k = 0; k < frames.size(); ++k) {
      if (served[k]) continue;
      const std::size_t lacking = (needed[k] & ~placed).count();
      if (lacking > fewest) continue;
      const int c = servedBy(placed | needed[k]);
      if (lacking < fewest || c > completes) {
        fewest = lacking;
        completes = c;
        next = k;
      }
    }
    if (next == SIZE_MAX) break;
    std::vector<std::size_t> added;
    for (std::size_t v = 0; v < n; ++v) {
      if (needed[next][v] && !placed[v]) added.push_back(v);
    }
    // Colours that more frames need go first.
    std::stable_sort(added.begin(), added.end(),
                     [&](std::size_t l, std::size_t r) { return framesNeeding[l] > framesNeeding[r]; });
    for (std::size_t v : added) {
      placed.set(v);
      order.push_back(v);
    }
    for (std::size_t j = 0; j < frames.size(); ++j) served[j] = served[j] || (needed[j] & ~placed).none();
  }
  for (std::size_t v = 0; v < n; ++v) {
    if (!placed[v]) order.push_back(v);
  }
  if (n <= kSwapsPay) {
    OrderModel m;
    m.needed = neededIndices(a, frames, &m.wantsSlot);
    LzwPlanner planner;
    for (const MappedFrame& f : a.frames) {
      (void)planner.codedBytes(f.indices, 8);
      m.areas.push_back(codeBits(planner.lastCodeCount()));
    }
    // The search ends where it started from: the most used entries first
    // is another start, now and then a better one.
    const double narrow = improveOrder(order, m);
    std::vector<std::size_t> other = mostUsedFirst(a, frames);
    if (improveOrder(other, m) < narrow) order = std::move(other);
  }
  return order;
}

MappedAnimation mapExact(const std::vector<const core::Bitmap*>& frames, const std::vector<GifRect>& rects,
                         const ColourIndex& index) {
  MappedAnimation a;
  a.mode = PaletteMode::Exact;
  a.global = index.colours();
  for (std::size_t k = 0; k < frames.size(); ++k) {
    MappedFrame f = frameShell(rects, k);
    f.indices = indicesOf(*frames[k], f.rect, [&](core::Color c) { return static_cast<std::uint8_t>(index.find(c)); });
    a.frames.push_back(std::move(f));
  }
  orderPalette(a, frames, PaletteOrder::NarrowCodes);
  return a;
}

// The frames' colour counts: all of them, or when there are very many, a
// sample. complete tells which.
std::vector<ColourHistogram::Entry> countColours(const std::vector<const core::Bitmap*>& frames, bool& complete) {
  ColourHistogram counts;
  complete = true;
  for (const core::Bitmap* f : frames) {
    if (!counts.addAll(*f, kFullHistogramColours)) {
      complete = false;
      break;
    }
  }
  if (complete) return counts.entries();
  ColourHistogram sample;
  // An odd step keeps the sample from lining up with the picture's columns.
  const std::size_t step = (frames.size() * frames[0]->px.size() / kSamples) | 1;
  for (const core::Bitmap* f : frames) sample.addSampled(*f, step);
  return sample.entries();
}

// A palette shared by all frames: libimagequant's, then moved to minimise
// plain RGB error (which is what the frames lose). psnr receives its
// quality, measured over every pixel of every frame, or over the sample
// when the frames hold very many colours.
std::optional<GifPalette> sharedPalette(const std::vector<const core::Bitmap*>& frames, const MappingSettings& s,
                                        double& psnr) {
  bool complete = true;
  const std::vector<ColourHistogram::Entry> histogram = countColours(frames, complete);
  // Few colours: merge them exactly; many: libimagequant.
  std::optional<GifPalette> palette;
  if (complete && histogram.size() <= kMergedColours) {
    palette = mergeClosestColours(histogram, static_cast<std::size_t>(s.sharedColours));
  } else {
    palette = quantizeHistogram(histogram, QuantizeSettings{s.sharedColours, s.speed, 0.0f});
  }
  if (!palette) return std::nullopt;
  std::size_t samples = 0;
  for (const ColourHistogram::Entry& e : histogram) samples += e.count * 3;
  HistogramRemap remap = remapHistogram(histogram, *palette);
  psnr = psnrOf(remap.error, samples);
  // Refining moves a palette by a few dB at most; one that is far from
  // good enough is not worth the time.
  if (s.refineRounds > 0 && psnr >= kSharedIsGoodEnoughDb - kRefineGainDb) {
    refinePalette(*palette, histogram, s.refineRounds, &remap);
    psnr = psnrOf(remap.error, samples);
  }
  return palette;
}

MappedAnimation mapShared(const std::vector<const core::Bitmap*>& frames, const std::vector<GifRect>& rects,
                          const GifPalette& palette) {
  MappedAnimation a;
  a.mode = PaletteMode::Shared;
  NearestColour nearest(palette);
  a.global = palette;
  for (std::size_t k = 0; k < frames.size(); ++k) {
    MappedFrame f = frameShell(rects, k);
    f.indices = indicesOf(*frames[k], f.rect, nearest);
    a.frames.push_back(std::move(f));
  }
  orderPalette(a, frames, PaletteOrder::NarrowCodes);
  return a;
}

// Draws the image's indices on the canvas.
void paint(const MappedFrame& f, const GifPalette& p, core::Bitmap& canvas) {
  std::size_t i = 0;
  for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
    for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x) canvas.row(y)[x] = p[f.indices[i++]];
  }
}

// The squared error of the frame as the canvas shows it. In integers,
// exact as a double's sum would be (far below 2^53) and quicker.
double shownError(const core::Bitmap& frame, const core::Bitmap& canvas) {
  std::uint64_t error = 0;
  for (std::size_t j = 0; j < canvas.px.size(); ++j)
    error += static_cast<std::uint64_t>(core::squaredDistance(canvas.px[j], frame.px[j]));
  return static_cast<double>(error);
}

// How well the quantized rect shows the frame's pixels there.
double rectPsnr(const core::Bitmap& frame, const GifRect& r, const QuantizedRect& q) {
  std::uint64_t error = 0;
  std::size_t i = 0;
  for (int y = r.top; y < r.top + r.height; ++y) {
    const core::Color* row = frame.row(y);
    for (int x = r.left; x < r.left + r.width; ++x)
      error += static_cast<std::uint64_t>(core::squaredDistance(row[x], q.palette[q.indices[i++]]));
  }
  return psnrOf(static_cast<double>(error), r.area() * 3);
}

// One palette per frame. psnr receives their quality over every frame as
// displayed. The error only grows frame by frame: once the frames so far
// already put the whole below lowestDb, the rest is not quantized and
// nullopt is returned, as when quantization fails. Frames that cover the
// screen show the same whatever came before, and the larger a frame the
// more it tends to add: frames are quantized largest first, each as soon
// as the frame before it is. The errors are whole numbers far below 2^53,
// so their sum comes out the same in any order.
std::optional<MappedAnimation> mapPerFrame(const std::vector<const core::Bitmap*>& frames,
                                           const std::vector<GifRect>& rects, const MappingSettings& s, double& psnr,
                                           double lowestDb) {
  MappedAnimation a;
  a.mode = PaletteMode::PerFrame;
  const std::size_t n = frames.size();
  const std::size_t samples = n * frames[0]->px.size() * 3;
  const auto whole = [&](std::size_t k) { return rects[k].area() == frames[0]->px.size(); };
  const auto paletteOf = [&](const MappedFrame& f) -> const GifPalette& { return f.local ? *f.local : a.global; };
  core::Bitmap canvas(frames[0]->width, frames[0]->height);
  std::size_t shown = n;  // the frame the canvas shows the screen after; n: none yet
  std::vector<std::optional<MappedFrame>> done(n);
  double error = 0.0;
  for (std::size_t count = 0; count < n; ++count) {
    throwIfCancelled(s.cancel);
    std::size_t k = n;
    for (std::size_t j = 0; j < n; ++j) {
      if (done[j] || !(whole(j) || done[j - 1])) continue;
      if (k == n || rects[j].area() > rects[k].area()) k = j;
    }
    if (!whole(k) && shown != k - 1) {
      // The screen after frame k - 1: from the last frame before it that
      // covers the screen on.
      std::size_t from = k - 1;
      while (!whole(from)) --from;
      for (std::size_t j = from; j < k; ++j) paint(*done[j], paletteOf(*done[j]), canvas);
    }
    std::optional<QuantizedRect> q =
        quantizeRect(*frames[k], rects[k], QuantizeSettings{s.perFrameColours, s.speed, s.dithering});
    if (q && rectPsnr(*frames[k], rects[k], *q) < s.perFrameFloorDb) {
      q = quantizeRect(*frames[k], rects[k], QuantizeSettings{s.sharedColours, s.speed, s.dithering});
    }
    if (!q) return std::nullopt;
    MappedFrame f = frameShell(rects, k);
    f.indices = std::move(q->indices);
    // The first frame's palette is the global one; the others bring theirs.
    GifPalette& palette = k == 0 ? a.global : f.local.emplace();
    palette = std::move(q->palette);
    paint(f, palette, canvas);
    error += shownError(*frames[k], canvas);
    shown = k;
    done[k] = std::move(f);
    // A hair below lowestDb, so that the log's rounding cannot tip a close call.
    if (count + 1 < n && psnrOf(error, samples) < lowestDb - 1e-6) return std::nullopt;
  }
  for (std::optional<MappedFrame>& f : done) a.frames.push_back(std::move(*f));
  psnr = psnrOf(error, samples);
  return a;
}

// The colours of the rect's pixels that differ from `before` (all of them
// without one), with their counts; empty when there are more than `most`.
std::vector<ColourHistogram::Entry> changedColours(const core::Bitmap& frame, const core::Bitmap* before,
                                                   const GifRect& r, std::size_t most) {
  std::unordered_map<core::Color, std::uint64_t> counts;
  for (int y = r.top; y < r.top + r.height; ++y) {
    const core::Color* row = frame.row(y);
    const core::Color* previous = before ? before->row(y) : nullptr;
    for (int x = r.left; x < r.left + r.width; ++x) {
      if (!previous || previous[x] != row[x]) ++counts[row[x]];
    }
    if (counts.size() > most) return {};
  }
  // An equal frame changes nothing; its one pixel still needs a colour.
  if (counts.empty()) ++counts[frame.row(r.top)[r.left]];
  std::vector<ColourHistogram::Entry> out;
  for (const auto& [colour, count] : counts) out.push_back({colour, count});
  // Sorted, so that the palette does not depend on the map's order.
  std::sort(out.begin(), out.end(), [](const ColourHistogram::Entry& l, const ColourHistogram::Entry& r2) {
    return l.count != r2.count ? l.count > r2.count : l.colour < r2.colour;
  });
  return out;
}

// Merging closest colours exactly costs n^2: up to this many it is done,
// then refined by k-means.
constexpr std::size_t kFinelyMergedColours = 1024;
constexpr int kFineRefineRounds = 8;
// Beyond, a frame is photo-like: libimagequant quantizes and remaps it at a
// speed that keeps a fit of 22 frames of 1000 x 200 within about a second.
constexpr int kManyColoursSpeed = 8;
constexpr int kPhotoRefineRounds = 2;

// Few colours: exact, or merged and refined. nullopt for many (an empty
// histogram).
GifRect unite(const GifRect& a, const GifRect& b) {
  const int left = std::min(a.left, b.left), top = std::min(a.top, b.top);
  return GifRect{left, top, std::max(a.left + a.width, b.left + b.width) - left,
                 std::max(a.top + a.height, b.top + b.height) - top};
}

std::optional<GifPalette> finePalette(const std::vector<ColourHistogram::Entry>& histogram, std::size_t colours) {
  if (histogram.empty()) return std::nullopt;
  if (histogram.size() <= colours) {
    GifPalette exact;
    for (const ColourHistogram::Entry& e : histogram) exact.push_back(e.colour);
    return exact;
  }
  GifPalette palette = mergeClosestColours(histogram, colours);
  refinePalette(palette, histogram, kFineRefineRounds);
  return palette;
}

}  // namespace

std::optional<MappedAnimation> mapEachFrameFinely(const std::vector<const core::Bitmap*>& frames,
                                                  const std::atomic<bool>* cancel) {
  const std::vector<GifRect> rects = changedRects(frames);
  MappedAnimation a;
  a.mode = PaletteMode::PerFrame;
  // Where earlier images showed merged colours that no image since has
  // written again: pixels there may differ from their frame though
  // unchanged.
  std::optional<GifRect> inexact;
  for (std::size_t k = 0; k < frames.size(); ++k) {
    throwIfCancelled(cancel);
    const std::size_t colours = k == 0 ? 256 : 255;
    MappedFrame f = frameShell(rects, k);
    // A frame whose colours there all fit in its palette takes the area of
    // those earlier colours in as well: it then shows exactly.
    std::vector<ColourHistogram::Entry> changed;
    if (inexact) {
      const GifRect united = unite(rects[k], *inexact);
      changed = changedColours(*frames[k], nullptr, united, colours);
      if (!changed.empty()) {
        f.rect = united;
        f.exact = true;
        inexact.reset();
      }
    }
    if (changed.empty()) {
      changed = changedColours(*frames[k], k > 0 ? frames[k - 1] : nullptr, rects[k], kFinelyMergedColours);
    }
    std::optional<GifPalette> palette = finePalette(changed, colours);
    if (!palette || changed.size() > colours) {
      inexact = inexact ? unite(*inexact, f.rect) : f.rect;
    }
    if (!palette) {
      std::optional<QuantizedRect> q = quantizeRect(
          *frames[k], rects[k], QuantizeSettings{static_cast<int>(colours), kManyColoursSpeed, 0.0f});
      if (!q) return std::nullopt;
      // libimagequant weighs colours as the eye does; PSNR counts plain RGB
      // error, which a few k-means rounds over the changing pixels lower.
      throwIfCancelled(cancel);
      refinePalette(q->palette,
                    changedColours(*frames[k], k > 0 ? frames[k - 1] : nullptr, rects[k], SIZE_MAX),
                    kPhotoRefineRounds);
      NearestColour nearest(q->palette);
      f.indices = indicesOf(*frames[k], f.rect, nearest);
      palette = std::move(q->palette);
    } else {
      // A frame the first one's palette shows as well needs no table of
      // its own (up to 768 bytes).
      if (k > 0) {
        NearestColour own(*palette), first(a.global);
        if (remapError(changed, first, a.global) <= remapError(changed, own, *palette)) palette.reset();
      }
      NearestColour nearest(palette ? *palette : a.global);
      f.indices = indicesOf(*frames[k], f.rect, nearest);
    }
    if (palette) (k == 0 ? a.global : f.local.emplace()) = std::move(*palette);
    a.frames.push_back(std::move(f));
  }
  return a;
}

std::optional<MappedAnimation> shareFewColours(const MappedAnimation& fine,
                                               const std::vector<const core::Bitmap*>& frames) {
  constexpr std::size_t kShared = 255;  // one index stays free for transparency
  const std::size_t n = fine.frames.size();
  std::vector<std::vector<ColourHistogram::Entry>> colours(n);
  std::vector<std::size_t> open;
  for (std::size_t k = 0; k < n; ++k) {
    colours[k] = changedColours(*frames[k], nullptr, fine.frames[k].rect, kShared);
    if (!colours[k].empty()) open.push_back(k);
  }
  ColourIndex shared;
  std::vector<bool> joins(n, false);
  std::size_t joined = 0;
  while (!open.empty()) {
    std::size_t best = 0, fewest = SIZE_MAX;
    for (std::size_t i = 0; i < open.size(); ++i) {
      std::size_t fresh = 0;
      for (const ColourHistogram::Entry& e : colours[open[i]]) fresh += shared.find(e.colour) < 0 ? 1 : 0;
      if (fresh < fewest) {
        fewest = fresh;
        best = i;
      }
    }
    if (static_cast<std::size_t>(shared.size()) + fewest > kShared) break;
    const std::size_t k = open[best];
    for (const ColourHistogram::Entry& e : colours[k]) shared.add(e.colour);
    joins[k] = true;
    ++joined;
    open.erase(open.begin() + static_cast<std::ptrdiff_t>(best));
  }
  if (joined < 2) return std::nullopt;
  MappedAnimation a;
  // Every image is coded as one of an animation with a palette per frame:
  // what earlier tables left on screen is covered where it shows wrong.
  a.mode = PaletteMode::PerFrame;
  a.global = shared.colours();
  for (std::size_t k = 0; k < n; ++k) {
    MappedFrame f = fine.frames[k];
    if (joins[k]) {
      f.local.reset();
      f.exact = true;
      std::size_t i = 0;
      for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
        const core::Color* row = frames[k]->row(y);
        for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x) {
          f.indices[i++] = static_cast<std::uint8_t>(shared.find(row[x]));
        }
      }
    } else if (!f.local) {
      f.local = fine.global;
    }
    a.frames.push_back(std::move(f));
  }
  return a;
}

void orderPalette(MappedAnimation& a, const std::vector<const core::Bitmap*>& frames, PaletteOrder order) {
  if (a.mode == PaletteMode::PerFrame) return;
  renumber(a, order == PaletteOrder::NarrowCodes ? narrowCodesOrder(a, frames) : mostUsedFirst(a, frames));
}

GifRect changedRect(const core::Bitmap& before, const core::Bitmap& after) {
  const int w = after.width;
  const std::size_t rowBytes = static_cast<std::size_t>(w) * sizeof(core::Color);
  int top = -1, bottom = -1, left = w, right = -1;
  for (int y = 0; y < after.height; ++y) {
    const core::Color* a = before.row(y);
    const core::Color* b = after.row(y);
    if (std::memcmp(a, b, rowBytes) == 0) continue;
    if (top < 0) top = y;
    bottom = y;
    int x = 0;
    while (a[x] == b[x]) ++x;
    left = std::min(left, x);
    x = w - 1;
    while (a[x] == b[x]) --x;
    right = std::max(right, x);
  }
  if (top < 0) return GifRect{0, 0, 1, 1};
  return GifRect{left, top, right - left + 1, bottom - top + 1};
}

std::optional<MappedAnimation> mapAnimation(const std::vector<const core::Bitmap*>& frames,
                                            const MappingSettings& settings) {
  const std::vector<GifRect> rects = changedRects(frames);
  ColourIndex exact;
  bool fits = true;
  for (std::size_t k = 0; k < frames.size() && fits; ++k) fits = exact.addAll(*frames[k]);
  if (fits) return mapExact(frames, rects, exact);

  throwIfCancelled(settings.cancel);
  double sharedPsnr = 0.0;
  const std::optional<GifPalette> shared = sharedPalette(frames, settings, sharedPsnr);
  if (shared && sharedPsnr >= kSharedIsGoodEnoughDb) return mapShared(frames, rects, *shared);
  double perFramePsnr = 0.0;
  // Per-frame palettes that cannot beat the shared one by the margin are
  // not worth finishing.
  const double lowestDb = shared ? sharedPsnr + kPerFrameMarginDb : -INFINITY;
  std::optional<MappedAnimation> perFrame = mapPerFrame(frames, rects, settings, perFramePsnr, lowestDb);
  if (shared && (!perFrame || perFramePsnr <= sharedPsnr + kPerFrameMarginDb)) {
    return mapShared(frames, rects, *shared);
  }
  return perFrame;
}

}  // namespace output
