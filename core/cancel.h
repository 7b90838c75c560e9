// Stopping a long encode from another thread.
#pragma once

#include <atomic>

namespace output {

// Set by the caller (any thread) to stop the work that was handed it.
using CancelFlag = std::atomic<bool>;

// Thrown inside the encoder when the flag is seen set; the public calls
// catch it and return nothing.
struct Cancelled {};

inline void throwIfCancelled(const CancelFlag* flag) {
  if (flag && flag->load(std::memory_order_relaxed)) throw Cancelled{};
}

}  // namespace output
