#include "framelist/frame_list.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using framelist::FrameList;
using framelist::MoveButton;

core::Picture frame(int w, int h, core::Color c) { return core::Picture::fromBitmap(core::Bitmap(w, h, c)); }

// Four frames told apart by their handles (and their colours, for messages).
struct Abcd {
  core::Picture a = frame(40, 10, core::rgb(255, 0, 0));
  core::Picture b = frame(40, 20, core::rgb(0, 255, 0));
  core::Picture c = frame(40, 30, core::rgb(0, 0, 255));
  core::Picture d = frame(40, 40, core::rgb(9, 9, 9));
};

// The list as letters, e.g. "ABDC", by the identity of each frame.
std::string letters(const FrameList& list, const Abcd& f) {
  std::string out;
  for (const core::Picture& p : list.pictures()) {
    if (p.handle() == f.a.handle()) out += 'A';
    else if (p.handle() == f.b.handle()) out += 'B';
    else if (p.handle() == f.c.handle()) out += 'C';
    else if (p.handle() == f.d.handle()) out += 'D';
    else out += '?';
  }
  return out;
}

TEST(FrameList, StartsWithOneEmptyElement) {
  FrameList list;
  EXPECT_EQ(list.highestIndex(), 0);
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(list.frameCount(), 0);
  EXPECT_EQ(list.selected(), 0);
  EXPECT_FALSE(list.canMoveUp());
  EXPECT_FALSE(list.canMoveDown());
  EXPECT_TRUE(list.pictures().empty());
}

TEST(FrameList, FirstAddFillsElementZeroWithoutGrowing) {
  Abcd f;
  FrameList list;
  list.addStock(f.a);
  EXPECT_EQ(list.highestIndex(), 0);
  EXPECT_EQ(list.frameCount(), 1);
  EXPECT_EQ(list.selected(), 0);
  EXPECT_EQ(letters(list, f), "A");
  EXPECT_FALSE(list.canMoveUp());
  EXPECT_FALSE(list.canMoveDown());
}

TEST(FrameList, AddInsertsAfterTheSelectionAndSelectsTheNewFrame) {
  Abcd f;
  FrameList list;
  list.addStock(f.a);
  list.addStock(f.b);
  list.addStock(f.c);
  EXPECT_EQ(letters(list, f), "ABC");
  EXPECT_EQ(list.selected(), 2);

  EXPECT_EQ(list.select(1), 1);
  list.addStock(f.d);
  EXPECT_EQ(letters(list, f), "ABDC");
  EXPECT_EQ(list.selected(), 2);
  EXPECT_FALSE(list.entry(2).checked);
}

TEST(FrameList, AddAfterTheFirstFrameKeepsTheRestBehind) {
  Abcd f;
  FrameList list;
  list.addStock(f.a);
  list.addStock(f.b);
  list.select(0);
  list.addStock(f.c);
  EXPECT_EQ(letters(list, f), "ACB");
  EXPECT_EQ(list.selected(), 1);
}

TEST(FrameList, AddIgnoresAnEmptyPicture) {
  Abcd f;
  FrameList list;
  list.addStock(core::Picture{});
  EXPECT_TRUE(list.isEmpty());
  list.addStock(f.a);
  list.addStock(core::Picture{});
  EXPECT_EQ(letters(list, f), "A");
}

TEST(FrameList, SelectClampsToTheHighestIndex) {
  Abcd f;
  FrameList list;
  EXPECT_EQ(list.select(5), 0);
  list.addStock(f.a);
  list.addStock(f.b);
  EXPECT_EQ(list.select(7), 1);
  EXPECT_EQ(list.select(-3), 0);
}

TEST(FrameList, MoveButtonsOnlyWhereANeighbourExists) {
  Abcd f;
  FrameList list;
  list.addStock(f.a);
  list.addStock(f.b);
  list.addStock(f.c);

  list.select(0);
  EXPECT_FALSE(list.canMoveUp());
  EXPECT_TRUE(list.canMoveDown());
  EXPECT_FALSE(list.move(MoveButton::Up));
  EXPECT_EQ(letters(list, f), "ABC");

  list.select(2);
  EXPECT_TRUE(list.canMoveUp());
  EXPECT_FALSE(list.canMoveDown());
  EXPECT_FALSE(list.move(MoveButton::Down));
  EXPECT_EQ(letters(list, f), "ABC");
  EXPECT_EQ(list.selected(), 2);
}

TEST(FrameList, MoveSwapsPictureAndMarkAndTheSelectionFollows) {
  Abcd f;
  FrameList list;
  list.addStock(f.a);
  list.addStock(f.b);
  list.addStock(f.c);
  list.setChecked(0, true);

  list.select(0);
  ASSERT_TRUE(list.move(MoveButton::Down));
  EXPECT_EQ(letters(list, f), "BAC");
  EXPECT_EQ(list.selected(), 1);
  EXPECT_FALSE(list.entry(0).checked);
  EXPECT_TRUE(list.entry(1).checked);

  ASSERT_TRUE(list.move(MoveButton::Down));
  EXPECT_EQ(letters(list, f), "BCA");
  ASSERT_TRUE(list.move(MoveButton::Up));
  ASSERT_TRUE(list.move(MoveButton::Up));
  EXPECT_EQ(letters(list, f), "ABC");
  EXPECT_EQ(list.selected(), 0);
  EXPECT_TRUE(list.entry(0).checked);
}

TEST(FrameList, DeletingCheckedOneAndTwoOfFourLeavesTheOuterPair) {
  Abcd f;
  FrameList list;
  for (const core::Picture& p : {f.a, f.b, f.c, f.d}) list.addStock(p);
  list.setChecked(1, true);
  list.setChecked(2, true);
  list.deleteChecked();
  EXPECT_EQ(letters(list, f), "AD");
  EXPECT_FALSE(list.entry(0).checked);
  EXPECT_FALSE(list.entry(1).checked);
  // The selection index (3) is kept until the window clamps it.
  EXPECT_EQ(list.selected(), 3);
  EXPECT_EQ(list.select(list.selected()), 1);
}

TEST(FrameList, DeletingAdjacentCheckedFramesLooksAtTheSameIndexAgain) {
  Abcd f;
  FrameList list;
  for (const core::Picture& p : {f.a, f.b, f.c, f.d}) list.addStock(p);
  list.setChecked(0, true);
  list.setChecked(1, true);
  list.setChecked(3, true);
  list.deleteChecked();
  EXPECT_EQ(letters(list, f), "C");
}

TEST(FrameList, DeletingEveryCheckedFrameLeavesTheEmptyElementZero) {
  Abcd f;
  FrameList list;
  for (const core::Picture& p : {f.a, f.b, f.c}) list.addStock(p);
  for (int i = 0; i <= 2; ++i) list.setChecked(i, true);
  list.deleteChecked();
  EXPECT_TRUE(list.isEmpty());
  EXPECT_EQ(list.highestIndex(), 0);
  EXPECT_FALSE(list.entry(0).checked);
  EXPECT_EQ(list.select(list.selected()), 0);
  // The next frame goes into element 0 again.
  list.addStock(f.d);
  EXPECT_EQ(letters(list, f), "D");
}

TEST(FrameList, DeleteAllEmptiesTheListAndIgnoresMarksOnTheEmptyElement) {
  Abcd f;
  FrameList list;
  for (const core::Picture& p : {f.a, f.b}) list.addStock(p);
  list.setChecked(0, true);
  list.deleteAll();
  EXPECT_TRUE(list.isEmpty());
  EXPECT_FALSE(list.entry(0).checked);
  list.setChecked(0, true);
  EXPECT_FALSE(list.entry(0).checked);
}

TEST(StripLayout, FramesTouchAndCheckBoxesAreCentredTruncated) {
  FrameList list;
  list.addStock(frame(468, 60, core::kWhite));
  list.addStock(frame(100, 31, core::kWhite));
  list.addStock(frame(20, 3, core::kWhite));
  const framelist::StripLayout layout = framelist::arrangeStrip(list, 16);
  ASSERT_EQ(layout.places.size(), 3u);
  EXPECT_EQ(layout.places[0].y, 0);
  EXPECT_EQ(layout.places[0].checkY, 22);  // (60 - 16) / 2
  EXPECT_EQ(layout.places[1].y, 60);
  EXPECT_EQ(layout.places[1].checkY, 67);  // 60 + 15 / 2 -> 7
  EXPECT_EQ(layout.places[2].y, 91);
  EXPECT_EQ(layout.places[2].checkY, 85);  // 91 + (-13) / 2 -> -6, towards zero
  EXPECT_EQ(layout.height, 94);
  EXPECT_EQ(layout.width, 50 + 468);
}

TEST(StripLayout, EmptyListHasAZeroHeightStrip) {
  const framelist::StripLayout layout = framelist::arrangeStrip(FrameList{}, 16);
  ASSERT_EQ(layout.places.size(), 1u);
  EXPECT_EQ(layout.height, 0);
}

TEST(ScrollRange, DisabledWhenTheStripFitsElseRangeToTheOverhang) {
  EXPECT_FALSE(framelist::scrollRange(300, 299).enabled);
  EXPECT_FALSE(framelist::scrollRange(300, 300).enabled);
  const framelist::ScrollRange r = framelist::scrollRange(300, 301);
  EXPECT_TRUE(r.enabled);
  EXPECT_EQ(r.maximum, 1);
  // Long strips scroll to their end: no 16-bit limit.
  EXPECT_EQ(framelist::scrollRange(100, 200100).maximum, 200000);
}

}  // namespace

