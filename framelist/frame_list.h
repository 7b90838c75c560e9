// The frame list's contents without widgets: the frames in list order with
// their marks, and the selection index that the selection bar's Tag holds.
// The window mirrors this into its picStock / chkX arrays after every change.
#pragma once

#include <functional>
#include <vector>

#include "core/picture.h"

namespace framelist {

// One element of the picStock / chkX arrays.
struct StockEntry {
  core::Picture picture;  // empty (handle 0) only for element 0 of an empty list
  bool checked = false;   // chkX(i)
  int delayCs = 0;        // the frame's own display time in hundredths, 0 = the save's interval
  bool selected = false;  // one of the selected frames (the selection bar beside it)
};

// Everything the list holds, as undo and redo put it back: the elements and
// which frame is the current one (the selection index) and which one a
// Shift click extends the selection from.
struct FrameState {
  std::vector<StockEntry> entries;  // as the list keeps them: element 0 always exists
  int current = 0;
  int anchor = 0;
};

// Which cmdMove button: the index of the button in its array.
enum class MoveButton { Down = 0, Up = 1 };

class FrameList {
 public:
  FrameList();

  // The highest index n of the arrays; element 0 always exists, so n >= 0.
  int highestIndex() const { return static_cast<int>(entries_.size()) - 1; }
  // True when element 0 holds no picture (then it is the only element).
  bool isEmpty() const { return entries_.front().picture.isEmpty(); }
  // Number of frames held: 0 for the empty list, else highestIndex() + 1.
  int frameCount() const { return isEmpty() ? 0 : highestIndex() + 1; }

  // Element i, 0 <= i <= highestIndex().
  const StockEntry& entry(int i) const { return entries_.at(static_cast<std::size_t>(i)); }
  // Sets chkX(i) (the user ticking a box); ignored outside 0..highestIndex()
  // and for the hidden element of an empty list.
  void setChecked(int i, bool checked);

  // The selection index (shaX.Tag). It may exceed highestIndex() after a
  // deletion until select() clamps it.
  int selected() const { return selected_; }

  // picStock_Click: clamps index to 0..highestIndex(), makes it the selection
  // (the only selected frame) and returns it. On an empty list the selection
  // becomes 0. A negative index counts as 0.
  int select(int index);
  // Ctrl and a click: index joins the selected frames and becomes the
  // current one, or leaves them unless it is the last one left.
  void toggleSelected(int index);
  // Shift and a click: the frames from the last plain or Ctrl click to index
  // become the selection, index the current one.
  void extendSelection(int index);
  // Clamps the selection index into the list, keeping it among the selected
  // frames (after a deletion, an undo or a redo); returns it.
  int settle();
  // Indexes of the selected frames in list order (empty for the empty list).
  std::vector<int> selection() const;

  // Add_Stock: inserts picture after the selected frame and selects it; on an
  // empty list it fills element 0 (selection 0). An empty picture is ignored.
  void addStock(const core::Picture& picture);

  // Whether "▲" / "▼" may move the selected frame (the enabled state that
  // picStock_Click gives the buttons, after clamping the selection).
  bool canMoveUp() const;
  bool canMoveDown() const;
  // cmdMove_Click: swaps each selected frame (picture and mark) with its
  // unselected neighbour above (Up) or below (Down); the selection follows
  // the frames. Returns false and changes nothing when no selected frame has
  // such a neighbour.
  bool move(MoveButton button);

  // cmdDelete_Click(1): back to the empty list. The selection index is kept
  // (select() clamps it).
  void deleteAll();
  // cmdDelete_Click(0): removes every checked frame, keeping the order of the
  // rest. The selection index is kept (select() clamps it).
  void deleteChecked();

  // The pictures in list order (empty for the empty list).
  std::vector<core::Picture> pictures() const;
  // Their own display times in list order, 0 for none (empty for the empty list).
  std::vector<int> delays() const;

  FrameState state() const { return FrameState{entries_, selected_, anchor_}; }
  // Puts a state back; a state without elements becomes the empty list.
  void restore(FrameState state);

 private:
  std::vector<StockEntry> entries_;
  int selected_ = 0;
  int anchor_ = 0;
};

// Where the strip puts element i: the frame at (kFrameX, y), its check box
// at (kCheckX, checkY), the next frame at y + frame height.
inline constexpr int kFrameX = 50;
inline constexpr int kCheckX = 20;
// The selection bar spans x 0 to kFrameX beside the selected frame.
inline constexpr int kBarWidth = 50;

struct StripSlot {
  int y = 0;       // top of picStock(i)
  int height = 0;  // height of picStock(i) (0 for the empty element)
  int checkY = 0;  // top of chkX(i)
};

struct StripLayout {
  std::vector<StripSlot> places;  // one per element 0..highestIndex()
  int height = 0;                // height of picBase: the sum of frame heights
  int width = 0;                 // kFrameX + the widest frame
};

// Arranging the strip: frames touch one another; each check box is centred
// beside its frame, (frame height - checkHeight) / 2 truncated towards zero.
// `shown` gives a length in banner pixels in the strip's pixels where these
// differ (a scaled screen); without it they are the same.
StripLayout arrangeStrip(const FrameList& list, int checkHeight, const std::function<int(int)>& shown = {});

// The scroll bar for a viewport of the given inner height: disabled when the
// strip fits, else enabled with range 0..stripHeight - viewportHeight.
struct ScrollRange {
  bool enabled = false;
  int maximum = 0;
};
ScrollRange scrollRange(int viewportHeight, int stripHeight);

}  // namespace framelist
