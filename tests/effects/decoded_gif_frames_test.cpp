// Every frame of an animated GIF, decoded by giflib, against the frame the
// effect composed: no pixel may show more error than the colours of that
// frame's image allow. Banners with more than 256 colours (soft text edges,
// gradients, photos) are where a transparent pixel can leave a colour of an
// earlier frame on screen.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <numbers>
#include <sstream>
#include <string>
#include <tuple>
#include <unordered_map>
#include <vector>

#include "effects/generator.h"
#include "effects/silent_host.h"
#include "effects/work_state.h"
#include "gif_reader.h"
#include "gif/colour_index.h"
#include "frame_files/file_io.h"
#include "gif/gif_encoder.h"
#include "gif/gif_fit.h"
#include "gif/quality_encoder.h"
#include "output_test_support.h"

namespace {

using core::Color;

// --- Pictures made here: anti-aliased shapes by 4 x 4 supersampling. ---

struct Stroke {
  double x0, y0, x1, y1, radius;
};

double segmentDistance(double px, double py, const Stroke& s) {
  const double dx = s.x1 - s.x0, dy = s.y1 - s.y0;
  const double len2 = dx * dx + dy * dy;
  const double t = len2 > 0 ? std::clamp(((px - s.x0) * dx + (py - s.y0) * dy) / len2, 0.0, 1.0) : 0.0;
  const double ex = s.x0 + t * dx - px, ey = s.y0 + t * dy - py;
  return std::sqrt(ex * ex + ey * ey);
}

// Letter-like strokes across the middle of a w x h banner, about h / 2
// high, as text of that size is drawn: upright, round and slanted parts.
std::vector<Stroke> lettering(int h, double left, double right) {
  std::vector<Stroke> out;
  const double top = h * 0.25, bottom = h * 0.75, mid = h * 0.5, r = std::max(1.2, h / 22.0);
  const double pitch = (bottom - top) * 0.75;
  int n = 0;
  for (double x = left; x + pitch * 0.6 < right; x += pitch, ++n) {
    switch (n % 5) {
      case 0:  // an upright with a bar
        out.push_back({x, top, x, bottom, r});
        out.push_back({x, mid, x + pitch * 0.55, mid, r});
        break;
      case 1:  // a slanted pair
        out.push_back({x, bottom, x + pitch * 0.3, top, r});
        out.push_back({x + pitch * 0.3, top, x + pitch * 0.6, bottom, r});
        break;
      case 2:  // a box-like round letter
        for (int i = 0; i < 12; ++i) {
          const double a0 = i * std::numbers::pi / 6, a1 = (i + 1) * std::numbers::pi / 6;
          const double cx = x + pitch * 0.3, cy = mid, rx = pitch * 0.3, ry = (bottom - top) / 2;
          out.push_back(
              {cx + rx * std::cos(a0), cy + ry * std::sin(a0), cx + rx * std::cos(a1), cy + ry * std::sin(a1), r});
        }
        break;
      case 3:  // a thin diagonal
        out.push_back({x, top, x + pitch * 0.55, bottom, r * 0.7});
        break;
      default:  // two uprights
        out.push_back({x, top, x, bottom, r});
        out.push_back({x + pitch * 0.5, top + 2, x + pitch * 0.5, bottom, r});
        break;
    }
  }
  return out;
}

// Coverage 0..16 of a pixel by the strokes.
int coverage(int x, int y, const std::vector<Stroke>& strokes) {
  int inside = 0;
  for (int sy = 0; sy < 4; ++sy) {
    for (int sx = 0; sx < 4; ++sx) {
      const double px = x + (sx + 0.5) / 4, py = y + (sy + 0.5) / 4;
      for (const Stroke& s : strokes) {
        if (segmentDistance(px, py, s) <= s.radius) {
          ++inside;
          break;
        }
      }
    }
  }
  return inside;
}

Color mix(Color under, Color over, int cover) {
  const auto channel = [&](int a, int b) { return (a * (16 - cover) + b * cover + 8) / 16; };
  return core::rgb(channel(core::redOf(under), core::redOf(over)), channel(core::greenOf(under), core::greenOf(over)),
                   channel(core::blueOf(under), core::blueOf(over)));
}

template <typename Background>
core::Picture drawn(int w, int h, const std::vector<Stroke>& strokes, Color ink, Background background) {
  core::Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) b.row(y)[x] = mix(background(x, y), ink, coverage(x, y, strokes));
  }
  return core::Picture::fromBitmap(std::move(b));
}

// Red (200, 20, 20) lettering on white.
core::Picture textOnWhite(int w, int h) {
  return drawn(w, h, lettering(h, w * 0.1, w * 0.9), core::rgb(200, 20, 20), [](int, int) { return core::kWhite; });
}

// A round mark (blue disc, orange ring) and dark lettering on a light grey.
core::Picture logo(int w, int h) {
  std::vector<Stroke> ring;
  const double cx = h * 0.6, cy = h * 0.5, r = h * 0.36;
  for (int i = 0; i < 24; ++i) {
    const double a0 = i * std::numbers::pi / 12, a1 = (i + 1) * std::numbers::pi / 12;
    ring.push_back(
        {cx + r * std::cos(a0), cy + r * std::sin(a0), cx + r * std::cos(a1), cy + r * std::sin(a1), h / 14.0});
  }
  const core::Picture withRing = drawn(w, h, ring, core::rgb(240, 140, 20), [&](int x, int y) {
    const double d = std::hypot(x + 0.5 - cx, y + 0.5 - cy);
    return d < r * 0.8 ? core::rgb(30, 70, 170) : core::rgb(236, 236, 236);
  });
  return drawn(w, h, lettering(h, h * 1.3, w * 0.95), core::rgb(40, 40, 50),
               [&](int x, int y) { return withRing.pixel(x, y); });
}

// White lettering over a diagonal blue-to-magenta gradient.
core::Picture gradientWithText(int w, int h) {
  return drawn(w, h, lettering(h, w * 0.15, w * 0.85), core::kWhite, [&](int x, int y) {
    const double t = (static_cast<double>(x) / w + static_cast<double>(y) / h) / 2;
    return core::rgb(static_cast<int>(30 + 170 * t), static_cast<int>(60 - 20 * t), static_cast<int>(160 - 40 * t));
  });
}

// Smooth shapes with grain, as a photograph has.
core::Picture photo(int w, int h) {
  core::Bitmap b(w, h);
  std::uint32_t seed = 12345;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      seed = seed * 1664525u + 1013904223u;
      const int grain = static_cast<int>(seed >> 28) - 8;
      const auto channel = [&](double v) { return std::clamp(static_cast<int>(v) + grain, 0, 255); };
      b.row(y)[x] =
          core::rgb(channel(128 + 90 * std::sin(x / 23.0 + y / 17.0)), channel(110 + 80 * std::cos(x / 31.0 - y / 9.0)),
                    channel(100 + 70 * std::sin((x + 2 * y) / 41.0)));
    }
  }
  return core::Picture::fromBitmap(std::move(b));
}

// --- The effect's frames, as its save writes them. ---

std::vector<core::Picture> savedFrames(core::EffectKind kind, bool mask, const core::Picture& source) {
  std::unique_ptr<effects::Generator> generator = effects::makeGenerator(kind);
  effects::WorkState ws;
  effects::SilentHost host;
  host.gifAnimated = true;
  host.options.effect = static_cast<int>(kind);
  host.options.mask[static_cast<std::size_t>(core::info(kind).maskBox)] = mask;
  host.options.bannerColor = effects::acceptSource(ws, source);
  ws.emptyCache(core::info(kind).frames - 1);
  const std::string tag;
  effects::RunContext ctx(ws, host, host.options, false, tag);
  if (!generator->compose(ctx)) return {};
  std::vector<core::Picture> frames;
  const std::vector<int> order = generator->fileOrder();
  for (int entry : order) frames.push_back(ws.mFrames[static_cast<std::size_t>(entry)]);
  if (generator->backAndForth(host.options)) {
    for (std::size_t i = order.size() - 2; i >= 1 && i < order.size(); --i) frames.push_back(frames[i]);
  }
  return frames;
}

// --- The check. ---

// A palette stand-in may be this much (squared RGB) farther than the
// nearest entry.
constexpr int kStandIn = 10;

struct Encoded {
  std::vector<std::uint8_t> bytes;
  int quality = output::kBestQuality;
  int finerTolerance = 0;  // the finer file's lossy matching
};

// What a pixel of colour c may be off by when drawn by an image with this
// palette (the transparent index left out): the nearest entry, or the next
// one (a stand-in); with an ordered dither, which moves the colour before
// it looks for the nearest, the next one on either side (the third
// nearest); plus the lossy tolerance.
int allowedError(const std::vector<Color>& palette, int transparent, Color c, int tolerance, bool dithered) {
  // A table is written as long as a power of two; the black entries that
  // fill it up are no colour the encoder chose.
  std::size_t entries = palette.size();
  while (entries > 1 && palette[entries - 1] == core::kBlack) --entries;
  // The three nearest distances, in order.
  std::array<int, 3> near{std::numeric_limits<int>::max(), std::numeric_limits<int>::max(),
                          std::numeric_limits<int>::max()};
  std::size_t found = 0;
  for (std::size_t i = 0; i < entries; ++i) {
    if (static_cast<int>(i) == transparent) continue;
    int d = core::squaredDistance(c, palette[i]);
    ++found;
    for (int& slot : near) {
      if (d < slot) std::swap(d, slot);
    }
  }
  const std::size_t reach = std::min(found, std::size_t{dithered ? 3u : 2u}) - 1;
  return std::max(near[reach], near[0] + kStandIn) + tolerance;
}

// Decodes the file and checks each composed frame against the image shown
// for it (images stand for several frames where equal frames were joined).
::testing::AssertionResult framesWithinTheirColours(const std::vector<core::Picture>& frames, const Encoded& e,
                                                    bool exact, bool manyColours, const std::string& path) {
  if (!output::replaceFile(path, e.bytes)) return ::testing::AssertionFailure() << "cannot write " << path;
  const std::optional<outtest::DecodedGif> gif = outtest::readGifWithGiflib(path);
  if (!gif) return ::testing::AssertionFailure() << "giflib cannot read the file";
  const output::LossySettings lossy = output::lossySettingsFor(e.quality, manyColours);
  const int tolerance = e.quality >= output::kBestQuality ? e.finerTolerance : lossy.tolerance;
  const bool dithered = e.quality < output::kBestQuality && lossy.ditherStep > 0;
  std::size_t image = 0;
  int shownFor = 0;  // frames of 0.1 s the current image has stood for
  for (std::size_t k = 0; k < frames.size(); ++k, ++shownFor) {
    if (k > 0 && shownFor * 10 >= gif->info[image].delay) {
      ++image;
      shownFor = 0;
    }
    if (image >= gif->frames.size()) return ::testing::AssertionFailure() << "the file has too few images";
    const core::Bitmap& decoded = gif->frames[image];
    const core::Bitmap& given = *frames[k].bitmap();
    std::unordered_map<Color, int> allowed;  // per colour, for this image
    for (int y = 0; y < given.height; ++y) {
      for (int x = 0; x < given.width; ++x) {
        const Color c = given.row(y)[x], v = decoded.row(y)[x];
        if (c == v) continue;
        if (!exact) {
          auto it = allowed.find(c);
          if (it == allowed.end()) {
            it = allowed
                     .emplace(c, allowedError(gif->palettes[image], gif->info[image].transparent, c, tolerance,
                                              dithered))
                     .first;
          }
          if (core::squaredDistance(c, v) <= it->second) continue;
        }
        std::ostringstream s;
        s << "frame " << k << " (image " << image << ", quality " << e.quality << ") pixel (" << x << ", " << y
          << ") composed " << std::hex << c << " decoded " << v << std::dec << ": error " << core::squaredDistance(c, v)
          << ", allowed " << allowedError(gif->palettes[image], gif->info[image].transparent, c, tolerance, dithered);
        return ::testing::AssertionFailure() << s.str();
      }
    }
  }
  if (image + 1 != gif->frames.size()) return ::testing::AssertionFailure() << "the file has images left over";
  return ::testing::AssertionSuccess();
}

struct Picture {
  const char* name;
  core::Picture (*make)(int, int);
};
constexpr Picture kPictures[] = {
    {"text on white", textOnWhite}, {"logo", logo}, {"gradient with text", gradientWithText}, {"photo", photo}};
struct Size {
  int w, h;
};
// The sizes of the banners served most in the width the program takes. A
// sanitizer build, ten times slower, checks the smallest: the same code
// runs at every size.
#ifdef PICTORELL_SANITIZED_BUILD
constexpr Size kSizes[] = {{320, 50}};
#else
constexpr Size kSizes[] = {{320, 50}, {468, 60}, {728, 90}, {970, 90}};
#endif
constexpr int kSizeCount = static_cast<int>(std::size(kSizes));

class DecodedGifFrames : public ::testing::TestWithParam<std::tuple<int, int>> {};

// One picture at one size, every effect with the mask off and on: the
// plain file, and where it shows a banner of many colours, fitted into a
// roomy budget (the finer palettes) and a tighter one (lossy qualities).
TEST_P(DecodedGifFrames, EveryFrameIsAsCloseAsItsColoursAllow) {
  const auto [pictureIndex, sizeIndex] = GetParam();
  const Picture& picture = kPictures[pictureIndex];
  const Size& size = kSizes[sizeIndex];
  outtest::TempDir dir("decoded-gif");
  const core::Picture source = picture.make(size.w, size.h);
  for (int effect = 0; effect < core::kEffectCount; ++effect) {
    for (bool mask : {false, true}) {
      const auto kind = static_cast<core::EffectKind>(effect);
      const std::vector<core::Picture> frames = savedFrames(kind, mask, source);
      ASSERT_FALSE(frames.empty());
      std::vector<const core::Bitmap*> bitmaps;
      output::ColourIndex colours;
      bool exact = true;
      for (const core::Picture& f : frames) {
        bitmaps.push_back(f.bitmap().get());
        exact = exact && colours.addAll(*f.bitmap());
      }
      const output::AnimationTiming timing{std::vector<int>(frames.size(), 10), 0};
      const std::string what = std::string(picture.name) + " " + std::to_string(size.w) + "x" + std::to_string(size.h) +
                               " effect " + std::to_string(effect) + (mask ? " masked" : "");
      const std::optional<std::vector<std::uint8_t>> plain = output::encodeGifAnimation(bitmaps, timing);
      ASSERT_TRUE(plain) << what;
      EXPECT_TRUE(framesWithinTheirColours(frames, {*plain, 100, 0}, exact, !exact, dir.file("plain.gif"))) << what;
      // One effect of each banner is fitted, a different one for each
      // picture and size, so that every effect and mask is fitted somewhere.
      const int fittedCase = (pictureIndex * static_cast<int>(std::size(kSizes)) + sizeIndex) % (2 * effects::kEffectCount);
      if (exact || 2 * effect + (mask ? 1 : 0) != fittedCase) continue;
      for (const double share : {1.6, 0.85}) {
        const auto budget = static_cast<std::size_t>(static_cast<double>(plain->size()) * share);
        const std::optional<output::FittedGif> fitted = output::fitGifAnimation(bitmaps, timing, budget, nullptr);
        ASSERT_TRUE(fitted) << what;
        EXPECT_TRUE(
            framesWithinTheirColours(frames, {fitted->bytes, fitted->quality, fitted->finerTolerance}, false, true,
                                     dir.file("fitted.gif")))
            << what << ", budget " << budget << (fitted->finer ? " finer" : "") << " tolerance " << fitted->finerTolerance;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Banners, DecodedGifFrames,
                         ::testing::Combine(::testing::Range(0, static_cast<int>(std::size(kPictures))),
                                            ::testing::Range(0, kSizeCount)),
                         [](const ::testing::TestParamInfo<std::tuple<int, int>>& param) {
                           std::string name = kPictures[std::get<0>(param.param)].name;
                           for (char& ch : name) ch = ch == ' ' ? '_' : ch;
                           const Size& size = kSizes[std::get<1>(param.param)];
                           return name + "_" + std::to_string(size.w) + "x" + std::to_string(size.h);
                         });

}  // namespace
