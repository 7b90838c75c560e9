#include "frame_files/file_io.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>

#include <filesystem>
#include <fstream>

#include "output_test_support.h"

namespace {

std::string contents(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

std::span<const std::uint8_t> bytesOf(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

TEST(ReplaceFile, WritesAndReplacesLeavingNoTemporaryFile) {
  outtest::TempDir dir("replace");
  const std::string path = dir.file("a.gif");
  ASSERT_TRUE(output::replaceFile(path, bytesOf("first")));
  ASSERT_TRUE(output::replaceFile(path, bytesOf("second, longer")));
  EXPECT_EQ(contents(path), "second, longer");
  EXPECT_EQ(dir.names(), std::vector<std::string>{"a.gif"});
}

TEST(ReplaceFile, FailureKeepsTheEarlierFileAndSaysWhy) {
  outtest::TempDir dir("replace-fail");
  // A folder of the target's name cannot be replaced by a file.
  std::filesystem::create_directory(dir.path() / "busy.bmp");
  const output::WriteStatus st = output::replaceFile(dir.file("busy.bmp"), bytesOf("data"));
  EXPECT_FALSE(st.ok);
  EXPECT_EQ(st.file, dir.file("busy.bmp"));
  EXPECT_EQ(st.reason, "Is a directory");
  EXPECT_EQ(dir.names(), std::vector<std::string>{"busy.bmp"});
  EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "busy.bmp"));
}

// A write that stops part-way (here: the file size limit, as a full disk
// would) leaves the earlier file whole and no partial file behind.
TEST(ReplaceFile, WriteFailurePartWayKeepsTheEarlierFile) {
  outtest::TempDir dir("replace-efbig");
  const std::string path = dir.file("frame-000.bmp");
  ASSERT_TRUE(output::replaceFile(path, bytesOf("old")));
  struct rlimit saved {};
  ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit small = saved;
  small.rlim_cur = 16;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  const output::WriteStatus st = output::replaceFile(path, bytesOf(std::string(100, 'n')));
  ::setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, oldHandler);
  EXPECT_FALSE(st.ok);
  EXPECT_EQ(st.file, path);
  EXPECT_EQ(st.reason, "File too large");
  EXPECT_EQ(contents(path), "old");
  EXPECT_EQ(dir.names(), std::vector<std::string>{"frame-000.bmp"});
}

TEST(ReadWholeFile, RefusesFoldersMissingFilesAndOversize) {
  outtest::TempDir dir("read");
  const std::string path = dir.file("f.bin");
  ASSERT_TRUE(output::replaceFile(path, bytesOf("12345")));
  EXPECT_EQ(output::readWholeFile(path, 5)->size(), 5u);
  EXPECT_FALSE(output::readWholeFile(path, 4));
  EXPECT_FALSE(output::readWholeFile(dir.file("none"), 100));
  EXPECT_FALSE(output::readWholeFile(dir.path().string(), 100));
}

}  // namespace
