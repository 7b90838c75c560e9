// The frame list's editing beyond single frames: many frames added at once,
// copies of the selected frames, the selected frames dragged to another
// place or deleted, and their display times. No Qt: each edit changes the
// list in place and says whether it changed anything, so that the window
// records only real changes for undo.
#pragma once

#include <string>
#include <vector>

#include "core/picture.h"
#include "framelist/frame_list.h"

namespace framelist {

// A frame's own display time lies between these, in hundredths of a second
// as a GIF stores it.
inline constexpr int kMinFrameTimeCs = 2;
inline constexpr int kMaxFrameTimeCs = 1000;

// Inserts the pictures, in their order, after the current frame (into the
// empty list: as its frames); they become the selection, the last one the
// current frame. Empty pictures are skipped.
bool addFrames(FrameList& list, const std::vector<core::Picture>& pictures);

// Inserts a copy of every selected frame (time and mark included) after the
// last selected one, in list order; the copies become the selection.
bool duplicateSelected(FrameList& list);

// Moves the selected frames, in their order, to the gap before element gap
// (0..highestIndex() + 1, counted in the list as it is before the move):
// what dragging them does. They stay selected.
bool moveSelectedTo(FrameList& list, int gap);

// Removes the selected frames; the frame after them (else the last one)
// becomes the selection.
bool deleteSelected(FrameList& list);

// Gives the selected frames the display time cs (clamped to the bounds
// above), or none of their own for cs 0.
bool setSelectedTime(FrameList& list, int cs);

// A display time as the strip shows it: "0.25" seconds, two decimals.
std::string frameTimeText(int cs);

}  // namespace framelist
