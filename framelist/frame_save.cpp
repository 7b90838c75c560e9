#include "framelist/frame_save.h"

#include <filesystem>
#include <memory>

#include "save/save_step.h"
#include "save/target.h"

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
  const std::optional<save::SaveTarget> target = save::targetOf(name);
  if (!target) return std::nullopt;
  SavePlan plan;
  saveExt = target->ext;
  plan.saveExt = saveExt;
  plan.base = target->base();
  return plan;
}

// The frame list's answer to the over-budget question is the window's.
class AskedOverBudget final : public save::OverBudgetQuestion {
 public:
  explicit AskedOverBudget(const framelist::OverBudgetQuestion& ask) : ask_(ask) {}
  bool writeOverBudget(const output::AnimationFile& file) override { return ask_(file); }

 private:
  const framelist::OverBudgetQuestion& ask_;
};

// The list's frames 0..n-1 as the save writes them. Also a single frame
// makes the animation the user asked for, not a stray BMP.
save::SaveReport saveWith(const std::vector<core::Picture>& frames, const SavePlan& plan,
                          save::OverBudgetQuestion* question, bool withBudget) {
  save::SaveRequest request;
  const std::size_t slash = plan.base.rfind('/');
  request.target.folder = slash == std::string::npos ? std::string() : plan.base.substr(0, slash);
  request.target.baseName = plan.base.substr(slash == std::string::npos ? 0 : slash + 1);
  request.target.ext = plan.saveExt;
  request.frames = plan.frames && plan.frames->size() == frames.size() ? plan.frames : framesByFile(frames);
  request.shape = plan.shape;
  request.shape.last = static_cast<int>(frames.size()) - 1;  // the files written, whatever the plan was asked for
  request.shape.backAndForth = false;
  request.animated = plan.animated;
  request.animation.intervalCs = plan.interval;
  request.animation.play = plan.play;
  if (!withBudget || plan.saveExt != ".gif") request.animation.play.budgetBytes = 0;
  request.animation.measured = plan.measured;
  return save::saveFrames(request, question);
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

FramesByFile framesByFile(const std::vector<core::Picture>& frames) {
  auto out = std::make_shared<std::vector<core::Bitmap>>();
  out->reserve(frames.size());
  for (const core::Picture& p : frames) out->push_back(p.isEmpty() ? core::Bitmap{} : *p.bitmap());
  return out;
}

std::optional<SavePlan> planFrameSave(const std::string& name, std::string& saveExt,
                                      const save::AnimationQuestion& ask, const std::vector<core::Picture>& frames) {
  std::string ext;
  std::optional<SavePlan> plan = startPlan(name, ext);
  if (!plan) return plan;
  plan->shape = frameListShape(frames);
  // The GIF dialog measures a copy of the frames on its worker; it is made
  // only when that question is asked.
  const bool gif = save::askedFormat(plan->saveExt) == save::AnimationFormat::Gif;
  FramesByFile byFile = gif ? framesByFile(frames) : nullptr;
  // A closed WebP question ends the save before anything changes.
  std::optional<save::AnimationAnswer> answer = save::askSave(ask, plan->saveExt, plan->shape, byFile);
  if (!answer) return std::nullopt;
  saveExt = ext;
  plan->animated = answer->animated;
  plan->interval = static_cast<std::int16_t>(answer->animation.intervalCs);
  plan->play = answer->animation.play;
  if (plan->animated && gif) {
    plan->frames = std::move(byFile);
    plan->measured = std::move(answer->animation.measured);
  }
  return plan;
}

output::WriteStatus writeFrameFiles(const std::vector<core::Picture>& frames, const SavePlan& plan) {
  return saveWith(frames, plan, nullptr, false).status;
}

std::optional<output::WriteStatus> saveFrameList(const std::vector<core::Picture>& frames, const SavePlan& plan,
                                                 const OverBudgetQuestion& askOverBudget) {
  AskedOverBudget question(askOverBudget);
  const save::SaveReport report = saveWith(frames, plan, askOverBudget ? &question : nullptr, true);
  if (report.declined) return std::nullopt;
  return report.status;
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
