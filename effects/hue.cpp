#include "effects/generators.h"

namespace effects {

// Not written yet.
std::unique_ptr<Generator> makeHueGenerator() { return nullptr; }

}  // namespace effects
