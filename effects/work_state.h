// What the main window owns for the whole program run and every effect
// composes on: the four work surfaces, the point lists, the frame cache, the
// save settings and the never-seeded random source.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/picture.h"
#include "core/point_list.h"
#include "core/surface.h"

namespace effects {

// Uniform numbers in [0, 1), never seeded: every program run draws the same
// sequence, continued from run to run within one program run.
class RandomSource {
 public:
  // The classic 24-bit linear congruential generator: the state advances
  // first and the new state, as a fraction of 2^24, is the result.
  // Arithmetic modulo 2^32 followed by the mask is the same as modulo 2^24.
  // Inline: a grain loop draws one per pixel.
  double next() {
    state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
    return static_cast<double>(state_) / 16777216.0;
  }

 private:
  std::uint32_t state_ = 0x50000;
};

struct WorkState {
  // picSource holds the source as its Picture (handle 0: no source loaded).
  core::Surface picSource{500, 100};
  core::Surface picX{500, 100};
  core::Surface picTurn{500, 100};
  core::Surface picMask{500, 100, core::kWhite};
  // The picture a run composes over in place of its flat background colour
  // (the scene before in a banner of several scenes). Empty, or of another
  // size than picSource: the flat colour, as always.
  core::Picture picOver;

  std::vector<core::PixelPoint> mPoints;
  std::vector<core::PixelPoint> mMovedPoints;

  // The frame cache: entry k is frame k of the last run; an empty Picture
  // (handle 0) is an entry that holds nothing.
  std::vector<core::Picture> mFrames = std::vector<core::Picture>(12);
  // True only while mFrames holds every frame of one finished composing run.
  // A preview stopped part-way leaves it false, so that a save composes again
  // instead of writing empty or half-drawn frames.
  bool framesComplete = false;

  // Save settings shared by the effect saves and the frame list's save.
  std::string SaveExt;   // lower-case extension with its dot, or ""
  std::string SavePath;  // folder of the last chosen save name (persisted)
  std::string BaseName;  // chosen file name without folder, cut before its first "."

  RandomSource rng;

  // Re-dimensions the cache to entries 0..upper, all empty.
  void emptyCache(int upper = 11) {
    mFrames.assign(static_cast<std::size_t>(upper) + 1, core::Picture{});
    framesComplete = false;
  }
  bool hasSource() const { return !picSource.picture().isEmpty(); }
};

// Puts an accepted source picture into the surfaces as loading leaves them:
// picTurn, picSource and picX take its size, picTurn and picX get the corner
// colour (the picture's top-left pixel) as BackColor and show the picture,
// picSource.Picture becomes picTurn's image, and the cache is emptied.
// Returns the corner colour, which becomes the banner colour unless the
// caller chose one. The size limit is the caller's to check.
core::Color acceptSource(WorkState& ws, const core::Picture& picture);

}  // namespace effects
