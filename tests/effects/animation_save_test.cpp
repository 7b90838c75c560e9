// The animated GIF of a save with a play count: every effect's rest frame
// shows the picture in place, the file starts and stops on it, the hold lands
// on it only, and with the default choices the file is the plain animation.
#include <gtest/gtest.h>

#include <filesystem>

#include "compose_fixture.h"
#include "effect_fixture.h"
#include "effects/driver.h"
#include "gif_reader.h"

namespace {

namespace fs = std::filesystem;
using core::EffectKind;

constexpr core::Color kCorner = core::kWhite;
constexpr core::Color kBanner = 0x0080FFu;

// Three coloured blocks on a white ground: few colours, so that the GIF keeps
// every frame exact, and a corner colour that the mask makes transparent.
core::Picture blocks() {
  core::Bitmap b(40, 20, kCorner);
  const auto fill = [&](int x0, int y0, int x1, int y1, core::Color c) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) b.row(y)[x] = c;
  };
  fill(4, 3, 15, 12, core::rgb(220, 30, 30));
  fill(20, 6, 33, 16, core::rgb(30, 40, 200));
  fill(8, 15, 30, 17, core::rgb(20, 160, 60));
  return core::Picture::fromBitmap(std::move(b));
}

struct Case {
  EffectKind kind;
  int hueType = 0;
};
const Case kCases[] = {{EffectKind::Slide},   {EffectKind::Turn},    {EffectKind::Rotate}, {EffectKind::Zoom},
                       {EffectKind::Diffuse}, {EffectKind::Elastic}, {EffectKind::Hue},    {EffectKind::Hue, 1}};

class AnimationSave : public ::testing::Test, public testutil::EffectFixture {
 protected:
  void SetUp() override { load(blocks()); }

  void choose(const Case& c, bool mask) {
    host.options = effects::Options{};
    host.options.effect = static_cast<int>(c.kind);
    host.options.hueType = c.hueType;
    host.options.hueX = 200;
    host.options.bannerColor = kBanner;
    host.options.mask[static_cast<std::size_t>(core::info(c.kind).maskBox)] = mask;
  }

  // The picture in place over the run's background, through the mask the
  // effect uses; Rotate's face-on card is the picture at 0.9 of its size.
  core::Picture pictureInPlace(EffectKind kind, bool mask) const {
    const core::Picture src = blocks();
    core::Picture laid = src;
    if (kind == EffectKind::Rotate) {
      core::Bitmap card(40, 20, mask ? kBanner : kCorner);
      testutil::modelStretch(card, 2, 1, 36, 18, src, 0, 0, 40, 20);
      laid = core::Picture::fromBitmap(std::move(card));
    }
    return mask ? testutil::modelMasked(laid, kCorner, kBanner) : laid;
  }

  // Saves the selected effect as one animated GIF and reads it back.
  outtest::DecodedGif saveAnimated(const std::string& name) {
    host.gifAnimated = true;
    driver.saveCommand((dir / (name + ".gif")).string());
    EXPECT_TRUE(host.saveErrors.empty());
    const std::string tag(core::info(static_cast<EffectKind>(host.options.effect)).tag);
    auto gif = outtest::readGifWithGiflib((dir / (name + tag + ".gif")).string());
    EXPECT_TRUE(gif);
    return gif ? *gif : outtest::DecodedGif{};
  }

  // The composed frame written as file number `file`.
  const core::Picture& fileFrame(EffectKind kind, int file) const {
    const auto order = effects::makeGenerator(kind)->fileOrder();
    return frame(order[static_cast<std::size_t>(file)]);
  }

  // What a viewer shows, as (picture, delay) with equal neighbours joined:
  // the encoder may store repeated frames once with their delays added.
  struct Shown {
    core::Bitmap picture;
    int delay;
  };
  static std::vector<Shown> joined(std::vector<Shown> in) {
    std::vector<Shown> out;
    for (Shown& s : in) {
      if (!out.empty() && out.back().picture.px == s.picture.px) {
        out.back().delay += s.delay;
      } else {
        out.push_back(std::move(s));
      }
    }
    return out;
  }
  static std::vector<Shown> shownIn(const outtest::DecodedGif& gif) {
    std::vector<Shown> all;
    for (std::size_t i = 0; i < gif.frames.size(); ++i) all.push_back({gif.frames[i], gif.info[i].delay});
    return joined(std::move(all));
  }
  std::vector<Shown> shownByPlan(EffectKind kind, const std::vector<int>& files, const std::vector<int>& delays) const {
    std::vector<Shown> all;
    for (std::size_t i = 0; i < files.size(); ++i) all.push_back({*fileFrame(kind, files[i]).bitmap(), delays[i]});
    return joined(std::move(all));
  }
  static void expectSame(const std::vector<Shown>& expected, const std::vector<Shown>& actual) {
    ASSERT_EQ(actual.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
      EXPECT_TRUE(outtest::sameBitmap(expected[i].picture, actual[i].picture)) << i;
      EXPECT_EQ(actual[i].delay, expected[i].delay) << i;
    }
  }

  fs::path dir = testutil::makeTempDir("animation-save");
  effects::Driver driver{ws, host, false};
};

TEST_F(AnimationSave, EveryEffectsRestFrameShowsThePictureInPlace) {
  const int expectedRest[] = {5, 0, 0, 9, 0, 0, 0, 0};
  for (std::size_t i = 0; i < std::size(kCases); ++i) {
    for (bool mask : {false, true}) {
      const Case& c = kCases[i];
      SCOPED_TRACE(::testing::Message() << "effect " << static_cast<int>(c.kind) << " mask " << mask);
      choose(c, mask);
      ASSERT_TRUE(compose(c.kind, false));
      const int rest = effects::makeGenerator(c.kind)->restFrame(host.options);
      EXPECT_EQ(rest, expectedRest[i]);
      EXPECT_TRUE(testutil::surfacesEqual(fileFrame(c.kind, rest), pictureInPlace(c.kind, mask)));
    }
  }
}

TEST_F(AnimationSave, AFinitePlayCountStartsAndStopsOnTheRestFrameAndOnlyItHolds) {
  host.gifInterval = 20;
  host.gifPlay.plays = 2;
  host.gifPlay.holdCs = 50;
  for (const Case& c : kCases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    choose(c, true);
    const outtest::DecodedGif gif = saveAnimated("play");
    auto g = effects::makeGenerator(c.kind);
    const output::AnimationShape& shape = host.askedShapes.back();
    EXPECT_EQ(shape.restFile, g->restFrame(host.options));
    EXPECT_EQ(shape.backAndForth, c.hueType == 1);
    EXPECT_EQ(shape.width, 40);
    const auto plan = output::planAnimation(shape, 20, host.gifPlay);
    const std::size_t plain = static_cast<std::size_t>(c.hueType == 1 ? 2 * shape.last : shape.last + 1);
    ASSERT_EQ(plan.files.size(), plain + 1);
    std::vector<int> delays(plan.files.size(), 20);
    delays.front() = 70;  // the hold lands on the opening rest frame only
    EXPECT_EQ(plan.timing.delays, delays);
    const core::Picture rest = fileFrame(c.kind, shape.restFile);
    ASSERT_FALSE(gif.frames.empty());
    EXPECT_TRUE(outtest::sameBitmap(*rest.bitmap(), gif.frames.front()));
    EXPECT_TRUE(outtest::sameBitmap(*rest.bitmap(), gif.frames.back()));
    // Every image is exactly a composed frame, in the plan's order, each on
    // screen for its time.
    expectSame(shownByPlan(c.kind, plan.files, delays), shownIn(gif));
    EXPECT_EQ(gif.loopCount, 1);
    EXPECT_TRUE(host.budgets.empty());  // no preset, no budget
  }
  // One play: no loop block at all.
  host.gifPlay.plays = 1;
  choose(kCases[0], false);
  EXPECT_EQ(saveAnimated("once").loopCount, -1);
}

TEST_F(AnimationSave, TheDefaultChoicesWriteThePlainAnimation) {
  host.gifInterval = 10;
  for (const Case& c : {kCases[0], kCases[3], kCases[7]}) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    choose(c, false);
    const outtest::DecodedGif gif = saveAnimated("plain");
    auto g = effects::makeGenerator(c.kind);
    const auto order = g->fileOrder();
    std::vector<int> files;
    for (int i = 0; i < static_cast<int>(order.size()); ++i) files.push_back(i);
    if (c.hueType == 1)
      for (int i = static_cast<int>(order.size()) - 2; i >= 1; --i) files.push_back(i);
    expectSame(shownByPlan(c.kind, files, std::vector<int>(files.size(), 10)), shownIn(gif));
    EXPECT_EQ(gif.loopCount, 0);
  }
}

TEST_F(AnimationSave, APresetWithABudgetReportsTheWrittenFilesSize) {
  host.gifInterval = 20;
  host.gifPlay.plays = 6;
  host.gifPlay.preset = output::AdPreset::Google;
  choose(kCases[0], true);
  saveAnimated("google");
  ASSERT_EQ(host.budgets.size(), 1u);
  const auto bytes = fs::file_size(dir / "google-s-.gif");
  EXPECT_TRUE(host.budgets[0].within);
  EXPECT_EQ(host.budgets[0].budget, 150000);
  EXPECT_EQ(host.budgets[0].text, "アニメーションGIFのサイズは " + output::groupedNumber(bytes) +
                                      " バイトです。\nGoogle 広告の上限 150,000 バイトに収まっています。");
  // Amazon names no budget: nothing to report.
  host.gifPlay.preset = output::AdPreset::Amazon;
  saveAnimated("amazon");
  EXPECT_EQ(host.budgets.size(), 1u);
}

}  // namespace
