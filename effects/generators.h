// One factory per effect, each defined in the effect's own file.
#pragma once

#include <memory>

#include "effects/generator.h"

namespace effects {

std::unique_ptr<Generator> makeSlideGenerator();
std::unique_ptr<Generator> makeTurnGenerator();
std::unique_ptr<Generator> makeRotateGenerator();
std::unique_ptr<Generator> makeZoomGenerator();
std::unique_ptr<Generator> makeDiffuseGenerator();
std::unique_ptr<Generator> makeElasticGenerator();
std::unique_ptr<Generator> makeHueGenerator();

}  // namespace effects
