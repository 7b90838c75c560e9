#include "framelist/frame_save.h"

#include "effects/driver.h"

namespace framelist {

std::optional<SavePlan> planFrameSave(const std::string& name, std::string& saveExt, const GifQuestion& askGif,
                                      const GifQuestion& askWebp) {
  // 1. A cancelled dialog or a name without a folder leaves everything as it was.
  if (name.empty()) return std::nullopt;
  const std::string folder = effects::FolderOf(name);
  if (folder.empty()) return std::nullopt;

  // 2. The extension is shared with the main window's saves. A WebP save is
  // one animation; a closed interval question ends it before anything changes.
  SavePlan plan;
  plan.saveExt = output::GetFileExt(name);
  if (plan.saveExt == ".webp") {
    std::int16_t interval = kDefaultGifInterval;
    if (!askWebp || !askWebp(interval)) return std::nullopt;
    plan.animated = true;
    plan.interval = interval;
  }
  saveExt = plan.saveExt;

  // 3. Only a GIF save asks whether the frames become one animation.
  if (plan.saveExt == ".gif" && askGif) {
    std::int16_t interval = kDefaultGifInterval;
    plan.animated = askGif(interval);
    plan.interval = interval;
  }

  // 4. No effect tag: the frame files are folder/base + NNN + extension.
  plan.base = folder + "/" + effects::BaseNameOf(name, folder);
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
    if (plan.saveExt == ".webp") return output::finishWebpAnimation(plan.base, count - 1, plan.interval, false);
    return output::finishAnimation(plan.base, count - 1, plan.interval, false);
  }
  return output::WriteStatus{};
}

std::string saveFailureMessage(const output::WriteStatus& status) {
  return "ファイルを保存できませんでした。\n" + status.file + "\n" + status.reason;
}

}  // namespace framelist
