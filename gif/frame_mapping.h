// The animation's frames as palette indices: one exact palette when all
// frames together hold at most 256 colours, otherwise a quantized palette,
// shared by all frames or one per frame, whichever measures better. Each
// frame after the first is cut to the rectangle that changed.
#pragma once

#include <atomic>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/picture.h"
#include "gif/gif_stream.h"

namespace output {

enum class PaletteMode { Exact, Shared, PerFrame };

// One image of the animation before LZW coding.
struct MappedFrame {
  GifRect rect;                       // the part of the screen it covers
  std::vector<std::uint8_t> indices;  // rect.width x rect.height, row by row
  std::optional<GifPalette> local;    // the frame's own palette, or none: the global one
  // The index shown as transparent, -1 when none. The coder picks it; it
  // may lie just past the palette, which is then written one entry longer.
  int transparent = -1;
  // The palette holds every colour of the rect: the coder leaves no pixel
  // showing another colour than its frame's, unchanged ones included.
  bool exact = false;
};

struct MappedAnimation {
  PaletteMode mode = PaletteMode::Exact;
  GifPalette global;
  std::vector<MappedFrame> frames;
};

struct MappingSettings {
  int speed = 8;           // libimagequant speed (1 best .. 10 fastest)
  float dithering = 0.0f;  // error diffusion of per-frame palettes (0..1)
  int refineRounds = 3;    // k-means rounds on a shared quantized palette
  // Palette sizes (2..255; one slot stays free for transparency). Per-frame
  // palettes serve photo-like frames, where the second half of a palette
  // buys about 2 dB for a third more bytes; a frame that would fall below
  // perFrameFloorDb with perFrameColours gets sharedColours instead.
  int sharedColours = 255;
  int perFrameColours = 128;
  double perFrameFloorDb = 30.0;
  // Read between frames; when set, mapAnimation throws Cancelled.
  const std::atomic<bool>* cancel = nullptr;
};

// Frames must be non-empty and all of one size (at least 1 x 1). nullopt
// when quantization fails. A palette shared by all frames comes in
// PaletteOrder::NarrowCodes.
std::optional<MappedAnimation> mapAnimation(const std::vector<const core::Bitmap*>& frames,
                                            const MappingSettings& settings = {});

// One full palette per frame, for a budget that leaves bytes to spare:
// each frame's palette serves the pixels that change (all of the first
// frame's): their own colours when there are few enough (the frame then
// shows exactly), up to 1024 colours the closest merged and moved by
// k-means to the least RGB error, beyond that (photo-like frames)
// libimagequant's palette and remap of the rect. No dither. The first
// frame gets 256 entries, the others 255 so that one index stays free for
// transparency; a frame the first palette shows as well keeps that one.
// A frame whose colours fit its palette also covers what earlier merged
// palettes left on screen, and is marked exact.
// Frames as for mapAnimation; throws Cancelled when `cancel` is set;
// nullopt when quantization fails.
std::optional<MappedAnimation> mapEachFrameFinely(const std::vector<const core::Bitmap*>& frames,
                                                  const std::atomic<bool>* cancel);

// The finer mapping (mapEachFrameFinely's) with as many frames as can
// share one palette of at most 255 colours brought onto it: a frame whose
// rect holds few colours then shows exactly without a table of its own
// (up to 768 bytes each). Frames that hold the fewest new colours join
// first. The others keep their palettes, each as a table of its own.
// Every frame is marked exact or not as its colours allow. nullopt when
// fewer than two frames would share.
std::optional<MappedAnimation> shareFewColours(const MappedAnimation& fine,
                                               const std::vector<const core::Bitmap*>& frames);

// Orders of a palette shared by all frames: a frame's LZW codes are as wide
// as its highest index, and a transparent index is free where a colour is
// not needed. NarrowCodes serves frames one after another, those lacking
// the fewest colours first; MostUsed puts first what most later frames
// need. Neither is best for every animation.
enum class PaletteOrder { NarrowCodes, MostUsed };
// Renumbers the shared palette (and every frame's indices) in that order;
// per-frame palettes stay as they are.
void orderPalette(MappedAnimation& animation, const std::vector<const core::Bitmap*>& frames, PaletteOrder order);

// The bounding rectangle of the pixels where the two same-size bitmaps
// differ; {0, 0, 1, 1} when they are equal.
GifRect changedRect(const core::Bitmap& before, const core::Bitmap& after);

}  // namespace output
