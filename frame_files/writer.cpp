#include "frame_files/writer.h"

#include <cstdint>
#include <cstdlib>
#include <vector>

#include "frame_files/bmp_codec.h"
#include "frame_files/file_io.h"

namespace output {
namespace {

// n with at least `digits` digits, zero-padded, the sign in front.
std::string zeroPadded(std::int64_t n, std::size_t digits) {
  std::string s = std::to_string(n < 0 ? -n : n);
  if (s.size() < digits) s.insert(0, digits - s.size(), '0');
  return n < 0 ? "-" + s : s;
}

// The minimum digit count of a number format made of "0"s; other formats
// fall back to three digits.
std::size_t digitsOf(const std::string& numberFormat) {
  if (numberFormat.empty() || numberFormat.find_first_not_of('0') != std::string::npos) return 3;
  return numberFormat.size();
}

// Releases slots 0..count-1 of the handle array.
void releaseSlots(ImageLibrary& lib, const std::vector<std::int32_t>& handles, std::size_t count) {
  for (std::size_t i = 0; i < count; ++i) lib.DeleteDIB(handles[i]);
}

// Loads file number files[i] into slot i, for every slot; a failed load
// releases what was loaded and returns false.
bool loadFiles(ImageLibrary& lib, std::vector<std::int32_t>& handles, const std::string& basePath,
               std::size_t digits, const std::string& frameExt, const std::vector<std::int64_t>& files) {
  for (std::size_t slot = 0; slot < files.size(); ++slot) {
    handles[slot] = lib.BMPtoDIB(basePath + zeroPadded(files[slot], digits) + frameExt);
    if (handles[slot] == 0) {
      releaseSlots(lib, handles, slot);
      return false;
    }
  }
  return true;
}

// Steps 1 to 3: fills every slot, or releases what it loaded and returns false.
bool loadSlots(ImageLibrary& lib, std::vector<std::int32_t>& handles, const std::string& basePath,
               std::size_t digits, const std::string& frameExt, std::int64_t last) {
  const auto highest = static_cast<std::int64_t>(handles.size()) - 1;
  std::vector<std::int64_t> files;
  // Forward: slot i holds frame i; backward: slot i holds highest - i + 1.
  for (std::int64_t i = 0; i <= highest; ++i) files.push_back(i <= last ? i : highest - i + 1);
  return loadFiles(lib, handles, basePath, digits, frameExt, files);
}

// Hands the loaded slots to the encoder and releases every one of them once,
// whatever the encoder does; true only when it reported a written file.
template <typename Encode>
bool encodeAndRelease(ImageLibrary& lib, const std::vector<std::int32_t>& handles, Encode encode) {
  std::int32_t written = 0;
  try {
    written = encode();
  } catch (...) {
    written = 0;
  }
  releaseSlots(lib, handles, handles.size());
  return written != 0;
}

// Loads bmpName, hands the image to `encode` and releases it whatever the
// encoder does; true only when the encoder reported a written file.
template <typename Encode>
bool convertBmp(ImageLibrary& lib, const std::string& bmpName, Encode encode) {
  try {
    const std::int32_t image = lib.BMPtoDIB(bmpName);
    if (image == 0) return false;
    std::int32_t written = 0;
    try {
      written = encode(image);
    } catch (...) {
      written = 0;
    }
    lib.DeleteDIB(image);
    return written != 0;
  } catch (...) {
    return false;
  }
}

}  // namespace

std::string formatNumber(int n) { return zeroPadded(n, 3); }

bool BmpToJpg(const std::string& jpgName, const std::string& bmpName, std::int16_t settingA, std::int16_t settingB,
              ImageLibrary& lib) {
  return convertBmp(lib, bmpName, [&](std::int32_t image) { return lib.DIBtoJPG(jpgName, image, settingA, settingB); });
}

bool BmpToGif(const std::string& gifName, const std::string& bmpName, std::int16_t& option, ImageLibrary& lib) {
  return convertBmp(lib, bmpName, [&](std::int32_t image) { return lib.DIBtoGIF(gifName, image, option); });
}

bool MakeGifAnimation(const std::string& gifName, const std::string& basePath, const std::string& numberFormat,
                      const std::string& frameExt, std::int32_t last, std::int16_t interval, bool backAndForth,
                      ImageLibrary& lib) {
  try {
    // 1. Slots 0..highest. With no slot at all (last < 0, or back-and-forth
    // over a single frame) there is nothing to join.
    const std::int64_t highest = backAndForth ? 2 * static_cast<std::int64_t>(last) - 1 : last;
    if (highest < 0 || highest > INT32_MAX) return false;
    std::vector<std::int32_t> handles(static_cast<std::size_t>(highest) + 1, 0);
    // 2., 3. Forward pass, then the way back.
    if (!loadSlots(lib, handles, basePath, digitsOf(numberFormat), frameExt, last)) return false;
    // 4. The encoder leaves the images to us; release each one once.
    return encodeAndRelease(lib, handles, [&] {
      return lib.DIBtoGIFAni(gifName, handles.data(), static_cast<std::int32_t>(highest), interval);
    });
  } catch (...) {
    return false;
  }
}

bool MakeGifAnimation(const std::string& gifName, const std::string& basePath, const std::string& numberFormat,
                      const std::string& frameExt, const AnimationPlan& plan, ImageLibrary& lib) {
  try {
    if (plan.files.empty() || plan.files.size() > static_cast<std::size_t>(INT32_MAX) ||
        plan.timing.delays.size() != plan.files.size())
      return false;
    std::vector<std::int32_t> handles(plan.files.size(), 0);
    const std::vector<std::int64_t> files(plan.files.begin(), plan.files.end());
    if (!loadFiles(lib, handles, basePath, digitsOf(numberFormat), frameExt, files)) return false;
    return encodeAndRelease(lib, handles, [&] {
      return lib.DIBtoGIFAniTimed(gifName, handles.data(), static_cast<std::int32_t>(handles.size() - 1), plan.timing);
    });
  } catch (...) {
    return false;
  }
}

WriteStatus SavePicture(const core::Picture& picture, const std::string& fileName) {
  if (picture.isEmpty() || picture.width() < 1 || picture.height() < 1) {
    return WriteStatus::failure(fileName, "the picture is empty");
  }
  try {
    return replaceFile(fileName, encodeBmp(*picture.bitmap()));
  } catch (const std::bad_alloc&) {
    return WriteStatus::failure(fileName, "Cannot allocate memory");
  }
}

WriteStatus writeFrame(const core::Picture& frame, const std::string& base, int number, const std::string& saveExt,
                       bool animationRun, ImageLibrary& lib) {
  const std::string stem = base + formatNumber(number);
  const std::string bmpName = stem + ".bmp";
  if (WriteStatus st = SavePicture(frame, bmpName); !st) return st;
  (void)takeLastWriteFailure();
  bool converted = true;
  if (saveExt == ".jpg") {
    converted = BmpToJpg(stem + ".jpg", bmpName, 100, 0, lib);
  } else if (saveExt == ".gif" && !animationRun) {
    std::int16_t option = 0;
    converted = BmpToGif(stem + ".gif", bmpName, option, lib);
  }
  if (converted) {
    if (saveExt == ".jpg" || (saveExt == ".gif" && !animationRun)) removeFile(bmpName);
    return WriteStatus::success();
  }
  // An encoder that gives up leaves the BMP as the frame's file, silently.
  // A file the system would not take (disk full, folder gone) is different:
  // the next frames would fail the same way, so the run stops and says why.
  return takeLastWriteFailure();
}

}  // namespace output
