#include "effects/compose_steps.h"

#include <gtest/gtest.h>

#include "compose_fixture.h"
#include "core/mask.h"
#include "core/raster.h"
#include "testutil.h"

namespace {

using effects::WorkState;

// picTurn as a frame leaves it: part source, part its background colour.
void drawTurn(WorkState& ws) {
  ws.picTurn.setBackColor(0x0000FF);
  ws.picTurn.clear();
  core::StretchBlt(ws.picTurn, 3, 2, 20, 9, ws.picSource, 0, 0, ws.picSource.width(), ws.picSource.height());
}

// The finishing step operation by operation, as the surfaces do it.
core::Picture byOperations(WorkState ws) {
  core::BuildMask(ws.picSource, ws.picTurn, ws.picMask);
  ws.picX.clear();
  core::MaskThenSourceBlit(ws.picX, ws.picMask, ws.picTurn, ws.picSource.width(), ws.picSource.height());
  return ws.picX.image();
}

TEST(ComposeSteps, OnePassMaskedLayEqualsTheOperations) {
  // A system colour as the banner colour exercises the stored-colour rule.
  for (core::Color banner : {core::Color{0x00FF0F}, core::kButtonFace, core::kWhite, core::kBlack}) {
    WorkState ws;
    testutil::loadSource(ws, testutil::withCornerBlock(testutil::gradient(31, 13), 5, 4, 0x3366CC));
    ws.picX.setBackColor(banner);
    drawTurn(ws);
    const core::Picture expected = byOperations(ws);
    effects::steps::layTurnOverX(ws, true);
    EXPECT_TRUE(testutil::surfacesEqual(ws.picX.image(), expected)) << std::hex << banner;
    EXPECT_TRUE(ws.picX.picture().isEmpty());
  }
}

TEST(ComposeSteps, MismatchedSizesFallBackToTheOperations) {
  WorkState ws;
  testutil::loadSource(ws, testutil::gradient(20, 10));
  ws.picX.resize(25, 12);  // e.g. a new source is being loaded
  ws.picX.setBackColor(0x00FF00);
  drawTurn(ws);
  const core::Picture expected = byOperations(ws);
  effects::steps::layTurnOverX(ws, true);
  EXPECT_TRUE(testutil::surfacesEqual(ws.picX.image(), expected));
  EXPECT_EQ(ws.picX.point(22, 11), 0x00FF00u);
}

TEST(ComposeSteps, SettleMaskLeavesTheMaskOfTheLastDrawing) {
  WorkState ws;
  testutil::loadSource(ws, testutil::withCornerBlock(testutil::gradient(12, 6), 3, 3, 0x3366CC));
  drawTurn(ws);
  WorkState reference = ws;
  core::BuildMask(reference.picSource, reference.picTurn, reference.picMask);
  effects::steps::layTurnOverX(ws, true);
  effects::steps::settleMask(ws, true);
  EXPECT_TRUE(testutil::surfacesEqual(ws.picMask.image(), reference.picMask.image()));
  EXPECT_EQ(ws.picMask.point(0, 0), core::kWhite);  // picTurn's blue background differs from the corner
  EXPECT_EQ(ws.picMask.point(3, 2), core::kBlack);  // the drawn corner block
}

TEST(ComposeSteps, LabelsAndStoring) {
  EXPECT_EQ(effects::steps::playbackLabel(core::EffectKind::Zoom, 3), "BaseName-z-03.bmp");
  EXPECT_EQ(effects::steps::playbackLabel(core::EffectKind::Hue, 11), "BaseName-h-11.bmp");
  EXPECT_EQ(effects::steps::playbackLabel(core::EffectKind::Diffuse, 123), "BaseName-d-123.bmp");
  WorkState ws;
  ws.emptyCache(3);
  const core::Picture p = testutil::gradient(2, 2);
  effects::steps::storeFrame(ws, 9, p);  // the cache was cut down under a running compose
  ASSERT_EQ(ws.mFrames.size(), 10u);
  EXPECT_EQ(ws.mFrames[9].handle(), p.handle());
}

}  // namespace
