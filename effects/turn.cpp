#include "effects/generators.h"

namespace effects {

// Not written yet.
std::unique_ptr<Generator> makeTurnGenerator() { return nullptr; }

}  // namespace effects
