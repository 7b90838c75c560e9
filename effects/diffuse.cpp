#include "effects/generators.h"

namespace effects {

// Not written yet.
std::unique_ptr<Generator> makeDiffuseGenerator() { return nullptr; }

}  // namespace effects
