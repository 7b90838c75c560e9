#include "effects/work_state.h"

namespace effects {

// The classic 24-bit linear congruential generator: the state advances first
// and the new state, as a fraction of 2^24, is the result. Arithmetic modulo
// 2^32 followed by the mask is the same as modulo 2^24.
double RandomSource::next() {
  state_ = (state_ * 0x43FD43FDu + 0xC39EC3u) & 0xFFFFFFu;
  return static_cast<double>(state_) / 16777216.0;
}

}  // namespace effects
