// The border is drawn round every image of the animated file and nowhere
// else: not into the frames handed to the save, not into numbered files.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "check/banner_file.h"
#include "frame_files/bmp_codec.h"
#include "save/border.h"
#include "save/save_step.h"
#include "testutil.h"

namespace {

namespace fs = std::filesystem;

constexpr core::Color kRed = core::rgb(255, 0, 0);

// A dark square walking over `ground`: few colours, so the GIF keeps them exactly.
save::FramesByFile walking(core::Color ground, int count = 4) {
  auto frames = std::make_shared<std::vector<core::Bitmap>>();
  for (int k = 0; k < count; ++k) {
    core::Bitmap b(16, 10, ground);
    for (int y = 3; y < 7; ++y)
      for (int x = 2 + 3 * k; x < 5 + 3 * k; ++x) b.row(y)[x] = core::rgb(20, 30, 120);
    frames->push_back(std::move(b));
  }
  return frames;
}

std::vector<core::Bitmap> shownFrames(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  std::vector<core::Bitmap> shown;
  EXPECT_EQ(check::composeFrames(bytes.data(), bytes.size(), [&](const core::Bitmap& f, int) {
              shown.push_back(f);
              return true;
            }),
            "");
  return shown;
}

bool framedIn(const core::Bitmap& f, core::Color c) { return f.px == save::withBorder(f, c).px; }

class Border : public ::testing::Test {
 protected:
  save::SaveRequest request(const std::string& ext, bool animated, save::FramesByFile frames) {
    save::SaveRequest r;
    r.target = save::SaveTarget{dir.string(), "b", "-s-", ext};
    r.frames = std::move(frames);
    r.shape.last = static_cast<int>(r.frames->size()) - 1;
    r.shape.width = (*r.frames)[0].width;
    r.shape.height = (*r.frames)[0].height;
    r.animated = animated;
    return r;
  }
  fs::path dir = testutil::makeTempDir("border");
};

TEST_F(Border, EveryImageOfTheFileHasItAndTheFramesDoNot) {
  for (const char* ext : {".gif", ".webp"}) {
    SCOPED_TRACE(ext);
    const save::FramesByFile frames = walking(core::kWhite);
    const std::vector<core::Bitmap> before = *frames;
    save::SaveRequest r = request(ext, true, frames);
    r.animation.play.border = kRed;
    const save::SaveReport report = save::saveFrames(r);
    ASSERT_TRUE(report.status);
    ASSERT_EQ(report.files.size(), 1u);
    const std::vector<core::Bitmap> shown = shownFrames(report.files.front());
    ASSERT_EQ(shown.size(), before.size());
    for (std::size_t i = 0; i < shown.size(); ++i) {
      EXPECT_TRUE(framedIn(shown[i], kRed)) << i;
      EXPECT_EQ(shown[i].px, save::withBorder(before[i], kRed).px) << i;  // the inside untouched
      EXPECT_EQ((*frames)[i].px, before[i].px) << i;
    }
  }
  // Numbered frame files never carry it.
  save::SaveRequest r = request(".bmp", false, walking(core::kWhite));
  r.animation.play.border = kRed;
  const save::SaveReport report = save::saveFrames(r);
  ASSERT_EQ(report.files.size(), 4u);
  std::ifstream in(report.files.front(), std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const auto bmp = output::decodeBmp(bytes);
  ASSERT_TRUE(bmp);
  EXPECT_EQ(bmp->px, (*r.frames)[0].px);
}

TEST(BorderEdge, AnEdgeUnderThreeToOneOnWhiteIsFaint) {
  const auto edged = [](core::Color edge) {
    core::Bitmap b(6, 4, core::rgb(20, 30, 120));
    b.row(3)[5] = edge;  // one corner pixel
    return std::vector<core::Bitmap>{core::Bitmap(6, 4, core::rgb(20, 30, 120)), b};
  };
  EXPECT_TRUE(save::edgeFaintOnWhite(edged(core::rgb(150, 150, 150))));   // 2.96 : 1
  EXPECT_FALSE(save::edgeFaintOnWhite(edged(core::rgb(148, 148, 148))));  // 3.03 : 1
  EXPECT_FALSE(save::edgeFaintOnWhite(edged(save::kBorderGrey)));
}

}  // namespace
