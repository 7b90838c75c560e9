#include "output_test_support.h"

#include <algorithm>

#include "core/picture.h"
#include "frame_files/writer.h"

namespace outtest {

std::vector<std::string> TempDir::names() const {
  std::vector<std::string> out;
  for (const auto& e : std::filesystem::directory_iterator(path_)) out.push_back(e.path().filename().string());
  std::sort(out.begin(), out.end());
  return out;
}

std::int32_t RecordingLibrary::BMPtoDIB(const std::string& bmpName) {
  loads.push_back(bmpName);
  if (static_cast<int>(loads.size()) - 1 == failAtLoad || !std::filesystem::exists(bmpName)) return 0;
  const std::int32_t h = ++next_;
  live[h] = bmpName;
  everLoaded_[h] = bmpName;
  return h;
}

std::int32_t RecordingLibrary::DIBtoJPG(const std::string& jpgName, std::int32_t image, std::int16_t,
                                        std::int16_t) {
  encodeCalls.push_back(jpgName);
  return !failEncoders && live.count(image) ? 1 : 0;
}

std::int32_t RecordingLibrary::DIBtoGIF(const std::string& gifName, std::int32_t image, std::int16_t) {
  encodeCalls.push_back(gifName);
  return !failEncoders && live.count(image) ? 1 : 0;
}

std::int32_t RecordingLibrary::DIBtoGIFAni(const std::string& gifName, const std::int32_t* images,
                                           std::int32_t highest, std::int16_t interval) {
  ++aniCalls;
  aniHighest = highest;
  aniInterval = interval;
  encodeCalls.push_back(gifName);
  for (std::int32_t i = 0; i <= highest; ++i) {
    auto it = live.find(images[i]);
    aniFrames.push_back(it == live.end() ? "<dead>" : it->second);
  }
  return failEncoders ? 0 : 1;
}

std::int32_t RecordingLibrary::DIBtoGIFAniTimed(const std::string& gifName, const std::int32_t* images,
                                                std::int32_t highest, const output::AnimationTiming& timing) {
  if (onlyOneInterval) return ImageLibrary::DIBtoGIFAniTimed(gifName, images, highest, timing);
  ++aniTimedCalls;
  aniDelays = timing.delays;
  aniPlays = timing.plays;
  return DIBtoGIFAni(gifName, images, highest, 0);
}

void RecordingLibrary::DeleteDIB(std::int32_t image) {
  released.push_back(image);
  auto it = live.find(image);
  if (it == live.end()) {
    doubleReleases.push_back(everLoaded_.count(image) ? everLoaded_[image] : "<unknown>");
    return;
  }
  live.erase(it);
}

void writeSolidBmp(const std::string& path, int w, int h, std::uint32_t colour) {
  ASSERT_TRUE(output::SavePicture(core::Picture::fromBitmap(core::Bitmap(w, h, colour)), path));
}

}  // namespace outtest
