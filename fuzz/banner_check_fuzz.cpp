// The banner check on arbitrary bytes: reading, composing every frame as
// browsers show it and measuring the flashes must stay inside the input and
// within the limits, and a file it accepts has a canvas and frames.
#include <cstdint>
#include <cstdlib>

#include "check/banner_check.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const check::CheckOutcome outcome = check::checkBanner(data, size, output::AdPreset::Google);
  if (outcome.ok) {
    const check::BannerFacts& f = outcome.check.facts;
    if (f.width < 1 || f.height < 1 || f.width > check::kMaxCanvasWidth || f.height > check::kMaxCanvasHeight)
      std::abort();
    if (f.storedDelaysMs.empty() || f.storedDelaysMs.size() > static_cast<std::size_t>(check::kMaxFrames)) std::abort();
    if (outcome.check.rules.empty()) std::abort();
  } else if (outcome.problem.empty()) {
    std::abort();
  }
  return 0;
}
