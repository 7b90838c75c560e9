// WrittenCheck: reads the animated GIF or WebP a save has just written, on a
// worker thread, with the very check brenlo-render --check makes, so that
// the dialog can say what the file does as browsers play it and which rules
// of its preset it breaks. The worker never sees a widget; its end comes
// back as a posted event. A newer file or the window's end cancels it.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <thread>

#include <QObject>
#include <QStringList>

#include "check/banner_check.h"

namespace app {

class WrittenCheck : public QObject {
 public:
  struct Result {
    std::string file;
    output::AdPreset preset = output::AdPreset::None;
    check::CheckOutcome outcome;
  };

  explicit WrittenCheck(QObject* parent = nullptr);
  ~WrittenCheck() override;  // cancel()
  WrittenCheck(const WrittenCheck&) = delete;
  WrittenCheck& operator=(const WrittenCheck&) = delete;

  // Checks `file` against `preset`, dropping any check still running and the
  // last result.
  void start(const std::string& file, output::AdPreset preset);
  // Stops the running check and joins its thread; the last result stays.
  void cancel();
  bool isBusy() const { return worker_.joinable(); }

  // Called on the GUI thread when last() holds the newest file's result.
  void setResultHandler(std::function<void()> handler) { onResult_ = std::move(handler); }
  const std::optional<Result>& last() const { return last_; }

 protected:
  bool event(QEvent* e) override;

 private:
  void join();

  std::thread worker_;
  std::shared_ptr<output::CancelFlag> flag_;
  std::uint64_t job_ = 0;
  // Written by the worker, read on the GUI thread only after joining it.
  std::optional<Result> workerResult_;
  std::optional<Result> last_;
  std::function<void()> onResult_;
};

// What the dialog shows of a checked file: one line of its figures (bytes,
// frames, one play and the plays as browsers play them) and one warning per
// broken rule, the figures and verdicts of brenlo-render --check's report.
QString writtenSummary(const check::BannerCheck& c);
QStringList brokenRules(const check::BannerCheck& c);

}  // namespace app
