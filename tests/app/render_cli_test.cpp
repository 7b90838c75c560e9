#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <sstream>

#include <QImageReader>

#include "app/render_cli.h"
#include "core/effect_kind.h"
#include "made_pictures.h"
#include "frame_files/bmp_codec.h"
#include "frame_files/file_io.h"
#include "webp/webp_encoder.h"
#include "frame_files/writer.h"
#include "testutil.h"

namespace {

namespace fs = std::filesystem;
using app::parseRenderArgs;
using app::runRender;

core::Picture gradient(int w, int h) {
  core::Bitmap b(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) b.row(y)[x] = core::rgb(x * 10 % 256, y * 20 % 256, 200);
  return core::Picture::fromBitmap(std::move(b));
}

core::Picture readBmp(const fs::path& name) {
  std::ifstream in(name, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  auto bitmap = output::decodeBmp(bytes);
  return bitmap ? core::Picture::fromBitmap(std::move(*bitmap)) : core::Picture{};
}

std::string bytesOf(const fs::path& name) {
  std::ifstream in(name, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<std::string> lines(const std::string& text) {
  std::vector<std::string> v;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) v.push_back(line);
  return v;
}

TEST(RenderArgs, OptionsBeforeAndAfterTheNames) {
  const auto p = parseRenderArgs({"--mask", "in.bmp", "--axis=y", "out/b.gif", "--effect", "turn", "--gif", "animated",
                                  "--interval", "0.25", "--hue", "200", "--hue-mode", "converge", "--diffuse", "down"});
  ASSERT_TRUE(p.args) << p.error;
  EXPECT_EQ(p.args->source, "in.bmp");
  EXPECT_EQ(p.args->output, "out/b.gif");
  EXPECT_EQ(p.args->options.effect, 1);
  EXPECT_TRUE(p.args->options.mask[core::kMaskTurn]);  // the box of the chosen effect
  EXPECT_FALSE(p.args->options.mask[core::kMaskSlide]);
  EXPECT_EQ(p.args->options.axis, 1);
  EXPECT_EQ(p.args->options.hueType, 1);
  EXPECT_EQ(p.args->options.hueX, 200);
  EXPECT_EQ(p.args->options.diffuseType, 2);
  EXPECT_TRUE(p.args->gifAnimated);
  EXPECT_EQ(p.args->gifInterval, 25);
  EXPECT_FALSE(p.args->background);

  const auto d = parseRenderArgs({"a.bmp", "b.bmp"});
  ASSERT_TRUE(d.args);
  EXPECT_EQ(d.args->options.effect, 0);
  EXPECT_EQ(d.args->options.axis, 0);
  EXPECT_FALSE(d.args->gifAnimated);
  EXPECT_EQ(d.args->gifInterval, 10);
  EXPECT_EQ(parseRenderArgs({"--", "--odd.bmp", "b.bmp"}).args->source, "--odd.bmp");
}

TEST(RenderArgs, WebColoursAreRedFirst) {
  EXPECT_EQ(app::parseWebColor("ff0000"), 0x0000FFu);
  EXPECT_EQ(app::parseWebColor("00FF80"), 0x80FF00u);
  EXPECT_EQ(app::parseWebColor("123456"), 0x563412u);
  for (const char* bad : {"fff", "ff00001", "gg0000", "#ff0000", ""}) EXPECT_FALSE(app::parseWebColor(bad)) << bad;
}

TEST(RenderArgs, BadCommandLinesExitTwoWithOneLine) {
  for (const std::vector<std::string>& args : std::vector<std::vector<std::string>>{
           {"a.bmp"},
           {"a.bmp", "b.bmp", "c.bmp"},
           {"a.bmp", "b.bmp", "--effect", "spin"},
           {"a.bmp", "b.bmp", "--interval", "-1"},
           {"a.bmp", "b.bmp", "--hue", "360"},
           {"a.bmp", "b.bmp", "--background", "red"},
           {"a.bmp", "b.bmp", "--speed", "2"},
           {"a.bmp", "b.bmp", "--gif"},
           {"a.bmp", "b.bmp", "--mask=1"},
           {"a.bmp", "b.bmp", "--plays", "0"},
           {"a.bmp", "b.bmp", "--plays", "100"},
           {"a.bmp", "b.bmp", "--plays", "always"},
           {"a.bmp", "b.bmp", "--hold", "10.01"},
           {"a.bmp", "b.bmp", "--hold", "-1"},
           {"a.bmp", "b.bmp", "--preset", "yahoo"},
           {"a.bmp", "b.gif", "--gif", "animated", "--max-bytes", "0"},
           {"a.bmp", "b.gif", "--gif", "animated", "--max-bytes", "12k"},
           {"a.bmp", "b.gif", "--max-bytes", "5000"},                       // not an animation
           {"a.bmp", "b.bmp", "--gif", "animated", "--max-bytes", "5000"},  // not a GIF
       }) {
    std::ostringstream out;
    std::ostringstream err;
    EXPECT_EQ(runRender(args, out, err), 2) << args.back();
    EXPECT_EQ(lines(err.str()).size(), 1u) << err.str();
    EXPECT_TRUE(out.str().empty());
  }
  std::ostringstream out;
  std::ostringstream err;
  EXPECT_EQ(runRender({"--help"}, out, err), 0);
  EXPECT_NE(out.str().find("--background RRGGBB"), std::string::npos);
  for (const char* listed : {"--plays N|forever", "--hold SECONDS", "--preset none|google|iab|amazon", "\n3 the"})
    EXPECT_NE(out.str().find(listed), std::string::npos) << listed;
}

TEST(RenderArgs, PlayOptions) {
  const auto p =
      parseRenderArgs({"a.bmp", "b.gif", "--gif", "animated", "--plays", "6", "--hold=1.5", "--preset", "iab"});
  ASSERT_TRUE(p.args) << p.error;
  EXPECT_EQ(p.args->play.plays, 6);
  EXPECT_EQ(p.args->play.holdCs, 150);
  EXPECT_EQ(p.args->play.preset, output::AdPreset::Iab);
  EXPECT_TRUE(p.args->playsGiven);
  EXPECT_TRUE(p.args->playOptions);
  const auto f = parseRenderArgs({"a.bmp", "b.webp", "--plays", "forever", "--hold", "10"});
  ASSERT_TRUE(f.args);
  EXPECT_EQ(f.args->play.plays, 0);
  EXPECT_EQ(f.args->play.holdCs, 1000);
  const auto d = parseRenderArgs({"a.bmp", "b.gif"});
  EXPECT_TRUE(d.args->play.plain());
  EXPECT_FALSE(d.args->playOptions);
}

TEST(RenderArgs, AnimationOptionsWithoutOneAnimationAreRefusedAlikeAndNothingIsWritten) {
  const fs::path dir = testutil::makeTempDir("render-cli-refused");
  ASSERT_TRUE(output::SavePicture(gradient(20, 10), (dir / "a.bmp").string()));
  const std::vector<std::vector<std::string>> options{
      {"--plays", "2"}, {"--plays", "forever"}, {"--hold", "1"}, {"--preset", "google"}, {"--max-bytes", "5000"}};
  const std::vector<std::vector<std::string>> outputs{
      {"b.bmp"}, {"b.jpg"}, {"b.gif"}, {"b.gif", "--gif", "frames"}, {"b.png"}, {"b.bmp", "--gif", "animated"}};
  for (const auto& option : options)
    for (const auto& output : outputs) {
      std::vector<std::string> args{(dir / "a.bmp").string(), (dir / "out" / output[0]).string()};
      args.insert(args.end(), output.begin() + 1, output.end());
      args.insert(args.end(), option.begin(), option.end());
      SCOPED_TRACE(option[0] + " " + output[0] + (output.size() > 1 ? " " + output.back() : ""));
      std::ostringstream out;
      std::ostringstream err;
      EXPECT_EQ(runRender(args, out, err), 2);
      EXPECT_EQ(err.str(), "brenlo-render: " + option[0] +
                               " needs one animation: a .gif OUTPUT with --gif animated, or a .webp OUTPUT"
                               " (see --help)\n");
      EXPECT_TRUE(out.str().empty());
      EXPECT_FALSE(fs::exists(dir / "out"));
    }
  // One animation takes each of them; the WebP all but the GIF-only two.
  for (const auto& option : options) {
    std::vector<std::string> gif{"a.bmp", "b.gif", "--gif", "animated"};
    gif.insert(gif.end(), option.begin(), option.end());
    EXPECT_TRUE(parseRenderArgs(gif).args) << option[0];
    std::vector<std::string> webp{"a.bmp", "b.webp"};
    webp.insert(webp.end(), option.begin(), option.end());
    const bool gifOnly = option[0] == "--preset" || option[0] == "--max-bytes";
    const auto parsed = parseRenderArgs(webp);
    EXPECT_EQ(static_cast<bool>(parsed.args), !gifOnly) << option[0];
    if (gifOnly) {
      EXPECT_EQ(parsed.error, option[0] + " applies to an animated GIF only" +
                                  (option[0] == "--preset" ? " (the ad networks take no WebP)" : ""));
    }
  }
  std::ostringstream help;
  std::ostringstream none;
  ASSERT_EQ(runRender({"--help"}, help, none), 0);
  EXPECT_NE(help.str().find("--plays, --hold, --preset and --max-bytes need one animation"), std::string::npos);
}

class RenderRun : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(output::SavePicture(gradient(20, 10), source.string())); }
  int run(const std::vector<std::string>& args) {
    out.str("");
    err.str("");
    return runRender(args, out, err);
  }
  fs::path dir = testutil::makeTempDir("render-cli");
  fs::path source = dir / "source.bmp";
  std::ostringstream out;
  std::ostringstream err;
};

TEST_F(RenderRun, WritesTheSaveCommandsFilesAndListsThem) {
  const fs::path target = dir / "out" / "banner.v2.bmp";
  ASSERT_EQ(run({"--effect", "rotate", source.string(), target.string()}), 0) << err.str();
  const auto written = lines(out.str());
  ASSERT_EQ(written.size(), 12u);
  EXPECT_EQ(written[0], (dir / "out" / "banner-r-000.bmp").string());
  EXPECT_EQ(written[11], (dir / "out" / "banner-r-011.bmp").string());
  // File 000 is the face-on frame: the source scaled to 18 x 9 at (1, 0)
  // (0.5 rounds to 0) over its corner colour (no mask).
  const core::Picture src = gradient(20, 10);
  const core::Picture face = readBmp(written[0]);
  EXPECT_EQ(face.pixel(0, 5), src.pixel(0, 0));
  EXPECT_EQ(face.pixel(5, 9), src.pixel(0, 0));
  EXPECT_EQ(face.pixel(1, 0), src.pixel(0, 0));
  EXPECT_EQ(face.pixel(2, 0), src.pixel(1, 0));
  EXPECT_EQ(face.pixel(1, 1), src.pixel(0, 1));
}

TEST_F(RenderRun, WebpOutputIsOneAnimationOfTheSameFramesWithTheInterval) {
  ASSERT_EQ(run({source.string(), (dir / "b" / "s.bmp").string()}), 0) << err.str();
  const fs::path target = dir / "w" / "banner.webp";
  ASSERT_EQ(run({source.string(), target.string(), "--interval", "0.2"}), 0) << err.str();
  EXPECT_EQ(lines(out.str()), std::vector<std::string>{(dir / "w" / "banner-s-.webp").string()});
  EXPECT_EQ(std::vector<fs::path>(fs::directory_iterator(dir / "w"), fs::directory_iterator{}).size(), 1u);
  std::ifstream in(dir / "w" / "banner-s-.webp", std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  // Shown 200 ms each: one entry per frame, each exactly the BMP save's frame
  // (200 colours at most: lossless).
  const auto shown = output::webpFramesAsShown(bytes, 200);
  ASSERT_TRUE(shown);
  ASSERT_EQ(shown->size(), 22u);
  for (int i = 0; i < 22; ++i) {
    const core::Picture bmp = readBmp(dir / "b" / ("s-s-" + output::formatNumber(i) + ".bmp"));
    EXPECT_TRUE(testutil::surfacesEqual(core::Picture::fromBitmap((*shown)[static_cast<std::size_t>(i)]), bmp)) << i;
  }
}

// Plays and hold reach the WebP as they reach the GIF: the rest frame (Slide's
// file 005) opens, held, and closes the file; a preset is the GIF's alone.
TEST_F(RenderRun, WebpTakesPlaysAndHoldButNoPreset) {
  ASSERT_EQ(run({source.string(), (dir / "b" / "s.bmp").string()}), 0) << err.str();
  const fs::path target = dir / "p" / "banner.webp";
  ASSERT_EQ(run({source.string(), target.string(), "--interval", "0.2", "--plays", "2", "--hold", "0.5"}), 0)
      << err.str();
  const fs::path webp = dir / "p" / "banner-s-.webp";
  EXPECT_EQ(lines(out.str()).at(1), "animation: 23 frames, one play 5.1 s, 2 plays, 10.2 s in all, " +
                                        std::to_string(fs::file_size(webp)) + " bytes");
  std::ifstream in(webp, std::ios::binary);
  const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const auto shown = output::webpFramesAsShown(bytes, 100);  // one entry per 0.1 s
  ASSERT_TRUE(shown);
  ASSERT_EQ(shown->size(), 7u + 22u * 2u);
  const core::Picture rest = readBmp(dir / "b" / "s-s-005.bmp");
  for (std::size_t k : {std::size_t{0}, std::size_t{6}, shown->size() - 1})
    EXPECT_TRUE(testutil::surfacesEqual(core::Picture::fromBitmap((*shown)[k]), rest)) << k;
  const core::Picture next = readBmp(dir / "b" / "s-s-006.bmp");
  EXPECT_TRUE(testutil::surfacesEqual(core::Picture::fromBitmap((*shown)[7]), next));
  EXPECT_EQ(run({source.string(), target.string(), "--preset", "google"}), 2);
}

TEST_F(RenderRun, TransparentPngWithTheMaskSlidesOverTheBannerColour) {
  // 20 x 10: the left six columns fully transparent, one column half, the
  // rest the gradient.
  madepics::PngSpec spec(20, 10, 8, 6);
  std::vector<std::uint16_t> rgba;
  const core::Picture g = gradient(20, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      const core::Color c = g.pixel(x, y);
      rgba.insert(rgba.end(), {static_cast<std::uint16_t>(core::redOf(c)), static_cast<std::uint16_t>(core::greenOf(c)),
                               static_cast<std::uint16_t>(core::blueOf(c)),
                               static_cast<std::uint16_t>(x < 6    ? 0
                                                          : x == 6 ? 128
                                                                   : 255)});
    }
  const madepics::Bytes png = madepics::makePng(spec, rgba);
  const fs::path pngFile = dir / "logo.png";
  std::ofstream(pngFile, std::ios::binary)
      .write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
  // The same picture as an opaque BMP whose transparent pixels are the key
  // (white) and whose half-transparent column is laid over white.
  core::Bitmap keyed(20, 10);
  for (int y = 0; y < 10; ++y)
    for (int x = 0; x < 20; ++x) {
      const core::Color c = g.pixel(x, y);
      const auto half = [](int v) { return (v * 128 + 255 * 127 + 127) / 255; };
      keyed.row(y)[x] = x < 6    ? core::kWhite
                        : x == 6 ? core::rgb(half(core::redOf(c)), half(core::greenOf(c)), half(core::blueOf(c)))
                                 : c;
    }
  ASSERT_TRUE(output::SavePicture(core::Picture::fromBitmap(std::move(keyed)), (dir / "keyed.bmp").string()));

  ASSERT_EQ(run({pngFile.string(), (dir / "p" / "s.bmp").string(), "--mask", "--background", "ff8000"}), 0)
      << err.str();
  ASSERT_EQ(run({(dir / "keyed.bmp").string(), (dir / "k" / "s.bmp").string(), "--mask", "--background", "ff8000"}), 0);
  int banner = 0;
  for (int i = 0; i < 22; ++i) {
    const core::Picture frame = readBmp(dir / "p" / ("s-s-" + output::formatNumber(i) + ".bmp"));
    EXPECT_TRUE(testutil::surfacesEqual(frame, readBmp(dir / "k" / ("s-s-" + output::formatNumber(i) + ".bmp")))) << i;
    for (int y = 0; y < 10; ++y)
      for (int x = 0; x < 20; ++x) {
        EXPECT_NE(frame.pixel(x, y), core::kWhite) << i;  // the key never shows
        banner += frame.pixel(x, y) == 0x0080FFu;
      }
  }
  EXPECT_GT(banner, 22 * 60);  // at least the transparent columns in every frame
}

TEST_F(RenderRun, MaxBytesFitsTheAnimationOrSaysItCannot) {
  ASSERT_TRUE(output::SavePicture(gradient(160, 40), source.string()));
  const std::string target = (dir / "fit" / "b.gif").string();
  const std::string gif = (dir / "fit" / "b-h-.gif").string();
  const auto run3 = [&](const std::string& budget) {
    return run({source.string(), target, "--effect", "hue", "--gif", "animated", "--max-bytes", budget});
  };
  ASSERT_EQ(run3("100000000"), 0) << err.str();
  const auto plain = output::readWholeFile(gif, 1 << 24);
  ASSERT_TRUE(plain);
  auto said = lines(out.str());
  ASSERT_EQ(said.size(), 2u);
  EXPECT_EQ(said[0], gif);
  EXPECT_EQ(said[1].rfind(std::to_string(plain->size()) + " bytes, PSNR ", 0), 0u) << said[1];

  const std::size_t budget = plain->size() * 2 / 3;
  ASSERT_EQ(run3(std::to_string(budget)), 0) << err.str();
  const auto fitted = output::readWholeFile(gif, 1 << 24);
  ASSERT_TRUE(fitted);
  EXPECT_LE(fitted->size(), budget);
  said = lines(out.str());
  ASSERT_EQ(said.size(), 2u);
  EXPECT_EQ(said[1].rfind(std::to_string(fitted->size()) + " bytes, PSNR ", 0), 0u) << said[1];

  // Far too small: the closest file is written and the exit status says so.
  EXPECT_EQ(run3("10"), 3);
  const auto closest = output::readWholeFile(gif, 1 << 24);
  ASSERT_TRUE(closest);
  EXPECT_GT(closest->size(), 10u);
  EXPECT_NE(lines(out.str()).back().find("does not fit"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "fit" / "b-h-000.bmp"));
}

TEST_F(RenderRun, BannerColourIsTheCornerUnlessGiven) {
  const core::Color corner = gradient(20, 10).pixel(0, 0);
  ASSERT_EQ(run({source.string(), (dir / "a" / "s.bmp").string(), "--mask"}), 0) << err.str();
  EXPECT_EQ(readBmp(dir / "a" / "s-s-000.bmp").pixel(5, 5), corner);
  ASSERT_EQ(run({source.string(), (dir / "a" / "s.bmp").string(), "--mask", "--background", "ff8000"}), 0);
  EXPECT_EQ(readBmp(dir / "a" / "s-s-000.bmp").pixel(5, 5), 0x0080FFu);
  EXPECT_EQ(readBmp(dir / "a" / "s-s-021.bmp").pixel(19, 9), 0x0080FFu);
}

TEST_F(RenderRun, PicturesThatCannotBeUsedGiveTheProgramsMessageInTheLanguageOfTheTerminal) {
  ASSERT_TRUE(output::SavePicture(gradient(1001, 200), (dir / "wide.bmp").string()));
  const auto runIn = [&](const QLocale& system, std::vector<std::string> args) {
    out.str("");
    err.str("");
    return runRender(args, out, err, system);
  };
  const std::string wide = (dir / "wide.bmp").string();
  const std::string none = (dir / "none.bmp").string();
  const std::string target = (dir / "o" / "x.bmp").string();
  for (const QLocale& japanese : {QLocale(QLocale::Japanese, QLocale::Japan), QLocale(QLocale::English)}) {
    const bool byOption = japanese.language() == QLocale::English;
    const auto ja = [&](const std::string& file) {
      return byOption ? std::vector<std::string>{file, target, "--lang", "ja"} : std::vector<std::string>{file, target};
    };
    EXPECT_EQ(runIn(japanese, ja(wide)), 1);
    EXPECT_EQ(err.str(), "画像が大きすぎます。(～1000x200pixels)\n");
    EXPECT_EQ(runIn(japanese, ja(none)), 1);
    EXPECT_EQ(err.str(), "ファイルが見つかりません。\n");
  }
  for (const QLocale& english :
       {QLocale(QLocale::English, QLocale::UnitedStates), QLocale::c(), QLocale(QLocale::Japanese)}) {
    const bool byOption = english.language() == QLocale::Japanese;
    const auto en = [&](const std::string& file) {
      return byOption ? std::vector<std::string>{"--lang=en", file, target} : std::vector<std::string>{file, target};
    };
    EXPECT_EQ(runIn(english, en(wide)), 1);
    EXPECT_EQ(err.str(), "The picture is too large. (Up to 1000x200 pixels)\n");
    EXPECT_EQ(runIn(english, en(none)), 1);
    EXPECT_EQ(err.str(), "The file cannot be found.\n");
  }
  EXPECT_FALSE(fs::exists(dir / "o"));
  EXPECT_EQ(runIn(QLocale::c(), {wide, target, "--lang", "fr"}), 2);
}

TEST_F(RenderRun, LargePicturesTakesAdSizesUpTo1200x1200AndNamesThatLimit) {
  ASSERT_TRUE(output::SavePicture(gradient(300, 250), (dir / "rect.bmp").string()));
  ASSERT_TRUE(output::SavePicture(gradient(1201, 1200), (dir / "huge.bmp").string()));
  const std::string rect = (dir / "rect.bmp").string();
  const std::string target = (dir / "o" / "x.bmp").string();
  EXPECT_EQ(runRender({rect, target, "--lang", "ja"}, out, err), 1);
  EXPECT_EQ(err.str(), "画像が大きすぎます。(～1000x200pixels)\n");
  EXPECT_FALSE(fs::exists(dir / "o"));
  ASSERT_EQ(run({rect, target, "--large-pictures"}), 0) << err.str();
  const auto written = lines(out.str());
  ASSERT_FALSE(written.empty());
  const core::Picture first = readBmp(written[0]);
  EXPECT_EQ(first.width(), 300);
  EXPECT_EQ(first.height(), 250);
  EXPECT_EQ(run({(dir / "huge.bmp").string(), target, "--large-pictures", "--lang", "ja"}), 1);
  EXPECT_EQ(err.str(), "画像が大きすぎます。(～1200x1200pixels)\n");
  EXPECT_EQ(run({(dir / "huge.bmp").string(), target, "--large-pictures", "--lang", "en"}), 1);
  EXPECT_EQ(err.str(), "The picture is too large. (Up to 1200x1200 pixels)\n");
  EXPECT_EQ(run({rect, target, "--large-pictures=yes"}), 2);
  EXPECT_EQ(err.str(), "brenlo-render: --large-pictures takes no value (see --help)\n");
  ASSERT_EQ(run({"--help"}), 0);
  EXPECT_NE(out.str().find("  --large-pictures       take a SOURCE of up to 1200 x 1200 pixels"), std::string::npos);
}

// A banner within 1000 x 200 gives the very same files whether large
// pictures are allowed or not, for every effect.
TEST_F(RenderRun, LargePicturesChangesNoFileOfABanner) {
  ASSERT_TRUE(output::SavePicture(gradient(468, 60), (dir / "banner.bmp").string()));
  for (const char* effect : {"slide", "turn", "rotate", "zoom", "diffuse", "elastic", "hue"}) {
    SCOPED_TRACE(effect);
    std::vector<std::vector<std::string>> files;
    for (const char* folder : {"off", "on"}) {
      std::vector<std::string> args{(dir / "banner.bmp").string(), (dir / folder / "b.bmp").string(), "--effect",
                                    effect};
      if (std::string(folder) == "on") args.push_back("--large-pictures");
      ASSERT_EQ(run(args), 0) << err.str();
      files.push_back(lines(out.str()));
    }
    ASSERT_EQ(files[0].size(), files[1].size());
    for (std::size_t i = 0; i < files[0].size(); ++i)
      EXPECT_EQ(bytesOf(files[0][i]), bytesOf(files[1][i])) << files[0][i];
  }
}

TEST_F(RenderRun, TheProgramSpeaksEnglishUnderAnEnglishOrCLocale) {
  // A PNG cut after its header: the header reader's own message.
  const madepics::Bytes png = madepics::makePng(madepics::PngSpec(4, 4, 8, 2), std::vector<std::uint16_t>(48, 7));
  std::ofstream(dir / "cut.png", std::ios::binary).write(reinterpret_cast<const char*>(png.data()), 40);
  const auto messageUnder = [&](const std::string& environment) {
    const fs::path log = dir / "stderr.txt";
    const std::string cmd = "env -u LC_ALL -u LC_MESSAGES -u LANGUAGE " + environment + " '" BRENLO_RENDER "' '" +
                            (dir / "cut.png").string() + "' '" + (dir / "o" / "x.bmp").string() + "' 2> '" +
                            log.string() + "'";
    EXPECT_NE(std::system(cmd.c_str()), 0) << environment;
    std::ifstream in(log);
    return std::string{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  };
  EXPECT_EQ(messageUnder("LANG=en_US.UTF-8"), "The PNG file is cut short.\n");
  EXPECT_EQ(messageUnder("LANG=C.UTF-8"), "The PNG file is cut short.\n");
  EXPECT_EQ(messageUnder("LANG=ja_JP.UTF-8"), "PNG ファイルが途中で切れています。\n");
  EXPECT_EQ(messageUnder("LANG=ja_JP.UTF-8 LC_ALL=C.UTF-8"), "The PNG file is cut short.\n");
}

TEST_F(RenderRun, UnwritableOutputExitsOne) {
  std::ofstream(dir / "blocker") << "a file, not a folder";
  EXPECT_EQ(run({source.string(), (dir / "blocker" / "x.bmp").string()}), 1);
  EXPECT_NE(err.str().find("cannot write " + (dir / "blocker" / "x-s-000.bmp").string()), std::string::npos);
  EXPECT_TRUE(out.str().empty());
}

// A preset without --plays picks the interval and the count as the dialog
// does, and the output says what the file does.
TEST_F(RenderRun, APresetPlaysAsOftenAsItAllowsAndSaysWhatTheFileDoes) {
  const fs::path target = dir / "ad" / "b.gif";
  // 320 x 50, one of the sizes Google lists; few colours keep it in the budget.
  core::Bitmap ad(320, 50, core::kWhite);
  for (int y = 10; y < 40; ++y)
    for (int x = 20; x < 120; ++x) ad.row(y)[x] = core::rgb(200, 40, 40);
  const fs::path adSource = dir / "ad-320x50.bmp";
  ASSERT_TRUE(output::SavePicture(core::Picture::fromBitmap(std::move(ad)), adSource.string()));
  ASSERT_EQ(run({adSource.string(), target.string(), "--gif", "animated", "--preset", "google"}), 0) << err.str();
  const fs::path gif = dir / "ad" / "b-s-.gif";
  const std::string bytes = std::to_string(fs::file_size(gif));
  EXPECT_EQ(lines(out.str()), (std::vector<std::string>{
                                  gif.string(),
                                  "animation: 23 frames, one play 4.6 s, 6 plays, 27.6 s in all, " + bytes + " bytes",
                                  "preset google: keeps to it (" + bytes + " of 150000 bytes)",
                              }));
  EXPECT_TRUE(err.str().empty());
  QImageReader reader(QString::fromStdString(gif.string()));
  EXPECT_EQ(reader.loopCount(), 5);
  int shownMs = 0;  // repeated frames may be stored once, for their summed time
  for (QImage image; reader.read(&image);) shownMs += reader.nextImageDelay();
  EXPECT_EQ(shownMs, 4600);

  ASSERT_EQ(run({adSource.string(), target.string(), "--gif", "animated", "--plays", "1", "--hold", "2"}), 0);
  EXPECT_EQ(lines(out.str()).at(1), "animation: 23 frames, one play 4.3 s, 1 play, 4.3 s in all, " +
                                        std::to_string(fs::file_size(gif)) + " bytes");
  ASSERT_EQ(run({adSource.string(), target.string(), "--gif", "animated", "--plays", "forever", "--hold", "2"}), 0);
  EXPECT_EQ(lines(out.str()).at(1),
            "animation: 22 frames, one play 4.2 s, plays forever, " + std::to_string(fs::file_size(gif)) + " bytes");
}

TEST(RenderArgs, AmazonDrawsTheGreyBorderUnlessBorderSaysElse) {
  const auto with = [](std::vector<std::string> extra) {
    std::vector<std::string> args = {"a.bmp", "b.gif", "--gif", "animated"};
    args.insert(args.end(), extra.begin(), extra.end());
    const auto p = parseRenderArgs(args);
    EXPECT_TRUE(p.args) << p.error;
    return p.args ? p.args->play.border : std::nullopt;
  };
  EXPECT_EQ(with({}), std::nullopt);
  EXPECT_EQ(with({"--preset", "google"}), std::nullopt);
  EXPECT_EQ(with({"--preset", "amazon"}), core::rgb(128, 128, 128));
  EXPECT_EQ(with({"--border", "none", "--preset", "amazon"}), std::nullopt);
  EXPECT_EQ(with({"--preset", "amazon", "--border", "ff0010"}), core::rgb(255, 0, 16));
  EXPECT_EQ(with({"--border", "none"}), std::nullopt);
  EXPECT_NE(app::renderUsage().find("--border RRGGBB|none"), std::string::npos);
}

TEST_F(RenderRun, AFileThatBreaksItsPresetIsWrittenAndExitsThree) {
  const fs::path target = dir / "ad" / "b.gif";
  EXPECT_EQ(run({source.string(), target.string(), "--gif", "animated", "--preset", "amazon", "--plays", "5"}), 3);
  EXPECT_EQ(err.str(), "brenlo-render: the animated GIF breaks the amazon preset: 5 plays, more than 3\n");
  EXPECT_TRUE(fs::exists(dir / "ad" / "b-s-.gif"));
  EXPECT_EQ(run({source.string(), target.string(), "--gif", "animated", "--preset", "iab", "--plays", "forever"}), 3);
  EXPECT_EQ(err.str(),
            "brenlo-render: the animated GIF breaks the iab preset: plays forever; size 20 x 10, not one "
            "of its sizes\n");
  // A size the network does not list breaks the preset on its own; Amazon
  // lists none.
  EXPECT_EQ(run({source.string(), target.string(), "--gif", "animated", "--preset", "google"}), 3);
  EXPECT_EQ(err.str(),
            "brenlo-render: the animated GIF breaks the google preset: size 20 x 10, not one of its sizes\n");
  EXPECT_TRUE(fs::exists(dir / "ad" / "b-s-.gif"));
  EXPECT_EQ(run({source.string(), target.string(), "--gif", "animated", "--preset", "amazon"}), 0) << err.str();
  // Amazon's grey border round every image of the file.
  QImageReader amazon(QString::fromStdString((dir / "ad" / "b-s-.gif").string()));
  int images = 0;
  for (QImage image; amazon.read(&image); ++images)
    for (const QPoint at : {QPoint(0, 0), QPoint(19, 0), QPoint(0, 9), QPoint(19, 9), QPoint(7, 0), QPoint(0, 5)})
      EXPECT_EQ(image.pixel(at) & 0xFFFFFF, 0x808080u) << images;
  EXPECT_GT(images, 1);
  // Noise does not compress: IAB gives a 320 x 50 banner 50,000 bytes.
  core::Bitmap noise(320, 50);
  std::uint32_t seed = 12345;
  for (auto& px : noise.px) px = (seed = seed * 1664525u + 1013904223u) >> 8;
  ASSERT_TRUE(output::SavePicture(core::Picture::fromBitmap(std::move(noise)), (dir / "noise.bmp").string()));
  EXPECT_EQ(run({(dir / "noise.bmp").string(), target.string(), "--gif", "animated", "--preset", "iab"}), 3);
  const auto bytes = fs::file_size(dir / "ad" / "b-s-.gif");
  EXPECT_GT(bytes, 50000u);
  EXPECT_EQ(err.str(), "brenlo-render: the animated GIF breaks the iab preset: " + std::to_string(bytes) +
                           " bytes, over the budget of 50000\n");
}

TEST_F(RenderRun, TheProgramItselfWithARelativeOutput) {
  const fs::path log = dir / "stdout.txt";
  const std::string cmd = "cd '" + dir.string() + "' && '" BRENLO_RENDER "' source.bmp out/t.jpg --effect turn > '" +
                          log.string() + "' 2>&1";
  ASSERT_EQ(std::system(cmd.c_str()), 0);
  std::ifstream in(log);
  const std::string text{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  const auto written = lines(text);
  ASSERT_EQ(written.size(), 12u) << text;
  EXPECT_EQ(written[7], (fs::canonical(dir) / "out" / "t-t-007.jpg").string());
  EXPECT_TRUE(fs::exists(dir / "out" / "t-t-007.jpg"));
  EXPECT_FALSE(fs::exists(dir / "out" / "t-t-007.bmp"));
  EXPECT_NE(std::system(("'" BRENLO_RENDER "' > /dev/null 2>&1")), 0);
}

}  // namespace

namespace {

// brenlo-render with a budget fits the animated GIF in one encode: no plain
// file is written and then fitted again.
TEST(RenderEncodes, ABudgetIsOneEncodeOfTheAnimation) {
  const fs::path dir = testutil::makeTempDir("render-encodes");
  ASSERT_TRUE(output::SavePicture(gradient(40, 16), (dir / "in.bmp").string()));
  std::vector<std::size_t> budgets;
  const save::AnimationEncoder counting = [&](const output::AnimationRequest& r) {
    budgets.push_back(r.play.budgetBytes);
    return output::encodeAnimationFile(r);
  };
  std::ostringstream out, err;
  const int status =
      runRender({(dir / "in.bmp").string(), (dir / "b.gif").string(), "--gif", "animated", "--max-bytes", "2500"}, out,
                err, QLocale::c(), counting);
  EXPECT_LE(status, 3) << err.str();
  EXPECT_EQ(budgets, std::vector<std::size_t>{2500});
  EXPECT_TRUE(fs::exists(dir / "b-s-.gif"));

  budgets.clear();
  runRender({(dir / "in.bmp").string(), (dir / "c.gif").string(), "--gif", "animated"}, out, err, QLocale::c(),
            counting);
  EXPECT_EQ(budgets, std::vector<std::size_t>{0});
}

}  // namespace

namespace {

// The files our presets write keep every rule of their preset when read
// back as browsers play them; --check exits 0, 3, 1 and 2 as its help says.
TEST_F(RenderRun, CheckFindsOurPresetFilesKeepingEveryRule) {
  core::Bitmap ad(300, 250, core::kWhite);
  for (int y = 60; y < 190; ++y)
    for (int x = 40; x < 260; ++x) ad.row(y)[x] = core::rgb(30, 60, 160);
  const fs::path adSource = dir / "ad-300x250.bmp";
  ASSERT_TRUE(output::SavePicture(core::Picture::fromBitmap(std::move(ad)), adSource.string()));
  for (const char* preset : {"google", "iab", "amazon"}) {
    SCOPED_TRACE(preset);
    for (const char* effect : {"slide", "diffuse", "hue"}) {
      const fs::path target = dir / preset / (std::string(effect) + ".gif");
      ASSERT_EQ(run({adSource.string(), target.string(), "--gif", "animated", "--preset", preset, "--effect", effect,
                     "--large-pictures"}),
                0)
          << err.str();
      const std::string written = lines(out.str()).at(0);
      EXPECT_EQ(run({"--check", written, "--preset", preset}), 0) << effect << "\n" << out.str();
      EXPECT_EQ(out.str().find("BROKEN"), std::string::npos);
    }
  }
  // Our plain looping GIF breaks only IAB's "must stop".
  const fs::path plain = dir / "plain.gif";
  ASSERT_EQ(run({adSource.string(), plain.string(), "--gif", "animated", "--large-pictures"}), 0);
  EXPECT_EQ(run({"--check", lines(out.str()).at(0), "--preset", "iab"}), 3);
  EXPECT_EQ(lines(out.str()).at(6), "plays: forever");
  EXPECT_NE(out.str().find("BROKEN  loops forever, must stop\n"), std::string::npos);

  EXPECT_EQ(run({"--check", source.string()}), 1);
  EXPECT_EQ(err.str(), "brenlo-render: cannot check " + source.string() + ": neither a GIF nor a WebP file\n");
  EXPECT_EQ(run({"--check", (dir / "missing.gif").string()}), 1);
  for (const std::vector<std::string>& bad :
       {std::vector<std::string>{"--check", "a.gif", "--preset", "msn"}, {"--check", "a.gif", "b.gif"},
        {"--check", "a.gif", "--gif", "animated"}, {"--check"}, {"a.bmp", "b.gif", "--gif", "animated", "--border", "red"},
        {"a.bmp", "b.bmp", "--border", "808080"}}) {
    EXPECT_EQ(run(bad), 2) << bad.back();
    EXPECT_TRUE(out.str().empty());
  }
}

}  // namespace
