// A Host that records what the driver and the generators ask of the window,
// and can act at an exact yield (for example request a stop at the n-th one).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "effects/host.h"

namespace testutil {

class FakeHost : public effects::Host {
 public:
  effects::Options options;
  // Called from yield() with the 1-based yield count.
  std::function<void(int)> onYield;
  // What the GIF question answers.
  bool gifAnimated = false;
  std::int16_t gifInterval = 10;
  output::PlaySettings gifPlay;  // the play choices it answers with
  bool webpAnswered = true;      // whether the WebP question answers (false: closed)
  int webpQuestions = 0;
  // The frames the GIF question was last asked with, and the measured file
  // it hands back on a true answer (nullopt: none).
  std::shared_ptr<const std::vector<core::Bitmap>> askedFrames;
  std::optional<output::AnimationFile> measuredAnswer;
  // What writeOverBudget answers, and every file it was asked about.
  bool overBudgetAnswer = true;
  std::vector<output::AnimationFile> overBudgetFiles;

  int yields = 0;
  std::vector<double> progress;  // every setProgress value, in order
  bool progressVisible = false;
  bool previewRunning = false;
  bool controlsEnabled = true;  // the "always" group
  bool allEnabled = true;       // cmdPrev, mnuPreview, cmdClose, mnuFileQuit
  bool messagePanelVisible = false;
  std::string message;
  std::vector<std::string> messages;  // every lblMsg text, in order
  bool copyButtonEnabled = false;
  bool copyMenuEnabled = false;
  int timerInterval = 0;
  bool timerRunning = false;
  int displayChanges = 0;
  bool hourglass = false;
  int gifQuestions = 0;
  int yieldsAtGifQuestion = -1;                     // the yield count when the question was last asked
  std::vector<output::AnimationShape> askedShapes;  // every shape the question was asked for
  std::vector<output::BudgetReport> budgets;        // every budget report shown
  std::vector<std::string> renderTimes;
  std::vector<std::pair<std::string, std::string>> saveErrors;
  effects::SystemTime clock;

  effects::Options readOptions() const override { return options; }
  void setProgress(double fraction) override { progress.push_back(fraction); }
  void setProgressVisible(bool visible) override { progressVisible = visible; }
  void yield() override {
    ++yields;
    if (onYield) onYield(yields);
  }
  void setPreviewRunning(bool running) override { previewRunning = running; }
  void setControlsEnabled(bool enabled, bool all) override {
    controlsEnabled = enabled;
    if (all) allEnabled = enabled;
  }
  void setMessagePanelVisible(bool visible) override { messagePanelVisible = visible; }
  void setMessage(const std::string& text) override {
    message = text;
    messages.push_back(text);
  }
  void setCopyButtonEnabled(bool enabled) override { copyButtonEnabled = enabled; }
  void setCopyMenuEnabled(bool enabled) override { copyMenuEnabled = enabled; }
  void startTimer(int intervalMs) override {
    timerInterval = intervalMs;
    timerRunning = true;
  }
  void stopTimer() override { timerRunning = false; }
  void displayChanged() override { ++displayChanges; }
  void setHourglass(bool busy) override { hourglass = busy; }
  std::optional<save::AnimationAnswer> askAnimation(const save::AnimationAsk& ask) override {
    askedShapes.push_back(ask.shape);
    save::AnimationAnswer answer;
    answer.animation.intervalCs = gifInterval;
    answer.animation.play = gifPlay;
    if (ask.format == save::AnimationFormat::Webp) {
      ++webpQuestions;
      if (!webpAnswered) return std::nullopt;
      answer.animated = true;
      return answer;
    }
    ++gifQuestions;
    yieldsAtGifQuestion = yields;
    askedFrames = ask.frames;
    answer.animated = gifAnimated;
    if (gifAnimated) answer.animation.measured = measuredAnswer;
    return answer;
  }
  bool writeOverBudget(const output::AnimationFile& file) override {
    overBudgetFiles.push_back(file);
    return overBudgetAnswer;
  }
  void showGifBudget(const output::BudgetReport& report) override { budgets.push_back(report); }
  void showRenderTime(const std::string& text) override { renderTimes.push_back(text); }
  void reportSaveError(const std::string& file, const std::string& reason) override {
    saveErrors.emplace_back(file, reason);
  }
  effects::SystemTime now() const override { return clock; }
};

}  // namespace testutil
