#include "effects/driver.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "effects/generator.h"
#include "save/save_step.h"
#include "save/target.h"

namespace effects {

namespace {

const std::string kPrev = "prev";
const std::string kPause = "pause";
const std::string kNext = "next";

// Sets a flag for the lifetime of a scope, also when an exception leaves it.
class FlagScope {
 public:
  explicit FlagScope(bool& flag) : flag_(flag) { flag_ = true; }
  ~FlagScope() { flag_ = false; }
  FlagScope(const FlagScope&) = delete;
  FlagScope& operator=(const FlagScope&) = delete;

 private:
  bool& flag_;
};

// Entries 0..frames-1 all hold a picture.
bool cacheFilled(const WorkState& ws, int frames) {
  if (ws.mFrames.size() < static_cast<std::size_t>(frames)) return false;
  for (int k = 0; k < frames; ++k)
    if (ws.mFrames[static_cast<std::size_t>(k)].isEmpty()) return false;
  return true;
}

// The "/debug" text: seconds formatted "0.000" followed by "(s)".
std::string formatRenderTime(double seconds) {
  char text[64];
  std::snprintf(text, sizeof text, "%.3f(s)", seconds);
  return text;
}

// The user answers whether a file over its budget is written, with the
// normal pointer.
class OverBudgetAnswer final : public save::OverBudgetQuestion {
 public:
  explicit OverBudgetAnswer(Host& host) : host_(host) {}
  bool writeOverBudget(const output::AnimationFile& file) override {
    host_.setHourglass(false);
    const bool write = host_.writeOverBudget(file);
    host_.setHourglass(true);
    return write;
  }

 private:
  Host& host_;
};

}  // namespace

struct Driver::Impl {
  Impl(WorkState& state, Host& windowHost, bool debugCommandLine)
      : ws(state), host(windowHost), debug(debugCommandLine) {}

  WorkState& ws;
  Host& host;
  const bool debug;

  std::string tag;        // cmdPrev.Tag
  std::string playState;  // the tag of cmdPause(0)

  // The preview run in progress (null when none).
  std::unique_ptr<Generator> gen;
  Options runOptions;
  PlaybackPlan plan;
  std::size_t position = 0;   // index into plan.entries of the frame on show
  bool playing = false;       // the cache is being played from the timer
  bool timerPending = false;  // tmr1 is enabled
  bool rendering = false;     // inside a generator's compose
  bool saving = false;
  std::vector<std::string> savedFiles;
  save::SaveReport lastSave;
  Driver::SaveExtras extras;

  void startPreview();
  bool render(Generator& g, const Options& o, bool preview);
  void requestStop();
  void endPreview();
  void startPlayback();
  void showFrame();
  void advanceIfReleased();

  void runSave(Generator& g, const Options& o);
  bool writeFrames(Generator& g, const Options& o, const EffectInfo& fx);
  save::FramesByFile framesByFile(const std::vector<int>& order) const;
};

// ---- preview ----------------------------------------------------------------

void Driver::Impl::startPreview() {
  if (!ws.hasSource()) return;
  const Options o = host.readOptions();
  if (!isValidEffectIndex(o.effect)) return;
  std::unique_ptr<Generator> g = makeGenerator(static_cast<EffectKind>(o.effect));
  if (!g) return;
  gen = std::move(g);
  runOptions = o;

  tag = kPrev;
  host.setPreviewRunning(true);
  host.setControlsEnabled(false, false);

  const SystemTime start = host.now();
  render(*gen, runOptions, true);
  const SystemTime end = host.now();
  if (tag.empty()) {  // stopped while rendering: no playback
    endPreview();
    return;
  }
  if (debug && gen->timesRender()) {
    host.showRenderTime(formatRenderTime(SecondsBetween(start, end)));
    if (tag.empty()) {  // the box is modal, but a stop may still have come in
      endPreview();
      return;
    }
  }
  startPlayback();
}

// Composes into an emptied cache. The cache counts as complete only when the
// run composed every frame and nothing emptied the cache meanwhile.
bool Driver::Impl::render(Generator& g, const Options& o, bool preview) {
  const int frames = info(g.kind()).frames;
  ws.emptyCache(frames - 1);
  RunContext ctx(ws, host, o, preview, tag);
  bool complete = false;
  {
    FlagScope busy(rendering);
    complete = g.compose(ctx);
  }
  ws.framesComplete = complete && cacheFilled(ws, frames);
  return ws.framesComplete;
}

void Driver::Impl::requestStop() {
  host.setPreviewRunning(false);
  tag.clear();
  // A render in progress notices the empty tag at its next check (or, for an
  // effect without checks, finishes composing); the end steps then run when
  // it returns. Running them now would unlock the controls while the render
  // still writes into the cache and the surfaces.
  if (!rendering) endPreview();
}

// The end steps of a preview; running them twice changes nothing.
void Driver::Impl::endPreview() {
  playing = false;
  timerPending = false;
  host.stopTimer();
  host.setMessagePanelVisible(false);
  ws.picX.setPicture(ws.picSource.picture());
  host.setControlsEnabled(true, false);
  host.setProgressVisible(false);
  host.setCopyMenuEnabled(false);
  if (gen) gen->endPreview(ws, host.readOptions());
  gen.reset();
  plan = PlaybackPlan{};
  host.displayChanged();
}

void Driver::Impl::startPlayback() {
  plan = gen->playback(runOptions);
  if (plan.entries.empty()) {
    endPreview();
    return;
  }
  host.setMessagePanelVisible(true);
  position = 0;
  playing = true;
  showFrame();
}

void Driver::Impl::showFrame() {
  const int k = plan.entries[position];
  // An entry that is missing or empty shows as the empty picture.
  const core::Picture frame = (k >= 0 && static_cast<std::size_t>(k) < ws.mFrames.size())
                                  ? ws.mFrames[static_cast<std::size_t>(k)]
                                  : core::Picture{};
  ws.picX.setPicture(frame);
  host.displayChanged();
  host.setMessage(position < plan.labels.size() ? plan.labels[position] : std::string());
  timerPending = true;
  host.startTimer(plan.intervalMs);
}

// The playback loop's wait: the next frame comes once the timer has elapsed
// and playback is not paused; a requested step pauses again after it.
void Driver::Impl::advanceIfReleased() {
  if (!playing || timerPending || playState == kPause) return;
  if (playState == kNext) playState = kPause;
  position = (position + 1) % plan.entries.size();
  showFrame();
}

// ---- save -------------------------------------------------------------------

void Driver::Impl::runSave(Generator& g, const Options& o) {
  if (!ws.hasSource()) return;
  FlagScope busy(saving);
  host.setHourglass(true);
  host.setControlsEnabled(false, true);
  if (g.createsSaveFolder()) {
    std::error_code ec;  // a folder that cannot be made shows up as a write error
    if (!std::filesystem::is_directory(ws.SavePath, ec)) std::filesystem::create_directory(ws.SavePath, ec);
  }

  const EffectInfo& fx = info(g.kind());
  const std::string base = ws.SavePath + "/" + ws.BaseName + std::string(fx.tag);
  try {
    // Reuse the last preview's frames only when they are all there.
    if (!(ws.framesComplete && cacheFilled(ws, fx.frames))) render(g, o, false);
    if (cacheFilled(ws, fx.frames)) writeFrames(g, o, fx);
  } catch (const std::exception& e) {
    host.reportSaveError(base, e.what());
  }

  ws.picX.clear();
  g.endSave(ws, host.readOptions());
  host.setProgressVisible(false);
  host.displayChanged();
  host.setHourglass(false);
  host.setControlsEnabled(true, true);
}

bool Driver::Impl::writeFrames(Generator& g, const Options& o, const EffectInfo& fx) {
  const std::vector<int> order = g.fileOrder();
  const core::Picture& first = ws.mFrames[static_cast<std::size_t>(order.front())];
  save::SaveRequest request;
  request.target = save::SaveTarget{ws.SavePath, ws.BaseName, std::string(fx.tag), ws.SaveExt};
  request.shape.last = static_cast<int>(order.size()) - 1;
  request.shape.backAndForth = g.backAndForth(o);
  request.shape.restFile = g.restFrame(o);
  request.shape.width = first.width();
  request.shape.height = first.height();
  request.frames = framesByFile(order);

  // The pointer is the normal one while a question is up.
  const save::AnimationQuestion ask = [this](const save::AnimationAsk& a) {
    host.setHourglass(false);
    std::optional<save::AnimationAnswer> answer = host.askAnimation(a);
    host.setHourglass(true);
    return answer;
  };
  std::optional<save::AnimationAnswer> answer = save::askSave(ask, ws.SaveExt, request.shape, request.frames);
  if (!answer) return false;  // a closed WebP question writes nothing
  request.animated = answer->animated;
  request.animation = std::move(answer->animation);
  if (request.target.ext == ".gif") {
    if (extras.budgetBytes > 0) request.animation.play.budgetBytes = extras.budgetBytes;
    request.animation.presetBudgetWhenOver = extras.presetBudgetWhenOver;
  }

  OverBudgetAnswer question(host);
  lastSave = save::saveFrames(request, &question, extras.encoder);
  const save::SaveReport& report = lastSave;
  savedFiles = report.files;
  if (!report.status) {
    host.reportSaveError(report.status.file, report.status.reason);
    return false;
  }
  if (report.budget) {
    host.setHourglass(false);
    host.showGifBudget(*report.budget);
    host.setHourglass(true);
  }
  if (request.animated && report.files.size() == 1)
    host.animationWritten(report.files.front(), request.animation.play.preset);
  return !report.declined;
}

// The frames as the save numbers its files; the copy lets the GIF dialog
// measure on a worker while the cache stays the window's.
save::FramesByFile Driver::Impl::framesByFile(const std::vector<int>& order) const {
  auto frames = std::make_shared<std::vector<core::Bitmap>>();
  frames->reserve(order.size());
  for (int index : order) frames->push_back(*ws.mFrames[static_cast<std::size_t>(index)].bitmap());
  return frames;
}

// ---- Driver -----------------------------------------------------------------

Driver::Driver(WorkState& ws, Host& host, bool debugCommandLine)
    : impl_(std::make_unique<Impl>(ws, host, debugCommandLine)) {}

Driver::~Driver() = default;

void Driver::previewCommand() {
  Impl& d = *impl_;
  d.playState.clear();
  d.host.setCopyButtonEnabled(false);
  if (d.saving) return;  // a save locks the preview command
  if (!d.tag.empty()) {
    d.requestStop();
    return;
  }
  // A stopped render that is still unwinding never starts a second run.
  if (d.rendering) return;
  d.startPreview();
}

void Driver::pauseCommand(int index) {
  Impl& d = *impl_;
  if (!d.playing) return;  // the buttons exist only while frames are played
  if (index == 0) {
    if (d.playState != kPause) {
      d.playState = kPause;
      d.host.setCopyButtonEnabled(true);
      d.host.setCopyMenuEnabled(true);
    } else {
      d.playState = kNext;
      d.advanceIfReleased();
    }
  } else if (index == 1) {
    d.playState.clear();
    d.host.setCopyButtonEnabled(false);
    d.host.setCopyMenuEnabled(false);
    d.advanceIfReleased();
  }
}

void Driver::escapeKey() {
  if (!impl_->tag.empty()) previewCommand();
}

void Driver::timerFired() {
  Impl& d = *impl_;
  if (!d.playing) return;
  d.timerPending = false;
  d.advanceIfReleased();
}

void Driver::saveCommand(const std::string& name) { saveCommand(name, SaveExtras{}); }

void Driver::saveCommand(const std::string& name, const SaveExtras& extras) {
  Impl& d = *impl_;
  // The window locks the save command during runs; a call that still comes
  // in then must not disturb the run.
  if (d.saving || d.rendering || !d.tag.empty()) return;
  if (name.empty()) return;
  const std::optional<save::SaveTarget> target = save::targetOf(name);
  if (!target) return;
  d.ws.SaveExt = target->ext;
  d.ws.SavePath = target->folder;
  d.ws.BaseName = target->baseName;
  d.savedFiles.clear();
  d.lastSave = save::SaveReport{};
  d.extras = extras;

  const Options o = d.host.readOptions();
  if (!isValidEffectIndex(o.effect)) return;
  const std::unique_ptr<Generator> g = makeGenerator(static_cast<EffectKind>(o.effect));
  if (g) d.runSave(*g, o);
}

std::vector<core::Picture> Driver::previewFrames() const {
  std::vector<core::Picture> out;
  if (!impl_->playing) return out;
  for (int k : impl_->plan.entries) {
    if (k < 0 || static_cast<std::size_t>(k) >= impl_->ws.mFrames.size()) continue;
    const core::Picture& frame = impl_->ws.mFrames[static_cast<std::size_t>(k)];
    if (!frame.isEmpty()) out.push_back(frame);
  }
  return out;
}

PreviewState Driver::state() const {
  const Impl& d = *impl_;
  if (d.tag.empty()) return PreviewState::Idle;
  if (!d.playing) return PreviewState::Rendering;
  if (d.playState == kPause) return PreviewState::Paused;
  if (d.playState == kNext) return PreviewState::Stepping;
  return PreviewState::Playing;
}

const std::string& Driver::cmdPrevTag() const { return impl_->tag; }
const std::string& Driver::playState() const { return impl_->playState; }
bool Driver::isRendering() const { return impl_->rendering; }
bool Driver::isSaving() const { return impl_->saving; }
const std::vector<std::string>& Driver::savedFiles() const { return impl_->savedFiles; }
const save::SaveReport& Driver::lastSave() const { return impl_->lastSave; }

// ---- helpers ------------------------------------------------------------------

double SecondsBetween(const SystemTime& start, const SystemTime& end) {
  const auto t = [](const SystemTime& s) {
    return s.hour * 3600.0 + s.minute * 60.0 + s.second + s.milliseconds * 0.001;
  };
  double seconds = t(end) - t(start);
  if (seconds < 0) seconds += 86400.0;  // the run passed midnight
  return seconds;
}

}  // namespace effects
