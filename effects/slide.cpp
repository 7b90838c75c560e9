#include "effects/generators.h"

namespace effects {

// Not written yet.
std::unique_ptr<Generator> makeSlideGenerator() { return nullptr; }

}  // namespace effects
