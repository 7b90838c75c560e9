#include "effects/generators.h"

namespace effects {

// Not written yet.
std::unique_ptr<Generator> makeElasticGenerator() { return nullptr; }

}  // namespace effects
