// Lossless animations: every frame decodes exactly, and the worker's call at
// quality 100 writes the very bytes a save writes. How their size compares
// with gifsicle -O3 is bench/gif/gif_exact's job, on many more banners: a
// byte count fixed here would break on every improvement.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gif_reader.h"
#include "frame_files/file_io.h"
#include "gif/gif_encoder.h"
#include "gif/gif_fit.h"
#include "gif/shown_quality.h"
#include "output_test_support.h"

namespace {

using outtest::sameBitmap;

const core::Color kWhite = core::rgb(255, 255, 255), kBlue = core::rgb(20, 40, 160), kRed = core::rgb(230, 30, 40),
                  kGreen = core::rgb(0, 150, 70), kYellow = core::rgb(250, 200, 0);

// Four colours: a hatched bar sliding in over white, a fixed red corner and
// a green line.
core::Bitmap slideIn(int k) {
  core::Bitmap b(160, 40, kWhite);
  for (int y = 6; y < 34; ++y) {
    for (int x = 0; x < 160; ++x) {
      if (x < 12 * k && (x / 5 + y / 3) % 4 != 0) b.row(y)[x] = kBlue;
      if (x > 135 && y < 14) b.row(y)[x] = kRed;
    }
  }
  for (int x = 0; x < 160; ++x) b.row(39)[x] = kGreen;
  return b;
}

// The same shapes with their colours turned one step per frame, as the hue
// effect does to a picture with few colours.
core::Bitmap turned(int k) {
  const core::Color cycle[] = {kBlue, kRed, kGreen, kYellow};
  core::Bitmap b = slideIn(8);
  for (core::Color& c : b.px) {
    for (int i = 0; i < 4; ++i) {
      if (c == cycle[i]) {
        c = cycle[(i + k) % 4];
        break;
      }
    }
  }
  return b;
}

struct Banner {
  const char* name;
  std::vector<core::Bitmap> frames;
};

std::vector<Banner> banners() {
  std::vector<Banner> out;
  Banner slide{"slide", {}};
  for (int k = 0; k < 14; ++k) slide.frames.push_back(slideIn(k));
  Banner hue{"hue", {}};
  for (int k = 0; k < 8; ++k) hue.frames.push_back(turned(k));
  Banner list{"frame list", {}};
  for (int k : {0, 0, 3, 7, 7, 7, 13, 4}) list.frames.push_back(slideIn(k));
  out.push_back(std::move(slide));
  out.push_back(std::move(hue));
  out.push_back(std::move(list));
  return out;
}

TEST(LosslessGif, FixedBannersDecodeExactlyAndTheWorkerWritesTheSameBytes) {
  outtest::TempDir dir("gif-exact");
  for (const Banner& b : banners()) {
    std::vector<const core::Bitmap*> frames;
    for (const core::Bitmap& f : b.frames) frames.push_back(&f);
    const auto bytes = output::encodeGifAnimation(frames, 10);
    ASSERT_TRUE(bytes) << b.name;
    const std::string path = dir.file(std::string(b.name) + ".gif");
    ASSERT_TRUE(output::replaceFile(path, *bytes));
    // To record the figures again: PICTORELL_GIF_KEEP=DIR keeps the files
    // there, for gifsicle -O3 FILE -o OUT.
    if (const char* keep = std::getenv("PICTORELL_GIF_KEEP")) {
      EXPECT_TRUE(output::replaceFile(std::string(keep) + "/" + b.name + ".gif", *bytes));
    }
    const auto gif = outtest::readGifWithGiflib(path);
    ASSERT_TRUE(gif) << b.name;
    // Repeats are joined: each image stands for as many frames as its
    // delay says.
    std::size_t k = 0;
    for (std::size_t i = 0; i < gif->frames.size(); ++i) {
      for (int r = 0; r < gif->info[i].delay / 10; ++r, ++k) {
        ASSERT_LT(k, b.frames.size()) << b.name;
        EXPECT_TRUE(sameBitmap(b.frames[k], gif->frames[i])) << b.name << " frame " << k;
      }
    }
    EXPECT_EQ(k, b.frames.size()) << b.name;
    const auto worker =
        output::encodeGifAtQuality(frames, output::AnimationTiming::uniform(frames.size(), 10), 100, nullptr);
    ASSERT_TRUE(worker) << b.name;
    EXPECT_EQ(worker->bytes, *bytes) << b.name;
    EXPECT_EQ(worker->psnr, core::kExactFrameDb) << b.name;
  }
}

}  // namespace
