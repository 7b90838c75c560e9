#include "frame_files/image_library.h"

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <unordered_map>
#include <vector>

#include "core/picture.h"
#include "frame_files/bmp_codec.h"
#include "frame_files/file_io.h"
#include "gif/gif_encoder.h"
#include "frame_files/jpeg_encoder.h"

namespace output {
namespace {

// A BMP of the largest side allowed at 32 bits is about 4 GiB; frames are
// far smaller, so anything above this is refused before it is read.
constexpr std::size_t kMaxBmpFileBytes = std::size_t{256} << 20;

using ImagePtr = std::shared_ptr<const core::Bitmap>;

class DefaultImageLibrary final : public ImageLibrary {
 public:
  std::int32_t BMPtoDIB(const std::string& bmpName) override {
    try {
      // One buffer per thread for the file bytes: frames are loaded one
      // after another and are all about the same size.
      thread_local std::vector<std::uint8_t> file;
      if (!readWholeFile(bmpName, kMaxBmpFileBytes, file)) return 0;
      std::optional<core::Bitmap> bitmap = decodeBmp(file);
      if (!bitmap) return 0;
      return store(std::make_shared<const core::Bitmap>(std::move(*bitmap)));
    } catch (...) {
      return 0;
    }
  }

  std::int32_t DIBtoJPG(const std::string& jpgName, std::int32_t image, std::int16_t settingA,
                        std::int16_t settingB) override {
    // Setting A is the JPEG quality (1..100; every caller passes 100).
    // Setting B = 0 selects baseline JPEG; every mode keeps all colour
    // samples (4:4:4, no chroma subsampling), as banners hold sharp
    // coloured edges and text.
    ImagePtr bitmap = find(image);
    if (!bitmap) return 0;
    try {
      const JpegSettings settings{settingA, settingB != 0};
      std::optional<std::vector<std::uint8_t>> bytes = encodeJpeg(*bitmap, settings);
      return bytes && replaceFile(jpgName, *bytes) ? 1 : 0;
    } catch (...) {
      return 0;
    }
  }

  std::int32_t DIBtoGIF(const std::string& gifName, std::int32_t image, std::int16_t option) override {
    ImagePtr bitmap = find(image);
    if (!bitmap || option != 0) return 0;
    try {
      std::optional<std::vector<std::uint8_t>> bytes = encodeGif(*bitmap);
      return bytes && replaceFile(gifName, *bytes) ? 1 : 0;
    } catch (...) {
      return 0;
    }
  }

  std::int32_t DIBtoGIFAni(const std::string& gifName, const std::int32_t* images, std::int32_t highest,
                           std::int16_t interval) override {
    if (images == nullptr || highest < 0 || interval < 0) return 0;
    return encodeAnimation(gifName, images, highest,
                           AnimationTiming::uniform(static_cast<std::size_t>(highest) + 1, interval));
  }

  std::int32_t DIBtoGIFAniTimed(const std::string& gifName, const std::int32_t* images, std::int32_t highest,
                                const AnimationTiming& timing) override {
    if (images == nullptr || highest < 0 || timing.delays.size() != static_cast<std::size_t>(highest) + 1) return 0;
    return encodeAnimation(gifName, images, highest, timing);
  }

  void DeleteDIB(std::int32_t image) override {
    std::lock_guard lock(mutex_);
    images_.erase(image);
  }

  std::size_t count() const {
    std::lock_guard lock(mutex_);
    return images_.size();
  }

 private:
  std::int32_t encodeAnimation(const std::string& gifName, const std::int32_t* images, std::int32_t highest,
                               const AnimationTiming& timing) {
    try {
      // Holding shared owners keeps the pixels alive even if another thread
      // released a handle meanwhile.
      std::vector<ImagePtr> owners;
      std::vector<const core::Bitmap*> frames;
      for (std::int32_t i = 0; i <= highest; ++i) {
        ImagePtr bitmap = find(images[i]);
        if (!bitmap) return 0;
        frames.push_back(bitmap.get());
        owners.push_back(std::move(bitmap));
      }
      std::optional<std::vector<std::uint8_t>> bytes = encodeGifAnimation(frames, timing);
      return bytes && replaceFile(gifName, *bytes) ? 1 : 0;
    } catch (...) {
      return 0;
    }
  }

  std::int32_t store(ImagePtr bitmap) {
    std::lock_guard lock(mutex_);
    // Handles count up from 1, skip 0 and any handle still in use, and wrap
    // after the largest positive value.
    do {
      next_ = next_ == INT32_MAX ? 1 : next_ + 1;
    } while (images_.count(next_) != 0);
    images_.emplace(next_, std::move(bitmap));
    return next_;
  }

  ImagePtr find(std::int32_t image) const {
    std::lock_guard lock(mutex_);
    auto it = images_.find(image);
    return it == images_.end() ? nullptr : it->second;
  }

  mutable std::mutex mutex_;
  std::unordered_map<std::int32_t, ImagePtr> images_;
  std::int32_t next_ = 0;
};

DefaultImageLibrary& instance() {
  static DefaultImageLibrary library;
  return library;
}

}  // namespace

std::int32_t ImageLibrary::DIBtoGIFAniTimed(const std::string& gifName, const std::int32_t* images,
                                            std::int32_t highest, const AnimationTiming& timing) {
  if (highest < 0 || timing.delays.size() != static_cast<std::size_t>(highest) + 1 || timing.plays != 0) return 0;
  const int delay = timing.delays.front();
  if (delay > INT16_MAX ||
      std::any_of(timing.delays.begin(), timing.delays.end(), [delay](int d) { return d != delay; }))
    return 0;
  return DIBtoGIFAni(gifName, images, highest, static_cast<std::int16_t>(delay));
}

ImageLibrary& defaultImageLibrary() { return instance(); }

std::size_t liveImageCount() { return instance().count(); }

}  // namespace output
