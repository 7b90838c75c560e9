#include "framelist/frame_save.h"

#include "effects/driver.h"

// The save stays free of Qt; its message still belongs to the program's
// translation catalogue, which lupdate fills from this marker.
#ifndef QT_TRANSLATE_NOOP
#define QT_TRANSLATE_NOOP(context, text) text
#endif

namespace framelist {

std::optional<SavePlan> planFrameSave(const std::string& name, std::string& saveExt, const GifQuestion& askGif) {
  // 1. A cancelled dialog or a name without a folder leaves everything as it was.
  if (name.empty()) return std::nullopt;
  const std::string folder = effects::FolderOf(name);
  if (folder.empty()) return std::nullopt;

  // 2. The extension is shared with the main window's saves.
  SavePlan plan;
  saveExt = output::GetFileExt(name);
  plan.saveExt = saveExt;

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
  if (plan.animated && count >= 1) return output::finishAnimation(plan.base, count - 1, plan.interval, false);
  return output::WriteStatus{};
}

const char* const kSaveFailedHeadline = QT_TRANSLATE_NOOP("Pictorell", "ファイルを保存できませんでした。");

std::string saveFailureMessage(const output::WriteStatus& status, const std::string& headline) {
  return headline + "\n" + status.file + "\n" + status.reason;
}

}  // namespace framelist
