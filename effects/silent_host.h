// A host with no window behind it: nothing is shown and nothing is waited
// for. Runs without a window (the command-line renderer, benchmarks) derive
// from it and override only what they need.
#pragma once

#include <cstdint>
#include <string>

#include "effects/host.h"

namespace effects {

class SilentHost : public Host {
 public:
  Options options;                // what readOptions() answers
  bool gifAnimated = false;       // what the GIF question answers
  std::int16_t gifInterval = 10;  // the interval every answer gives

  Options readOptions() const override { return options; }
  void setProgress(double) override {}
  void setProgressVisible(bool) override {}
  void yield() override {}
  void setPreviewRunning(bool) override {}
  void setControlsEnabled(bool, bool) override {}
  void setMessagePanelVisible(bool) override {}
  void setMessage(const std::string&) override {}
  void setCopyButtonEnabled(bool) override {}
  void setCopyMenuEnabled(bool) override {}
  void startTimer(int) override {}
  void stopTimer() override {}
  void displayChanged() override {}
  void setHourglass(bool) override {}
  // A GIF is animated as gifAnimated says; a WebP is always one animation.
  std::optional<save::AnimationAnswer> askAnimation(const save::AnimationAsk& ask) override {
    save::AnimationAnswer answer;
    answer.animated = ask.format == save::AnimationFormat::Webp || gifAnimated;
    answer.animation.intervalCs = gifInterval;
    return answer;
  }
  void showRenderTime(const std::string&) override {}
  void reportSaveError(const std::string&, const std::string&) override {}
  SystemTime now() const override { return {}; }
};

}  // namespace effects
