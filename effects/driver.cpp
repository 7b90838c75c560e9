#include "effects/driver.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "effects/generator.h"
#include "output/animation_file.h"
#include "output/file_io.h"
#include "output/writer.h"

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

bool fileExists(const std::string& name) {
  std::error_code ec;
  return std::filesystem::is_regular_file(std::filesystem::path(name), ec);
}

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

  void startPreview();
  bool render(Generator& g, const Options& o, bool preview);
  void requestStop();
  void endPreview();
  void startPlayback();
  void showFrame();
  void advanceIfReleased();

  void runSave(Generator& g, const Options& o);
  bool writeFrames(Generator& g, const Options& o, const std::string& base);
  std::shared_ptr<const std::vector<core::Bitmap>> framesByFile(const std::vector<int>& order) const;
  bool writeBudgetedGif(const std::string& base, const output::AnimationRequest& request,
                        std::optional<output::AnimationFile> file);
  void reportBudget(const std::string& gif, output::AdPreset preset, const output::AnimationShape& shape);
  void collectSavedFiles(const std::string& base, int frames, bool animated);
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
    if (cacheFilled(ws, fx.frames)) writeFrames(g, o, base);
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

bool Driver::Impl::writeFrames(Generator& g, const Options& o, const std::string& base) {
  const std::vector<int> order = g.fileOrder();
  const int last = static_cast<int>(order.size()) - 1;
  const core::Picture& first = ws.mFrames[static_cast<std::size_t>(order.front())];
  output::AnimationShape shape;
  shape.last = last;
  shape.backAndForth = g.backAndForth(o);
  shape.restFile = g.restFrame(o);
  shape.width = first.width();
  shape.height = first.height();

  bool animated = false;
  std::int16_t interval = 10;
  output::PlaySettings play;
  std::shared_ptr<const std::vector<core::Bitmap>> frames;
  std::optional<output::AnimationFile> measured;
  const bool webp = ws.SaveExt == ".webp";
  if (webp) {
    host.setHourglass(false);
    animated = host.askWebpAnimation(shape, interval, play);
    host.setHourglass(true);
    if (!animated) {  // the question was closed: nothing is written
      collectSavedFiles(base, 0, false);
      return false;
    }
  } else if (ws.SaveExt == ".gif") {
    frames = framesByFile(order);
    host.setHourglass(false);
    animated = host.askGifAnimationFile(shape, frames, interval, play, measured);
    host.setHourglass(true);
  }
  if (animated && !webp && play.budgetBytes() > 0)
    return writeBudgetedGif(base, output::AnimationRequest{frames, shape, interval, play}, std::move(measured));

  for (int i = 0; i <= last; ++i) {
    const core::Picture& frame = ws.mFrames[static_cast<std::size_t>(order[static_cast<std::size_t>(i)])];
    const output::WriteStatus st = output::writeFrame(frame, base, i, ws.SaveExt, animated);
    if (!st) {
      collectSavedFiles(base, i, false);
      host.reportSaveError(st.file, st.reason);
      return false;
    }
  }
  if (animated) {
    // The plain animation goes the way it always went; a play count or a
    // hold reorders the same files and times them.
    const output::WriteStatus st =
        webp           ? output::finishWebpAnimation(base, last, output::planAnimation(shape, interval, play))
        : play.plain() ? output::finishAnimation(base, last, interval, shape.backAndForth)
                       : output::finishAnimation(base, last, output::planAnimation(shape, interval, play));
    if (!st) {
      collectSavedFiles(base, last + 1, false);
      host.reportSaveError(st.file, st.reason);
      return false;
    }
  }
  collectSavedFiles(base, last + 1, animated);
  if (animated && !webp) reportBudget(base + ".gif", play.preset, shape);
  return true;
}

// The frames as the save numbers its files; the copy lets the GIF dialog
// measure on a worker while the cache stays the window's.
std::shared_ptr<const std::vector<core::Bitmap>> Driver::Impl::framesByFile(const std::vector<int>& order) const {
  auto frames = std::make_shared<std::vector<core::Bitmap>>();
  frames->reserve(order.size());
  for (int index : order) frames->push_back(*ws.mFrames[static_cast<std::size_t>(index)].bitmap());
  return frames;
}

// An animated GIF with a byte budget is one encoding of all frames, so it
// is written in one piece, without frame files: the dialog's measurement
// when it is for this very request, else the same encoding made here.
bool Driver::Impl::writeBudgetedGif(const std::string& base, const output::AnimationRequest& request,
                                    std::optional<output::AnimationFile> file) {
  const std::string gif = base + ".gif";
  if (!file || file->budget != request.play.budgetBytes()) file = output::encodeAnimationFile(request);
  if (!file) {
    collectSavedFiles(base, 0, false);
    host.reportSaveError(gif, "the frames could not be encoded");
    return false;
  }
  if (!file->fits) {
    host.setHourglass(false);
    const bool write = host.confirmOverBudget(*file);
    host.setHourglass(true);
    if (!write) {
      collectSavedFiles(base, 0, false);
      return false;
    }
  }
  const output::WriteStatus st = output::replaceFile(gif, file->bytes);
  if (!st) {
    collectSavedFiles(base, 0, false);
    host.reportSaveError(st.file, st.reason);
    return false;
  }
  collectSavedFiles(base, 0, true);
  reportBudget(gif, request.play.preset, request.shape);
  return true;
}

// The written animation's size against its preset's budget, when it has one.
void Driver::Impl::reportBudget(const std::string& gif, output::AdPreset preset, const output::AnimationShape& shape) {
  std::error_code ec;
  const std::uintmax_t bytes = std::filesystem::file_size(std::filesystem::path(gif), ec);
  if (ec) return;
  if (const auto report = output::budgetReport(preset, shape.width, shape.height, bytes)) {
    host.setHourglass(false);
    host.showGifBudget(*report);
    host.setHourglass(true);
  }
}

// What the run left: a frame's BMP file when it stayed (BMP output or a
// failed conversion), else its converted file; in an animation run whose
// frame files were joined and removed, the one animated file.
void Driver::Impl::collectSavedFiles(const std::string& base, int frames, bool animated) {
  savedFiles.clear();
  std::vector<std::string> names;
  bool anyBmp = false;
  for (int i = 0; i < frames; ++i) {
    const std::string stem = base + output::formatNumber(i);
    if (fileExists(stem + ".bmp")) {
      names.push_back(stem + ".bmp");
      anyBmp = true;
    } else if (fileExists(stem + ws.SaveExt)) {
      names.push_back(stem + ws.SaveExt);
    }
  }
  // The animation is base + the chosen extension (".gif" or ".webp").
  if (animated && !anyBmp && fileExists(base + ws.SaveExt)) names = {base + ws.SaveExt};
  savedFiles = std::move(names);
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

void Driver::saveCommand(const std::string& name) {
  Impl& d = *impl_;
  // The window locks the save command during runs; a call that still comes
  // in then must not disturb the run.
  if (d.saving || d.rendering || !d.tag.empty()) return;
  if (name.empty()) return;
  const std::string folder = FolderOf(name);
  if (folder.empty()) return;
  d.ws.SaveExt = output::GetFileExt(name);
  d.ws.SavePath = folder;
  d.ws.BaseName = BaseNameOf(name, folder);
  d.savedFiles.clear();

  const Options o = d.host.readOptions();
  if (!isValidEffectIndex(o.effect)) return;
  const std::unique_ptr<Generator> g = makeGenerator(static_cast<EffectKind>(o.effect));
  if (g) d.runSave(*g, o);
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

// ---- helpers ------------------------------------------------------------------

std::string FolderOf(const std::string& path) {
  // Positions are 1-based in the rule: a separator at position 1 or 2 does
  // not make a folder.
  for (std::size_t n = path.size(); n >= 3; --n)
    if (path[n - 1] == '/') return path.substr(0, n - 1);
  return "";
}

std::string BaseNameOf(const std::string& path, const std::string& folder) {
  if (path.size() <= folder.size() + 1) return "";
  const std::string rest = path.substr(folder.size() + 1);
  return rest.substr(0, rest.find('.'));
}

double SecondsBetween(const SystemTime& start, const SystemTime& end) {
  const auto t = [](const SystemTime& s) {
    return s.hour * 3600.0 + s.minute * 60.0 + s.second + s.milliseconds * 0.001;
  };
  double seconds = t(end) - t(start);
  if (seconds < 0) seconds += 86400.0;  // the run passed midnight
  return seconds;
}

}  // namespace effects
