#include "gif/gif_fit.h"

#include <algorithm>
#include <map>

#include "gif/quality_encoder.h"

namespace output {
namespace {

bool validInput(const std::vector<const core::Bitmap*>& frames, const AnimationTiming& timing) {
  if (frames.empty() || timing.delays.size() != frames.size()) return false;
  for (const core::Bitmap* f : frames) {
    if (!f || f->width < 1 || f->height < 1 || f->width != frames[0]->width || f->height != frames[0]->height) {
      return false;
    }
  }
  for (int d : timing.delays) {
    if (d < 0 || d > 65535) return false;
  }
  return timing.plays >= 0 && timing.plays <= AnimationTiming::kMostPlays;
}

// Qualities measured once each with the quick parse; the file finally
// returned is coded again with the shortest, which is never longer.
class Search {
 public:
  explicit Search(QualityEncoder& encoder) : encoder_(encoder) {}

  // The quality of the smallest file measured at or above `floorDb`
  // (the higher quality on a tie); `fallback` when none is.
  int smallestAbove(double floorDb, int fallback) const {
    const CodedAnimation* best = nullptr;
    int out = fallback;
    for (const auto& [quality, coded] : measured_) {
      if (coded.psnr >= floorDb && (!best || coded.size <= best->size)) {
        best = &coded;
        out = quality;
      }
    }
    return out;
  }

  const CodedAnimation* at(int quality) {
    auto it = measured_.find(quality);
    if (it == measured_.end()) {
      std::optional<CodedAnimation> coded = encoder_.encode(quality, false);
      if (!coded) return nullptr;
      it = measured_.emplace(quality, std::move(*coded)).first;
    }
    return &it->second;
  }

 private:
  QualityEncoder& encoder_;
  std::map<int, CodedAnimation> measured_;
};

// The highest quality in (low, high) that is true of `holds`, by bisection
// (bytes and PSNR both fall with the quality); `low` when none is, nullopt
// when an encode fails.
template <typename Holds>
std::optional<int> highest(Search& search, int low, int high, Holds holds) {
  while (high - low > 1) {
    const int mid = (low + high) / 2;
    const CodedAnimation* c = search.at(mid);
    if (!c) return std::nullopt;
    (holds(*c) ? low : high) = mid;
  }
  return low;
}

std::optional<FittedGif> finish(QualityEncoder& encoder, int quality, std::size_t budget) {
  std::optional<CodedAnimation> coded = encoder.encode(quality, true);
  if (!coded) return std::nullopt;
  FittedGif out;
  out.psnr = coded->psnr;
  out.quality = quality;
  out.fits = coded->bytes.size() <= budget;
  out.bytes = std::move(coded->bytes);
  return out;
}

// Tolerances (squared RGB error a pixel may take for a longer LZW match)
// of the finer file's lossy steps, from none to about 30 per channel: the
// room between quality 100 and the finer file, and an alternative to the
// scale's reduced palettes where one palette per frame pays.
constexpr int kFinerTolerances[] = {0, 3, 6, 12, 24, 48, 96, 192, 384, 768, 1536, 3072};

// The finer file at the lowest tolerance that fits the budget, coded with
// the shortest parse; nullopt when none fits. exact receives the finer
// file without loss.
std::optional<CodedAnimation> finerWithin(QualityEncoder& encoder, std::size_t budget, int& tolerance,
                                          std::optional<CodedAnimation>& exact) {
  const int steps = static_cast<int>(std::size(kFinerTolerances));
  std::map<int, CodedAnimation> measured;
  const auto at = [&](int step) -> const CodedAnimation* {
    auto it = measured.find(step);
    if (it == measured.end()) {
      std::optional<CodedAnimation> c = encoder.encodeFinely(kFinerTolerances[step], false);
      if (!c) return nullptr;
      it = measured.emplace(step, std::move(*c)).first;
    }
    return &it->second;
  };
  // Without loss first, coded as it would be written.
  exact = encoder.encodeFinely(0, true);
  if (!exact) return std::nullopt;
  if (exact->bytes.size() <= budget) {
    tolerance = 0;
    return exact;
  }
  // The lowest step that fits: bytes fall as the tolerance grows.
  const CodedAnimation* last = at(steps - 1);
  if (!last || last->size > budget) return std::nullopt;
  int low = 0, high = steps - 1;
  while (high - low > 1) {
    const int mid = (low + high) / 2;
    const CodedAnimation* c = at(mid);
    if (!c) return std::nullopt;
    (c->size <= budget ? high : low) = mid;
  }
  tolerance = kFinerTolerances[high];
  std::optional<CodedAnimation> out = encoder.encodeFinely(tolerance, true);
  if (!out || out->bytes.size() > budget) return std::nullopt;
  return out;
}

// The highest quality of the scale that fits and stays above the floor.
std::optional<FittedGif> fitOnTheScale(QualityEncoder& encoder, std::size_t budgetBytes, WorkProgress* progress);

// About the steps of a bisection over the qualities (low, high) and of
// finerWithin, for the progress's count.
constexpr int kScaleSteps = 7;
constexpr int kLadderSteps = 3;
constexpr int kFinerSteps = 6;
void expectMore(WorkProgress* progress, int steps) {
  if (progress) progress->expect(progress->stepsDone() + steps);
}

double worstOf(const CodedAnimation& c) {
  return c.framePsnr.empty() ? c.psnr : *std::min_element(c.framePsnr.begin(), c.framePsnr.end());
}

// How far below the even file's worst image a file chosen for its mean may
// show its own worst: the per-image figures guiding the choice are
// measured image by image and shift a little once images are mixed.
constexpr double kEvenSlackDb = 0.5;

// A frame this close to its composed one differs from it by a quarter of
// a level in 256 on average (root mean square): no one sees it.
constexpr double kUnseenDb = 60.0;

FittedGif finerFile(CodedAnimation&& coded, int tolerance) {
  FittedGif out;
  out.psnr = coded.psnr;
  out.fits = true;
  out.finer = true;
  out.finerTolerance = tolerance;
  out.bytes = std::move(coded.bytes);
  return out;
}

}  // namespace

std::optional<EncodedGif> encodeGifAtQuality(const std::vector<const core::Bitmap*>& frames,
                                             const AnimationTiming& timing, int quality, const CancelFlag* cancel,
                                             WorkProgress* progress) {
  if (!validInput(frames, timing)) return std::nullopt;
  try {
    const ShownFrames shown = mergeRepeats(frames, timing.delays);
    expectMore(progress, 2);  // the palettes, the file
    QualityEncoder encoder(shown, gifLoopField(timing.plays), cancel, progress);
    const int q = std::clamp(quality, 0, kBestQuality);
    std::optional<CodedAnimation> coded = encoder.encode(q, true);
    if (!coded) return std::nullopt;
    return EncodedGif{std::move(coded->bytes), coded->psnr, q};
  } catch (const Cancelled&) {
    return std::nullopt;
  }
}

std::optional<FittedGif> fitGifAnimation(const std::vector<const core::Bitmap*>& frames, const AnimationTiming& timing,
                                         std::size_t budgetBytes, const CancelFlag* cancel, bool plainWhenWithin,
                                         WorkProgress* progress) {
  if (!validInput(frames, timing)) return std::nullopt;
  try {
    const ShownFrames shown = mergeRepeats(frames, timing.delays);
    // Most fits: the palettes, quality 100, the search and the file written.
    expectMore(progress, 2 + kScaleSteps + 1);
    QualityEncoder encoder(shown, gifLoopField(timing.plays), cancel, progress);
    std::optional<CodedAnimation> best = encoder.encode(kBestQuality, true);
    if (!best) return std::nullopt;
    if (best->bytes.size() <= budgetBytes) {
      // Bytes to spare on frames that quality 100 cannot show exactly: a
      // palette for each frame may show them better, shortened by lossy
      // matching as far as the budget needs.
      if (encoder.manyColours() && !plainWhenWithin) {
        expectMore(progress, kFinerSteps);
        int tolerance = 0;
        std::optional<CodedAnimation> exact;
        std::optional<CodedAnimation> finer = finerWithin(encoder, budgetBytes, tolerance, exact);
        // Some images of the finer file, the others of quality 100: where
        // the whole finer file does not fit, and also where it does, since
        // some images show better at quality 100.
        std::optional<CodedAnimation> mixed;
        if (exact) mixed = encoder.encodeMixed(budgetBytes, *best, *exact);
        // The file spends its error evenly enough when no image shows worse
        // than the worst of the better of the two even files (quality 100
        // and the finer file at one tolerance); within that, the highest
        // mean wins, and the room may go unevenly where it buys the most.
        const CodedAnimation& even = finer && finer->psnr > best->psnr ? *finer : *best;
        const double floorDb = worstOf(even);
        // Frames with few colours may share one palette and show exactly
        // without tables of their own; the other images pay for it, and may
        // fall below the even floor, but not to where the difference shows.
        const double sharedFloorDb = std::min(floorDb, kUnseenDb);
        std::optional<CodedAnimation> allotted, shared;
        if (exact) {
          allotted = encoder.encodeAllotted(budgetBytes, floorDb);
          shared = encoder.encodeAllotted(budgetBytes, sharedFloorDb, true);
        }
        const CodedAnimation* chosen = nullptr;
        const auto consider = [&](const std::optional<CodedAnimation>& c, double floor) {
          if (c && worstOf(*c) >= floor - kEvenSlackDb && (!chosen || c->psnr > chosen->psnr)) chosen = &*c;
        };
        consider(best, floorDb);
        consider(finer, floorDb);
        consider(mixed, floorDb);
        consider(allotted, floorDb);
        consider(shared, sharedFloorDb);
        if (finer && chosen == &*finer) return finerFile(std::move(*finer), tolerance);
        if (mixed && chosen == &*mixed) return finerFile(std::move(*mixed), 0);
        if (allotted && chosen == &*allotted) return finerFile(std::move(*allotted), 0);
        if (shared && chosen == &*shared) return finerFile(std::move(*shared), 0);
      }
      FittedGif out;
      out.psnr = best->psnr;
      out.fits = true;
      out.bytes = std::move(best->bytes);
      return out;
    }
    // Bytes fall as the quality falls: find the highest quality that fits,
    // then make sure it is above the floor. Where one palette per frame
    // pays, the finer file made lossy may show more in the same bytes.
    std::optional<FittedGif> scaled = fitOnTheScale(encoder, budgetBytes, progress);
    // Far below quality 100 the finer file's palettes cost more than they
    // show, and making them is the dearest step on photos.
    constexpr std::size_t kFinerReach = 7;  // tenths of quality 100's bytes
    if (!scaled || !encoder.manyColours() || budgetBytes * 10 < best->bytes.size() * kFinerReach) return scaled;
    expectMore(progress, kFinerSteps);
    int tolerance = 0;
    std::optional<CodedAnimation> exact;
    std::optional<CodedAnimation> finer = finerWithin(encoder, budgetBytes, tolerance, exact);
    if (finer && (!scaled->fits || finer->psnr > scaled->psnr) && finer->psnr >= kLowestFitDb) {
      return finerFile(std::move(*finer), tolerance);
    }
    return scaled;
  } catch (const Cancelled&) {
    return std::nullopt;
  }
}

namespace {

std::optional<FittedGif> fitOnTheScale(QualityEncoder& encoder, std::size_t budgetBytes, WorkProgress* progress) {
  Search search(encoder);
  const auto within = [&](const CodedAnimation& c) { return c.size <= budgetBytes; };
  const std::optional<int> fits = highest(search, -1, kBestQuality, within);
  if (!fits) return std::nullopt;
  if (*fits >= 0 && search.at(*fits)->psnr >= kLowestFitDb) return finish(encoder, *fits, budgetBytes);
  const CodedAnimation* zero = search.at(0);
  if (!zero) return std::nullopt;
  const bool aboveFloorAtZero = zero->psnr >= kLowestFitDb;
  // Quality 0 is over the budget yet still above the floor: the last
  // resort below it (negative qualities), searched the same way.
  const bool ladder = *fits < 0 && aboveFloorAtZero;
  expectMore(progress, (ladder ? kLadderSteps : 0) + kLadderSteps + 1);
  if (ladder) {
    const std::optional<int> low = highest(search, kLowestQuality - 1, 0, within);
    if (!low) return std::nullopt;
    if (*low >= kLowestQuality && search.at(*low)->psnr >= kLowestFitDb) return finish(encoder, *low, budgetBytes);
  }
  // Nothing above the floor fits: the lowest quality that stays above it,
  // or any measured on the way that is above it and smaller (fewer
  // colours do not always code shorter).
  const auto belowFloor = [](const CodedAnimation& c) { return c.psnr < kLowestFitDb; };
  const std::optional<int> under =
      aboveFloorAtZero ? highest(search, ladder ? kLowestQuality - 1 : -1, 0, belowFloor)
                       : highest(search, -1, kBestQuality, belowFloor);
  if (!under) return std::nullopt;
  const int above = *under + 1;
  return finish(encoder, search.smallestAbove(kLowestFitDb, above), budgetBytes);
}

}  // namespace

}  // namespace output
