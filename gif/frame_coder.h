// Chooses how each image of an animation is written, frame by frame, and
// keeps track of what a viewer shows meanwhile.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/picture.h"
#include "gif/frame_mapping.h"
#include "gif/lzw_encoder.h"
#include "gif/lzw_plan.h"
#include "gif/quantizer.h"

namespace output {

class FrameCoder {
 public:
  // frames: the animation's frames; animation: their mapping (both must
  // outlive the coder); memo, when given, keeps the candidates coded.
  FrameCoder(const std::vector<const core::Bitmap*>& frames, const MappedAnimation& animation, LzwMemo* memo = nullptr);

  // Codes frame k in place; frames must come in order from 0. The first
  // frame is written as it is. Each later one keeps its rectangle (with a
  // palette per frame, grown where earlier palettes left a colour this one
  // shows better) but may leave pixels transparent where the colour shown
  // there, as decoded, is as close as the frame's own and, with a shared
  // palette, write a close palette colour instead of the nearest one, where
  // either makes the LZW code shorter; the frame as shown then stays at
  // kNearLosslessFloorDb or above. The transparent index is the lowest one
  // that no changed pixel needs, and pixels keep to the indices below the
  // power of two that it and the changed pixels need, so that the frame's
  // codes stay as narrow as its changes allow.
  void code(std::size_t k, MappedFrame& frame);

  // The image data bytes the greedy parse writes for the frame last coded,
  // at the code size its indices need (LzwPlanner::codedBytes): known
  // already when the chosen candidate was measured at that size.
  std::size_t greedyBytes(const MappedFrame& frame);

  // A shared palette may lose this much quality (PSNR of each frame as
  // shown, dB) to shorter codes; frames that were better stay at least this
  // good.
  static constexpr double kNearLosslessFloorDb = 64.5;

 private:
  // An image with a palette of its own is coded as one of an animation
  // with a palette per frame, whatever the others use.
  PaletteMode modeOf(const MappedFrame& f) const { return f.local ? PaletteMode::PerFrame : animation_.mode; }
  double errorIfPlain(std::size_t k, const MappedFrame& frame, const GifPalette& palette) const;
  // Each rect pixel's options; transparentFirst puts a free transparent
  // option ahead of the pixel's own colour.
  // limit: indices at or above it are not offered.
  void buildOptions(std::size_t k, const MappedFrame& frame, const GifPalette& palette, bool transparentFirst,
                    int limit);
  void show(const MappedFrame& frame, const GifPalette& palette);
  // Whether each rect pixel of frame k may be left transparent, judged by
  // what the viewer shows there now (canvas_), never by the frame composed
  // before it: quantized palettes decode to other colours. With one palette
  // per frame it also writes again the pixels outside the rectangle that
  // show an earlier palette's colour which this frame's palette beats by
  // more than a step, and moves pixels to their nearest entry.
  void classify(std::size_t k, MappedFrame& frame, const GifPalette& palette);
  // The frame's indices with the clear pixels in horizontal runs of at
  // least minRun (and those at or above limit) transparent.
  void transparentRuns(const MappedFrame& frame, int minRun, int limit, std::vector<std::uint8_t>& out) const;
  // The frame's indices with each clear pixel continuing the run before
  // it where it can (transparent or its own index below limit): the fewest
  // runs there are. Where both would run as far: the own index, what the
  // pixel above was written as, or transparent.
  enum class RunTie { Own, Above, Clear };
  // shortOwnRuns: a run of the pixels' own index then gives up its
  // clear pixels at either end to a transparent run beside it.
  void fewestRuns(const MappedFrame& frame, int limit, RunTie tie, bool shortOwnRuns,
                  std::vector<std::uint8_t>& out) const;
  // The lowest index no pixel that must show its own colour needs (-1 when
  // all 256 are), and the code bits that it and those pixels need. Fills
  // needed_ with what those pixels need.
  std::pair<int, int> transparentSlot(const MappedFrame& frame);
  // The index below limit that most clear pixels have and no other pixel
  // needs, or -1.
  int commonStillIndex(const MappedFrame& frame, int limit) const;
  std::array<bool, 256> needed_{};
  std::size_t stillPixels_ = 0;  // clear pixels in the rect, counted by transparentSlot
  // Per rect pixel: may it be transparent, and at what price.
  static constexpr std::uint8_t kNotClear = 0;     // it must show its own (or a stand-in) colour
  static constexpr std::uint8_t kClearAtCost = 1;  // shown, it counts against the frame's error budget
  static constexpr std::uint8_t kClear = 2;        // shown, it is no worse than the frame's own colours
  std::vector<std::uint8_t> clear_;

  const std::vector<const core::Bitmap*>& frames_;
  const MappedAnimation& animation_;
  core::Bitmap canvas_;  // the colours a viewer shows after the last coded frame
  LzwPlanner planner_;
  std::vector<PixelOptions> options_;
  std::vector<std::uint8_t> chosen_;
  std::vector<std::uint8_t> bestChoice_;
  struct Candidate {
    std::size_t estimate;  // bytes by the greedy model
    std::vector<std::uint8_t> indices;
    int transparent;
    int codeSize;  // that the estimate was measured at
  };
  std::size_t chosenEstimate_ = 0;
  int chosenCodeSize_ = 0;  // 0: no estimate for the frame last coded
  std::vector<Candidate> candidates_;
  std::vector<std::uint8_t> scratch_;
  const Candidate& shortestCandidate();
  std::size_t realBytes(const std::vector<std::uint8_t>& indices);
  CloseColours closeTo_;
  LzwMemo* memo_;
};

}  // namespace output
