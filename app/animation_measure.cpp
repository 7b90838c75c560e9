#include "app/animation_measure.h"

#include <memory>
#include <utility>

#include <QCoreApplication>
#include <QEvent>

#include "check/banner_check.h"

namespace app {

namespace {
constexpr int kDebounceMs = 150;

QEvent::Type workerDoneType() {
  static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
  return type;
}

// The worker's end as an event made on the GUI thread: the worker only
// posts it, so nothing it allocated is read by the GUI thread (a lambda
// queued from the worker would be built there, behind Qt's own locks, which
// ThreadSanitizer cannot see).
struct WorkerDoneEvent : QEvent {
  explicit WorkerDoneEvent(std::uint64_t j) : QEvent(workerDoneType()), job(j) {}
  std::uint64_t job;
};
}  // namespace

AnimationMeasure::AnimationMeasure(QObject* parent) : QObject(parent) {
  debounce_.setSingleShot(true);
  debounce_.setInterval(kDebounceMs);
  connect(&debounce_, &QTimer::timeout, this, [this] { startPending(); });
}

AnimationMeasure::~AnimationMeasure() { cancel(); }

void AnimationMeasure::request(const output::AnimationRequest& request) {
  if (pending_ && *pending_ == request) return;
  if (!pending_ && running_ && !runningIsStale_ && *running_ == request) return;
  // Whatever runs now measures something else.
  if (worker_.joinable()) {
    flag_->store(true);
    runningIsStale_ = true;
  }
  if (last_ && last_->request == request) {
    pending_.reset();
    debounce_.stop();
    if (onResult_) onResult_();
    return;
  }
  // The first request after a quiet spell starts at once (the dialog's first
  // figure); those that follow it within the debounce time wait until the
  // user has stopped changing things for that long.
  const bool quiet = !worker_.joinable() && !debounce_.isActive();
  pending_ = request;
  debounce_.start();
  if (quiet) startPending();
}

void AnimationMeasure::startPending() {
  // A cancelled job still has to come to its end; its workerDone starts this one.
  if (!pending_ || worker_.joinable()) return;
  running_ = std::move(pending_);
  pending_.reset();
  runningIsStale_ = false;
  flag_ = std::make_shared<output::CancelFlag>(false);
  progress_ = std::make_shared<output::WorkProgress>();
  const std::uint64_t job = ++job_;
  auto done = std::make_unique<WorkerDoneEvent>(job);
  worker_ = std::thread([this, request = *running_, flag = flag_, progress = progress_, done = std::move(done)]() mutable {
    std::optional<output::AnimationFile> file;
    std::optional<check::FlashResult> flash;
    try {
      file = output::encodeAnimationFile(request, flag.get(), progress.get());
      // Flashing is judged on the file as it plays, with the very check
      // brenlo-render --check makes.
      if (file) {
        const check::CheckOutcome c =
            check::checkBanner(file->bytes.data(), file->bytes.size(), output::AdPreset::None, flag.get());
        if (c.ok) flash = c.check.flash;
        // Stopped while reading it back: no half measurement is kept.
        if (flag->load()) file.reset();
      }
    } catch (...) {
      // Out of memory for a measurement: no figure, and the save will say
      // what went wrong when it encodes the file itself.
    }
    workerResult_ = std::move(file);  // read only after join(), which orders the two
    workerFlash_ = flash;
    QCoreApplication::postEvent(this, done.release());
  });
}

bool AnimationMeasure::event(QEvent* e) {
  if (e->type() != workerDoneType()) return QObject::event(e);
  workerDone(static_cast<WorkerDoneEvent*>(e)->job);
  return true;
}

void AnimationMeasure::workerDone(std::uint64_t job) {
  // cancel() may have joined this job already and a newer one may run.
  if (job != job_ || !worker_.joinable()) return;
  if (joinWorker() && onResult_) onResult_();
  if (pending_ && !debounce_.isActive()) startPending();
}

bool AnimationMeasure::joinWorker() {
  if (!worker_.joinable()) return false;
  worker_.join();
  const bool current = workerResult_ && running_ && !runningIsStale_;
  if (current) last_ = Measurement{std::move(*running_), std::move(*workerResult_), workerFlash_};
  workerResult_.reset();
  workerFlash_.reset();
  running_.reset();
  flag_.reset();
  progress_.reset();
  runningIsStale_ = false;
  return current;
}

int AnimationMeasure::progress() const {
  if (!worker_.joinable() || runningIsStale_ || !progress_) return -1;
  return progress_->thousandths();
}

void AnimationMeasure::cancel() {
  debounce_.stop();
  pending_.reset();
  if (flag_) flag_->store(true);
  (void)joinWorker();
}

void AnimationMeasure::reset() {
  cancel();
  last_.reset();
}

}  // namespace app
