#include "frame_sets.h"

#include <cstdio>
#include <cstdlib>

#include "effects/generator.h"
#include "effects/silent_host.h"
#include "effects/work_state.h"
#include "frame_files/bmp_codec.h"
#include "frame_files/file_io.h"

namespace gifbench {
namespace {

// A window that is not there: every request is answered and ignored.
class HeadlessHost final : public effects::SilentHost {
 public:
  HeadlessHost() { gifAnimated = true; }
};

// Composes the effect's frames as its save would; empty when the effect is
// not available.
std::vector<core::Picture> compose(effects::EffectKind kind, const core::Picture& source) {
  effects::Options options;
  options.effect = static_cast<int>(kind);
  return savedFrames(options, source);
}

}  // namespace

std::vector<core::Picture> savedFrames(const effects::Options& options, const core::Picture& source,
                                       std::optional<core::Color> banner) {
  const auto kind = static_cast<effects::EffectKind>(options.effect);
  std::unique_ptr<effects::Generator> generator = effects::makeGenerator(kind);
  if (!generator) return {};
  effects::WorkState ws;
  HeadlessHost host;
  host.options = options;
  host.options.bannerColor = banner.value_or(effects::acceptSource(ws, source));
  if (banner) (void)effects::acceptSource(ws, source);
  ws.emptyCache(effects::info(kind).frames - 1);
  const std::string tag;
  effects::RunContext ctx(ws, host, host.options, false, tag);
  if (!generator->compose(ctx)) return {};
  std::vector<core::Picture> frames;
  const std::vector<int> order = generator->fileOrder();
  for (int entry : order) frames.push_back(ws.mFrames[static_cast<std::size_t>(entry)]);
  if (generator->backAndForth(host.options)) {
    for (std::size_t i = order.size() - 2; i >= 1 && i < order.size(); --i) frames.push_back(frames[i]);
  }
  return frames;
}

core::Picture crop(const core::Picture& source, int w, int h) {
  core::Bitmap out(w, h);
  const int left = (source.width() - w) / 2;
  const int top = (source.height() - h) / 2;
  for (int y = 0; y < h; ++y) {
    for (int x = 0; x < w; ++x) out.row(y)[x] = source.row(top + y)[left + x];
  }
  return core::Picture::fromBitmap(std::move(out));
}

core::Picture resampled(const core::Picture& source, int w, int h) {
  core::Bitmap out(w, h);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x)
      out.row(y)[x] = source.pixel(static_cast<int>(static_cast<long>(x) * source.width() / w),
                                   static_cast<int>(static_cast<long>(y) * source.height() / h));
  return core::Picture::fromBitmap(std::move(out));
}

core::Picture loadPicture(const std::string& bmpPath) {
  const auto bytes = output::readWholeFile(bmpPath, 64u << 20);
  std::optional<core::Bitmap> bitmap = bytes ? output::decodeBmp(*bytes) : std::nullopt;
  if (!bitmap) {
    std::fprintf(stderr, "cannot read %s\n", bmpPath.c_str());
    std::exit(2);
  }
  return core::Picture::fromBitmap(std::move(*bitmap));
}

FrameSet slideFrames(const std::string& name, const core::Picture& source) {
  return FrameSet{name, compose(effects::EffectKind::Slide, source), "effects: Slide save, 22 frames"};
}

FrameSet hueFrames(const std::string& name, const core::Picture& source) {
  return FrameSet{name, compose(effects::EffectKind::Hue, source), "effects: Hue save, rotation, 12 frames"};
}

std::vector<NamedSet> benchmarkSets(const std::string& benchDir, bool withPhoto728) {
  std::vector<NamedSet> sets = {
      {"logo", [=] { return slideFrames("logo", loadPicture(benchDir + "/logo.bmp")); }},
      {"logo468", [=] { return slideFrames("logo468", loadPicture(benchDir + "/logo468.bmp")); }},
      {"photo", [=] { return hueFrames("photo", loadPicture(benchDir + "/photo.bmp")); }},
  };
  if (withPhoto728)
    sets.push_back({"photo728", [=] { return hueFrames("photo728", crop(loadPicture(benchDir + "/photo.bmp"), 728, 90)); }});
  return sets;
}

}  // namespace gifbench
