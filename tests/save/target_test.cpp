// Where a save's files go: the folder, base-name, extension and "000" rules.
#include <gtest/gtest.h>

#include "save/animation_question.h"
#include "save/target.h"

namespace {

TEST(SaveTarget, TheChosenNameGivesFolderBaseNameAndExtension) {
  const auto t = save::targetOf("/out/banner.v2.JPG", "-s-");
  ASSERT_TRUE(t);
  EXPECT_EQ(t->folder, "/out");
  EXPECT_EQ(t->baseName, "banner");  // cut before the first "."
  EXPECT_EQ(t->ext, ".jpg");         // the last ".", lower-cased
  EXPECT_EQ(t->base(), "/out/banner-s-");
  EXPECT_EQ(t->frameName(7, ".bmp"), "/out/banner-s-007.bmp");
  EXPECT_EQ(t->frameName(1234, ".gif"), "/out/banner-s-1234.gif");
  EXPECT_EQ(t->animationName(), "/out/banner-s-.jpg");

  const auto bare = save::targetOf("/tmp/out/banner");
  ASSERT_TRUE(bare);
  EXPECT_EQ(bare->ext, "");
  EXPECT_EQ(bare->base(), "/tmp/out/banner");
  EXPECT_EQ(save::GetFileExt("/a.b/banner"), ".b/banner");  // a dot in a folder counts like any other
}

TEST(SaveTarget, NoNameOrNoFolderIsNoTarget) {
  EXPECT_FALSE(save::targetOf(""));
  EXPECT_FALSE(save::targetOf("a/banner.bmp"));  // a separator at the second position is no folder
  EXPECT_FALSE(save::targetOf("/banner.bmp"));
  EXPECT_FALSE(save::targetOf("banner.bmp"));
  EXPECT_EQ(save::FolderOf("ab/banner.bmp"), "ab");
}

TEST(GetFileExt, LowerCasesFromTheLastDot) {
  EXPECT_EQ(save::GetFileExt("C:\\out\\BANNER.JPG"), ".jpg");
  EXPECT_EQ(save::GetFileExt("banner"), "");
  EXPECT_EQ(save::GetFileExt("banner.v2.Gif"), ".gif");
  EXPECT_EQ(save::GetFileExt("/tmp/my.folder/banner"), ".folder/banner");
  EXPECT_EQ(save::GetFileExt("banner."), ".");
  EXPECT_EQ(save::GetFileExt(""), "");
}

}  // namespace

// The one question of a save: which extensions ask it, and what a WebP
// answer may carry.
namespace {

save::AnimationQuestion answering(std::optional<save::AnimationAnswer> given, std::vector<save::AnimationAsk>& asks) {
  return [given, &asks](const save::AnimationAsk& ask) {
    asks.push_back(ask);
    return given;
  };
}

TEST(AskSave, OnlyGifAndWebpAskAndAWebpIsOneAnimationWithoutPresetOrBudget) {
  save::AnimationAnswer given;
  given.animated = false;
  given.animation.intervalCs = 30;
  given.animation.play.plays = 2;
  given.animation.play.preset = output::AdPreset::Google;
  given.animation.play.budgetBytes = 9000;
  given.animation.measured = output::AnimationFile{};
  std::vector<save::AnimationAsk> asks;
  const output::AnimationShape shape{3, false, 0, 20, 10};
  for (const char* ext : {".bmp", ".jpg", ".png", ""}) {
    const auto answer = save::askSave(answering(given, asks), ext, shape, nullptr);
    ASSERT_TRUE(answer) << ext;
    EXPECT_FALSE(answer->animated) << ext;
  }
  EXPECT_TRUE(asks.empty());

  auto gif = save::askSave(answering(given, asks), ".gif", shape, nullptr);
  ASSERT_TRUE(gif);
  EXPECT_FALSE(gif->animated);
  EXPECT_FALSE(gif->animation.measured);  // a measurement belongs to an animated GIF
  EXPECT_EQ(gif->animation.play.budgetBytes, 9000u);

  const auto webp = save::askSave(answering(given, asks), ".webp", shape, nullptr);
  ASSERT_TRUE(webp);
  EXPECT_TRUE(webp->animated);
  EXPECT_EQ(webp->animation.intervalCs, 30);
  EXPECT_EQ(webp->animation.play.plays, 2);
  EXPECT_EQ(webp->animation.play.preset, output::AdPreset::None);
  EXPECT_EQ(webp->animation.play.budgetBytes, 0u);
  EXPECT_FALSE(webp->animation.measured);
  ASSERT_EQ(asks.size(), 2u);
  EXPECT_EQ(asks[0].format, save::AnimationFormat::Gif);
  EXPECT_EQ(asks[1].format, save::AnimationFormat::Webp);
  EXPECT_EQ(asks[1].shape.last, 3);

  // A closed question, or none at all, writes nothing.
  EXPECT_FALSE(save::askSave(answering(std::nullopt, asks), ".webp", shape, nullptr));
  EXPECT_FALSE(save::askSave({}, ".gif", shape, nullptr));
}

}  // namespace
