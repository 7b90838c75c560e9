#include "scenes/banner_save.h"

#include <memory>
#include <optional>

#include "save/target.h"

namespace scenes {

output::AnimationShape bannerShape(const BannerFrames& banner) {
  output::AnimationShape shape;
  shape.last = static_cast<int>(banner.frames.size()) - 1;
  shape.restFile = 0;
  shape.width = banner.width;
  shape.height = banner.height;
  shape.extraCs = banner.extraCs;
  return shape;
}

save::SaveReport saveBanner(const BannerFrames& banner, const BannerSaveChoice& choice,
                            save::OverBudgetQuestion* question, const save::AnimationEncoder& encoder) {
  const std::optional<save::SaveTarget> target = save::targetOf(choice.name);
  if (!target) {
    save::SaveReport report;
    report.status = output::WriteStatus::failure(choice.name, "the name has no folder");
    return report;
  }
  save::SaveRequest request;
  request.target = *target;
  request.frames = std::make_shared<const std::vector<core::Bitmap>>(banner.frames);
  request.shape = bannerShape(banner);
  request.animated = target->ext == ".webp" || (target->ext == ".gif" && choice.animated);
  request.animation.intervalCs = choice.intervalCs;
  request.animation.play = choice.play;
  if (target->ext == ".gif") {
    if (choice.budgetBytes > 0) request.animation.play.budgetBytes = choice.budgetBytes;
    request.animation.presetBudgetWhenOver = choice.presetBudgetWhenOver;
    request.animation.measured = choice.measured;
  }
  return save::saveFrames(request, question, encoder);
}

}  // namespace scenes
