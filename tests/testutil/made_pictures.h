// PNG and WebP files made here from known pixels, for the tests, the intake
// benchmark and the fuzzers' seeds: good files of every kind the loader
// takes, and broken or hostile ones. Plain C++ with zlib and libwebp.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace madepics {

using Bytes = std::vector<std::uint8_t>;

// One PNG chunk: length, type, data, CRC.
Bytes pngChunk(const std::string& type, const Bytes& data);

// zlib's deflate of the bytes at the given level.
Bytes zlibCompress(const Bytes& raw, int level = 9);

struct PngSpec {
  PngSpec(int w, int h, int depth, int type, bool adam7 = false)
      : width(w), height(h), bitDepth(depth), colourType(type), interlaced(adam7) {}
  int width = 1;
  int height = 1;
  int bitDepth = 8;
  int colourType = 6;  // 0 grey, 2 RGB, 3 palette, 4 grey + alpha, 6 RGBA
  bool interlaced = false;
  Bytes palette;                                      // PLTE data (R, G, B per entry) for colour type 3
  Bytes trns;                                         // tRNS data, written when not empty
  std::vector<std::pair<std::string, Bytes>> before;  // more chunks before IDAT
  std::vector<std::pair<std::string, Bytes>> after;   // more chunks after IDAT
  int idatChunks = 1;                                 // the compressed data split over this many IDAT chunks
  bool iend = true;
};

// The samples of each pixel in channel order (grey; R G B; index; grey A;
// R G B A), row by row, each at the spec's bit depth. Rows use filter 0
// except every third row, which uses the Paeth filter, so that both paths of
// a decoder run. Adam7 when interlaced.
Bytes makePng(const PngSpec& spec, const std::vector<std::uint16_t>& samples);

// The filtered (filter 0) scanlines makePng compresses, without interlacing.
Bytes pngScanlines(const PngSpec& spec, const std::vector<std::uint16_t>& samples);

// WebP still pictures of 8-bit RGBA pixels (R, G, B, A per pixel) with
// libwebp's simple encoder: lossless (VP8L), or lossy (VP8, with an ALPH
// chunk in a VP8X file when some alpha is below 255).
Bytes makeWebpLossless(const Bytes& rgba, int width, int height);
Bytes makeWebpLossy(const Bytes& rgba, int width, int height, float quality);

// An animated WebP (libwebp's animation encoder, lossless) of RGBA frames,
// each shown for 100 ms, looping forever.
Bytes makeWebpAnimation(const std::vector<Bytes>& rgbaFrames, int width, int height);

// A RIFF WEBP file holding the given chunks (type and payload, padded).
Bytes webpFile(const std::vector<std::pair<std::string, Bytes>>& chunks);

// Hostile and broken samples, each with a name saying what it is; the zlib
// bomb inflates to bombMiB MiB past its picture.
std::vector<std::pair<std::string, Bytes>> hostileSamples(int bombMiB = 1024);
// Good samples of every kind (small), for seeding fuzzers.
std::vector<std::pair<std::string, Bytes>> goodSamples();

}  // namespace madepics
