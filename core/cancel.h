// Stopping a long encode from another thread, and watching how far it came.
#pragma once

#include <algorithm>
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

// How far a long piece of work has come, for a progress bar on another
// thread. The worker (one thread) counts steps it expects to cost about the
// same, and parts of the step it is in; any thread reads thousandths, which
// never fall. A search that takes more steps than expected slows near the
// end instead of running past it.
class WorkProgress {
 public:
  static constexpr int kWhole = 1000;

  // Any thread: 0..kWhole.
  int thousandths() const { return shown_.load(std::memory_order_relaxed); }

  // The worker: at least `steps` steps in all (the count only rises).
  void expect(int steps) { expected_ = std::max(expected_, steps); }
  int stepsDone() const { return done_; }
  // `done` of `of` parts of the current step.
  void part(long long done, long long of) {
    if (of > 0) publish(static_cast<double>(std::clamp(done, 0LL, of)) / static_cast<double>(of));
  }
  void stepDone() {
    ++done_;
    publish(0.0);
  }
  void finish() { shown_.store(kWhole, std::memory_order_relaxed); }

 private:
  void publish(double inStep) {
    const double steps = std::max(expected_, done_ + 1);
    // The whole is shown only by finish(): the file is not there before it.
    const int t = std::min(kWhole - 1, static_cast<int>((done_ + inStep) / steps * kWhole));
    if (t > shown_.load(std::memory_order_relaxed)) shown_.store(t, std::memory_order_relaxed);
  }

  int expected_ = 1;
  int done_ = 0;
  std::atomic<int> shown_{0};
};

// Reports to `progress` when there is one.
inline void reportPart(WorkProgress* progress, long long done, long long of) {
  if (progress) progress->part(done, of);
}
inline void reportStep(WorkProgress* progress) {
  if (progress) progress->stepDone();
}

}  // namespace output
