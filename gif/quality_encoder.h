// An animation encoded at any point of one quality scale, 0..100 (and the
// fit's extra ladder below it, kLowestQuality..-1). 100 is the
// default encoding (exact up to 256 colours). Below it three means trade
// quality for bytes together: fewer palette colours, lossy LZW matching (a
// pixel may take a nearby colour, or keep what is shown, where that extends
// a dictionary string) and, for pictures with many colours, an ordered
// dither fixed to the screen position, so that areas that stay still keep
// their indices from frame to frame and never crawl.
#pragma once

#include <cstdint>
#include <deque>
#include <map>
#include <optional>
#include <unordered_map>
#include <vector>

#include "core/cancel.h"
#include "gif/animation_writer.h"
#include "gif/frame_mapping.h"
#include "gif/gif_encoder.h"
#include "gif/lzw_encoder.h"
#include "gif/lzw_plan.h"

namespace output {

inline constexpr int kBestQuality = 100;
// Below 0 the fit's last resort: -1 is quality 0 without the dither, -2 and
// -3 cut the palettes to 3 and 2 entries, all at quality 0's lossy
// tolerance. Only fitGifAnimation goes there, and only above kLowestFitDb.
inline constexpr int kLowestQuality = -3;

struct LossySettings {
  int colours = 255;   // entries per palette (2..255; one more index stays free for transparency)
  int tolerance = 0;   // extra squared RGB error (three channels) a pixel may take for a longer match
  int ditherStep = 0;  // ordered dither amplitude in tenths of the palette's spacing (0 = none)
};

// What a quality below kBestQuality uses (clamped to kLowestQuality..kBestQuality). manyColours: the frames hold more
// than 256 colours in all.
LossySettings lossySettingsFor(int quality, bool manyColours);

// Encodes one animation at as many qualities as asked, keeping what they
// share (the default mapping, reduced palettes, dithered indices). Not for
// use from two threads at once; separate encoders are independent.
class QualityEncoder {
 public:
  // shown: the frames with repeats joined (they must outlive the encoder).
  // progress, when given, counts the palettes made and each file coded as a
  // step, with the frames as its parts.
  QualityEncoder(const ShownFrames& shown, int loopCount, const CancelFlag* cancel, WorkProgress* progress = nullptr);

  // shortest: see GifStream; the greedy parse alone measures faster and is
  // never shorter. Throws Cancelled when the flag is set; nullopt when an
  // encoder step fails.
  std::optional<CodedAnimation> encode(int quality, bool shortest);

  bool manyColours();

  // Above the scale, for bytes to spare: one palette per frame at the
  // quantizer's best (mapEachFrameFinely), coded as losslessly as quality
  // 100. Meant for frames with more than 256 colours in all, where it
  // usually shows them better than kBestQuality does, at more bytes. Throws
  // and fails as encode does.
  // Between quality 100 and the finer file: each image from one or the
  // other, the finer ones where they add the most PSNR per byte, so that
  // the file stays within budgetBytes. plain and finer are the two files as
  // encode(kBestQuality) and encodeFinely(0) coded them (their per-image
  // figures guide the choice). nullopt when no mix fits or an encoder step
  // fails; throws Cancelled as encode does.
  std::optional<CodedAnimation> encodeMixed(std::size_t budgetBytes, const CodedAnimation& plain,
                                            const CodedAnimation& finer);

  // With a tolerance above 0 the lossy matcher of the scale's lower
  // qualities shortens it (the room between quality 100 and the finer file).
  std::optional<CodedAnimation> encodeFinely(int tolerance, bool shortest);

  // Each image at its own point among quality 100's mapping and the finer
  // one, as it is or with fewer colours and lossy matching, so that the
  // file's mean PSNR is the highest the per-image figures promise within
  // budgetBytes while no image falls below floorDb (an image that cannot
  // reach it takes its best). Needs encodeFinely called first. nullopt
  // when no choice fits or an encoder step fails; throws Cancelled as
  // encode does.
  // shareFew: the file's global palette is shareFewColours' instead, and
  // the images that fit it may show exactly on it without tables of their
  // own; nullopt too when too few frames would share it.
  std::optional<CodedAnimation> encodeAllotted(std::size_t budgetBytes, double floorDb, bool shareFew = false);

 private:
  struct Mapping {
    MappedAnimation animation;  // palettes and each frame's indices before lossy coding
  };
  const MappedAnimation* base();
  // fine: cut the finer mapping's palettes instead of quality 100's.
  const Mapping& reduced(int colours, int ditherStep, bool fine = false);
  std::optional<CodedAnimation> encodeBest(bool shortest);
  std::optional<CodedAnimation> encodeLossy(const LossySettings& s, bool shortest);
  // tolerances, when given, replaces s.tolerance image by image.
  std::optional<CodedAnimation> encodeLossyFrom(const MappedAnimation& mapping, const LossySettings& s, bool shortest,
                                                const std::vector<int>* tolerances = nullptr);
  // Each image k from from[k], with `global` as the file's global palette.
  MappedAnimation mixOf(const std::vector<const MappedAnimation*>& from, const GifPalette& global) const;
  // Quality 100's mapping, the finer one with its palettes cut to
  // `colours`, or shareFewColours' (shared).
  const MappedAnimation& mappingAt(bool fine, int colours, bool shared = false);
  void lossyPixels(std::size_t k, const MappedFrame& f, const GifPalette& palette, const core::Bitmap& canvas,
                   int tolerance);

  const ShownFrames& shown_;
  int loopCount_;
  const CancelFlag* cancel_;
  WorkProgress* progress_;
  std::optional<MappedAnimation> base_;
  std::optional<MappedAnimation> fine_;
  std::optional<MappedAnimation> shared_;
  bool sharedTried_ = false;
  // encodeAllotted's measurements of each of its points, once per encoder.
  std::vector<std::optional<CodedAnimation>> allotFigures_;
  bool baseFailed_ = false;
  std::map<std::pair<int, int>, Mapping> mappings_;
  std::map<int, Mapping> fineMappings_;
  LzwPlanner planner_;
  std::vector<LzwPlanner::LossyPixel> pixels_;
  std::vector<std::uint8_t> chosen_;
  // Images come out alike at many trial points of one fit.
  LzwMemo memo_;
  // The lossy images of the last few quick measurements, so that the file
  // finally written at one of their points is not chosen again pixel by
  // pixel: only its coding differs.
  struct Measured {
    const MappedAnimation* from;
    int colours;
    int tolerance;
    int ditherStep;
    MappedAnimation coded;
    CodedAnimation figures;  // without the bytes
    std::size_t pixels;
  };
  static constexpr std::size_t kMeasuredPixels = std::size_t{24} << 20;
  std::deque<Measured> measured_;
  std::size_t measuredPixels_ = 0;
};

}  // namespace output
