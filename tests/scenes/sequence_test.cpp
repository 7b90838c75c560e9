// The frames of a banner of several scenes: which, in what order, held how
// long, and how the file loops or stops.
#include <gtest/gtest.h>

#include <filesystem>

#include "compose_fixture.h"
#include "effects/generator.h"
#include "gif_reader.h"
#include "play/animation_plan.h"
#include "scenes/banner_save.h"
#include "scenes/sequence.h"
#include "testutil.h"

namespace {

constexpr int kW = 30;
constexpr int kH = 12;

// A picture of four colours in blocks, so that every frame fits one palette.
core::Picture blocks(core::Color a, core::Color b) {
  core::Bitmap bm(kW, kH);
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) bm.row(y)[x] = ((x / 5 + y / 4) % 2 == 0) ? a : b;
  return core::Picture::fromBitmap(std::move(bm));
}

scenes::Scene scene(core::EffectKind kind, const core::Picture& picture, int holdCs) {
  scenes::Scene s;
  s.picture = picture;
  s.options.effect = static_cast<int>(kind);
  s.options.bannerColor = picture.pixel(0, 0);
  s.holdCs = holdCs;
  return s;
}

// The frames of one effect over `behind`, as a save composes them.
std::vector<core::Picture> effectFrames(const scenes::Scene& s, const core::Picture& behind) {
  effects::WorkState ws;
  testutil::loadSource(ws, s.picture);
  ws.picOver = behind;
  testutil::FakeHost host;
  host.options = s.options;
  auto gen = effects::makeGenerator(static_cast<core::EffectKind>(s.options.effect));
  EXPECT_TRUE(testutil::runCompose(*gen, ws, host, false));
  return ws.mFrames;
}

class ThreeScenes : public ::testing::Test {
 protected:
  core::Picture brand = blocks(0x102030, 0xF0E0D0);
  core::Picture offer = blocks(0x0000FF, 0x00FF00);
  core::Picture action = blocks(0xFF0000, 0xFFFFFF);
  std::vector<scenes::Scene> banner{scene(core::EffectKind::Zoom, brand, 100),
                                    scene(core::EffectKind::Slide, offer, 200),
                                    scene(core::EffectKind::Turn, action, 300)};
};

TEST_F(ThreeScenes, EachEntranceOverThePictureBeforeWithEachHoldOnItsRestFrame) {
  for (bool forever : {true, false}) {
    SCOPED_TRACE(forever ? "forever" : "with a play count");
    const auto b = scenes::composeBanner(banner, forever);
    ASSERT_TRUE(b);
    const auto zoom = effectFrames(banner[0], forever ? action : core::Picture{});
    const auto slide = effectFrames(banner[1], brand);
    const auto turn = effectFrames(banner[2], offer);
    std::vector<core::Picture> expected{zoom[0]};
    std::vector<int> holds{100};
    for (int k : {0, 1, 2, 3, 4, 5}) expected.push_back(slide[static_cast<std::size_t>(k)]);
    for (int k : {9, 10, 11, 0}) expected.push_back(turn[static_cast<std::size_t>(k)]);
    holds.insert(holds.end(), {0, 0, 0, 0, 0, 200, 0, 0, 0, 300});
    if (forever) {
      for (int k : {5, 4, 3, 2, 1}) expected.push_back(zoom[static_cast<std::size_t>(k)]);
      holds.insert(holds.end(), {0, 0, 0, 0, 0});
    }
    ASSERT_EQ(b->frames.size(), expected.size());
    EXPECT_EQ(b->extraCs, holds);
    for (std::size_t i = 0; i < expected.size(); ++i)
      EXPECT_TRUE(outtest::sameBitmap(*expected[i].bitmap(), b->frames[i])) << "frame " << i;
    // Not yet visible: Slide's first frame is the brand picture itself; the
    // last scene's rest frame is its whole picture.
    EXPECT_TRUE(outtest::sameBitmap(*brand.bitmap(), b->frames[1]));
    EXPECT_TRUE(outtest::sameBitmap(*action.bitmap(), b->frames[10]));
    // Zoom's blank frame over the last scene shows that scene's picture.
    if (forever) {
      EXPECT_TRUE(outtest::sameBitmap(*action.bitmap(), b->frames[11]));
    }
  }
}

TEST_F(ThreeScenes, TheAnimatedGifPlaysTheFramesInOrderWithTheHoldsAndStopsOnTheLastScene) {
  const auto dir = testutil::makeTempDir("three_scenes");
  for (int plays : {0, 2}) {
    const auto b = scenes::composeBanner(banner, plays == 0);
    ASSERT_TRUE(b);
    scenes::BannerSaveChoice choice;
    choice.name = (dir / ("banner" + std::to_string(plays) + ".gif")).string();
    choice.animated = true;
    choice.intervalCs = 10;
    choice.play.plays = plays;
    const save::SaveReport report = scenes::saveBanner(*b, choice);
    ASSERT_TRUE(report.status) << report.status.reason;
    ASSERT_EQ(report.files.size(), 1u);
    EXPECT_EQ(report.files[0], choice.name);
    const auto gif = outtest::readGifWithGiflib(choice.name);
    ASSERT_TRUE(gif);
    EXPECT_EQ(gif->loopCount, plays == 0 ? 0 : 1);
    // The file shows the banner's frames one after another; equal
    // neighbours are stored once with their delays added.
    std::vector<core::Bitmap> shown;
    std::vector<int> delays;
    for (std::size_t i = 0; i < gif->frames.size(); ++i) {
      shown.push_back(gif->frames[i]);
      delays.push_back(gif->info[i].delay);
    }
    std::size_t at = 0;
    int pending = 0;
    for (std::size_t i = 0; i < b->frames.size(); ++i) {
      ASSERT_LT(at, shown.size());
      EXPECT_TRUE(outtest::sameBitmap(b->frames[i], shown[at])) << "frame " << i;
      pending += 10 + b->extraCs[i];
      const bool nextSame = i + 1 < b->frames.size() && outtest::sameBitmap(b->frames[i], b->frames[i + 1]);
      if (!nextSame) {
        EXPECT_EQ(delays[at], pending) << "image " << at;
        pending = 0;
        ++at;
      }
    }
    EXPECT_EQ(at, shown.size());
    if (plays > 0) {
      EXPECT_TRUE(outtest::sameBitmap(*action.bitmap(), shown.back()));
    }
  }
}

TEST(Scenes, APictureOfAnotherSizeIsRefusedNamingBothSizes) {
  std::vector<scenes::Scene> banner{scene(core::EffectKind::Zoom, testutil::gradient(30, 12), 0),
                                    scene(core::EffectKind::Slide, testutil::gradient(31, 12), 0)};
  const auto message = scenes::sizeMismatch(banner);
  ASSERT_TRUE(message);
  EXPECT_EQ(*message, "scene 2's picture is 31 x 12 pixels, scene 1's 30 x 12: every scene needs the first scene's size");
  EXPECT_FALSE(scenes::composeBanner(banner, true));
}

TEST(Scenes, EveryEntranceEndsOnTheEffectsRestFrame) {
  for (int e = 0; e < core::kEffectCount; ++e) {
    const auto kind = static_cast<core::EffectKind>(e);
    auto gen = effects::makeGenerator(kind);
    const effects::Options options;
    const std::vector<int> order = gen->fileOrder();
    const int restEntry = order[static_cast<std::size_t>(gen->restFrame(options))];
    const std::vector<int> entrance = scenes::entranceEntries(kind);
    ASSERT_FALSE(entrance.empty());
    EXPECT_EQ(entrance.back(), restEntry) << core::info(kind).tag;
    for (int k : entrance) EXPECT_LT(k, core::info(kind).frames);
  }
}

}  // namespace
