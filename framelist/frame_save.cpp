#include "framelist/frame_save.h"

#include <filesystem>
#include <memory>

#include "effects/driver.h"
#include "output/file_io.h"

// The save stays free of Qt; its message still belongs to the program's
// translation catalogue, which lupdate fills from this marker.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

namespace framelist {

namespace {

// Everything but the GIF question. A cancelled dialog or a name without a
// folder leaves everything as it was; the extension is shared with the main
// window's saves; there is no effect tag, so the frame files are
// folder/base + NNN + extension.
std::optional<SavePlan> startPlan(const std::string& name, std::string& saveExt) {
  if (name.empty()) return std::nullopt;
  const std::string folder = effects::FolderOf(name);
  if (folder.empty()) return std::nullopt;
  SavePlan plan;
  saveExt = output::GetFileExt(name);
  plan.saveExt = saveExt;
  plan.base = folder + "/" + effects::BaseNameOf(name, folder);
  return plan;
}

}  // namespace

output::AnimationShape frameListShape(const std::vector<core::Picture>& frames) {
  output::AnimationShape shape;
  shape.last = static_cast<int>(frames.size()) - 1;
  shape.restFile = 0;  // the list's first frame is where the user starts it
  if (!frames.empty()) {
    shape.width = frames.front().width();
    shape.height = frames.front().height();
  }
  return shape;
}

std::optional<SavePlan> planFrameSave(const std::string& name, std::string& saveExt, const GifAnimationQuestion& askGif,
                                      const output::AnimationShape& shape, const GifAnimationQuestion& askWebp) {
  std::string ext;
  std::optional<SavePlan> plan = startPlan(name, ext);
  if (!plan) return plan;
  plan->shape = shape;
  // A WebP save is one animation; a closed question ends it before anything
  // changes.
  if (plan->saveExt == ".webp") {
    std::int16_t interval = kDefaultGifInterval;
    if (!askWebp || !askWebp(shape, interval, plan->play)) return std::nullopt;
    plan->animated = true;
    plan->interval = interval;
  }
  saveExt = ext;
  if (plan->saveExt == ".gif" && askGif) {
    std::int16_t interval = kDefaultGifInterval;
    plan->animated = askGif(shape, interval, plan->play);
    plan->interval = interval;
  }
  return plan;
}

FramesByFile framesByFile(const std::vector<core::Picture>& frames) {
  auto out = std::make_shared<std::vector<core::Bitmap>>();
  out->reserve(frames.size());
  for (const core::Picture& p : frames) out->push_back(p.isEmpty() ? core::Bitmap{} : *p.bitmap());
  return out;
}

std::optional<SavePlan> planFrameSave(const std::string& name, std::string& saveExt, const GifFileQuestion& askGif,
                                      const std::vector<core::Picture>& frames, const GifAnimationQuestion& askWebp) {
  FramesByFile byFile;
  std::optional<output::AnimationFile> measured;
  GifAnimationQuestion shaped;
  if (askGif) {
    shaped = [&](const output::AnimationShape& shape, std::int16_t& interval, output::PlaySettings& play) {
      byFile = framesByFile(frames);
      return askGif(shape, byFile, interval, play, measured);
    };
  }
  std::optional<SavePlan> plan = planFrameSave(name, saveExt, shaped, frameListShape(frames), askWebp);
  if (plan && plan->animated && plan->saveExt == ".gif") {
    plan->frames = std::move(byFile);
    plan->measured = std::move(measured);
  }
  return plan;
}

std::optional<SavePlan> planFrameSave(const std::string& name, std::string& saveExt, const GifQuestion& askGif) {
  if (output::GetFileExt(name) == ".webp") return std::nullopt;
  std::optional<SavePlan> plan = startPlan(name, saveExt);
  // Only a GIF save asks whether the frames become one animation.
  if (plan && plan->saveExt == ".gif" && askGif) {
    std::int16_t interval = kDefaultGifInterval;
    plan->animated = askGif(interval);
    plan->interval = interval;
  }
  return plan;
}

output::WriteStatus writeFrameFiles(const std::vector<core::Picture>& frames, const SavePlan& plan) {
  const int count = static_cast<int>(frames.size());
  for (int i = 0; i < count; ++i) {
    output::WriteStatus status =
        output::writeFrame(frames[static_cast<std::size_t>(i)], plan.base, i, plan.saveExt, plan.animated);
    if (!status) return status;
  }
  // Also a single frame: the user asked for base.gif, not for a stray BMP.
  if (plan.animated && count >= 1) {
    if (plan.saveExt != ".webp" && plan.play.plain())
      return output::finishAnimation(plan.base, count - 1, plan.interval, false);
    output::AnimationShape shape = plan.shape;
    shape.last = count - 1;  // the files just written, whatever the plan was asked for
    shape.backAndForth = false;
    const output::AnimationPlan animation = output::planAnimation(shape, plan.interval, plan.play);
    if (plan.saveExt == ".webp") return output::finishWebpAnimation(plan.base, count - 1, animation);
    return output::finishAnimation(plan.base, count - 1, animation);
  }
  return output::WriteStatus{};
}

std::optional<output::WriteStatus> saveFrameList(const std::vector<core::Picture>& frames, const SavePlan& plan,
                                                 const OverBudgetQuestion& askOverBudget) {
  if (!(plan.animated && plan.saveExt == ".gif" && plan.play.budgetBytes() > 0 && !frames.empty()))
    return writeFrameFiles(frames, plan);
  output::AnimationRequest request;
  request.frames = plan.frames && plan.frames->size() == frames.size() ? plan.frames : framesByFile(frames);
  request.shape = plan.shape;
  request.shape.last = static_cast<int>(frames.size()) - 1;  // as writeFrameFiles plans the files it writes
  request.shape.backAndForth = false;
  request.intervalCs = plan.interval;
  request.play = plan.play;
  const std::string gif = plan.base + ".gif";
  // The dialog's measurement is the file when it is for this very budget.
  std::optional<output::AnimationFile> file = plan.measured;
  if (!file || file->budget != plan.play.budgetBytes()) file = output::encodeAnimationFile(request);
  if (!file) return output::WriteStatus::failure(gif, "the frames could not be encoded");
  if (!file->fits && askOverBudget && !askOverBudget(*file)) return std::nullopt;
  return output::replaceFile(gif, file->bytes);
}

std::optional<output::BudgetReport> savedBudget(const SavePlan& plan) {
  if (!plan.animated) return std::nullopt;
  std::error_code ec;
  const std::uintmax_t bytes = std::filesystem::file_size(std::filesystem::path(plan.base + ".gif"), ec);
  if (ec) return std::nullopt;
  return output::budgetReport(plan.play.preset, plan.shape.width, plan.shape.height, bytes);
}

const char* const kSaveFailedHeadline = QT_TRANSLATE_NOOP("Pictorell", "ファイルを保存できませんでした。");

std::string saveFailureMessage(const output::WriteStatus& status, const std::string& headline) {
  return headline + "\n" + status.file + "\n" + status.reason;
}

}  // namespace framelist
