// Where a save's files go: the folder, base-name, extension and "000" rules.
#include <gtest/gtest.h>

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
