#include "frame_files/writer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "frame_files/file_io.h"
#include "output_test_support.h"

namespace {

using outtest::RecordingLibrary;
using outtest::TempDir;

TEST(FormatNumber, AtLeastThreeDigits) {
  EXPECT_EQ(output::formatNumber(0), "000");
  EXPECT_EQ(output::formatNumber(21), "021");
  EXPECT_EQ(output::formatNumber(1000), "1000");
  EXPECT_EQ(output::formatNumber(-5), "-005");
}

// Creates base + 000..last + ".bmp" (empty files: the recording library only
// checks that they exist).
void touchFrames(const std::string& base, int last, int skip = -1) {
  for (int i = 0; i <= last; ++i) {
    if (i != skip) std::ofstream(base + output::formatNumber(i) + ".bmp") << "x";
  }
}

std::vector<std::string> frameNames(const std::string& base, std::initializer_list<int> numbers) {
  std::vector<std::string> out;
  for (int n : numbers) out.push_back(base + output::formatNumber(n) + ".bmp");
  return out;
}

TEST(MakeGifAnimation, BackAndForthLoadsTheWayBackIntoSlots12To21) {
  TempDir dir("ani-bf");
  const std::string base = dir.file("b-h-");
  touchFrames(base, 11);
  RecordingLibrary lib;
  EXPECT_TRUE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", 11, 10, true, lib));
  EXPECT_EQ(lib.aniCalls, 1);
  EXPECT_EQ(lib.aniHighest, 21);
  EXPECT_EQ(lib.aniInterval, 10);
  EXPECT_EQ(lib.aniFrames,
            frameNames(base, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1}));
  // Every one of the 22 images released exactly once.
  EXPECT_EQ(lib.released.size(), 22u);
  EXPECT_TRUE(lib.live.empty());
  EXPECT_TRUE(lib.doubleReleases.empty());
}

TEST(MakeGifAnimation, ForwardOnlyPassesFrames0To21) {
  TempDir dir("ani-fwd");
  const std::string base = dir.file("b-s-");
  touchFrames(base, 21);
  RecordingLibrary lib;
  EXPECT_TRUE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", 21, 7, false, lib));
  EXPECT_EQ(lib.aniHighest, 21);
  ASSERT_EQ(lib.aniFrames.size(), 22u);
  EXPECT_EQ(lib.aniFrames.front(), base + "000.bmp");
  EXPECT_EQ(lib.aniFrames.back(), base + "021.bmp");
  EXPECT_TRUE(lib.live.empty());
}

TEST(MakeGifAnimation, MissingFrame3ReleasesHandles0To2AndWritesNothing) {
  TempDir dir("ani-missing");
  const std::string base = dir.file("b-t-");
  touchFrames(base, 11, 3);
  RecordingLibrary lib;
  EXPECT_FALSE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", 11, 10, false, lib));
  EXPECT_EQ(lib.aniCalls, 0);
  EXPECT_EQ(lib.loads, frameNames(base, {0, 1, 2, 3}));
  EXPECT_EQ(lib.released.size(), 3u);
  EXPECT_TRUE(lib.live.empty());
  EXPECT_TRUE(lib.doubleReleases.empty());
}

TEST(MakeGifAnimation, FailedLoadOnTheWayBackReleasesEverySlotLoaded) {
  TempDir dir("ani-missing-back");
  const std::string base = dir.file("b-h-");
  touchFrames(base, 3);
  RecordingLibrary lib;
  // Slots 0..3 hold frames 0..3; slot 4 (frame 2 again) fails, slot 5 is never tried.
  lib.failAtLoad = 4;
  EXPECT_FALSE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", 3, 10, true, lib));
  EXPECT_EQ(lib.loads, frameNames(base, {0, 1, 2, 3, 2}));
  EXPECT_EQ(lib.aniCalls, 0);
  EXPECT_EQ(lib.released.size(), 4u);
  EXPECT_TRUE(lib.live.empty());
  EXPECT_TRUE(lib.doubleReleases.empty());
}

TEST(MakeGifAnimation, EncoderFailureIsFalseAndStillReleasesEveryImage) {
  TempDir dir("ani-fail");
  const std::string base = dir.file("b-z-");
  touchFrames(base, 9);
  RecordingLibrary lib;
  lib.failEncoders = true;
  EXPECT_FALSE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", 9, 10, false, lib));
  EXPECT_EQ(lib.aniCalls, 1);
  EXPECT_EQ(lib.released.size(), 10u);
  EXPECT_TRUE(lib.live.empty());
}

TEST(MakeGifAnimation, NoFramesMeansNoFile) {
  RecordingLibrary lib;
  EXPECT_FALSE(output::MakeGifAnimation("x.gif", "x", "000", ".bmp", -1, 10, false, lib));
  EXPECT_FALSE(output::MakeGifAnimation("x.gif", "x", "000", ".bmp", 0, 10, true, lib));
  EXPECT_EQ(lib.aniCalls, 0);
  EXPECT_TRUE(lib.loads.empty());
}

// A play count: each slot loads its own file, one file may come twice, the
// timing goes to the library as planned; loads and releases as above.
TEST(MakeGifAnimation, APlanLoadsEachSlotsFileAndPassesItsTiming) {
  TempDir dir("ani-plan");
  const std::string base = dir.file("b-s-");
  touchFrames(base, 3);
  output::PlaySettings play;
  play.plays = 2;
  play.holdCs = 30;
  const auto plan = output::planAnimation(output::AnimationShape{3, false, 2, 8, 8}, 20, play);
  RecordingLibrary lib;
  EXPECT_TRUE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", plan, lib));
  EXPECT_EQ(lib.aniFrames, frameNames(base, {2, 3, 0, 1, 2}));
  EXPECT_EQ(lib.aniDelays, (std::vector<int>{50, 20, 20, 20, 20}));
  EXPECT_EQ(lib.aniPlays, 2);
  EXPECT_EQ(lib.released.size(), 5u);
  EXPECT_TRUE(lib.doubleReleases.empty());

  RecordingLibrary failing;
  failing.failAtLoad = 3;
  EXPECT_FALSE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", plan, failing));
  EXPECT_EQ(failing.loads, frameNames(base, {2, 3, 0, 1}));
  EXPECT_EQ(failing.released.size(), 3u);
  EXPECT_TRUE(failing.live.empty());
  EXPECT_EQ(failing.aniCalls, 0);

  // A library that knows one interval takes the plain timing and refuses
  // any other.
  RecordingLibrary plain;
  plain.onlyOneInterval = true;
  EXPECT_FALSE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", plan, plain));
  EXPECT_TRUE(plain.live.empty());
  const auto uniform = output::planAnimation(output::AnimationShape{3, false, 2, 8, 8}, 20, output::PlaySettings{});
  EXPECT_TRUE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", uniform, plain));
  EXPECT_EQ(plain.aniInterval, 20);
  // The frame files are left alone either way: the save step deletes them.
  EXPECT_EQ(dir.names().size(), 4u);
}

core::Picture solidPicture(int w, int h, core::Color c) { return core::Picture::fromBitmap(core::Bitmap(w, h, c)); }

TEST(WriteFrame, JpegSaveOf12FramesLeaves12JpgAndNoBmp) {
  TempDir dir("jpg12");
  const std::string base = dir.file("banner-r-");
  for (int i = 0; i < 12; ++i) {
    ASSERT_TRUE(output::writeFrame(solidPicture(33, 7, core::rgb(i * 20, 40, 200)), base, i, ".jpg", false));
  }
  std::vector<std::string> expected;
  for (int i = 0; i < 12; ++i) expected.push_back("banner-r-" + output::formatNumber(i) + ".jpg");
  EXPECT_EQ(dir.names(), expected);
  EXPECT_EQ(output::liveImageCount(), 0u);
}

TEST(WriteFrame, FailingEncoderLeavesThe12BmpFiles) {
  TempDir dir("jpg12fail");
  const std::string base = dir.file("banner-r-");
  RecordingLibrary lib;
  lib.failEncoders = true;
  for (int i = 0; i < 12; ++i) {
    ASSERT_TRUE(output::writeFrame(solidPicture(5, 5, core::kWhite), base, i, ".jpg", false, lib));
  }
  std::vector<std::string> expected;
  for (int i = 0; i < 12; ++i) expected.push_back("banner-r-" + output::formatNumber(i) + ".bmp");
  EXPECT_EQ(dir.names(), expected);
  EXPECT_EQ(lib.encodeCalls.size(), 12u);
  EXPECT_EQ(lib.encodeCalls[11], base + "011.jpg");
  EXPECT_TRUE(lib.live.empty());
}

TEST(WriteFrame, ExtensionDecidesTheConversion) {
  TempDir dir("ext");
  RecordingLibrary lib;
  const core::Picture p = solidPicture(4, 3, core::kBlack);
  ASSERT_TRUE(output::writeFrame(p, dir.file("a-"), 0, ".bmp", false, lib));
  ASSERT_TRUE(output::writeFrame(p, dir.file("b-"), 0, ".png", false, lib));
  ASSERT_TRUE(output::writeFrame(p, dir.file("c-"), 0, ".gif", true, lib));   // animation run: BMP stays
  ASSERT_TRUE(output::writeFrame(p, dir.file("d-"), 0, ".gif", false, lib));  // converted, BMP deleted
  EXPECT_EQ(dir.names(), (std::vector<std::string>{"a-000.bmp", "b-000.bmp", "c-000.bmp"}));
  EXPECT_EQ(lib.encodeCalls, std::vector<std::string>{dir.file("d-000.gif")});
}

TEST(WriteFrame, UnwritableBmpIsReportedWithFileAndReason) {
  TempDir dir("nowrite");
  const std::string base = dir.file("missing-folder/x-");
  const output::WriteStatus st = output::writeFrame(solidPicture(2, 2, 0), base, 4, ".bmp", false);
  EXPECT_FALSE(st.ok);
  EXPECT_EQ(st.file, base + "004.bmp");
  EXPECT_EQ(st.reason, "No such file or directory");
}

TEST(WriteFrame, ConversionTheSystemRefusesIsReportedAndKeepsTheBmp) {
  // A folder where the JPEG should go: the encoder works, the rename cannot.
  TempDir dir("refused");
  const std::string base = dir.file("banner-s-");
  std::filesystem::create_directory(base + "000.jpg");
  const output::WriteStatus st = output::writeFrame(solidPicture(3, 3, 0), base, 0, ".jpg", false);
  EXPECT_FALSE(st.ok);
  EXPECT_EQ(st.file, base + "000.jpg");
  EXPECT_EQ(st.reason, "Is a directory");
  EXPECT_TRUE(std::filesystem::is_regular_file(base + "000.bmp"));
  // The refusal is not carried over to the next, successful frame.
  EXPECT_TRUE(output::writeFrame(solidPicture(3, 3, 0), base, 1, ".jpg", false).ok);
}

TEST(MakeGifAnimation, GifTheSystemRefusesIsReportedAndKeepsTheFrames) {
  TempDir dir("refusedgif");
  const std::string base = dir.file("b-s-");
  for (int i = 0; i < 2; ++i) ASSERT_TRUE(output::writeFrame(solidPicture(3, 3, 0), base, i, ".gif", true).ok);
  std::filesystem::create_directory(base + ".gif");
  (void)output::takeLastWriteFailure();
  EXPECT_FALSE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", 1, 10, false));
  const output::WriteStatus st = output::takeLastWriteFailure();
  EXPECT_FALSE(st.ok);
  EXPECT_EQ(st.file, base + ".gif");
  EXPECT_EQ(dir.names().size(), 3u);  // two frames and the folder in the way
}

TEST(MakeGifAnimation, AnEncoderThatGivesUpIsNoWriteErrorAndTheFramesStay) {
  TempDir dir("finish");
  const std::string base = dir.file("b-d-");
  touchFrames(base, 5);
  RecordingLibrary failing;
  failing.failEncoders = true;
  (void)output::takeLastWriteFailure();
  EXPECT_FALSE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", 5, 10, false, failing));
  EXPECT_TRUE(output::takeLastWriteFailure().ok);
  EXPECT_EQ(dir.names().size(), 6u);
  RecordingLibrary working;
  EXPECT_TRUE(output::MakeGifAnimation(base + ".gif", base, "000", ".bmp", 5, 10, false, working));
  EXPECT_EQ(working.encodeCalls, std::vector<std::string>{base + ".gif"});
  EXPECT_EQ(dir.names().size(), 6u);  // the recording library writes no file itself
}

}  // namespace
