// Small GIFs made here, each breaking exactly one rule of its preset, must be
// flagged by that rule alone; the play-time arithmetic is what Chromium and
// Firefox do with delays and loop blocks.
#include <gtest/gtest.h>
#include <gif_lib.h>

#include <cstring>
#include <functional>
#include <optional>
#include <vector>

#include "check/banner_check.h"

namespace {

using check::Rule;
using output::AdPreset;

struct Frame {
  int colour;  // palette index of every pixel
  int delayCs;
};

// Palette: white, a white 0.02 darker, black, saturated red, and the grey
// as luminous as that red.
constexpr GifColorType kPalette[8] = {{255, 255, 255}, {250, 250, 250}, {0, 0, 0},   {255, 0, 0},
                                      {127, 127, 127}, {0, 0, 0},       {0, 0, 0},   {0, 0, 0}};
enum { kWhite, kOffWhite, kBlack, kRed, kGrey };

int writeOut(GifFileType* gif, const GifByteType* data, int n) {
  auto* out = static_cast<std::vector<std::uint8_t>*>(gif->UserData);
  out->insert(out->end(), data, data + n);
  return n;
}

std::vector<std::uint8_t> makeGif(int w, int h, const std::vector<Frame>& frames, std::optional<int> loop) {
  std::vector<std::uint8_t> bytes;
  int err = 0;
  GifFileType* gif = EGifOpen(&bytes, writeOut, &err);
  EGifSetGifVersion(gif, true);
  ColorMapObject* map = GifMakeMapObject(8, kPalette);
  EGifPutScreenDesc(gif, w, h, 8, 0, map);
  GifFreeMapObject(map);
  if (loop) {
    const GifByteType count[3] = {1, static_cast<GifByteType>(*loop & 0xFF), static_cast<GifByteType>(*loop >> 8)};
    EGifPutExtensionLeader(gif, APPLICATION_EXT_FUNC_CODE);
    EGifPutExtensionBlock(gif, 11, "NETSCAPE2.0");
    EGifPutExtensionBlock(gif, 3, count);
    EGifPutExtensionTrailer(gif);
  }
  std::vector<GifPixelType> line(static_cast<std::size_t>(w));
  for (const Frame& f : frames) {
    GraphicsControlBlock gcb{DISPOSAL_UNSPECIFIED, false, f.delayCs, NO_TRANSPARENT_COLOR};
    GifByteType ext[4];
    EGifGCBToExtension(&gcb, ext);
    EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, ext);
    EGifPutImageDesc(gif, 0, 0, w, h, false, nullptr);
    std::fill(line.begin(), line.end(), static_cast<GifPixelType>(f.colour));
    for (int y = 0; y < h; ++y) EGifPutLine(gif, line.data(), w);
  }
  EGifCloseFile(gif, &err);
  return bytes;
}

// Pads a GIF with a comment before its trailer to exactly `total` bytes.
void padTo(std::vector<std::uint8_t>& gif, std::size_t total) {
  gif.pop_back();  // the trailer
  std::size_t left = total - gif.size() - 1 - 3;  // trailer, introducer, label, terminator
  gif.push_back(0x21);
  gif.push_back(0xFE);
  while (left > 0) {
    const std::size_t n = std::min<std::size_t>(255, left - 1);
    if (left - (n + 1) == 1) {  // never leave a single byte: it cannot be a sub-block
      gif.push_back(static_cast<std::uint8_t>(n - 1));
      gif.insert(gif.end(), n - 1, 'x');
      left -= n;
      continue;
    }
    gif.push_back(static_cast<std::uint8_t>(n));
    gif.insert(gif.end(), n, 'x');
    left -= n + 1;
  }
  gif.push_back(0x00);
  gif.push_back(0x3B);
}

// Two barely different frames of half a second: nothing flashes.
std::vector<Frame> calm(int pairs = 1) {
  std::vector<Frame> f;
  for (int i = 0; i < pairs; ++i) {
    f.push_back({kWhite, 50});
    f.push_back({kOffWhite, 50});
  }
  return f;
}

std::vector<Frame> alternating(int a, int b, int delayCs, int count) {
  std::vector<Frame> f;
  for (int i = 0; i < count; ++i) f.push_back({i % 2 ? b : a, delayCs});
  return f;
}

check::BannerCheck checked(const std::vector<std::uint8_t>& gif, AdPreset preset) {
  const check::CheckOutcome out = check::checkBanner(gif.data(), gif.size(), preset);
  EXPECT_TRUE(out.ok) << out.problem;
  return out.check;
}

std::vector<Rule> broken(const check::BannerCheck& c) {
  std::vector<Rule> rules;
  for (const check::RuleResult& r : c.rules)
    if (!r.kept) rules.push_back(r.rule);
  return rules;
}

TEST(BannerCheck, EachFileBreaksItsOneRuleAlone) {
  struct Case {
    const char* what;
    int w, h;
    std::vector<Frame> frames;
    std::optional<int> loop;
    AdPreset preset;
    std::size_t padded;
    std::vector<Rule> expected;
  };
  const std::vector<Case> cases = {
      {"31 s under Google's 30", 300, 250, calm(), 30, AdPreset::Google, 0, {Rule::TotalTime}},
      {"4 plays under Amazon's 3", 300, 250, calm(), 3, AdPreset::Amazon, 0, {Rule::Plays}},
      {"a 0.1 s frame under Google's 0.2 s", 300, 250, {{kWhite, 10}, {kOffWhite, 50}}, 1, AdPreset::Google, 0,
       {Rule::ShortestDelay}},
      {"150,001 bytes", 300, 250, calm(), 1, AdPreset::Google, 150001, {Rule::Bytes}},
      {"a size Google does not list", 301, 250, calm(), 1, AdPreset::Google, 0, {Rule::Size}},
      {"a delay of 0", 300, 250, {{kWhite, 0}, {kOffWhite, 50}}, 1, AdPreset::Amazon, 0, {Rule::LengthenedDelay}},
      {"black and white at 0.16 s", 300, 250, alternating(kBlack, kWhite, 16, 8), 1, AdPreset::Iab, 0,
       {Rule::GeneralFlash}},
      {"red and an equally bright grey at 0.1 s", 300, 250, alternating(kRed, kGrey, 10, 10), 1, AdPreset::Iab, 0,
       {Rule::RedFlash}},
      {"endless under IAB", 300, 250, calm(), 0, AdPreset::Iab, 0, {Rule::Endless}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::uint8_t> gif = makeGif(c.w, c.h, c.frames, c.loop);
    if (c.padded) padTo(gif, c.padded);
    const check::BannerCheck result = checked(gif, c.preset);
    EXPECT_EQ(result.facts.bytes, c.padded ? c.padded : gif.size());
    EXPECT_EQ(broken(result), c.expected);
  }
}

TEST(BannerCheck, PlayTimeIsWhatBrowsersPlay) {
  // No loop block: once. Loop count 2: three plays. 0 and 1 hundredth: 0.1 s.
  const check::BannerCheck once = checked(makeGif(20, 20, {{kWhite, 0}, {kBlack, 1}, {kWhite, 2}}, std::nullopt),
                                          AdPreset::None);
  EXPECT_EQ(once.timing.delaysMs, (std::vector<int>{100, 100, 20}));
  EXPECT_EQ(once.timing.plays, 1);
  EXPECT_EQ(once.timing.totalMs, 220);
  EXPECT_EQ(once.timing.shortestMs, 20);
  const check::BannerCheck thrice = checked(makeGif(20, 20, calm(), 2), AdPreset::None);
  EXPECT_EQ(thrice.timing.plays, 3);
  EXPECT_EQ(thrice.timing.totalMs, 3000);
  const check::BannerCheck forever = checked(makeGif(20, 20, calm(), 0), AdPreset::None);
  EXPECT_EQ(forever.timing.plays, 0);
  EXPECT_EQ(forever.timing.totalMs, -1);
}

TEST(BannerCheck, FlashesCountAtWcagsThresholds) {
  // Three flashes a second at most: black and white at 0.17 s is 5.9 changes
  // a second, at 0.16 s 6.25. Only over more than 21,824 pixels: a 300 x 72
  // banner (21,600) cannot flash whatever it shows. The change from the last
  // frame back to the first counts when the file loops.
  EXPECT_TRUE(broken(checked(makeGif(300, 250, alternating(kBlack, kWhite, 17, 12), 1), AdPreset::None)).empty());
  EXPECT_EQ(broken(checked(makeGif(300, 72, alternating(kBlack, kWhite, 10, 12), 1), AdPreset::None)),
            std::vector<Rule>{});
  EXPECT_EQ(broken(checked(makeGif(300, 73, alternating(kBlack, kWhite, 10, 12), 1), AdPreset::None)),
            std::vector<Rule>{Rule::GeneralFlash});
  EXPECT_EQ(broken(checked(makeGif(300, 250, alternating(kBlack, kWhite, 10, 3), 0), AdPreset::None)),
            std::vector<Rule>{Rule::GeneralFlash});
  // A flash on a wide banner counts within one 341 x 256 field: 970 x 22 is
  // larger than the flash area but no field holds more than 341 x 22.
  EXPECT_TRUE(broken(checked(makeGif(970, 22, alternating(kBlack, kWhite, 10, 12), 1), AdPreset::None)).empty());
}

TEST(BannerCheck, HostileFilesAreRefusedWithAReason) {
  std::vector<std::uint8_t> big = makeGif(20, 20, calm(), 1);
  big[6] = 0xFF;  // the canvas 20 + 0xFF00 wide
  big[7] = 0xFF;
  std::vector<std::uint8_t> cut = makeGif(20, 20, calm(), 1);
  cut.resize(cut.size() - 12);
  for (const auto& bytes : {big, cut, std::vector<std::uint8_t>{'n', 'o', 'p', 'e'}}) {
    const check::CheckOutcome out = check::checkBanner(bytes.data(), bytes.size(), AdPreset::None);
    EXPECT_FALSE(out.ok);
    EXPECT_FALSE(out.problem.empty());
  }
}

}  // namespace
