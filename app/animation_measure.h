// AnimationMeasure: encodes the animated GIF of the dialog's current choices
// on a worker thread, so that the dialog can show what OK would write while
// the user is still choosing.
//
// All calls are made on the GUI thread. Requests are debounced; at most one
// worker thread exists at a time, and a request that is no longer the newest
// is cancelled through its own flag and its result dropped. The worker only
// runs output::encodeAnimationFile (and reads the file back for its flashing) and hands the result back through a queued
// call; it never sees a widget. The GUI thread waits for a worker only in
// cancel() (and the destructor), which the encoder's cancel flag keeps short.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include <QObject>
#include <QTimer>

#include "check/flash.h"
#include "gif/animation_file.h"

namespace app {

class AnimationMeasure : public QObject {
 public:
  struct Measurement {
    output::AnimationRequest request;
    output::AnimationFile file;
    // The file's flashing as browsers play it (the check brenlo-render
    // --check makes); nullopt when the encoded file could not be read back.
    std::optional<check::FlashResult> flash;
  };

  explicit AnimationMeasure(QObject* parent = nullptr);
  ~AnimationMeasure() override;  // cancel()
  AnimationMeasure(const AnimationMeasure&) = delete;
  AnimationMeasure& operator=(const AnimationMeasure&) = delete;

  // Measures `request`: at once when nothing ran or was asked for during the
  // debounce time, otherwise once it has stayed the newest for that long.
  // A request equal to the last measurement's is answered at once from it;
  // one equal to the request already waiting or running changes nothing.
  void request(const output::AnimationRequest& request);

  // Stops the work: drops the waiting request, sets the running job's flag
  // and joins its thread. A result the worker had already finished for the
  // newest request is kept as the last measurement (without a call of the
  // result handler); the last measurement stays either way.
  void cancel();
  // cancel() and forgets the last measurement too.
  void reset();

  // Called on the GUI thread whenever last() holds the measurement of the
  // newest request.
  void setResultHandler(std::function<void()> handler) { onResult_ = std::move(handler); }

  const std::optional<Measurement>& last() const { return last_; }
  // True while a request waits for its turn or is being measured.
  bool isBusy() const { return pending_.has_value() || worker_.joinable(); }
  // True while a worker thread exists (running, or done and not yet joined).
  bool hasWorker() const { return worker_.joinable(); }
  // How far the running measurement has come, in thousandths
  // (output::WorkProgress); -1 when none runs for the newest request.
  int progress() const;

  // The debounce time in milliseconds (150 by default).
  void setDelay(int ms) { debounce_.setInterval(ms); }

 protected:
  bool event(QEvent* e) override;

 private:
  void startPending();
  // The worker's end, queued to the GUI thread: joins it and takes its result.
  void workerDone(std::uint64_t job);
  // Joins the worker and moves a current result into last_; true when one came.
  bool joinWorker();

  QTimer debounce_;
  std::optional<output::AnimationRequest> pending_;
  std::optional<output::AnimationRequest> running_;  // the request the worker measures
  std::optional<Measurement> last_;
  std::function<void()> onResult_;

  std::thread worker_;
  std::shared_ptr<output::CancelFlag> flag_;  // the running job's
  std::shared_ptr<output::WorkProgress> progress_;  // the running job's
  std::uint64_t job_ = 0;                     // the running (or last) job's number
  bool runningIsStale_ = false;               // a newer request came after it started

  // The worker's result (nullopt: cancelled or refused). Written by the
  // worker before it posts its queued call, read on the GUI thread only
  // after joining it: the join, not Qt's event queue, orders the two.
  std::optional<output::AnimationFile> workerResult_;
  std::optional<check::FlashResult> workerFlash_;
};

}  // namespace app
