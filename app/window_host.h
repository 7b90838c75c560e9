// The main window as the generation driver's host: the driver reads the
// options and shows its progress, messages, captions and frames through here.
#pragma once

#include <QElapsedTimer>

#include "effects/host.h"

namespace app {

class frmMain;

// Real event processing happens in yield() only when this many milliseconds
// passed since the last time: yield is called once per point in some effects.
inline constexpr int kYieldIntervalMs = 25;
// yield() reads the clock once per this many calls (every call when the
// interval is 0).
inline constexpr int kClockStride = 32;

class WindowHost : public effects::Host {
 public:
  explicit WindowHost(frmMain& window);
  ~WindowHost() override;

  effects::Options readOptions() const override;
  void setProgress(double fraction) override;
  void setProgressVisible(bool visible) override;
  void yield() override;
  void setPreviewRunning(bool running) override;
  void setControlsEnabled(bool enabled, bool all) override;
  void setMessagePanelVisible(bool visible) override;
  void setMessage(const std::string& text) override;
  void setCopyButtonEnabled(bool enabled) override;
  void setCopyMenuEnabled(bool enabled) override;
  void startTimer(int intervalMs) override;
  void stopTimer() override;
  void displayChanged() override;
  void setHourglass(bool busy) override;
  std::optional<save::AnimationAnswer> askAnimation(const save::AnimationAsk& ask) override;
  bool writeOverBudget(const output::AnimationFile& file) override;
  void showGifBudget(const output::BudgetReport& report) override;
  void animationWritten(const std::string& file, output::AdPreset preset) override;
  void showRenderTime(const std::string& text) override;
  void reportSaveError(const std::string& file, const std::string& reason) override;
  effects::SystemTime now() const override;

  // How often yield() processes events, in milliseconds (0 = every time).
  void setEventInterval(int ms) { eventIntervalMs_ = ms; }

 private:
  frmMain& w_;
  QElapsedTimer sinceEvents_;
  bool hourglass_ = false;
  int eventIntervalMs_ = kYieldIntervalMs;
  int callsSinceClock_ = 0;
};

}  // namespace app
