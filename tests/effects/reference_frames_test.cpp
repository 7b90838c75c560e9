// Turn and Rotate compose with one-pass shortcuts; these tests hold them to
// the plain sequence of drawing operations, step by step, on a picture whose
// corner colour also appears inside it.
#include <gtest/gtest.h>

#include <cmath>

#include "core/mask.h"
#include "core/point_list.h"
#include "core/raster.h"
#include "effect_fixture.h"
#include "effects/rotate.h"
#include "effects/turn.h"

namespace {

using core::EffectKind;
using effects::WorkState;

core::Picture testPicture() {
  core::Bitmap b(37, 23);
  for (int y = 0; y < 23; ++y)
    for (int x = 0; x < 37; ++x) b.row(y)[x] = core::rgb(x * 7, y * 11, (x + y) * 5);
  for (int i = 3; i < 20; i += 4) b.row(i)[i + 5] = b.row(0)[0];  // corner colour inside the object
  return core::Picture::fromBitmap(std::move(b));
}

void finishThroughMask(WorkState& ws, int w, int h) {
  core::BuildMask(ws.picSource, ws.picTurn, ws.picMask);
  ws.picX.clear();
  core::MaskThenSourceBlit(ws.picX, ws.picMask, ws.picTurn, w, h);
}

std::vector<core::Picture> referenceTurn(WorkState& ws, bool mask, core::Color banner) {
  const int w = ws.picSource.width();
  const int h = ws.picSource.height();
  std::vector<core::Picture> frames(12);
  core::BuildPointList(ws.picSource, ws.mPoints, ws.mMovedPoints);
  ws.picTurn.setBackColor(mask ? banner : ws.picSource.point(0, 0));
  ws.picX.setBackColor(mask ? banner : core::kWhite);
  ws.picX.clear();
  for (int k : {0, 6, 2, 8, 1, 7, 3, 9, 4, 10, 5, 11}) {
    if (k == 0) {
      ws.picTurn.setPicture(ws.picSource.picture());
    } else if (k >= 6) {
      ws.picTurn.clear();
      core::PaintPicture(ws.picTurn, ws.picX.image(), w - 1, h - 1, -w, -h);
    } else {
      ws.picTurn.clear();
      effects::RotatePoints(ws.mPoints, ws.mMovedPoints, w * h, static_cast<float>(w / 2), static_cast<float>(h / 2),
                            effects::turnAngle(k));
      for (int i = 0; i < w * h; ++i) {
        const float x = ws.mMovedPoints[static_cast<std::size_t>(i)].x;
        const float y = ws.mMovedPoints[static_cast<std::size_t>(i)].y;
        if (x < 0 || x >= static_cast<float>(w) || y < 0 || y >= static_cast<float>(h)) continue;
        const auto c = static_cast<core::Color>(ws.mPoints[static_cast<std::size_t>(i)].color);
        ws.picTurn.setPixel(static_cast<int>(std::lrint(x)), static_cast<int>(std::lrint(y)), c);
        if (k != 3) ws.picTurn.setPixel(static_cast<int>(std::lrint(x)), static_cast<int>(std::lrint(y + 1.0f)), c);
      }
    }
    finishThroughMask(ws, w, h);
    frames[static_cast<std::size_t>(k)] = ws.picX.image();
  }
  return frames;
}

std::vector<core::Picture> referenceRotate(WorkState& ws, bool mask, int axis, core::Color banner) {
  const int w = ws.picSource.width();
  const int h = ws.picSource.height();
  const core::Color corner = ws.picSource.point(0, 0);
  std::vector<core::Picture> frames(12);
  core::BuildPointList(ws.picSource, ws.mPoints, ws.mMovedPoints);
  ws.picX.setBackColor(mask ? banner : corner);
  ws.picTurn.setBackColor(mask ? banner : corner);
  ws.picX.clear();
  for (int k : {0, 6, 2, 10, 1, 11, 3, 9, 4, 8, 5, 7}) {
    if (k == 0 || k == 6) {
      ws.picX.clear();
      if (axis == 1)
        core::Line(ws.picX, w / 2, 0, w / 2, h, corner);
      else
        core::Line(ws.picX, 0, h / 2, w, h / 2, corner);
      frames[static_cast<std::size_t>(k)] = ws.picX.image();
      continue;
    }
    if (k == 3) {
      ws.picTurn.clear();
      core::PaintPicture(ws.picTurn, ws.picSource.picture(), static_cast<float>(w * 0.05), static_cast<float>(h * 0.05),
                         static_cast<float>(w * 0.9), static_cast<float>(h * 0.9));
    } else if (k > 6) {
      if (axis == 1)
        core::PaintPicture(ws.picTurn, ws.picX.image(), w - 1, 0, -w, h);
      else
        core::PaintPicture(ws.picTurn, ws.picX.image(), 0, h - 1, w, -h);
    } else {
      ws.picTurn.clear();
      effects::ProjectPoints(ws.mPoints, ws.mMovedPoints, w * h, w, h, effects::rotateAngle(k), axis);
      for (int i = 0; i < w * h; ++i) {
        const float x = ws.mMovedPoints[static_cast<std::size_t>(i)].x;
        const float y = ws.mMovedPoints[static_cast<std::size_t>(i)].y;
        if (x < 0 || x >= static_cast<float>(w) || y < 0 || y >= static_cast<float>(h)) continue;
        ws.picTurn.setPixel(static_cast<int>(std::lrint(x)), static_cast<int>(std::lrint(y)),
                            static_cast<core::Color>(ws.mPoints[static_cast<std::size_t>(i)].color));
      }
    }
    if (mask)
      finishThroughMask(ws, w, h);
    else
      ws.picX.setPicture(ws.picTurn.image());
    frames[static_cast<std::size_t>(k)] = ws.picX.image();
  }
  return frames;
}

class ReferenceFrames : public ::testing::TestWithParam<bool>, public testutil::EffectFixture {};

TEST_P(ReferenceFrames, TurnMatchesTheDrawingSequence) {
  load(testPicture());
  host.options.mask[core::kMaskTurn] = GetParam();
  host.options.bannerColor = 0x3080F0;
  ASSERT_TRUE(compose(EffectKind::Turn, false));
  testutil::EffectFixture ref;
  ref.load(testPicture());
  const auto expected = referenceTurn(ref.ws, GetParam(), 0x3080F0);
  for (int k = 0; k < 12; ++k)
    EXPECT_TRUE(testutil::surfacesEqual(frame(k), expected[static_cast<std::size_t>(k)])) << k;
  EXPECT_TRUE(testutil::surfacesEqual(ws.picMask.image(), ref.ws.picMask.image()));
}

TEST_P(ReferenceFrames, RotateMatchesTheDrawingSequence) {
  for (int axis : {0, 1}) {
    load(testPicture());
    host.options.mask[core::kMaskRotate] = GetParam();
    host.options.axis = axis;
    host.options.bannerColor = 0x3080F0;
    ASSERT_TRUE(compose(EffectKind::Rotate, false));
    testutil::EffectFixture ref;
    ref.load(testPicture());
    const auto expected = referenceRotate(ref.ws, GetParam(), axis, 0x3080F0);
    for (int k = 0; k < 12; ++k)
      EXPECT_TRUE(testutil::surfacesEqual(frame(k), expected[static_cast<std::size_t>(k)])) << axis << " " << k;
  }
}

INSTANTIATE_TEST_SUITE_P(MaskOffAndOn, ReferenceFrames, ::testing::Bool());

}  // namespace
