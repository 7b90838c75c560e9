// Composing over a picture instead of the flat background colour.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "compose_fixture.h"
#include "core/effect_kind.h"
#include "effects/generators.h"
#include "testutil.h"

namespace {

using testutil::runCompose;

constexpr core::Color kBanner = 0x2040A0;
constexpr core::Color kCornerBlock = 0x00FF00;  // also inside the picture, so the mask has work

struct Variant {
  effects::EffectKind kind;
  bool mask;
  int option;  // cross, axis, diffuse type or hue type, as the effect reads it
  bool preview;
  std::string name() const {
    return std::string(core::info(kind).tag) + (mask ? " mask" : " no mask") + " option " + std::to_string(option) +
           (preview ? " preview" : " save");
  }
};

std::vector<Variant> everyVariant() {
  std::vector<Variant> all;
  for (int e = 0; e < core::kEffectCount; ++e)
    for (int mask = 0; mask < 2; ++mask)
      for (int option = 0; option < 3; ++option)
        for (int preview = 0; preview < 2; ++preview)
          all.push_back({static_cast<effects::EffectKind>(e), mask == 1, option, preview == 1});
  return all;
}

effects::Options optionsFor(const Variant& v) {
  effects::Options o;
  o.effect = static_cast<int>(v.kind);
  o.mask.fill(v.mask);
  o.cross = v.option == 1;
  o.axis = v.option % 2;
  o.diffuseType = v.option;
  o.hueType = v.option % 2;
  o.hueX = 200;
  o.bannerColor = kBanner;
  return o;
}

core::Picture sourcePicture(int w, int h) {
  return testutil::withCornerBlock(testutil::gradient(w, h), 6, 4, kCornerBlock);
}

// Every frame of one run, composed in a fresh work state (Sand draws from the
// random source, which each work state starts afresh).
std::vector<core::Picture> compose(const Variant& v, const core::Picture& source, const core::Picture& over) {
  effects::WorkState ws;
  testutil::loadSource(ws, source);
  ws.picOver = over;
  testutil::FakeHost host;
  host.options = optionsFor(v);
  auto gen = effects::makeGenerator(v.kind);
  EXPECT_TRUE(runCompose(*gen, ws, host, v.preview));
  return ws.mFrames;
}

// The colour a run shows as its background today.
core::Color runBackground(const Variant& v, const core::Picture& source) {
  return v.mask ? kBanner : source.pixel(0, 0);
}

TEST(OverPicture, APictureOfTheRunsBackgroundColourChangesNoFrameOfAnyEffect) {
  for (const auto& size : {std::pair{37, 23}, std::pair{64, 16}}) {
    const core::Picture source = sourcePicture(size.first, size.second);
    for (const Variant& v : everyVariant()) {
      const std::vector<core::Picture> today = compose(v, source, {});
      const core::Picture flat = testutil::solid(size.first, size.second, runBackground(v, source));
      const std::vector<core::Picture> over = compose(v, source, flat);
      ASSERT_EQ(today.size(), over.size()) << v.name();
      for (std::size_t k = 0; k < today.size(); ++k)
        EXPECT_TRUE(testutil::surfacesEqual(today[k], over[k])) << v.name() << " frame " << k;
    }
  }
}

TEST(OverPicture, APictureOfAnotherSizeIsIgnored) {
  const core::Picture source = sourcePicture(40, 20);
  for (const Variant& v : everyVariant()) {
    if (v.option != 0) continue;
    const std::vector<core::Picture> today = compose(v, source, {});
    const std::vector<core::Picture> other = compose(v, source, testutil::gradient(41, 20));
    for (std::size_t k = 0; k < today.size(); ++k)
      EXPECT_TRUE(testutil::surfacesEqual(today[k], other[k])) << v.name() << " frame " << k;
  }
}

// The frames where the picture is not yet visible show the picture behind,
// pixel for pixel; the rest frames show the source, and where a card leaves
// room, the picture behind shows in its place.
TEST(OverPicture, TheBackgroundAreaShowsThePictureBehind) {
  const int w = 50;
  const int h = 20;
  const core::Picture source = testutil::gradient(w, h);
  core::Bitmap behindBits(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) behindBits.row(y)[x] = core::rgb(200 - x, 100 + y, 7);
  const core::Picture behind = core::Picture::fromBitmap(std::move(behindBits));
  const auto frames = [&](effects::EffectKind kind, int option = 0) {
    return compose({kind, false, option, false}, source, behind);
  };

  EXPECT_TRUE(testutil::surfacesEqual(frames(effects::EffectKind::Slide)[0], behind));
  EXPECT_TRUE(testutil::surfacesEqual(frames(effects::EffectKind::Slide)[5], source));
  EXPECT_TRUE(testutil::surfacesEqual(frames(effects::EffectKind::Zoom)[5], behind));
  EXPECT_TRUE(testutil::surfacesEqual(frames(effects::EffectKind::Elastic)[5], behind));
  EXPECT_TRUE(testutil::surfacesEqual(frames(effects::EffectKind::Diffuse)[5], behind));
  // Zoom's smallest frame: the corner lies outside the fifth-size picture.
  EXPECT_EQ(frames(effects::EffectKind::Zoom)[4].pixel(0, 0), behind.pixel(0, 0));
  // Turn at 90 degrees and its half-turn partner: the wide banner's ends are
  // uncovered on both, and show the picture behind where it is.
  const auto turn = frames(effects::EffectKind::Turn);
  for (int k : {3, 9}) {
    EXPECT_EQ(turn[k].pixel(0, 0), behind.pixel(0, 0)) << k;
    EXPECT_EQ(turn[k].pixel(w - 1, h - 1), behind.pixel(w - 1, h - 1)) << k;
  }
  // Rotate edge-on (frame 0) shows the picture behind with the line; the
  // face-on frame 3 the source at 0.9 over it.
  const auto rotate = frames(effects::EffectKind::Rotate, 1);
  EXPECT_EQ(rotate[0].pixel(0, 0), behind.pixel(0, 0));
  EXPECT_EQ(rotate[3].pixel(0, 0), behind.pixel(0, 0));
  EXPECT_EQ(rotate[3].pixel(w - 1, h - 1), behind.pixel(w - 1, h - 1));
  // Its mirrored partner of frame 1 (frame 11) keeps the picture behind unmirrored.
  EXPECT_EQ(rotate[11].pixel(0, 0), behind.pixel(0, 0));
  EXPECT_EQ(rotate[11].pixel(w - 1, 0), behind.pixel(w - 1, 0));
  // Hue without the mask has no background area: the frames are today's.
  const auto hueToday = compose({effects::EffectKind::Hue, false, 0, false}, source, {});
  const auto hueOver = frames(effects::EffectKind::Hue);
  for (std::size_t k = 0; k < hueToday.size(); ++k) EXPECT_TRUE(testutil::surfacesEqual(hueToday[k], hueOver[k]));
  // With the mask, a corner-coloured pixel becomes (the pixel behind AND corner).
  const auto hueMasked = compose({effects::EffectKind::Hue, true, 0, false}, source, behind);
  EXPECT_EQ(hueMasked[0].pixel(0, 0), behind.pixel(0, 0) & source.pixel(0, 0));
}

}  // namespace
