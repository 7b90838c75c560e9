// The benchmark's frame sets, rendered by the program's own effects.
#pragma once

#include <string>
#include <vector>

#include "core/picture.h"

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

}  // namespace gifbench
