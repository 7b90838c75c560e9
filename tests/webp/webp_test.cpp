// The animated WebP: what libwebp's own demuxer and decoder read back from
// our files (frames, delays, loop count), the lossless / lossy choice against
// our GIF's PSNR, and the writer's finishing step around it.
#include "webp/webp_encoder.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <webp/demux.h>

#include "gif_reader.h"
#include "frame_files/writer.h"
#include "save/save_step.h"
#include "output_test_support.h"

namespace {

using outtest::TempDir;

struct Played {
  int loopCount = -1;
  std::vector<int> durations;        // ms, per frame of the file
  std::vector<core::Bitmap> frames;  // composed, as a player shows them
  bool animated = false;
};

// libwebp's demuxer for the loop count and the frames' durations, its
// animation decoder for the composed frames.
Played play(const std::vector<std::uint8_t>& file) {
  Played p;
  const WebPData data{file.data(), file.size()};
  WebPDemuxer* demux = WebPDemux(&data);
  EXPECT_NE(demux, nullptr);
  if (!demux) return p;
  p.animated = (WebPDemuxGetI(demux, WEBP_FF_FORMAT_FLAGS) & ANIMATION_FLAG) != 0;
  p.loopCount = static_cast<int>(WebPDemuxGetI(demux, WEBP_FF_LOOP_COUNT));
  WebPIterator it;
  if (WebPDemuxGetFrame(demux, 1, &it)) {
    do p.durations.push_back(it.duration);
    while (WebPDemuxNextFrame(&it));
    WebPDemuxReleaseIterator(&it);
  }
  WebPDemuxDelete(demux);
  WebPAnimDecoderOptions options;
  WebPAnimDecoderOptionsInit(&options);
  options.color_mode = MODE_RGBA;
  WebPAnimDecoder* dec = WebPAnimDecoderNew(&data, &options);
  WebPAnimInfo info;
  WebPAnimDecoderGetInfo(dec, &info);
  while (WebPAnimDecoderHasMoreFrames(dec)) {
    std::uint8_t* rgba = nullptr;
    int ts = 0;
    WebPAnimDecoderGetNext(dec, &rgba, &ts);
    core::Bitmap b(static_cast<int>(info.canvas_width), static_cast<int>(info.canvas_height));
    for (auto& c : b.px) {
      c = core::rgb(rgba[0], rgba[1], rgba[2]);
      rgba += 4;
    }
    p.frames.push_back(std::move(b));
  }
  WebPAnimDecoderDelete(dec);
  return p;
}

// Frame k: few colours, a moving bar, so frames differ.
core::Bitmap flatFrame(int k, int w = 60, int h = 20) {
  core::Bitmap b(w, h, core::rgb(250, 250, 250));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < 8; ++x) b.row(y)[(x + k * 7) % w] = core::rgb(200, 30 * k % 256, 40);
  return b;
}

// Tens of thousands of colours in smooth waves, moved per frame: a GIF's
// 256 colours fall well short of them, a lossy WebP does not.
core::Bitmap photoFrame(int k, int w = 200, int h = 60) {
  core::Bitmap b(w, h);
  auto wave = [](double v) { return static_cast<int>(127.5 + 127.0 * std::sin(v)); };
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      b.row(y)[x] = core::rgb(wave(x / 9.0 + k * 0.4), wave(y / 7.0 + x / 23.0), wave((x + y) / 13.0 - k * 0.3));
  return b;
}

std::vector<const core::Bitmap*> pointers(const std::vector<core::Bitmap>& frames) {
  std::vector<const core::Bitmap*> out;
  for (const auto& f : frames) out.push_back(&f);
  return out;
}

TEST(WebpAnimation, FewColoursDecodeExactlyWithTheirDelaysAndLoopCount) {
  std::vector<core::Bitmap> frames;
  for (int k = 0; k < 4; ++k) frames.push_back(flatFrame(k));
  output::AnimationTiming timing{{10, 25, 0, 300}, 0};
  output::WebpChoice choice;
  const auto bytes = output::encodeWebpAnimation(pointers(frames), timing, &choice);
  ASSERT_TRUE(bytes);
  EXPECT_TRUE(choice.lossless);
  const Played p = play(*bytes);
  EXPECT_TRUE(p.animated);
  EXPECT_EQ(p.loopCount, 0);  // forever
  EXPECT_EQ(p.durations, (std::vector<int>{100, 250, 0, 3000}));
  ASSERT_EQ(p.frames.size(), 4u);
  for (int k = 0; k < 4; ++k)
    EXPECT_TRUE(outtest::sameBitmap(frames[static_cast<std::size_t>(k)], p.frames[static_cast<std::size_t>(k)])) << k;
  // The same frames give the same file.
  EXPECT_EQ(output::encodeWebpAnimation(pointers(frames), timing), bytes);
}

TEST(WebpAnimation, PlayCountsBecomeWebpLoopCounts) {
  const std::vector<core::Bitmap> frames = {flatFrame(0), flatFrame(1)};
  // WebP stores the play count itself, 0 = forever, in 16 bits.
  for (auto [plays, stored] : {std::pair{0, 0}, std::pair{2, 2}, std::pair{10, 10}, std::pair{65535, 65535},
                               std::pair{65536, 65535}, std::pair{1, 1}}) {
    const auto bytes = output::encodeWebpAnimation(pointers(frames), output::AnimationTiming{{10, 10}, plays});
    ASSERT_TRUE(bytes) << plays;
    EXPECT_EQ(play(*bytes).loopCount, stored) << plays;
  }
  EXPECT_FALSE(output::encodeWebpAnimation(pointers(frames), output::AnimationTiming{{10, 10}, 65537}));
}

TEST(WebpAnimation, UnchangedFramesMergeButThePlayingTimeStays) {
  const std::vector<core::Bitmap> frames = {flatFrame(0), flatFrame(1), flatFrame(1), flatFrame(1), flatFrame(2)};
  const auto bytes = output::encodeWebpAnimation(pointers(frames), output::AnimationTiming{{10, 20, 30, 40, 50}, 0});
  ASSERT_TRUE(bytes);
  const Played p = play(*bytes);
  EXPECT_EQ(p.durations, (std::vector<int>{100, 900, 500}));
  ASSERT_EQ(p.frames.size(), 3u);
  EXPECT_TRUE(outtest::sameBitmap(frames[1], p.frames[1]));
}

TEST(WebpAnimation, ManyColoursGoLossyOnlyWhenSmallerAndAtLeastAsCloseAsTheGif) {
  std::vector<core::Bitmap> frames;
  for (int k = 0; k < 5; ++k) frames.push_back(photoFrame(k));
  output::WebpChoice choice;
  const auto bytes = output::encodeWebpAnimation(pointers(frames), output::AnimationTiming::uniform(5, 10), &choice);
  ASSERT_TRUE(bytes);
  EXPECT_LT(choice.gifPsnr, core::kExactFrameDb);
  EXPECT_GE(choice.psnr, choice.gifPsnr);
  // The PSNR it reports is the file's, as libwebp decodes it.
  const Played p = play(*bytes);
  ASSERT_EQ(p.frames.size(), 5u);
  EXPECT_NEAR(*output::meanPsnr(pointers(frames), p.frames), choice.psnr, 1e-9);
  // These gradients compress far better lossy, at a quality found by search.
  EXPECT_FALSE(choice.lossless);
  EXPECT_GT(choice.encodes, 2);
  EXPECT_LT(choice.quality, 100);
}

TEST(WebpAnimation, OneFrameOrFramesAllAlikeBecomeAStillPicture) {
  const std::vector<core::Bitmap> same = {flatFrame(3), flatFrame(3), flatFrame(3)};
  for (std::size_t n : {1u, 3u}) {
    const std::vector<core::Bitmap> frames(same.begin(), same.begin() + static_cast<std::ptrdiff_t>(n));
    const auto bytes = output::encodeWebpAnimation(pointers(frames), output::AnimationTiming::uniform(n, 10));
    ASSERT_TRUE(bytes) << n;
    const Played p = play(*bytes);
    EXPECT_FALSE(p.animated);
    ASSERT_EQ(p.frames.size(), 1u);
    EXPECT_TRUE(outtest::sameBitmap(same[0], p.frames[0]));
  }
}

TEST(WebpAnimation, RefusesWhatCannotBeAnAnimation) {
  const std::vector<core::Bitmap> two = {flatFrame(0), flatFrame(1)};
  const core::Bitmap other = flatFrame(0, 61, 20);
  EXPECT_FALSE(output::encodeWebpAnimation({}, output::AnimationTiming{{}, 0}));
  EXPECT_FALSE(output::encodeWebpAnimation(pointers(two), output::AnimationTiming{{10}, 0}));
  EXPECT_FALSE(output::encodeWebpAnimation({&two[0], &other}, output::AnimationTiming{{10, 10}, 0}));
  EXPECT_FALSE(output::encodeWebpAnimation(pointers(two), output::AnimationTiming{{10, 65536}, 0}));
  EXPECT_FALSE(output::encodeWebpAnimation(pointers(two), output::AnimationTiming{{10, 10}, 65537}));
  EXPECT_FALSE(output::encodeWebpAnimation(pointers(two), output::AnimationTiming{{10, -1}, 0}));
}

std::vector<std::uint8_t> readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// The save step's animated WebP of flatFrame(0..last) as files
// dir/name + NNN, shown as the plain animation (with back-and-forth) or with
// play choices starting and ending on file restFile.
save::SaveReport saveWebp(const TempDir& dir, const std::string& name, int last, int intervalCs, bool backAndForth,
                          output::PlaySettings play = {}, int restFile = 0) {
  save::SaveRequest r;
  r.target = save::SaveTarget{dir.path().string(), name, "", ".webp"};
  auto frames = std::make_shared<std::vector<core::Bitmap>>();
  for (int i = 0; i <= last; ++i) frames->push_back(flatFrame(i));
  r.frames = frames;
  r.shape = output::AnimationShape{last, backAndForth, restFile, 60, 20};
  r.animated = true;
  r.animation.intervalCs = intervalCs;
  r.animation.play = play;
  return save::saveFrames(r);
}

TEST(SavedWebpAnimation, JoinsTheFramesThenDeletesTheirFiles) {
  TempDir dir("webp-finish");
  const std::string base = dir.file("バナー 1-h-");
  ASSERT_TRUE(saveWebp(dir, "バナー 1-h-", 3, 20, true).status);
  EXPECT_EQ(dir.names(), std::vector<std::string>{"バナー 1-h-.webp"});
  const Played p = play(readAll(base + ".webp"));
  // Back and forth: 0, 1, 2, 3, 2, 1, each 200 ms.
  ASSERT_EQ(p.frames.size(), 6u);
  EXPECT_EQ(p.durations, std::vector<int>(6, 200));
  for (auto [slot, frame] : {std::pair{3, 3}, std::pair{4, 2}, std::pair{5, 1}})
    EXPECT_TRUE(outtest::sameBitmap(flatFrame(frame), p.frames[static_cast<std::size_t>(slot)])) << slot;
}

// Two plays with a hold: the rest frame opens (held) and closes the file, and
// the demuxer reads two plays.
TEST(SavedWebpAnimation, PlaysAndHoldStartAndEndOnTheRestFrame) {
  TempDir dir("webp-plays");
  output::PlaySettings choice;
  choice.plays = 2;
  choice.holdCs = 50;
  ASSERT_TRUE(saveWebp(dir, "b-z-", 3, 20, false, choice, 2).status);
  const Played p = play(readAll(dir.file("b-z-.webp")));
  EXPECT_EQ(p.loopCount, 2);
  EXPECT_EQ(p.durations, (std::vector<int>{700, 200, 200, 200, 200}));
  const int files[] = {2, 3, 0, 1, 2};
  ASSERT_EQ(p.frames.size(), 5u);
  for (std::size_t k = 0; k < 5; ++k) EXPECT_TRUE(outtest::sameBitmap(flatFrame(files[k]), p.frames[k])) << k;
}

TEST(SavedWebpAnimation, AnEncoderThatGivesUpWritesNothingAndKeepsTheFrames) {
  TempDir dir("webp-refused-frames");
  save::SaveRequest r;
  r.target = save::SaveTarget{dir.path().string(), "b", "-s-", ".webp"};
  // Frames of two sizes: the encoder refuses them, which is no write error.
  r.frames = std::make_shared<std::vector<core::Bitmap>>(
      std::vector<core::Bitmap>{flatFrame(0), flatFrame(1), flatFrame(2, 30, 20)});
  r.shape = output::AnimationShape{2, false, 0, 60, 20};
  r.animated = true;
  EXPECT_TRUE(save::saveFrames(r).status);
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"b-s-000.bmp", "b-s-001.bmp", "b-s-002.bmp"}));
}

TEST(SavedWebpAnimation, AFileTheSystemRefusesIsAnErrorAndNothingIsLeftHalfWritten) {
  TempDir dir("webp-refused");
  const std::string base = dir.file("b-s-");
  // A folder where the file should go: the rename onto it fails.
  std::filesystem::create_directory(base + ".webp");
  const save::SaveReport report = saveWebp(dir, "b-s-", 2, 10, false);
  EXPECT_FALSE(report.status);
  EXPECT_EQ(report.status.file, base + ".webp");
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"b-s-.webp", "b-s-000.bmp", "b-s-001.bmp", "b-s-002.bmp"}));
  EXPECT_TRUE(std::filesystem::is_directory(base + ".webp"));
}

}  // namespace
