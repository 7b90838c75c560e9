#include "effects/generator.h"

#include <numeric>

#include "effects/generators.h"

namespace effects {

std::vector<int> Generator::fileOrder() const {
  std::vector<int> order(static_cast<std::size_t>(info(kind()).frames));
  std::iota(order.begin(), order.end(), 0);
  return order;
}

std::unique_ptr<Generator> makeGenerator(EffectKind kind) {
  switch (kind) {
    case EffectKind::Slide: return makeSlideGenerator();
    case EffectKind::Turn: return makeTurnGenerator();
    case EffectKind::Rotate: return makeRotateGenerator();
    case EffectKind::Zoom: return makeZoomGenerator();
    case EffectKind::Diffuse: return makeDiffuseGenerator();
    case EffectKind::Elastic: return makeElasticGenerator();
    case EffectKind::Hue: return makeHueGenerator();
  }
  return nullptr;
}

}  // namespace effects
