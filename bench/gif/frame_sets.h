// The benchmark's frame sets, rendered by the program's own effects.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/picture.h"
#include "effects/options.h"

namespace gifbench {

struct FrameSet {
  std::string name;
  std::vector<core::Picture> frames;
  std::string origin;  // how the frames were made
};

// The source picture from a BMP file; exits with a message when unreadable.
core::Picture loadPicture(const std::string& bmpPath);

// The 22 frames of the Slide save (no mask, no cross).
FrameSet slideFrames(const std::string& name, const core::Picture& source);

// The 12 frames of the Hue save in the rotation mode (no mask).
FrameSet hueFrames(const std::string& name, const core::Picture& source);

// The frames the save of options.effect writes, in file order and, for an
// effect that plays back and forth, with the way back; the banner colour is
// `banner`, or the source's corner colour. Empty when the effect is not
// available.
std::vector<core::Picture> savedFrames(const effects::Options& options, const core::Picture& source,
                                       std::optional<core::Color> banner = std::nullopt);

// The centre w x h part of a picture.
core::Picture crop(const core::Picture& source, int w, int h);

// The picture stretched to w x h by nearest neighbours: the same photo-like
// detail at another (ad) size.
core::Picture resampled(const core::Picture& source, int w, int h);

// The sets every encoder benchmark runs, by name, each made only when run:
// logo and logo468 (Slide), photo (Hue) and, with `withPhoto728`, the
// 728 x 90 centre of photo (Hue). Pictures from benchDir.
struct NamedSet {
  const char* name;
  std::function<FrameSet()> make;
};
std::vector<NamedSet> benchmarkSets(const std::string& benchDir, bool withPhoto728);

}  // namespace gifbench
