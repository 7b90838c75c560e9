// The animated WebP's place in the writer: joining the frame BMP files of a
// save run into one file, as MakeGifAnimation does for the GIF.
#include <cstdint>
#include <string>
#include <vector>

#include "output/bmp_codec.h"
#include "output/file_io.h"
#include "output/webp_encoder.h"
#include "output/writer.h"

namespace output {
namespace {

// As the image library: anything larger is not one of our frame files.
constexpr std::size_t kMaxFrameFileBytes = std::size_t{256} << 20;

}  // namespace

bool MakeWebpAnimation(const std::string& webpName, const std::string& basePath, std::int32_t last, bool backAndForth,
                       const AnimationTiming& timing) {
  try {
    const std::int64_t highest = backAndForth ? 2 * static_cast<std::int64_t>(last) - 1 : last;
    if (highest < 0 || static_cast<std::size_t>(highest) + 1 != timing.delays.size()) return false;
    // Each frame file is read once; the way back reuses the pictures.
    std::vector<core::Bitmap> pictures;
    std::vector<std::uint8_t> file;
    for (std::int32_t i = 0; i <= last; ++i) {
      if (!readWholeFile(basePath + formatNumber(i) + ".bmp", kMaxFrameFileBytes, file)) return false;
      std::optional<core::Bitmap> bitmap = decodeBmp(file);
      if (!bitmap) return false;
      pictures.push_back(std::move(*bitmap));
    }
    std::vector<const core::Bitmap*> sequence;
    for (std::int64_t slot = 0; slot <= highest; ++slot)
      sequence.push_back(&pictures[static_cast<std::size_t>(slot <= last ? slot : highest - slot + 1)]);
    const std::optional<std::vector<std::uint8_t>> bytes = encodeWebpAnimation(sequence, timing);
    return bytes && replaceFile(webpName, *bytes);
  } catch (...) {
    return false;
  }
}

WriteStatus finishWebpAnimation(const std::string& base, int last, std::int16_t interval, bool backAndForth) {
  (void)takeLastWriteFailure();
  const std::int64_t images = backAndForth ? 2 * static_cast<std::int64_t>(last) : std::int64_t{last} + 1;
  const AnimationTiming timing =
      AnimationTiming::uniform(static_cast<std::size_t>(std::max<std::int64_t>(images, 0)), interval);
  if (interval >= 0 && MakeWebpAnimation(base + ".webp", base, last, backAndForth, timing)) {
    for (int i = 0; i <= last; ++i) removeFile(base + formatNumber(i) + ".bmp");
    return WriteStatus::success();
  }
  // As for the GIF: the frame BMPs stay, and only a refused write is an error.
  return takeLastWriteFailure();
}

}  // namespace output
