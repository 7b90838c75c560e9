#include <gtest/gtest.h>

#include "effect_fixture.h"
#include "effects/driver.h"

namespace {

using core::EffectKind;
using effects::Driver;
using effects::PreviewState;
using testutil::gradientPicture;

class DriverPreview : public ::testing::Test, public testutil::EffectFixture {
 protected:
  void SetUp() override { load(gradientPicture(20, 10)); }
  Driver driver{ws, host, false};

  // The cache entry picX shows now.
  int shownEntry() const {
    for (std::size_t k = 0; k < ws.mFrames.size(); ++k)
      if (!ws.mFrames[k].isEmpty() && ws.picX.picture().handle() == ws.mFrames[k].handle()) return static_cast<int>(k);
    return -1;
  }
};

TEST_F(DriverPreview, SlidePlaysEveryFrameInOrderWithItsLabels) {
  driver.previewCommand();
  EXPECT_EQ(driver.state(), PreviewState::Playing);
  EXPECT_TRUE(host.previewRunning);
  EXPECT_FALSE(host.controlsEnabled);
  EXPECT_TRUE(host.allEnabled);  // the preview button stays usable to stop
  EXPECT_TRUE(host.messagePanelVisible);
  EXPECT_EQ(host.timerInterval, 100);
  for (int i = 0; i < 23; ++i) {
    EXPECT_EQ(shownEntry(), i % 22);
    driver.timerFired();
  }
  ASSERT_EQ(host.messages.size(), 24u);
  EXPECT_EQ(host.messages[0], "BaseName-x-06.bmp");
  EXPECT_EQ(host.messages[5], "BaseName-x-00.bmp");
  EXPECT_EQ(host.messages[10], "BaseName-x-05.bmp");
  EXPECT_EQ(host.messages[11], "BaseName-y-06.bmp");
  EXPECT_EQ(host.messages[21], "BaseName-y-05.bmp");
  EXPECT_EQ(host.messages[22], "BaseName-x-06.bmp");  // the counter runs on into the next round
}

TEST_F(DriverPreview, StepShowsExactlyOneFrameAndResumeContinuesAtOnce) {
  driver.previewCommand();
  driver.timerFired();
  ASSERT_EQ(shownEntry(), 1);
  driver.pauseCommand(0);  // pause on frame 1
  EXPECT_EQ(driver.state(), PreviewState::Paused);
  EXPECT_TRUE(host.copyButtonEnabled);
  EXPECT_TRUE(host.copyMenuEnabled);
  driver.timerFired();
  driver.timerFired();
  EXPECT_EQ(shownEntry(), 1);
  driver.pauseCommand(0);  // one step
  EXPECT_EQ(shownEntry(), 2);
  EXPECT_EQ(driver.playState(), "pause");
  driver.timerFired();
  EXPECT_EQ(shownEntry(), 2);
  EXPECT_EQ(host.messages.back(), "BaseName-x-08.bmp");
  driver.pauseCommand(1);  // the timer already elapsed: the next frame comes at once
  EXPECT_EQ(shownEntry(), 3);
  EXPECT_EQ(driver.state(), PreviewState::Playing);
  EXPECT_FALSE(host.copyButtonEnabled);
  EXPECT_FALSE(host.copyMenuEnabled);
  driver.timerFired();
  EXPECT_EQ(shownEntry(), 4);
}

TEST_F(DriverPreview, StepRequestedBeforeTheTimerElapsesWaitsForIt) {
  driver.previewCommand();
  driver.pauseCommand(0);
  driver.pauseCommand(0);  // frame 0's interval has not elapsed yet
  EXPECT_EQ(driver.state(), PreviewState::Stepping);
  EXPECT_EQ(shownEntry(), 0);
  driver.timerFired();
  EXPECT_EQ(shownEntry(), 1);
  driver.timerFired();
  EXPECT_EQ(shownEntry(), 1);
  EXPECT_EQ(driver.state(), PreviewState::Paused);
}

TEST_F(DriverPreview, EscapeStopsAPausedPreviewAndShowsTheSource) {
  driver.escapeKey();  // nothing runs: nothing happens
  EXPECT_EQ(host.messages.size(), 0u);
  driver.previewCommand();
  driver.timerFired();
  driver.pauseCommand(0);
  driver.escapeKey();
  EXPECT_EQ(driver.state(), PreviewState::Idle);
  EXPECT_EQ(driver.playState(), "");
  EXPECT_FALSE(host.previewRunning);
  EXPECT_FALSE(host.timerRunning);
  EXPECT_FALSE(host.messagePanelVisible);
  EXPECT_FALSE(host.progressVisible);
  EXPECT_FALSE(host.copyButtonEnabled);
  EXPECT_FALSE(host.copyMenuEnabled);
  EXPECT_TRUE(host.controlsEnabled);
  EXPECT_EQ(ws.picX.picture().handle(), ws.picSource.picture().handle());
  const std::size_t shown = host.messages.size();
  driver.timerFired();  // a late tick changes nothing
  EXPECT_EQ(host.messages.size(), shown);
}

TEST_F(DriverPreview, StopWhileSlideComposesEndsBeforePlaybackAndNeverRestarts) {
  host.onYield = [this](int) {
    driver.previewCommand();             // the stop request
    driver.previewCommand();             // an impatient second click while composing goes on
    EXPECT_FALSE(host.controlsEnabled);  // locked until composing has ended
  };
  driver.previewCommand();
  EXPECT_EQ(host.yields, 1);
  EXPECT_EQ(driver.state(), PreviewState::Idle);
  EXPECT_TRUE(host.messages.empty());
  EXPECT_TRUE(host.controlsEnabled);
  EXPECT_TRUE(ws.framesComplete);  // Slide composes all 22 frames regardless
  EXPECT_EQ(ws.picX.picture().handle(), ws.picSource.picture().handle());
}

TEST_F(DriverPreview, StoppedTurnLeavesTheCacheIncomplete) {
  host.options.effect = static_cast<int>(EffectKind::Turn);
  host.onYield = [this](int n) {
    if (n == 200 + 5) driver.previewCommand();  // inside frame 1, the second turned frame
  };
  driver.previewCommand();
  EXPECT_EQ(driver.state(), PreviewState::Idle);
  EXPECT_FALSE(ws.framesComplete);
  EXPECT_FALSE(ws.mFrames[1].isEmpty());  // partly drawn
  EXPECT_TRUE(ws.mFrames[3].isEmpty());
  EXPECT_TRUE(host.controlsEnabled);
  EXPECT_FALSE(host.progressVisible);
}

TEST_F(DriverPreview, DebugShowsTheRenderTimeAcrossMidnight) {
  Driver debugDriver(ws, host, true);
  host.options.effect = static_cast<int>(EffectKind::Turn);
  host.clock = {23, 59, 59, 900};
  host.onYield = [this](int) { host.clock = {0, 0, 1, 250}; };
  debugDriver.previewCommand();
  EXPECT_EQ(host.renderTimes, (std::vector<std::string>{"1.350(s)"}));
  debugDriver.previewCommand();
  host.options.effect = static_cast<int>(EffectKind::Slide);
  debugDriver.previewCommand();  // Slide does not time its rendering
  debugDriver.previewCommand();
  EXPECT_EQ(host.renderTimes.size(), 1u);
  host.options.effect = static_cast<int>(EffectKind::Turn);
  driver.previewCommand();  // without "/debug"
  EXPECT_EQ(host.renderTimes.size(), 1u);
}

TEST(SecondsBetween, CountsTheDayARunCrossed) {
  EXPECT_NEAR(effects::SecondsBetween({10, 0, 0, 0}, {10, 0, 2, 345}), 2.345, 1e-9);
  EXPECT_NEAR(effects::SecondsBetween({23, 59, 59, 0}, {0, 0, 0, 500}), 1.5, 1e-9);
}

TEST(SaveNames, FolderAndBaseNameOfTheChosenPath) {
  EXPECT_EQ(save::FolderOf("/out/banner.v2.jpg"), "/out");
  EXPECT_EQ(save::BaseNameOf("/out/banner.v2.jpg", "/out"), "banner");
  EXPECT_EQ(save::FolderOf("/tmp/out/banner"), "/tmp/out");
  EXPECT_EQ(save::BaseNameOf("/tmp/out/banner", "/tmp/out"), "banner");
  EXPECT_EQ(save::FolderOf("ab/banner.bmp"), "ab");
  EXPECT_EQ(save::FolderOf("a/banner.bmp"), "");  // a separator at the second position is no folder
  EXPECT_EQ(save::FolderOf("/banner.bmp"), "");
  EXPECT_EQ(save::FolderOf("banner.bmp"), "");
}

TEST(RandomSource, SameSequenceInEveryProgramRunContinuedAcrossRuns) {
  effects::WorkState ws;
  EXPECT_EQ(ws.rng.next(), 11837123 / 16777216.0);
  EXPECT_EQ(ws.rng.next(), 8949370 / 16777216.0);
  EXPECT_EQ(ws.rng.next(), 9722709 / 16777216.0);
  for (int i = 0; i < 100000; ++i) {
    const double r = ws.rng.next();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
  }
}

}  // namespace
