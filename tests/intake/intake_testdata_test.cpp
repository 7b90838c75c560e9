// Every file of the shared outside pictures through the loader, each held to
// what its folder's README expects.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>
#include <string>
#include <vector>

#include <QImage>

#include "intake/image_adapter.h"
#include "intake/picture_loader.h"
#include "testutil.h"

namespace {

namespace fs = std::filesystem;
using intake::LoadStatus;

enum class Expect { Load, TooLarge, Refuse, Either };

bool matches(const std::string& s, const char* pattern) { return std::regex_search(s, std::regex(pattern)); }

Expect sizeLimitsExpectation(const std::string& name) {
  if (matches(name, "^(bmp3?|jpg|gif)-(1x1|468x60|800x150|1000x200)\\.") || name == "bmp-topdown-468x60.bmp" ||
      matches(name, "^(gif|jpeg|bmp|png)-content-named"))
    return Expect::Load;
  if (matches(name, "(1001x200|1000x201|200x1000|4000x3000|65500x65500)")) return Expect::TooLarge;
  if (matches(name, "^trunc-")) return Expect::Either;
  return Expect::Refuse;  // tiff content, text, empty files, the README
}

// rel: the path below the testdata folder, with forward slashes.
Expect expectationFor(const std::string& rel) {
  const std::string folder = rel.substr(0, rel.find('/'));
  const std::string name = fs::path(rel).filename().string();
  if (folder == "size-limits") return sizeLimitsExpectation(name);
  if (!matches(name, "\\.(bmp|gif|png)$")) return Expect::Refuse;  // READMEs, licences
  if (folder == "bmpsuite") {
    if (name == "reallybig.bmp") return Expect::TooLarge;
    if (rel.starts_with("bmpsuite/g/")) return Expect::Load;
    if (rel.starts_with("bmpsuite/x/")) return Expect::Refuse;
    return Expect::Either;
  }
  if (folder == "giflib-pics") return name == "solid2.gif" || name == "wedge.gif" ? Expect::TooLarge : Expect::Load;
  if (folder == "gif-peterdn-testsuite") return matches(name, "out_of_bounds") ? Expect::Either : Expect::Load;
  return Expect::Either;  // a file added later: at least it must not crash
}

std::vector<fs::path> everyFile(const fs::path& root) {
  std::vector<fs::path> files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  return files;
}

TEST(IntakeTestdata, EveryFileLoadsOrIsRefusedAsItsFolderSays) {
  const fs::path root = testutil::testdataDir();
  if (root.empty()) GTEST_SKIP() << "PICTORELL_TESTDATA is not set or absent: no outside pictures to sweep";
  int loaded = 0;
  int refused = 0;
  for (const fs::path& file : everyFile(root)) {
    const std::string rel = fs::relative(file, root).generic_string();
    SCOPED_TRACE(rel);
    const Expect want = expectationFor(rel);
    const auto r = intake::loadPictureFile(file.string());
    if (r.status == LoadStatus::Loaded) {
      ++loaded;
      EXPECT_TRUE(want == Expect::Load || want == Expect::Either) << "loaded but should not";
      EXPECT_FALSE(r.picture.isEmpty());
      EXPECT_LE(r.picture.width(), 1000);
      EXPECT_LE(r.picture.height(), 200);
      std::smatch size;
      if (std::regex_search(rel, size, std::regex("-(\\d+)x(\\d+)\\."))) {
        EXPECT_EQ(std::to_string(r.width) + "x" + std::to_string(r.height), size[1].str() + "x" + size[2].str());
      }
      continue;
    }
    ++refused;
    EXPECT_NE(want, Expect::Load) << "refused: " << r.message;
    EXPECT_FALSE(r.message.empty());
    if (want == Expect::TooLarge) {
      EXPECT_EQ(r.status, LoadStatus::TooLarge) << r.message;
    }
    if (r.status == LoadStatus::TooLarge) {
      EXPECT_EQ(r.message, intake::kTooLargeMessage);
    }
  }
  EXPECT_GT(loaded, 90);  // the GIF suite's expected-frame PNGs load too
  EXPECT_GT(refused, 45);
}

TEST(IntakeTestdata, HugeDeclaredSizesAreRefusedFromTheHeader) {
  const fs::path root = testutil::testdataDir();
  if (root.empty()) GTEST_SKIP() << "PICTORELL_TESTDATA is not set or absent";
  // The sizes reported are the header's: nothing was decoded to find them.
  const auto jpeg = intake::loadPictureFile((root / "size-limits/jpg-header-65500x65500.jpg").string());
  EXPECT_EQ(jpeg.status, LoadStatus::TooLarge);
  EXPECT_EQ(jpeg.width, 65500);
  EXPECT_EQ(jpeg.height, 65500);
  const auto big = intake::loadPictureFile((root / "bmpsuite/b/reallybig.bmp").string());
  EXPECT_EQ(big.status, LoadStatus::TooLarge);
  EXPECT_EQ(big.width, 3000000);
  const auto topDown = intake::loadPictureFile((root / "size-limits/bmp-topdown-1000x201.bmp").string());
  EXPECT_EQ(topDown.status, LoadStatus::TooLarge);
  EXPECT_EQ(topDown.height, 201);
  const auto png = intake::loadPictureFile((root / "size-limits/png-content-named.jpg").string());
  EXPECT_EQ(png.status, LoadStatus::Loaded) << png.message;  // PNG is taken now, by its content
  EXPECT_EQ(png.width, 468);
  const auto tiff = intake::loadPictureFile((root / "size-limits/tiff-content-named.bmp").string());
  EXPECT_EQ(tiff.message, "TIFF 形式の画像には対応していません。(対応形式: BMP・JPEG・GIF・PNG・WebP)");
}

TEST(IntakeTestdata, FirstGifFramesMatchTheirExpectedRenderings) {
  const fs::path root = testutil::testdataDir();
  if (root.empty()) GTEST_SKIP() << "PICTORELL_TESTDATA is not set or absent";
  const fs::path suite = root / "gif-peterdn-testsuite";
  int compared = 0;
  for (const fs::path& gif : everyFile(suite)) {
    const std::string stem = gif.stem().string();
    if (gif.extension() != ".gif" || matches(stem, "out_of_bounds")) continue;
    SCOPED_TRACE(stem);
    const auto r = intake::loadPictureFile(gif.string());
    ASSERT_EQ(r.status, LoadStatus::Loaded) << r.message;
    fs::path frame = suite / "frames" / (stem + "-0.png");
    if (!fs::exists(frame)) frame = suite / "frames" / (stem + ".png");  // the single-frame pictures
    const QImage expected(QString::fromStdString(frame.string()));
    ASSERT_FALSE(expected.isNull());
    // Transparent pixels of both take the same key colour.
    EXPECT_TRUE(testutil::surfacesEqual(r.picture, intake::toOpaquePicture(expected)));
    ++compared;
  }
  EXPECT_EQ(compared, 12);
  const auto plain = intake::loadPictureFile((root / "giflib-pics/treescap.gif").string());
  const auto interlaced = intake::loadPictureFile((root / "giflib-pics/treescap-interlaced.gif").string());
  EXPECT_TRUE(testutil::surfacesEqual(plain.picture, interlaced.picture));
}

}  // namespace
