#include "scenes/sequence.h"

#include "effects/generator.h"
#include "effects/silent_host.h"
#include "effects/work_state.h"

namespace scenes {

std::vector<int> entranceEntries(core::EffectKind kind) {
  switch (kind) {
    case core::EffectKind::Slide:
      return {0, 1, 2, 3, 4, 5};  // from both copies outside the frame to step 0
    case core::EffectKind::Turn:
      return {9, 10, 11, 0};  // the last quarter turn
    case core::EffectKind::Rotate:
      return {0, 1, 2, 3};  // from edge-on to face-on
    case core::EffectKind::Zoom:
      return {5, 4, 3, 2, 1, 0};  // from the blank frame up to full size
    case core::EffectKind::Diffuse:
      return {5, 4, 3, 2, 1, 0};  // from all background (or white, or black) back to the picture
    case core::EffectKind::Elastic:
      return {5, 6, 7, 8, 9, 0};  // from nothing, through the growing bands
    case core::EffectKind::Hue:
      return {11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1, 0};  // back to the picture's own colours
  }
  return {0};
}

std::optional<std::string> sizeMismatch(const std::vector<Scene>& scenes) {
  if (scenes.empty()) return std::nullopt;
  const core::Picture& first = scenes.front().picture;
  for (std::size_t i = 1; i < scenes.size(); ++i) {
    const core::Picture& p = scenes[i].picture;
    if (p.width() != first.width() || p.height() != first.height())
      return "scene " + std::to_string(i + 1) + "'s picture is " + std::to_string(p.width()) + " x " +
             std::to_string(p.height()) + " pixels, scene 1's " + std::to_string(first.width()) + " x " +
             std::to_string(first.height()) + ": every scene needs the first scene's size";
  }
  return std::nullopt;
}

namespace {

// Every frame of the scene's effect composed as its save composes them,
// over `behind` (empty: the flat colour).
std::vector<core::Picture> composeScene(const Scene& scene, const core::Picture& behind) {
  effects::WorkState ws;
  effects::acceptSource(ws, scene.picture);
  ws.picOver = behind;
  effects::SilentHost host;
  host.options = scene.options;
  const auto kind = static_cast<core::EffectKind>(scene.options.effect);
  std::unique_ptr<effects::Generator> gen = effects::makeGenerator(kind);
  if (!gen) return {};
  ws.emptyCache(core::info(kind).frames - 1);
  const std::string tag;
  effects::RunContext ctx(ws, host, scene.options, false, tag);
  gen->compose(ctx);
  return ws.mFrames;
}

void append(BannerFrames& b, const core::Picture& frame, int extraCs) {
  b.frames.push_back(*frame.bitmap());
  b.extraCs.push_back(extraCs);
}

// The scene's entrance; `withRest` false leaves out its rest frame.
bool appendEntrance(BannerFrames& b, const Scene& scene, const std::vector<core::Picture>& frames, bool withRest) {
  const std::vector<int> entries = entranceEntries(static_cast<core::EffectKind>(scene.options.effect));
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const bool rest = i + 1 == entries.size();
    if (rest && !withRest) break;
    const auto k = static_cast<std::size_t>(entries[i]);
    if (k >= frames.size() || frames[k].isEmpty()) return false;
    append(b, frames[k], rest ? scene.holdCs : 0);
  }
  return true;
}

}  // namespace

std::optional<BannerFrames> composeBanner(const std::vector<Scene>& scenes, bool loopsForever) {
  if (scenes.empty() || sizeMismatch(scenes)) return std::nullopt;
  BannerFrames b;
  b.width = scenes.front().picture.width();
  b.height = scenes.front().picture.height();
  const Scene& first = scenes.front();
  const std::vector<core::Picture> opening =
      composeScene(first, loopsForever && scenes.size() > 1 ? scenes.back().picture : core::Picture{});
  const auto firstKind = static_cast<core::EffectKind>(first.options.effect);
  const auto rest = static_cast<std::size_t>(entranceEntries(firstKind).back());
  if (rest >= opening.size() || opening[rest].isEmpty()) return std::nullopt;
  append(b, opening[rest], first.holdCs);
  for (std::size_t i = 1; i < scenes.size(); ++i) {
    if (!appendEntrance(b, scenes[i], composeScene(scenes[i], scenes[i - 1].picture), true)) return std::nullopt;
  }
  if (loopsForever && scenes.size() > 1 && !appendEntrance(b, first, opening, false)) return std::nullopt;
  return b;
}

}  // namespace scenes
