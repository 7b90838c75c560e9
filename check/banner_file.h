// Reading an animated GIF or WebP banner as a browser plays it, whoever made
// it: its size, its frames' delays and its loop count first, each held
// against a limit before anything is decoded, then its frames one at a time
// as they are shown. Plain C++ (giflib and libwebp underneath), so hostile
// files can be fuzzed cheaply.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "core/picture.h"

namespace check {

// The largest canvas read, as large as the picture intake's large pictures:
// every ad size the networks list.
inline constexpr int kMaxCanvasWidth = 1200;
inline constexpr int kMaxCanvasHeight = 1200;
// The largest file read at all; banners are a few hundred KB.
inline constexpr std::uint64_t kMaxFileBytes = std::uint64_t{32} << 20;
inline constexpr int kMaxFrames = 4096;
// Frames times canvas pixels, over every pass that composes frames: a
// 970 x 250 banner at 0.02 s a frame for 30 s is 364 million. Bounds the
// time a hostile file can take.
inline constexpr std::uint64_t kMaxComposedPixels = std::uint64_t{600} << 20;

enum class BannerFormat { Gif, Webp };

// What the file says about itself, as stored.
struct BannerFacts {
  BannerFormat format = BannerFormat::Gif;
  int width = 0;  // the canvas
  int height = 0;
  std::uint64_t bytes = 0;
  // Each frame's delay as stored, in milliseconds (a GIF's hundredths times
  // ten).
  std::vector<int> storedDelaysMs;
  bool hasLoop = false;  // a GIF's NETSCAPE2.0 block; a WebP's ANIM chunk
  int loopCount = 0;     // as stored
};

// How browsers play it (Chromium and Firefox).
struct PlayedTiming {
  std::vector<int> delaysMs;  // a stored delay of 10 ms or less plays as 100 ms
  int plays = 1;              // 0 = forever
  std::int64_t onePlayMs = 0;
  std::int64_t totalMs = -1;  // -1 for forever
  int shortestMs = 0;         // the shortest played delay
};
PlayedTiming playedTiming(const BannerFacts& facts);

// A stored delay that browsers lengthen to 0.1 s.
bool delayLengthened(int storedMs);

struct ReadResult {
  bool ok = false;
  BannerFacts facts;
  std::string problem;  // when !ok: why, in English, for a command line
};

// Reads the structure: the format from the first bytes, the canvas size
// checked against the limits, every frame's delay and the loop count. GIF
// frames are decoded too (so that a broken one is found here); WebP frames
// only walked.
ReadResult readBanner(const std::uint8_t* data, std::size_t size);

// Called with each frame as it is shown, composed on its canvas with every
// transparent pixel over a white page; index counts from 0. Returning false
// stops.
using FrameVisitor = std::function<bool(const core::Bitmap& frame, int index)>;

// Composes the frames of a file readBanner accepted, in order. Returns "" or
// the problem that stopped it.
std::string composeFrames(const std::uint8_t* data, std::size_t size, const FrameVisitor& visit);

// A whole file into memory, refusing one larger than kMaxFileBytes; "" or
// the problem.
std::string readWholeFile(const std::string& path, std::vector<std::uint8_t>& out);

}  // namespace check
