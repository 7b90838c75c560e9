// The interface between the driver and the seven effects. Each effect file
// implements one Generator; the driver owns starting, stopping, playback and
// writing.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/effect_kind.h"
#include "effects/host.h"
#include "effects/options.h"
#include "effects/work_state.h"

namespace effects {

// The effects name their kinds as their own.
using core::EffectInfo;
using core::EffectKind;
using core::info;
using core::isValidEffectIndex;
using core::kEffectCount;
using core::kEffects;
using core::kMaskDiffuse;
using core::kMaskElastic;
using core::kMaskHue;
using core::kMaskRotate;
using core::kMaskSlide;
using core::kMaskTurn;
using core::kMaskZoom;
using core::MaskBox;

// What a composing run needs besides the work state.
class RunContext {
 public:
  // cmdPrevTag: the driver's run-state tag, re-read after every yield; a
  // preview stops when it is "". Saves pass preview = false and never stop.
  RunContext(WorkState& state, Host& windowHost, const Options& runOptions, bool isPreview,
             const std::string& cmdPrevTag)
      : ws(state), host(windowHost), options(runOptions), preview(isPreview), tag_(cmdPrevTag) {}

  WorkState& ws;
  Host& host;
  const Options& options;
  const bool preview;

  void yield() { host.yield(); }
  // Only a preview can be stopped; in a save this is always false.
  bool stopRequested() const { return preview && tag_.empty(); }
  // linFore.X2 = fraction * linBack.X2.
  void progress(double fraction) { host.setProgress(fraction); }
  void progressVisible(bool visible) { host.setProgressVisible(visible); }

 private:
  const std::string& tag_;
};

// How a preview plays the cache: position p shows entry entries[p] with the
// label labels[p] for intervalMs, then the next position, looping.
struct PlaybackPlan {
  std::vector<int> entries;
  std::vector<std::string> labels;
  int intervalMs = 100;
};

class Generator {
 public:
  virtual ~Generator() = default;
  virtual EffectKind kind() const = 0;

  // Composes the effect's frames into ws.mFrames exactly as its preview
  // (ctx.preview) or its save composes them, from setting the background
  // colours to storing the last frame, with the effect's progress line,
  // yields and stop checks. Returns true when every frame was composed, false
  // when a stop request ended a preview early. The driver empties the cache
  // to the effect's entries before the call and sets ws.framesComplete from
  // the result; compose leaves that flag alone.
  virtual bool compose(RunContext& ctx) = 0;

  virtual PlaybackPlan playback(const Options& options) const = 0;

  // The save writes cache entry fileOrder()[i] as file number i.
  virtual std::vector<int> fileOrder() const;
  // The animated GIF plays 0..last and back to 1.
  virtual bool backAndForth(const Options&) const { return false; }
  // The file number whose frame shows the whole picture in place over its
  // background: an animation with a play count starts and stops on it.
  virtual int restFrame(const Options&) const { return 0; }
  // The effect's own end steps, run after the common ones (the options are
  // read again at that point). The driver's end of a save also hides the
  // progress line.
  virtual void endPreview(WorkState&, const Options&) const {}
  virtual void endSave(WorkState&, const Options&) const {}
  // Turn and Rotate time their rendering for the "/debug" display.
  virtual bool timesRender() const { return false; }
  // Every save creates a missing save folder, except Slide's.
  virtual bool createsSaveFolder() const { return true; }
};

std::unique_ptr<Generator> makeGenerator(EffectKind kind);

}  // namespace effects
