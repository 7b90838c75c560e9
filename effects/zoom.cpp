#include "effects/generators.h"

namespace effects {

// Not written yet.
std::unique_ptr<Generator> makeZoomGenerator() { return nullptr; }

}  // namespace effects
