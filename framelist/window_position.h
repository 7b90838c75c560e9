// Where the frame list window reopens: the stored position is checked
// against the screen and, as the settings file has always done, against the
// main window's size (not the frame list's own).
#pragma once

namespace framelist {

// One window rectangle as the settings file stores it; any one unit (the
// caller's), as long as every argument uses it.
struct StoredRect {
  int top = 0;
  int left = 0;
  int width = 0;
  int height = 0;
};

// top becomes 0 when below 0 or greater than screenHeight - mainHeight; left
// becomes 0 when below 0 or greater than screenWidth - mainWidth. Width and
// height are returned unchanged.
StoredRect clampFramesRect(StoredRect stored, int screenWidth, int screenHeight, int mainWidth, int mainHeight);

}  // namespace framelist
