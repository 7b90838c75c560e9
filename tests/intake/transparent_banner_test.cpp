// A transparent logo put on a banner colour: loaded from PNG, WebP and GIF,
// its transparent pixels show exactly the banner colour in every effect's
// rest frame with the mask, white without it, and its opaque white stays part
// of the picture. Goes through the real loader and the real effects.
#include <gtest/gtest.h>

#include <map>

#include <gif_lib.h>

#include <QByteArray>

#include "compose_fixture.h"
#include "effect_fixture.h"
#include "intake/picture_loader.h"
#include "made_pictures.h"

namespace {

using core::EffectKind;
using madepics::Bytes;

constexpr int kW = 40;
constexpr int kH = 20;
constexpr core::Color kKeptWhite = core::rgb(255, 255, 254);

// 8-bit RGBA, not premultiplied.
struct Rgba {
  std::uint8_t r, g, b, a;
};

// A logo: a transparent ground (with the corner), a blue plate with white
// letters, a green bar and, when `soft`, a half-transparent red edge.
std::vector<Rgba> logo(bool soft) {
  std::vector<Rgba> px(static_cast<std::size_t>(kW * kH), Rgba{10, 20, 30, 0});
  const auto fill = [&](int x0, int y0, int x1, int y1, Rgba c) {
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) px[static_cast<std::size_t>(y * kW + x)] = c;
  };
  fill(4, 3, 23, 14, {20, 40, 200, 255});
  fill(7, 6, 9, 11, {255, 255, 255, 255});
  fill(13, 6, 19, 8, {255, 255, 255, 255});
  fill(27, 15, 36, 17, {0, 255, 0, 255});
  if (soft) fill(24, 3, 24, 14, {255, 0, 0, 128});
  return px;
}

Bytes rgbaBytes(const std::vector<Rgba>& px) {
  Bytes out;
  for (const Rgba& p : px) out.insert(out.end(), {p.r, p.g, p.b, p.a});
  return out;
}

Bytes pngOf(const std::vector<Rgba>& px) {
  std::vector<std::uint16_t> samples;
  for (const Rgba& p : px) samples.insert(samples.end(), {p.r, p.g, p.b, p.a});
  return madepics::makePng(madepics::PngSpec(kW, kH, 8, 6), samples);
}

int appendBytes(GifFileType* gif, const GifByteType* data, int len) {
  auto* out = static_cast<Bytes*>(gif->UserData);
  out->insert(out->end(), data, data + len);
  return len;
}

// A GIF with a transparent palette entry (giflib writes it; Qt cannot). Only
// fully transparent or opaque pixels, as GIF allows.
Bytes gifOf(const std::vector<Rgba>& px) {
  std::map<std::uint32_t, int> index;
  constexpr int kTransparent = 0;
  ColorMapObject* map = GifMakeMapObject(256, nullptr);
  int n = 1;
  for (const Rgba& p : px)
    if (p.a == 255 && index.emplace(std::uint32_t(p.r) << 16 | std::uint32_t(p.g) << 8 | p.b, n).second) {
      map->Colors[n++] = GifColorType{p.r, p.g, p.b};
    }
  Bytes bytes;
  int err = 0;
  GifFileType* gif = EGifOpen(&bytes, appendBytes, &err);
  EGifSetGifVersion(gif, true);
  EXPECT_EQ(EGifPutScreenDesc(gif, kW, kH, 8, 0, map), GIF_OK);
  const GifByteType control[4] = {1, 0, 0, kTransparent};  // transparent index in use
  EXPECT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, 4, control), GIF_OK);
  EXPECT_EQ(EGifPutImageDesc(gif, 0, 0, kW, kH, false, nullptr), GIF_OK);
  std::vector<GifPixelType> line(kW);
  for (int y = 0; y < kH; ++y) {
    for (int x = 0; x < kW; ++x) {
      const Rgba& p = px[static_cast<std::size_t>(y * kW + x)];
      line[static_cast<std::size_t>(x)] = static_cast<GifPixelType>(
          p.a == 0 ? kTransparent : index.at(std::uint32_t(p.r) << 16 | std::uint32_t(p.g) << 8 | p.b));
    }
    EXPECT_EQ(EGifPutLine(gif, line.data(), kW), GIF_OK);
  }
  EXPECT_EQ(EGifCloseFile(gif, &err), GIF_OK);
  GifFreeMapObject(map);
  return bytes;
}

struct Source {
  const char* kind;
  Bytes bytes;
  std::vector<Rgba> px;
};

std::vector<Source> sources() {
  return {{"PNG", pngOf(logo(true)), logo(true)},
          {"WebP", madepics::makeWebpLossless(rgbaBytes(logo(true)), kW, kH), logo(true)},
          {"GIF", gifOf(logo(false)), logo(false)}};
}

core::Picture loadFile(const Bytes& b) {
  const auto r =
      intake::loadPictureData(QByteArray(reinterpret_cast<const char*>(b.data()), static_cast<qsizetype>(b.size())));
  EXPECT_EQ(r.status, intake::LoadStatus::Loaded) << r.message;
  return r.picture;
}

const core::Color kBanners[] = {core::rgb(0, 255, 0),     core::rgb(0, 0, 0),   core::rgb(255, 255, 255),
                                core::rgb(255, 128, 0),   core::rgb(0, 0, 255), core::rgb(255, 0, 255),
                                core::rgb(128, 128, 128), core::rgb(18, 52, 86)};

struct Case {
  EffectKind kind;
  int hueType = 0;
};
const Case kCases[] = {{EffectKind::Slide},   {EffectKind::Turn},    {EffectKind::Rotate}, {EffectKind::Zoom},
                       {EffectKind::Diffuse}, {EffectKind::Elastic}, {EffectKind::Hue},    {EffectKind::Hue, 1}};

class TransparentBanner : public ::testing::Test, public testutil::EffectFixture {
 protected:
  // The rest frame of the effect over `banner`, composed as a save does.
  const core::Picture& restFrame(const Case& c, core::Color banner, bool mask) {
    host.options = effects::Options{};
    host.options.hueType = c.hueType;
    host.options.hueX = 200;
    host.options.bannerColor = banner;
    host.options.mask[static_cast<std::size_t>(core::info(c.kind).maskBox)] = mask;
    EXPECT_TRUE(compose(c.kind, false));
    const auto gen = effects::makeGenerator(c.kind);
    return frame(gen->fileOrder()[static_cast<std::size_t>(gen->restFrame(host.options))]);
  }
};

TEST_F(TransparentBanner, LoadingKeysTransparencyWhiteAndStartsOnAWhiteBanner) {
  for (const Source& s : sources()) {
    SCOPED_TRACE(s.kind);
    const core::Picture pic = loadFile(s.bytes);
    ASSERT_EQ(pic.width(), kW);
    for (int y = 0; y < kH; ++y)
      for (int x = 0; x < kW; ++x) {
        const Rgba& p = s.px[static_cast<std::size_t>(y * kW + x)];
        if (p.a == 0) {
          EXPECT_EQ(pic.pixel(x, y), core::kWhite) << x << "," << y;
        } else if (p.a == 255 && p.r == 255 && p.g == 255 && p.b == 255) {
          EXPECT_EQ(pic.pixel(x, y), kKeptWhite) << x << "," << y;
        } else if (p.a == 255) {
          EXPECT_EQ(pic.pixel(x, y), core::rgb(p.r, p.g, p.b)) << x << "," << y;
        } else {
          EXPECT_EQ(pic.pixel(x, y), core::rgb(255, 127, 127)) << x << "," << y;  // red at half over white
        }
      }
    EXPECT_EQ(effects::acceptSource(ws, pic), core::kWhite);
  }
}

TEST_F(TransparentBanner, EveryRestFrameShowsTheBannerColourExactlyWhereThePictureIsTransparent) {
  for (const Source& s : sources()) {
    const core::Picture pic = loadFile(s.bytes);
    load(pic);
    for (const Case& c : kCases) {
      for (core::Color banner : kBanners) {
        SCOPED_TRACE(::testing::Message() << s.kind << " effect " << static_cast<int>(c.kind) << " hue type "
                                          << c.hueType << " banner " << std::hex << banner);
        const core::Picture& rest = restFrame(c, banner, true);
        ASSERT_EQ(rest.width(), kW);
        if (c.kind == EffectKind::Rotate) {
          // The face-on card, the picture at 0.9 of its size: whatever of it
          // is the key, and all around it, is the banner.
          core::Bitmap card(kW, kH, core::kWhite);
          testutil::modelStretch(card, 2, 1, 36, 18, pic, 0, 0, kW, kH);
          const core::Picture expected =
              testutil::modelMasked(core::Picture::fromBitmap(std::move(card)), core::kWhite, banner);
          EXPECT_TRUE(testutil::surfacesEqual(rest, expected));
          EXPECT_EQ(rest.pixel(0, 0), banner);
          EXPECT_EQ(rest.pixel(39, 19), banner);
          continue;
        }
        int transparent = 0, whites = 0;
        for (int y = 0; y < kH; ++y)
          for (int x = 0; x < kW; ++x) {
            const Rgba& p = s.px[static_cast<std::size_t>(y * kW + x)];
            if (p.a == 0) {
              ASSERT_EQ(rest.pixel(x, y), banner) << x << "," << y;
              ++transparent;
            } else if (p.a == 255 && p.r == 255 && p.g == 255 && p.b == 255) {
              ASSERT_EQ(rest.pixel(x, y), kKeptWhite) << x << "," << y;
              ++whites;
            } else {
              ASSERT_EQ(rest.pixel(x, y), pic.pixel(x, y)) << x << "," << y;
            }
          }
        EXPECT_EQ(transparent, kW * kH - 20 * 12 - 10 * 3 - (s.kind[0] == 'G' ? 0 : 12));
        EXPECT_EQ(whites, 3 * 6 + 7 * 3);
      }
    }
  }
}

TEST_F(TransparentBanner, WithoutTheMaskTheTransparentAreaIsWhite) {
  const core::Picture pic = loadFile(sources().front().bytes);
  load(pic);
  for (const Case& c : kCases) {
    if (c.kind == EffectKind::Rotate) continue;  // a smaller card, checked with the mask above
    SCOPED_TRACE(static_cast<int>(c.kind));
    EXPECT_TRUE(testutil::surfacesEqual(restFrame(c, core::rgb(0, 255, 0), false), pic));
    EXPECT_EQ(pic.pixel(0, 0), core::kWhite);
  }
}

}  // namespace
