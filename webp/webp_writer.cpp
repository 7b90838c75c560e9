// The animated WebP's place in the writer: joining the frame BMP files of a
// save run into one file, as MakeGifAnimation does for the GIF.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "frame_files/bmp_codec.h"
#include "frame_files/file_io.h"
#include "webp/webp_encoder.h"
#include "frame_files/writer.h"

namespace output {
namespace {

// As the image library: anything larger is not one of our frame files.
constexpr std::size_t kMaxFrameFileBytes = std::size_t{256} << 20;

}  // namespace

bool MakeWebpAnimation(const std::string& webpName, const std::string& basePath, const AnimationPlan& plan) {
  try {
    if (plan.files.empty() || plan.timing.delays.size() != plan.files.size()) return false;
    // Each frame file is read once, however many slots show it.
    std::map<int, core::Bitmap> pictures;
    std::vector<std::uint8_t> file;
    for (int number : plan.files) {
      if (pictures.count(number) != 0) continue;
      if (!readWholeFile(basePath + formatNumber(number) + ".bmp", kMaxFrameFileBytes, file)) return false;
      std::optional<core::Bitmap> bitmap = decodeBmp(file);
      if (!bitmap) return false;
      pictures.emplace(number, std::move(*bitmap));
    }
    std::vector<const core::Bitmap*> sequence;
    for (int number : plan.files) sequence.push_back(&pictures.at(number));
    const std::optional<std::vector<std::uint8_t>> bytes = encodeWebpAnimation(sequence, plan.timing);
    return bytes && replaceFile(webpName, *bytes);
  } catch (...) {
    return false;
  }
}

WriteStatus finishWebpAnimation(const std::string& base, int last, const AnimationPlan& plan) {
  (void)takeLastWriteFailure();
  if (MakeWebpAnimation(base + ".webp", base, plan)) {
    for (int i = 0; i <= last; ++i) removeFile(base + formatNumber(i) + ".bmp");
    return WriteStatus::success();
  }
  // As for the GIF: the frame BMPs stay, and only a refused write is an error.
  return takeLastWriteFailure();
}

}  // namespace output
