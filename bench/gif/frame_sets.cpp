#include "frame_sets.h"

#include <cstdio>
#include <cstdlib>

#include "effects/generator.h"
#include "effects/silent_host.h"
#include "effects/work_state.h"
#include "output/bmp_codec.h"
#include "output/file_io.h"

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
  std::unique_ptr<effects::Generator> generator = effects::makeGenerator(kind);
  if (!generator) return {};
  effects::WorkState ws;
  HeadlessHost host;
  host.options.bannerColor = effects::acceptSource(ws, source);
  host.options.effect = static_cast<int>(kind);
  ws.emptyCache(effects::info(kind).frames - 1);
  const std::string tag;
  effects::RunContext ctx(ws, host, host.options, false, tag);
  if (!generator->compose(ctx)) return {};
  std::vector<core::Picture> frames;
  for (int entry : generator->fileOrder()) frames.push_back(ws.mFrames[static_cast<std::size_t>(entry)]);
  return frames;
}

}  // namespace

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

}  // namespace gifbench
