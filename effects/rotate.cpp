#include "effects/generators.h"

namespace effects {

// Not written yet.
std::unique_ptr<Generator> makeRotateGenerator() { return nullptr; }

}  // namespace effects
