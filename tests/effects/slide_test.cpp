#include <gtest/gtest.h>

#include <vector>

#include "effect_fixture.h"
#include "effects/slide.h"

namespace {

using core::EffectKind;
using effects::slideOffset;
using testutil::gradientPicture;

std::vector<int> offsets(int size) {
  std::vector<int> v;
  for (int s = -5; s <= 5; ++s) v.push_back(slideOffset(size, s));
  return v;
}

TEST(SlideOffsets, FifthsOfTheFrameRoundedToNearest) {
  EXPECT_EQ(offsets(500), (std::vector<int>{-500, -400, -300, -200, -100, 0, 100, 200, 300, 400, 500}));
  EXPECT_EQ(offsets(100), (std::vector<int>{-100, -80, -60, -40, -20, 0, 20, 40, 60, 80, 100}));
  EXPECT_EQ(offsets(468), (std::vector<int>{-468, -374, -281, -187, -94, 0, 94, 187, 281, 374, 468}));
  EXPECT_EQ(offsets(60), (std::vector<int>{-60, -48, -36, -24, -12, 0, 12, 24, 36, 48, 60}));
}

TEST(SlideLabels, CounterStartsAtSixAndPutsThePictureInPlaceAtZero) {
  const char* expected[11] = {"06", "07", "08", "09", "10", "00", "01", "02", "03", "04", "05"};
  for (int k = 0; k < 11; ++k) {
    EXPECT_EQ(effects::slideLabel(k), std::string("BaseName-x-") + expected[k] + ".bmp");
    EXPECT_EQ(effects::slideLabel(k + 11), std::string("BaseName-y-") + expected[k] + ".bmp");
  }
}

class SlideFrames : public ::testing::Test, public testutil::EffectFixture {
 protected:
  void SetUp() override { load(gradientPicture(500, 100)); }
  core::Color src(int x, int y) const { return ws.picSource.point(x, y); }
};

TEST_F(SlideFrames, OuterStepsShowOnlyTheBackground) {
  host.options.mask[core::kMaskSlide] = true;
  host.options.bannerColor = 0x123456;
  ASSERT_TRUE(compose(EffectKind::Slide, false));
  for (int k : {0, 10, 11, 21})
    for (int y = 0; y < 100; y += 9)
      for (int x = 0; x < 500; x += 7) ASSERT_EQ(frame(k).pixel(x, y), 0x123456u) << k << " " << x << "," << y;
}

TEST_F(SlideFrames, MiddleFramesAreTheSourceWithoutMask) {
  ASSERT_TRUE(compose(EffectKind::Slide, false));
  EXPECT_TRUE(testutil::surfacesEqual(frame(5), ws.picSource.picture()));
  EXPECT_TRUE(testutil::surfacesEqual(frame(16), ws.picSource.picture()));
}

TEST_F(SlideFrames, StepMinusOneShiftsRightByAFifth) {
  ASSERT_TRUE(compose(EffectKind::Slide, false));
  const core::Color corner = src(0, 0);
  for (int y = 0; y < 100; y += 13) {
    for (int x = 0; x < 100; ++x) ASSERT_EQ(frame(4).pixel(x, y), corner) << x;
    for (int x = 100; x < 500; ++x) ASSERT_EQ(frame(4).pixel(x, y), src(x - 100, y)) << x;
  }
  // Vertical step -1 (frame 15): rows 0..19 background, then the source.
  EXPECT_EQ(frame(15).pixel(7, 19), corner);
  EXPECT_EQ(frame(15).pixel(7, 20), src(7, 0));
  EXPECT_EQ(frame(15).pixel(7, 99), src(7, 79));
}

TEST_F(SlideFrames, CrossingCopyCombinesBitwise) {
  host.options.cross = true;
  ASSERT_TRUE(compose(EffectKind::Slide, false));
  for (int y = 0; y < 100; y += 13) {
    for (int x = 0; x < 100; ++x) ASSERT_EQ(frame(4).pixel(x, y), src(x + 100, y)) << x;
    for (int x = 100; x < 400; ++x) ASSERT_EQ(frame(4).pixel(x, y), src(x - 100, y) & src(x + 100, y)) << x;
    for (int x = 400; x < 500; ++x) ASSERT_EQ(frame(4).pixel(x, y), src(x - 100, y)) << x;
  }
  EXPECT_TRUE(testutil::surfacesEqual(frame(5), ws.picSource.picture()));
}

TEST_F(SlideFrames, MaskShowsTheBannerBehindAWhiteCorner) {
  load(testutil::dotsPicture(10, 5, core::kWhite, {{4, 2, 0x00FF00}, {5, 2, 0x0000FF}}));
  host.options.mask[core::kMaskSlide] = true;
  host.options.bannerColor = 0x0000FF;
  ASSERT_TRUE(compose(EffectKind::Slide, false));
  EXPECT_EQ(frame(5).pixel(4, 2), 0x00FF00u);
  EXPECT_EQ(frame(5).pixel(5, 2), 0x0000FFu);
  EXPECT_EQ(frame(5).pixel(0, 0), 0x0000FFu);
  EXPECT_EQ(frame(6).pixel(2, 2), 0x00FF00u);  // step 1 moves the picture 2 px left
  EXPECT_EQ(frame(6).pixel(8, 2), 0x0000FFu);  // uncovered area shows the banner
}

TEST_F(SlideFrames, PreviewYieldsOnceBetweenSequencesSaveBeforeEachFrame) {
  ASSERT_TRUE(compose(EffectKind::Slide, true));
  EXPECT_EQ(host.yields, 1);
  EXPECT_EQ(host.progress, (std::vector<double>{0.5, 1.0}));
  host = testutil::FakeHost{};
  ASSERT_TRUE(compose(EffectKind::Slide, false));
  EXPECT_EQ(host.yields, 22);
  EXPECT_TRUE(host.progress.empty());
}

}  // namespace
