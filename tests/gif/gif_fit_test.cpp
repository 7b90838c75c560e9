#include "gif/gif_fit.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <climits>
#include <thread>

#include "gif_reader.h"
#include "frame_files/file_io.h"
#include "gif/animation_writer.h"
#include "gif/frame_mapping.h"
#include "gif/lzw_encoder.h"
#include "gif/lzw_plan.h"
#include "gif/quality_encoder.h"
#include "gif/shown_quality.h"
#include "output_test_support.h"

namespace {

using outtest::sameBitmap;

// A photo-like banner: smooth colour fields over the whole picture, and a
// disc that moves right while the left third never changes.
core::Bitmap photoFrame(int k, int w = 180, int h = 48) {
  core::Bitmap b(w, h);
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) {
      const int shift = x < w / 3 ? 0 : k * 11;
      b.row(y)[x] =
          core::rgb((x + y * 2 + shift) & 0xFF, (y * 3 + x / 2 + shift / 2) & 0xFF, (x + y + shift) / 3 & 0xFF);
      const int dx = x - (w / 3 + 10 + 6 * k), dy = y - h / 2;
      if (dx * dx + dy * dy < 90) b.row(y)[x] = core::rgb(250, 240, 30);
    }
  }
  return b;
}

// A flat banner with four colours and a bar sliding in.
core::Bitmap flatFrame(int k, int w = 120, int h = 30) {
  core::Bitmap b(w, h, core::rgb(255, 255, 255));
  for (int y = 4; y < h - 4; ++y) {
    for (int x = 0; x < w; ++x) {
      if (x < 10 * k && (x / 5 + y / 3) % 4 != 0) b.row(y)[x] = core::rgb(20, 40, 160);
      if (x > w - 20 && y < 12) b.row(y)[x] = core::rgb(230, 30, 40);
    }
  }
  for (int x = 0; x < w; ++x) b.row(h - 1)[x] = core::rgb(0, 150, 70);
  return b;
}

// The photo banner at an eighth of its contrast: quality 0's four colours
// still show it well above the floor.
std::vector<core::Bitmap> softFrames() {
  std::vector<core::Bitmap> out;
  for (int k = 0; k < 8; ++k) {
    core::Bitmap b = photoFrame(k, 120, 40);
    for (int y = 0; y < b.height; ++y) {
      for (int x = 0; x < b.width; ++x) {
        const core::Color c = b.row(y)[x];
        b.row(y)[x] = core::rgb(90 + core::redOf(c) / 8, 90 + core::greenOf(c) / 8, 90 + core::blueOf(c) / 8);
      }
    }
    out.push_back(std::move(b));
  }
  return out;
}

std::vector<const core::Bitmap*> pointers(const std::vector<core::Bitmap>& frames) {
  std::vector<const core::Bitmap*> out;
  for (const core::Bitmap& f : frames) out.push_back(&f);
  return out;
}

// The mean PSNR of the file as giflib decodes it, against the frames.
double decodedPsnr(const outtest::TempDir& dir, const std::vector<std::uint8_t>& bytes,
                   const std::vector<core::Bitmap>& frames, std::vector<core::Bitmap>* shown = nullptr) {
  const std::string path = dir.file("fit.gif");
  EXPECT_TRUE(output::replaceFile(path, bytes));
  const auto gif = outtest::readGifWithGiflib(path);
  if (!gif) return -1.0;
  // Joined repeats show for the frames they stand for.
  std::vector<core::Bitmap> decoded;
  for (std::size_t i = 0; i < gif->frames.size(); ++i) {
    for (int r = 0; r < gif->info[i].delay / 10; ++r) decoded.push_back(gif->frames[i]);
  }
  if (decoded.size() != frames.size()) return -1.0;
  double sum = 0.0;
  for (std::size_t k = 0; k < frames.size(); ++k) sum += core::framePsnr(frames[k], decoded[k]);
  if (shown) *shown = decoded;
  return sum / static_cast<double>(frames.size());
}

class GifFit : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int k = 0; k < 8; ++k) photo.push_back(photoFrame(k));
    for (int k = 0; k < 10; ++k) flat.push_back(flatFrame(k));
    flat.push_back(flat.back());  // a repeat, as a frame list may hold
  }
  std::vector<core::Bitmap> photo;
  std::vector<core::Bitmap> flat;
  outtest::TempDir dir{"gif-fit"};
};

TEST_F(GifFit, BestQualityIsTheDefaultFileAndReportsWhatItShows) {
  for (const std::vector<core::Bitmap>* frames : {&photo, &flat}) {
    const auto timing = output::AnimationTiming::uniform(frames->size(), 10);
    const auto plain = output::encodeGifAnimation(pointers(*frames), timing);
    const auto best = output::encodeGifAtQuality(pointers(*frames), timing, 100, nullptr);
    ASSERT_TRUE(plain && best);
    EXPECT_EQ(best->bytes, *plain);
    EXPECT_NEAR(best->psnr, decodedPsnr(dir, best->bytes, *frames), 1e-9);
  }
  // Few colours: exact, every frame counts as kExactFrameDb.
  const auto exact =
      output::encodeGifAtQuality(pointers(flat), output::AnimationTiming::uniform(flat.size(), 10), 100, nullptr);
  ASSERT_TRUE(exact);
  EXPECT_EQ(exact->psnr, core::kExactFrameDb);
}

TEST_F(GifFit, FittedFileIsWithinItsBudgetAndShowsThePsnrItReports) {
  const auto timing = output::AnimationTiming::uniform(photo.size(), 10);
  const auto plain = output::encodeGifAtQuality(pointers(photo), timing, 100, nullptr);
  ASSERT_TRUE(plain);
  double lastPsnr = 200.0;
  for (std::size_t budget : {plain->bytes.size(), plain->bytes.size() * 3 / 4, plain->bytes.size() / 2}) {
    const auto fit = output::fitGifAnimation(pointers(photo), timing, budget, nullptr);
    ASSERT_TRUE(fit);
    ASSERT_TRUE(fit->fits) << budget;
    EXPECT_LE(fit->bytes.size(), budget);
    EXPECT_GE(fit->psnr, output::kLowestFitDb);
    EXPECT_LE(fit->psnr, lastPsnr);  // a smaller budget never buys more quality
    lastPsnr = fit->psnr;
    EXPECT_NEAR(fit->psnr, decodedPsnr(dir, fit->bytes, photo), 1e-9) << budget;
    if (budget == plain->bytes.size()) {
      EXPECT_EQ(fit->quality, 100);
      // Nothing lossy when it fits as it is; the finer file only if it fits
      // as well and shows more.
      if (fit->finer) {
        EXPECT_GT(fit->psnr, plain->psnr);
      } else {
        EXPECT_EQ(fit->bytes, plain->bytes);
      }
    }
  }
  EXPECT_LT(lastPsnr, 100.0);
}

// Bytes to spare buy the finer file only where quality 100 loses
// something, only when it fits, and only when it shows more.
TEST_F(GifFit, SpareBytesGoToQualityOnlyWhereTheyRaiseIt) {
  const auto photoTiming = output::AnimationTiming::uniform(photo.size(), 10);
  const auto plain = output::encodeGifAtQuality(pointers(photo), photoTiming, 100, nullptr);
  ASSERT_TRUE(plain);
  const auto roomy = output::fitGifAnimation(pointers(photo), photoTiming, plain->bytes.size() * 4, nullptr);
  ASSERT_TRUE(roomy && roomy->fits);
  ASSERT_TRUE(roomy->finer);
  EXPECT_GT(roomy->psnr, plain->psnr);
  EXPECT_LE(roomy->bytes.size(), plain->bytes.size() * 4);
  EXPECT_EQ(roomy->quality, 100);
  EXPECT_NEAR(roomy->psnr, decodedPsnr(dir, roomy->bytes, photo), 1e-9);
  // Room between the plain file and that one is spent too: some images of
  // the finer file, or the finer file matched lossily; never worse than
  // the plain file and never over the budget. No room at all: the plain
  // file as it is.
  ASSERT_LT(plain->bytes.size(), roomy->bytes.size());
  const std::size_t between = (plain->bytes.size() + roomy->bytes.size()) / 2;
  const auto middle = output::fitGifAnimation(pointers(photo), photoTiming, between, nullptr);
  ASSERT_TRUE(middle && middle->fits);
  EXPECT_TRUE(middle->finer);
  EXPECT_LE(middle->bytes.size(), between);
  EXPECT_GT(middle->psnr, plain->psnr);
  EXPECT_LE(middle->psnr, roomy->psnr);
  EXPECT_NEAR(middle->psnr, decodedPsnr(dir, middle->bytes, photo), 1e-9);
  const auto tight = output::fitGifAnimation(pointers(photo), photoTiming, plain->bytes.size(), nullptr);
  ASSERT_TRUE(tight);
  EXPECT_FALSE(tight->finer);
  EXPECT_EQ(tight->bytes, plain->bytes);
  // Exact frames have nothing to gain.
  const auto flatTiming = output::AnimationTiming::uniform(flat.size(), 10);
  const auto exact = output::fitGifAnimation(pointers(flat), flatTiming, 1 << 20, nullptr);
  ASSERT_TRUE(exact);
  EXPECT_FALSE(exact->finer);
  EXPECT_EQ(exact->bytes, *output::encodeGifAnimation(pointers(flat), flatTiming));
}

// Images each at their own point between quality 100 and the finer file:
// within the budget, showing what they report image by image, and nothing
// when even the cheapest choice above the floor is over it.
TEST_F(GifFit, AllottedImagesKeepToTheBudgetAndShowWhatTheyReport) {
  const std::vector<int> delays(photo.size(), 10);
  const output::ShownFrames shown = output::mergeRepeats(pointers(photo), delays);
  output::QualityEncoder encoder(shown, 0, nullptr);
  const auto plain = encoder.encode(output::kBestQuality, true);
  const auto finer = encoder.encodeFinely(0, true);
  ASSERT_TRUE(plain && finer);
  ASSERT_LT(plain->bytes.size(), finer->bytes.size());
  const double worst = *std::min_element(plain->framePsnr.begin(), plain->framePsnr.end());
  for (int third : {1, 2}) {
    const std::size_t budget = plain->bytes.size() + (finer->bytes.size() - plain->bytes.size()) * third / 3;
    const auto allotted = encoder.encodeAllotted(budget, worst);
    ASSERT_TRUE(allotted) << budget;
    EXPECT_LE(allotted->bytes.size(), budget);
    std::vector<core::Bitmap> decoded;
    EXPECT_NEAR(allotted->psnr, decodedPsnr(dir, allotted->bytes, photo, &decoded), 1e-9);
    ASSERT_EQ(allotted->framePsnr.size(), photo.size());
    for (std::size_t k = 0; k < photo.size(); ++k) {
      EXPECT_NEAR(allotted->framePsnr[k], core::framePsnr(photo[k], decoded[k]), 1e-9) << k;
    }
  }
  EXPECT_FALSE(encoder.encodeAllotted(plain->bytes.size() / 4, worst));
}

// A first frame of 400 colours shows merged; a later frame whose colours
// all fit one palette shows exactly, also where it did not change.
TEST_F(GifFit, AFrameWhoseColoursFitItsPaletteShowsExactlyInTheFinerFile) {
  std::vector<core::Bitmap> frames(3, core::Bitmap(80, 20));
  for (int y = 0; y < 20; ++y) {
    for (int x = 0; x < 80; ++x) {
      const int a = (x % 20) * 12, b = (y % 10) * 25;
      frames[0].row(y)[x] = x < 40 ? core::rgb(a, b, 40) : core::rgb(40, a, b);
      frames[1].row(y)[x] = x < 40 ? frames[0].row(y)[x] : core::rgb(200, 200, 200);
      frames[2].row(y)[x] = x >= 60 && y < 4 ? core::rgb(10, 220, 90) : frames[1].row(y)[x];
    }
  }
  const auto timing = output::AnimationTiming::uniform(frames.size(), 10);
  const auto plain = output::encodeGifAtQuality(pointers(frames), timing, 100, nullptr);
  ASSERT_TRUE(plain);
  const auto fit = output::fitGifAnimation(pointers(frames), timing, plain->bytes.size() * 4, nullptr);
  ASSERT_TRUE(fit && fit->finer);
  EXPECT_LE(fit->bytes.size(), plain->bytes.size() * 4);
  std::vector<core::Bitmap> shown;
  EXPECT_NEAR(fit->psnr, decodedPsnr(dir, fit->bytes, frames, &shown), 1e-9);
  ASSERT_EQ(shown.size(), frames.size());
  EXPECT_FALSE(sameBitmap(shown[0], frames[0]));
  EXPECT_TRUE(sameBitmap(shown[1], frames[1]));
  EXPECT_TRUE(sameBitmap(shown[2], frames[2]));
}

// A card turning: the full views hold 2,400 colours, the narrow views a few
// dozen each of one set of 150. The narrow views share one palette and show
// exactly without tables of their own; the full views bring theirs.
TEST_F(GifFit, FramesWithFewColoursShareOnePaletteAndShowExactly) {
  const int w = 96, h = 24;
  std::vector<core::Bitmap> frames;
  for (int k = 0; k < 8; ++k) {
    core::Bitmap b(w, h, core::rgb(255, 255, 255));
    const bool full = k == 0 || k == 7;
    const int half = full ? w / 2 : 6 + 4 * (k % 4);
    for (int y = 0; y < h; ++y) {
      for (int x = w / 2 - half; x < w / 2 + half; ++x) {
        const int i = full ? x * 25 + y % 25 : 20 * k + (x * 3 + y) % 40;
        b.row(y)[x] = full ? core::rgb(i & 0xFF, (i >> 8) * 30, 90) : core::rgb(i, 255 - i, (i * 7) & 0xFF);
      }
    }
    frames.push_back(std::move(b));
  }
  const output::ShownFrames shown = output::mergeRepeats(pointers(frames), std::vector<int>(frames.size(), 10));
  output::QualityEncoder encoder(shown, 0, nullptr);
  const auto plain = encoder.encode(output::kBestQuality, true);
  const auto finer = encoder.encodeFinely(0, true);
  ASSERT_TRUE(plain && finer);
  const auto shared = encoder.encodeAllotted(finer->bytes.size(), 40.0, true);
  ASSERT_TRUE(shared);
  EXPECT_LT(shared->bytes.size(), finer->bytes.size());
  std::vector<core::Bitmap> decoded;
  EXPECT_NEAR(shared->psnr, decodedPsnr(dir, shared->bytes, frames, &decoded), 1e-9);
  const auto gif = outtest::readGifWithGiflib(dir.file("fit.gif"));
  ASSERT_TRUE(gif);
  ASSERT_EQ(gif->info.size(), frames.size());
  for (std::size_t k = 0; k < frames.size(); ++k) {
    EXPECT_NEAR(shared->framePsnr[k], core::framePsnr(frames[k], decoded[k]), 1e-9) << k;
    const bool full = k == 0 || k == 7;
    EXPECT_EQ(gif->info[k].localPalette, full) << k;
    EXPECT_TRUE(full || sameBitmap(decoded[k], frames[k])) << k;
    // Nothing of the narrow views stays behind on a full one: every pixel
    // is as near as its table allows, give or take the lossy points' reach.
    for (std::size_t i = 0; full && i < frames[k].px.size(); ++i) {
      int nearest = INT_MAX;
      for (core::Color e : gif->palettes[k]) nearest = std::min(nearest, core::squaredDistance(frames[k].px[i], e));
      ASSERT_LE(core::squaredDistance(frames[k].px[i], decoded[k].px[i]), nearest + 60) << k << " pixel " << i;
    }
  }
}

TEST_F(GifFit, SameInputSameBytes) {
  const auto timing = output::AnimationTiming::uniform(photo.size(), 10);
  const auto a = output::fitGifAnimation(pointers(photo), timing, 20000, nullptr);
  std::optional<output::FittedGif> b;
  std::thread worker([&] { b = output::fitGifAnimation(pointers(photo), timing, 20000, nullptr); });
  worker.join();
  ASSERT_TRUE(a && b);
  EXPECT_EQ(a->bytes, b->bytes);
  EXPECT_EQ(a->quality, b->quality);
}

TEST_F(GifFit, TooSmallABudgetGivesTheClosestFileAboveTheFloor) {
  const auto timing = output::AnimationTiming::uniform(photo.size(), 10);
  const auto fit = output::fitGifAnimation(pointers(photo), timing, 500, nullptr);
  ASSERT_TRUE(fit);
  EXPECT_FALSE(fit->fits);
  EXPECT_GT(fit->bytes.size(), 500u);
  EXPECT_GE(fit->psnr, output::kLowestFitDb);
  EXPECT_NEAR(fit->psnr, decodedPsnr(dir, fit->bytes, photo), 1e-9);
  // The save step writes it, or not, as the over-budget question says
  // (tests/save/save_step_test.cpp).
}

// A banner that still shows well at quality 0: a budget below that file
// goes on down to fewer colours and wider lossy matches before giving up,
// never below the floor.
TEST_F(GifFit, BelowQualityZeroBeforeGivingUp) {
  const std::vector<core::Bitmap> soft = softFrames();
  const auto timing = output::AnimationTiming::uniform(soft.size(), 10);
  const auto zero = output::encodeGifAtQuality(pointers(soft), timing, 0, nullptr);
  ASSERT_TRUE(zero);
  ASSERT_GT(zero->psnr, output::kLowestFitDb + 5);
  // The scale itself still ends at 0.
  const auto clamped = output::encodeGifAtQuality(pointers(soft), timing, -20, nullptr);
  ASSERT_TRUE(clamped);
  EXPECT_EQ(clamped->quality, 0);
  EXPECT_EQ(clamped->bytes, zero->bytes);

  const std::size_t budget = zero->bytes.size() * 19 / 20;
  const auto fit = output::fitGifAnimation(pointers(soft), timing, budget, nullptr);
  ASSERT_TRUE(fit);
  EXPECT_TRUE(fit->fits);
  EXPECT_LE(fit->bytes.size(), budget);
  EXPECT_LT(fit->quality, 0);
  EXPECT_GE(fit->quality, output::kLowestQuality);
  EXPECT_GE(fit->psnr, output::kLowestFitDb);
  EXPECT_NEAR(fit->psnr, decodedPsnr(dir, fit->bytes, soft), 1e-9);
  const auto again = output::fitGifAnimation(pointers(soft), timing, budget, nullptr);
  ASSERT_TRUE(again);
  EXPECT_EQ(again->bytes, fit->bytes);

  // Nothing reaches 100 bytes: the smallest file above the floor, not one
  // below it.
  const auto none = output::fitGifAnimation(pointers(soft), timing, 100, nullptr);
  ASSERT_TRUE(none);
  EXPECT_FALSE(none->fits);
  EXPECT_LT(none->bytes.size(), fit->bytes.size());
  EXPECT_LE(none->quality, fit->quality);
  EXPECT_GE(none->psnr, output::kLowestFitDb);
  EXPECT_NEAR(none->psnr, decodedPsnr(dir, none->bytes, soft), 1e-9);
}

TEST_F(GifFit, StillAreasStayStillAtLowQuality) {
  // Dithered and lossy, the left third never changes, so it must show the
  // same pixels in every frame.
  const auto timing = output::AnimationTiming::uniform(photo.size(), 10);
  const auto low = output::encodeGifAtQuality(pointers(photo), timing, 30, nullptr);
  ASSERT_TRUE(low);
  std::vector<core::Bitmap> shown;
  ASSERT_GT(decodedPsnr(dir, low->bytes, photo, &shown), output::kLowestFitDb - 5);
  for (std::size_t k = 1; k < shown.size(); ++k) {
    for (int y = 0; y < shown[k].height; ++y) {
      for (int x = 0; x < shown[k].width / 3; ++x) {
        ASSERT_EQ(shown[k].row(y)[x], shown[0].row(y)[x]) << "frame " << k << " at " << x << "," << y;
      }
    }
  }
}

TEST_F(GifFit, CancelledWorkReturnsNothing) {
  const auto timing = output::AnimationTiming::uniform(photo.size(), 10);
  output::CancelFlag cancel{true};
  EXPECT_FALSE(output::fitGifAnimation(pointers(photo), timing, 1000, &cancel));
  EXPECT_FALSE(output::encodeGifAtQuality(pointers(photo), timing, 50, &cancel));
  // Set from another thread while the fit runs: it stops soon after.
  std::vector<core::Bitmap> big;
  for (int k = 0; k < 12; ++k) big.push_back(photoFrame(k, 1000, 200));
  cancel = false;
  std::optional<output::FittedGif> result{output::FittedGif{}};
  std::thread worker([&] {
    result = output::fitGifAnimation(pointers(big), output::AnimationTiming::uniform(big.size(), 10), 1000, &cancel);
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  const auto asked = std::chrono::steady_clock::now();
  cancel = true;
  worker.join();
  EXPECT_FALSE(result);
  EXPECT_LT(std::chrono::steady_clock::now() - asked, std::chrono::seconds(2));
}

TEST_F(GifFit, RefusesWhatTheEncoderRefuses) {
  const core::Bitmap other(3, 3);
  std::vector<const core::Bitmap*> mixed{&flat[0], &other};
  EXPECT_FALSE(output::fitGifAnimation(mixed, output::AnimationTiming::uniform(2, 10), 1000, nullptr));
  EXPECT_FALSE(output::fitGifAnimation(pointers(flat), output::AnimationTiming::uniform(2, 10), 1000, nullptr));
  EXPECT_FALSE(output::encodeGifAtQuality({}, output::AnimationTiming{}, 100, nullptr));
}

// A quick measurement's length, counted from the planner's greedy image
// sizes, is that of the file the greedy parse writes; both refuse alike.
TEST(LzwPlanner, MeasuredAnimationIsAsLongAsTheGreedyFile) {
  std::vector<core::Bitmap> frames;
  for (int k = 0; k < 5; ++k) frames.push_back(photoFrame(k));
  const std::vector<const core::Bitmap*> shown = pointers(frames);
  const std::vector<int> delays(frames.size(), 10);
  std::optional<output::MappedAnimation> shared = output::mapAnimation(shown);
  std::optional<output::MappedAnimation> own = output::mapEachFrameFinely(shown, nullptr);
  ASSERT_TRUE(shared && own);
  output::LzwPlanner planner;
  for (output::MappedAnimation* a : {&*shared, &*own}) {
    a->frames[1].transparent = 3;
    for (int loop : {output::kNoLoopBlock, 0}) {
      std::vector<std::size_t> data;
      for (const output::MappedFrame& f : a->frames)
        data.push_back(planner.codedBytes(f.indices, output::lzwCodeSizeFor(f.indices)));
      const auto file = output::writeAnimation(180, 48, *a, delays, loop, false);
      ASSERT_TRUE(file);
      EXPECT_EQ(output::measureAnimation(180, 48, *a, delays, loop, data), file->size());
    }
  }
  shared->frames[2].indices[0] = static_cast<std::uint8_t>(shared->global.size());
  const std::vector<std::size_t> data(shared->frames.size(), 100);
  EXPECT_FALSE(output::writeAnimation(180, 48, *shared, delays, 0, false));
  EXPECT_FALSE(output::measureAnimation(180, 48, *shared, delays, 0, data));
}

// Both parses of the LZW coder decode to the indices, and the shortest
// never loses to the greedy one.
TEST(LzwEncoder, EveryParseDecodesToTheIndices) {
  std::vector<std::uint8_t> indices;
  for (int i = 0; i < 30000; ++i)
    indices.push_back(static_cast<std::uint8_t>((i / 7) % 3 == 0 ? (i * 31) % 5 : i / 400 % 5));
  outtest::TempDir dir("lzw");
  for (bool shortest : {false, true}) {
    std::vector<std::uint8_t> file;
    output::GifStream gif(file, shortest);
    const output::GifPalette palette{core::kBlack, core::kWhite, core::rgb(255, 0, 0), core::rgb(0, 255, 0),
                                     core::rgb(0, 0, 255)};
    ASSERT_TRUE(gif.putScreen(300, 100, &palette, false));
    ASSERT_TRUE(gif.putImage({0, 0, 300, 100}, nullptr, indices));
    ASSERT_TRUE(gif.close());
    const std::string path = dir.file(shortest ? "short.gif" : "greedy.gif");
    ASSERT_TRUE(output::replaceFile(path, file));
    const auto decoded = outtest::readGifWithGiflib(path);
    ASSERT_TRUE(decoded);
    for (std::size_t i = 0; i < indices.size(); ++i) {
      ASSERT_EQ(decoded->frames[0].px[i], palette[indices[i]]) << i;
    }
  }
  std::vector<std::uint8_t> greedy, shortest;
  output::appendLzw(indices, 3, output::LzwParse::Greedy, greedy);
  output::appendShortestLzw(indices, 3, shortest);
  EXPECT_LE(shortest.size(), greedy.size());
  EXPECT_EQ(output::lzwCodeSizeFor(indices), 3);
}

// An image met again comes from memory with the same bytes; one that
// differs in a single index, its code size or its parse is coded anew.
TEST(LzwEncoder, TheMemoAppendsWhatCodingAppends) {
  std::vector<std::uint8_t> indices;
  for (int i = 0; i < 20000; ++i)
    indices.push_back(static_cast<std::uint8_t>(i / 300 % 4 == 0 ? i * 7 % 6 : i / 50 % 3));
  std::vector<std::uint8_t> changed = indices;
  changed[12345] = 5;
  output::LzwMemo memo;
  const auto check = [&](const std::vector<std::uint8_t>& px, int codeSize, bool shortest) {
    std::vector<std::uint8_t> direct{0xAB}, remembered{0xAB};
    if (shortest) {
      output::appendShortestLzw(px, codeSize, direct);
    } else {
      output::appendLzw(px, codeSize, output::LzwParse::Greedy, direct);
    }
    memo.append(px, codeSize, shortest, remembered);
    EXPECT_EQ(remembered, direct) << codeSize << shortest;
  };
  for (int pass = 0; pass < 2; ++pass) {
    check(indices, 3, true);
    check(indices, 3, false);
    check(indices, 4, true);
    check(changed, 3, true);
  }
}

}  // namespace
