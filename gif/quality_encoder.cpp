#include "gif/quality_encoder.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <limits>

#include "gif/animation_writer.h"
#include "gif/frame_coder.h"
#include "gif/quantizer.h"
#include "gif/shown_bound.h"
#include "gif/shown_quality.h"

namespace output {
namespace {

// Palette sizes the scale steps through, best first, in its upper and its
// lower half.
constexpr int kFewerColours[] = {255, 192, 128, 96, 64, 48, 32};
constexpr int kFewestColours[] = {32, 24, 16, 12, 8, 6, 4};
constexpr int kLastResortColours[] = {4, 3, 2};

// The 8 x 8 ordered-dither threshold of a screen position, 0..63.
int bayer8(int x, int y) {
  int v = 0;
  const int xy = x ^ y;
  for (int bit = 0; bit < 3; ++bit) v = (v << 2) | (((xy >> bit) & 1) << 1) | ((y >> bit) & 1);
  return v;
}

// The typical distance of a palette entry to its nearest neighbour, per
// channel: how far an ordered dither must reach to mix two entries.
double spacingOf(const GifPalette& p) {
  if (p.size() < 2) return 0.0;
  double sum = 0.0;
  for (std::size_t i = 0; i < p.size(); ++i) {
    int nearest = std::numeric_limits<int>::max();
    for (std::size_t j = 0; j < p.size(); ++j) {
      if (j != i) nearest = std::min(nearest, core::squaredDistance(p[i], p[j]));
    }
    sum += nearest;
  }
  return std::sqrt(sum / static_cast<double>(p.size()) / 3.0);
}

// Nearest palette entries on a grid of 64 levels per channel, each cell
// answered for its centre once: dithered colours are nearly all distinct,
// and one search per cell keeps them cheap. Deterministic: a cell's answer
// does not depend on which colour asked first.
class GridNearest {
 public:
  explicit GridNearest(const GifPalette& palette) : nearest_(palette) {}
  std::uint8_t operator()(int r, int g, int b) {
    if (cells_.empty()) cells_.assign(std::size_t{1} << 18, -1);
    const std::size_t cell = static_cast<std::size_t>((r >> 2) << 12 | (g >> 2) << 6 | (b >> 2));
    if (cells_[cell] < 0) {
      const core::Color centre = core::rgb((r & ~3) | 2, (g & ~3) | 2, (b & ~3) | 2);
      cells_[cell] = static_cast<std::int16_t>(nearest_.search(centre));
    }
    return static_cast<std::uint8_t>(cells_[cell]);
  }

 private:
  NearestColour nearest_;
  std::vector<std::int16_t> cells_;
};

// std::lround for 0..255, without the library call: v - its whole part is
// exact there, so the half-way test is too.
int clampChannel(double v) {
  const double c = std::clamp(v, 0.0, 255.0);
  const int whole = static_cast<int>(c);
  return whole + (c - whole >= 0.5 ? 1 : 0);
}

// A pixel's index in a reduced palette: the nearest entry, or through the
// ordered dither when ditherStep > 0.
class PixelMapper {
 public:
  PixelMapper(const GifPalette& palette, int ditherStep)
      : nearest_(palette), grid_(palette), amplitude_(ditherStep > 0 ? ditherStep * spacingOf(palette) / 10.0 : 0.0) {}
  std::uint8_t operator()(int x, int y, core::Color c) {
    if (amplitude_ <= 0.0) return nearest_(c);
    if (dithered_.empty()) {
      // Each screen position's offset added to every channel value, worked
      // out once: the same sums and roundings, looked up per pixel.
      dithered_.resize(64 * 256);
      for (int oy = 0; oy < 8; ++oy) {
        for (int ox = 0; ox < 8; ++ox) {
          const double offset = ((bayer8(ox, oy) + 0.5) / 64.0 - 0.5) * amplitude_;
          std::uint8_t* row = &dithered_[static_cast<std::size_t>(oy * 8 + ox) * 256];
          for (int v = 0; v < 256; ++v) row[v] = static_cast<std::uint8_t>(clampChannel(v + offset));
        }
      }
    }
    const std::uint8_t* row = &dithered_[static_cast<std::size_t>((y & 7) * 8 + (x & 7)) * 256];
    return grid_(row[core::redOf(c)], row[core::greenOf(c)], row[core::blueOf(c)]);
  }

 private:
  NearestColour nearest_;
  GridNearest grid_;
  double amplitude_;
  std::vector<std::uint8_t> dithered_;  // per screen position (y % 8, x % 8), per channel value
};

// How many pixels use each entry of the palette frame k is shown with.
std::vector<ColourHistogram::Entry> usage(const MappedAnimation& a, const GifPalette& palette, std::size_t first,
                                          std::size_t last) {
  std::vector<std::uint64_t> counts(palette.size(), 0);
  for (std::size_t k = first; k < last; ++k) {
    for (std::uint8_t v : a.frames[k].indices) ++counts[v];
  }
  std::vector<ColourHistogram::Entry> out;
  for (std::size_t i = 0; i < palette.size(); ++i) {
    if (counts[i] > 0) out.push_back({palette[i], counts[i]});
  }
  return out;
}

}  // namespace

LossySettings lossySettingsFor(int quality, bool manyColours) {
  const int q = std::clamp(quality, kLowestQuality, kBestQuality);
  LossySettings s;
  // Fewer colours first, which costs the least quality per byte saved on
  // banners; then, below the middle, lossy matching takes over.
  if (q >= kBestQuality / 2) {
    const double t = static_cast<double>(kBestQuality - q) / (kBestQuality / 2);  // 0..1
    const int steps = static_cast<int>(std::size(kFewerColours));
    s.colours = kFewerColours[std::min(steps - 1, static_cast<int>(t * steps))];
    s.tolerance = static_cast<int>(3.0 * (1.0 + 4.0 * t) * (1.0 + 4.0 * t));
  } else if (q >= 0) {
    const double t = static_cast<double>(kBestQuality / 2 - q) / (kBestQuality / 2);  // 0..1
    const int steps = static_cast<int>(std::size(kFewestColours));
    s.colours = kFewestColours[std::min(steps - 1, static_cast<int>(t * steps))];
    const double perChannel = 5.0 + 95.0 * std::pow(t, 1.5);
    s.tolerance = static_cast<int>(3.0 * perChannel * perChannel);
  } else {
    // Below quality 0, the fit's last resort: only the palette shrinks, to
    // 3 and then 2 entries, with quality 0's tolerance. Measured on a 1000 x
    // 200 logo slide, a wider tolerance only made the files longer (the
    // matches it buys break the strings after them) and darker, while each
    // entry less saved 7 to 10 % at a few dB.
    s.colours = kLastResortColours[std::min(-q, static_cast<int>(std::size(kLastResortColours))) - 1];
    s.tolerance = 3 * 100 * 100;
  }
  // No dither below quality 0: its noise costs codes the last resort cannot spare.
  s.ditherStep = manyColours && q >= 0 ? static_cast<int>(std::lround(2.0 * (kBestQuality - q) / kBestQuality)) : 0;
  return s;
}

QualityEncoder::QualityEncoder(const ShownFrames& shown, int loopCount, const CancelFlag* cancel,
                               WorkProgress* progress)
    : shown_(shown), loopCount_(loopCount), cancel_(cancel), progress_(progress) {}

const MappedAnimation* QualityEncoder::base() {
  if (!base_ && !baseFailed_) {
    throwIfCancelled(cancel_);
    MappingSettings settings;
    settings.cancel = cancel_;
    base_ = mapAnimation(shown_.frames, settings);
    baseFailed_ = !base_;
    reportStep(progress_);
  }
  return base_ ? &*base_ : nullptr;
}

bool QualityEncoder::manyColours() {
  const MappedAnimation* b = base();
  return b && b->mode != PaletteMode::Exact;
}

std::optional<CodedAnimation> QualityEncoder::encode(int quality, bool shortest) {
  throwIfCancelled(cancel_);
  if (!base()) return std::nullopt;
  std::optional<CodedAnimation> out = quality >= kBestQuality
                                         ? encodeBest(shortest)
                                         : encodeLossy(lossySettingsFor(quality, manyColours()), shortest);
  reportStep(progress_);
  return out;
}

std::optional<CodedAnimation> QualityEncoder::encodeBest(bool shortest) {
  return codeAnimation(shown_, *base_, loopCount_, shortest, cancel_, progress_, &memo_);
}

std::optional<CodedAnimation> QualityEncoder::encodeFinely(int tolerance, bool shortest) {
  throwIfCancelled(cancel_);
  if (!fine_) {
    fine_ = mapEachFrameFinely(shown_.frames, cancel_);
    reportStep(progress_);
  }
  if (!fine_) return std::nullopt;
  std::optional<CodedAnimation> out;
  if (tolerance <= 0) {
    out = codeAnimation(shown_, *fine_, loopCount_, shortest, cancel_, progress_, &memo_);
  } else {
    LossySettings s;
    s.tolerance = tolerance;
    out = encodeLossyFrom(*fine_, s, shortest);
  }
  reportStep(progress_);
  return out;
}

MappedAnimation QualityEncoder::mixOf(const std::vector<const MappedAnimation*>& from, const GifPalette& global) const {
  const auto paletteOf = [](const MappedAnimation& a, std::size_t k) -> const GifPalette& {
    return a.frames[k].local ? *a.frames[k].local : a.global;
  };
  // The global palette serves the images it equals (a shared one needs no
  // table then); every other image brings its own.
  MappedAnimation mixed;
  mixed.mode = base_->mode;
  mixed.global = global;
  for (std::size_t k = 0; k < from.size(); ++k) {
    MappedFrame f = from[k]->frames[k];
    f.transparent = -1;
    const GifPalette& palette = paletteOf(*from[k], k);
    if (palette == mixed.global) {
      f.local.reset();
    } else {
      f.local = palette;
    }
    mixed.frames.push_back(std::move(f));
  }
  return mixed;
}

std::optional<CodedAnimation> QualityEncoder::encodeMixed(std::size_t budgetBytes, const CodedAnimation& plainFile,
                                                          const CodedAnimation& finerFile) {
  throwIfCancelled(cancel_);
  if (!base() || !fine_) return std::nullopt;
  const CodedAnimation* plain = &plainFile;
  const CodedAnimation* finer = &finerFile;
  const std::size_t n = base_->frames.size();
  if (plain->framePsnr.size() != n || finer->framePsnr.size() != n) return std::nullopt;
  // Frames by what the finer palette gains (PSNR times the frames an image
  // stands for) per byte it adds; those that gain for nothing first.
  struct Choice {
    std::size_t frame;
    double gain;
    long long cost;
  };
  std::vector<Choice> choices;
  for (std::size_t k = 0; k < n; ++k) {
    const double gain = (finer->framePsnr[k] - plain->framePsnr[k]) * shown_.repeats[k];
    const long long cost =
        static_cast<long long>(finer->frameBytes[k]) - static_cast<long long>(plain->frameBytes[k]);
    if (gain > 0.0) choices.push_back({k, gain, cost});
  }
  const auto rate = [](const Choice& c) { return c.cost <= 0 ? INFINITY : c.gain / static_cast<double>(c.cost); };
  std::stable_sort(choices.begin(), choices.end(), [&](const Choice& l, const Choice& r) { return rate(l) > rate(r); });
  std::optional<CodedAnimation> best;
  // Frames interact (what shows through transparency), so the model's
  // bytes are a guess: a mix over the budget is tried again with less room.
  long long room = static_cast<long long>(budgetBytes) - static_cast<long long>(plain->bytes.size());
  for (int attempt = 0; attempt < 5 && room > 0; ++attempt) {
    std::vector<bool> useFine(n, false);
    long long spent = 0;
    bool any = false;
    for (const Choice& c : choices) {
      if (spent + c.cost > room) continue;
      spent += c.cost;
      useFine[c.frame] = true;
      any = true;
    }
    if (!any) break;
    std::vector<const MappedAnimation*> from(n);
    for (std::size_t k = 0; k < n; ++k) from[k] = useFine[k] ? &*fine_ : &*base_;
    const MappedAnimation mixed = mixOf(from, base_->global);
    std::optional<CodedAnimation> coded = codeAnimation(shown_, mixed, loopCount_, true, cancel_, progress_, &memo_);
    if (!coded) return std::nullopt;
    if (coded->bytes.size() <= budgetBytes) {
      if (!best || coded->psnr > best->psnr) best = std::move(coded);
      break;
    }
    room -= static_cast<long long>(coded->bytes.size() - budgetBytes) + room / 10;
  }
  return best;
}

namespace {

// The points encodeAllotted measures every image at: quality 100's mapping
// and the finer one, both without loss, the finer palettes cut to 128
// entries, and cut to 64 with about 4 per channel of lossy matching. Six
// more (wider tolerances, other cuts) changed no file on the logo banners
// measured, and each costs a coding of every frame.
struct AllotPoint {
  bool fine;
  int colours;  // the finer palettes cut to this many entries (255: as they are)
  int tolerance;
  bool shared = false;  // shareFewColours' mapping
};
constexpr AllotPoint kAllotPoints[] = {{false, 255, 0}, {true, 255, 0}, {true, 128, 0}, {true, 64, 48}};
constexpr AllotPoint kSharedPoint = {true, 255, 0, true};

// One image's choices as (bytes, PSNR) points, cheapest first, each
// showing more than the one before and lying on the upper hull, so that
// the steps between them buy ever less per byte.
struct HullPoint {
  std::size_t point;
  long long bytes;
  double psnr;
};
std::vector<HullPoint> upperHull(std::vector<HullPoint> points) {
  std::sort(points.begin(), points.end(), [](const HullPoint& l, const HullPoint& r) {
    return l.bytes != r.bytes ? l.bytes < r.bytes : l.psnr > r.psnr;
  });
  std::vector<HullPoint> hull;
  for (const HullPoint& p : points) {
    if (!hull.empty() && p.psnr <= hull.back().psnr) continue;
    while (hull.size() >= 2) {
      const HullPoint& a = hull[hull.size() - 2];
      const HullPoint& b = hull.back();
      // b lies on or under the line from a to p: a step straight to p buys more per byte.
      if ((b.psnr - a.psnr) * static_cast<double>(p.bytes - a.bytes) <=
          (p.psnr - a.psnr) * static_cast<double>(b.bytes - a.bytes)) {
        hull.pop_back();
      } else {
        break;
      }
    }
    hull.push_back(p);
  }
  return hull;
}

}  // namespace

const MappedAnimation& QualityEncoder::mappingAt(bool fine, int colours, bool shared) {
  if (shared) return *shared_;
  if (!fine) return *base_;
  return colours >= 255 ? *fine_ : reduced(colours, 0, true).animation;
}

std::optional<CodedAnimation> QualityEncoder::encodeAllotted(std::size_t budgetBytes, double floorDb,
                                                             bool shareFew) {
  throwIfCancelled(cancel_);
  if (!base() || !fine_) return std::nullopt;
  if (shareFew && !sharedTried_) {
    sharedTried_ = true;
    shared_ = shareFewColours(*fine_, shown_.frames);
  }
  if (shareFew && !shared_) return std::nullopt;
  const std::size_t n = base_->frames.size();
  std::vector<AllotPoint> allot(std::begin(kAllotPoints), std::end(kAllotPoints));
  if (shareFew) allot.push_back(kSharedPoint);
  const std::size_t points = allot.size();
  std::vector<CodedAnimation> measured;
  long long overhead = 0;  // what no image's figure counts: screen, global table, frame headers
  for (std::size_t j = 0; j < points; ++j) {
    const AllotPoint& p = allot[j];
    const MappedAnimation& mapping = mappingAt(p.fine, p.colours, p.shared);
    // Both kinds of allotment measure the same points.
    if (j >= allotFigures_.size() || !allotFigures_[j]) {
      LossySettings s;
      s.tolerance = p.tolerance;
      std::optional<CodedAnimation> c = encodeLossyFrom(mapping, s, false);
      if (!c || c->framePsnr.size() != n) return std::nullopt;
      allotFigures_.resize(std::max(allotFigures_.size(), j + 1));
      allotFigures_[j] = std::move(c);
    }
    std::optional<CodedAnimation> c = allotFigures_[j];
    long long images = 0;
    for (std::size_t b : c->frameBytes) images += static_cast<long long>(b);
    overhead = std::max(overhead, static_cast<long long>(c->size) - images);
    // On the shared palette's file an image measured on its mapping's
    // global palette brings that palette as a table of its own.
    if (shareFew && !p.shared) {
      for (std::size_t k = 0; k < n; ++k) {
        if (!mapping.frames[k].local) c->frameBytes[k] += std::size_t{3} << gifTableBits(mapping.global.size());
      }
    }
    measured.push_back(std::move(*c));
  }
  // Every image starts at its cheapest point at or above the floor; then
  // the steps up its hull that buy the most PSNR (times the frames the
  // image stands for) per byte, across all images, while the room lasts.
  std::vector<std::vector<HullPoint>> hulls(n);
  long long start = 0;
  for (std::size_t k = 0; k < n; ++k) {
    std::vector<HullPoint> all, above;
    for (std::size_t j = 0; j < points; ++j) {
      const HullPoint h{j, static_cast<long long>(measured[j].frameBytes[k]), measured[j].framePsnr[k]};
      all.push_back(h);
      if (h.psnr >= floorDb) above.push_back(h);
    }
    if (above.empty()) {
      above.push_back(*std::max_element(all.begin(), all.end(),
                                        [](const HullPoint& l, const HullPoint& r) { return l.psnr < r.psnr; }));
    }
    hulls[k] = upperHull(std::move(above));
    start += hulls[k][0].bytes;
  }
  struct Step {
    std::size_t frame;
    std::size_t to;
    double rate;
  };
  std::vector<Step> steps;
  for (std::size_t k = 0; k < n; ++k) {
    for (std::size_t i = 1; i < hulls[k].size(); ++i) {
      const double gain = (hulls[k][i].psnr - hulls[k][i - 1].psnr) * shown_.repeats[k];
      steps.push_back({k, i, gain / static_cast<double>(hulls[k][i].bytes - hulls[k][i - 1].bytes)});
    }
  }
  std::stable_sort(steps.begin(), steps.end(), [](const Step& l, const Step& r) { return l.rate > r.rate; });
  // The figures are each image's within one setting throughout; mixed,
  // images show over others than they were measured on, so a file over
  // the budget is tried again with less room.
  long long room = static_cast<long long>(budgetBytes) - overhead;
  std::optional<CodedAnimation> best;
  bool retried = false;
  std::vector<std::size_t> tried;
  for (int attempt = 0; attempt < 5 && room >= start; ++attempt) {
    std::vector<std::size_t> at(n, 0);
    long long spent = start;
    for (const Step& st : steps) {
      if (at[st.frame] + 1 != st.to) continue;
      const long long more = hulls[st.frame][st.to].bytes - hulls[st.frame][st.to - 1].bytes;
      if (spent + more > room) continue;
      spent += more;
      at[st.frame] = st.to;
    }
    if (at == tried) break;  // more room bought nothing more
    tried = at;
    std::vector<const MappedAnimation*> from(n);
    std::vector<int> tolerances(n);
    bool anyPlain = false;
    for (std::size_t k = 0; k < n; ++k) {
      const AllotPoint& p = allot[hulls[k][at[k]].point];
      from[k] = &mappingAt(p.fine, p.colours, p.shared);
      tolerances[k] = p.tolerance;
      anyPlain = anyPlain || !p.fine;
    }
    // Without an image of quality 100's mapping its global table serves
    // none: the first image's palette takes its place.
    MappedAnimation mixed =
        mixOf(from, shareFew ? shared_->global : anyPlain ? base_->global : from[0]->global);
    if (shareFew) mixed.mode = PaletteMode::PerFrame;
    std::optional<CodedAnimation> coded = encodeLossyFrom(mixed, LossySettings{}, true, &tolerances);
    if (!coded) return std::nullopt;
    if (coded->bytes.size() <= budgetBytes) {
      // The figures come from the quick parse, which the file's never
      // exceeds: room left over is tried once more.
      const long long left = static_cast<long long>(budgetBytes - coded->bytes.size());
      const bool better = !best || coded->psnr > best->psnr;
      if (better) best = std::move(coded);
      if (!better || retried || left * 50 < static_cast<long long>(budgetBytes)) break;
      retried = true;
      room += left;
      continue;
    }
    room -= static_cast<long long>(coded->bytes.size() - budgetBytes) + (room - start) / 10;
  }
  return best;
}

// The base palettes cut to `colours` (merging the closest entries, weighted
// by use) and every frame's pixels mapped to them, through the ordered
// dither when ditherStep > 0.
const QualityEncoder::Mapping& QualityEncoder::reduced(int colours, int ditherStep, bool fine) {
  const auto key = std::make_pair(colours, ditherStep);
  if (fine) {
    if (auto it = fineMappings_.find(colours); it != fineMappings_.end()) return it->second;
  } else if (auto it = mappings_.find(key); it != mappings_.end()) {
    return it->second;
  }
  const MappedAnimation& b = fine ? *fine_ : *base_;
  Mapping m;
  m.animation.mode = b.mode;
  const auto cut = [&](const GifPalette& p, std::size_t first, std::size_t last) {
    if (p.size() <= static_cast<std::size_t>(colours)) return p;
    return mergeClosestColours(usage(b, p, first, last), static_cast<std::size_t>(colours));
  };
  const bool perFrame = b.mode == PaletteMode::PerFrame;
  m.animation.global = cut(b.global, 0, perFrame ? 1 : b.frames.size());
  std::optional<PixelMapper> map;
  bool mapsGlobal = false;
  for (std::size_t k = 0; k < b.frames.size(); ++k) {
    throwIfCancelled(cancel_);
    const MappedFrame& from = b.frames[k];
    MappedFrame f;
    f.rect = from.rect;
    if (from.local) f.local = cut(*from.local, k, k + 1);
    // Frames on the shared palette share one mapper, and what it learnt.
    if (f.local) {
      map.emplace(*f.local, ditherStep);
    } else if (!map || !mapsGlobal) {
      map.emplace(m.animation.global, ditherStep);
    }
    mapsGlobal = !f.local;
    const core::Bitmap& src = *shown_.frames[k];
    f.indices.reserve(f.rect.area());
    for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
      throwIfCancelled(cancel_);
      const core::Color* row = src.row(y);
      for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x) f.indices.push_back((*map)(x, y, row[x]));
    }
    m.animation.frames.push_back(std::move(f));
  }
  if (fine) return fineMappings_.emplace(colours, std::move(m)).first->second;
  return mappings_.emplace(key, std::move(m)).first->second;
}

// Each pixel as the lossy matcher sees it. A pixel that did not change
// keeps what is shown (so that nothing crawls) only where that is within
// the tolerance of its own colour: after a palette of its own the frame
// before may decode to other colours.
void QualityEncoder::lossyPixels(std::size_t k, const MappedFrame& f, const GifPalette& palette,
                                 const core::Bitmap& canvas, int tolerance) {
  const core::Bitmap& src = *shown_.frames[k];
  const core::Bitmap* before = k > 0 ? shown_.frames[k - 1] : nullptr;
  pixels_.resize(f.indices.size());
  std::size_t i = 0;
  for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
    const core::Color* row = src.row(y);
    const core::Color* shown = canvas.row(y);
    const core::Color* previous = before ? before->row(y) : nullptr;
    for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x, ++i) {
      const std::uint8_t own = f.indices[i];
      const int ownError = core::squaredDistance(row[x], palette[own]);
      const bool still = previous && previous[x] == row[x] &&
                         core::squaredDistance(row[x], shown[x]) <= ownError + tolerance;
      pixels_[i] = LzwPlanner::LossyPixel{row[x], shown[x], own, still, ownError};
    }
  }
}

std::optional<CodedAnimation> QualityEncoder::encodeLossy(const LossySettings& s, bool shortest) {
  return encodeLossyFrom(reduced(s.colours, s.ditherStep).animation, s, shortest);
}

namespace {

// The lowest index no pixel of the frame needs as its own, for a palette
// that leaves none free past its end; -1 when every index is needed.
int freeIndex(const MappedFrame& f) {
  std::array<bool, 256> used{};
  for (std::uint8_t v : f.indices) used[v] = true;
  for (std::size_t i = 0; i < used.size(); ++i) {
    if (!used[i]) return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

std::optional<CodedAnimation> QualityEncoder::encodeLossyFrom(const MappedAnimation& mapping,
                                                              const LossySettings& settings, bool shortest,
                                                              const std::vector<int>* tolerances) {
  const core::Bitmap& first = *shown_.frames[0];
  const auto sameAs = [&](const Measured& m) {
    return m.from == &mapping && m.colours == settings.colours && m.tolerance == settings.tolerance &&
           m.ditherStep == settings.ditherStep;
  };
  if (!tolerances && shortest) {
    if (auto it = std::find_if(measured_.begin(), measured_.end(), sameAs); it != measured_.end()) {
      std::optional<std::vector<std::uint8_t>> bytes =
          writeAnimation(first.width, first.height, it->coded, shown_.delays, loopCount_, true, &memo_);
      if (!bytes) return std::nullopt;
      CodedAnimation out = it->figures;
      out.bytes = std::move(*bytes);
      out.size = out.bytes.size();
      return out;
    }
  }
  MappedAnimation coded;
  coded.mode = mapping.mode;
  coded.global = mapping.global;
  ShownQuality quality(first.width, first.height);
  CodedAnimation out;
  // Each image's LZW data as the greedy parse codes it: a quick
  // measurement takes the file's length from these rather than coding it.
  std::vector<std::size_t> greedyBytes;
  for (std::size_t k = 0; k < mapping.frames.size(); ++k) {
    throwIfCancelled(cancel_);
    reportPart(progress_, static_cast<long long>(k), static_cast<long long>(mapping.frames.size()));
    MappedFrame f = mapping.frames[k];
    const GifPalette palette = f.local ? *f.local : mapping.global;
    LossySettings s = settings;
    if (tolerances) s.tolerance = (*tolerances)[k];
    // An image with a palette of its own is coded as one of an animation
    // with a palette per frame, whatever the others use.
    if (coded.mode == PaletteMode::PerFrame || f.local) {
      PaletteDistances distances(palette);
      const core::Bitmap& src = *shown_.frames[k];
      if (k > 0) {
        // Outside the rectangle an earlier palette's colour stays on
        // screen; where this palette shows the pixel better by more than
        // the tolerance, the pixel is written again.
        PixelMapper map(palette, s.ditherStep);
        coverStalePixels(
            f, src, quality.canvas(), [&](int, int, core::Color c) { return distances(c).nearest + s.tolerance; },
            [&](int x, int y, core::Color c) { return map(x, y, c); });
      }
      if (s.ditherStep == 0) {
        // A quantizer's remap need not be the nearest entry by RGB, and
        // the tolerance counts from the pixel's own entry.
        std::size_t i = 0;
        for (int y = f.rect.top; y < f.rect.top + f.rect.height; ++y) {
          const core::Color* row = src.row(y);
          for (int x = f.rect.left; x < f.rect.left + f.rect.width; ++x, ++i) {
            const PaletteDistances::Near& near = distances(row[x]);
            if (near.nearest < core::squaredDistance(row[x], palette[f.indices[i]])) f.indices[i] = near.index;
          }
        }
      }
    }
    lossyPixels(k, f, palette, quality.canvas(), s.tolerance);
    const int slot = k == 0 ? -1 : palette.size() < 256 ? static_cast<int>(palette.size()) : freeIndex(f);
    const int tableBits = gifTableBits(palette.size() + 1);
    const std::size_t lzwBytes = planner_.chooseLossy(pixels_, palette, slot, s.tolerance, tableBits, chosen_);
    f.indices.swap(chosen_);
    if (!shortest) {
      // The planner counted at the table's code size; the writer codes at
      // the one the chosen indices need.
      const int codeSize = lzwCodeSizeFor(f.indices);
      greedyBytes.push_back(codeSize == std::max(2, tableBits) ? lzwBytes : planner_.codedBytes(f.indices, codeSize));
    }
    f.transparent =
        slot >= 0 && std::find(f.indices.begin(), f.indices.end(), static_cast<std::uint8_t>(slot)) != f.indices.end()
            ? slot
            : -1;
    GifPalette& written = f.local ? *f.local : coded.global;
    coverIndices(written, f);
    quality.show(f, written, *shown_.frames[k], shown_.repeats[k]);
    out.framePsnr.push_back(quality.lastPsnr());
    const std::size_t table = f.local ? 3u << gifTableBits(f.local->size()) : 0;
    out.frameBytes.push_back(lzwBytes + table);
    coded.frames.push_back(std::move(f));
  }
  std::optional<std::vector<std::uint8_t>> bytes;
  if (shortest) {
    bytes = writeAnimation(first.width, first.height, coded, shown_.delays, loopCount_, true, &memo_);
    if (!bytes) return std::nullopt;
    out.size = bytes->size();
  } else {
    const std::optional<std::size_t> size =
        measureAnimation(first.width, first.height, coded, shown_.delays, loopCount_, greedyBytes);
    if (!size) return std::nullopt;
    out.size = *size;
  }
  out.psnr = quality.meanPsnr();
  std::size_t pixels = 0;
  for (const MappedFrame& f : coded.frames) pixels += f.indices.size();
  if (!tolerances && !shortest && pixels <= kMeasuredPixels) {
    measured_.push_back(
        Measured{&mapping, settings.colours, settings.tolerance, settings.ditherStep, std::move(coded), out, pixels});
    measuredPixels_ += pixels;
    while (measuredPixels_ > kMeasuredPixels) {
      measuredPixels_ -= measured_.front().pixels;
      measured_.pop_front();
    }
  }
  if (bytes) out.bytes = std::move(*bytes);
  return out;
}

}  // namespace output
