#include "framelist/frame_list.h"

#include <algorithm>
#include <utility>

namespace framelist {

FrameList::FrameList() : entries_(1) {}

void FrameList::setChecked(int i, bool checked) {
  if (i < 0 || i > highestIndex() || isEmpty()) return;
  entries_[static_cast<std::size_t>(i)].checked = checked;
}

int FrameList::select(int index) {
  index = std::clamp(index, 0, highestIndex());
  // An empty element 0 hides the bar and resets the Tag to "0".
  selected_ = entry(index).picture.isEmpty() ? 0 : index;
  return selected_;
}

void FrameList::addStock(const core::Picture& picture) {
  if (picture.isEmpty()) return;
  if (isEmpty()) {
    entries_.front() = StockEntry{picture, false};
    selected_ = 0;
    return;
  }
  // The selection may still point past the end after a deletion; the window
  // always selects (and so clamps) before the user can add, but stay safe.
  const int sel = std::clamp(selected_, 0, highestIndex());
  entries_.insert(entries_.begin() + sel + 1, StockEntry{picture, false});
  selected_ = sel + 1;
}

bool FrameList::canMoveUp() const {
  if (isEmpty()) return false;
  return std::clamp(selected_, 0, highestIndex()) > 0;
}

bool FrameList::canMoveDown() const {
  if (isEmpty()) return false;
  return std::clamp(selected_, 0, highestIndex()) < highestIndex();
}

bool FrameList::move(MoveButton button) {
  if (button == MoveButton::Up ? !canMoveUp() : !canMoveDown()) return false;
  const int s = std::clamp(selected_, 0, highestIndex());
  const int t = button == MoveButton::Up ? s - 1 : s + 1;
  std::swap(entries_[static_cast<std::size_t>(s)], entries_[static_cast<std::size_t>(t)]);
  selected_ = t;
  return true;
}

void FrameList::deleteAll() { entries_.assign(1, StockEntry{}); }

void FrameList::deleteChecked() {
  std::erase_if(entries_, [](const StockEntry& e) { return e.checked; });
  if (entries_.empty()) entries_.emplace_back();
}

std::vector<core::Picture> FrameList::pictures() const {
  std::vector<core::Picture> out;
  if (isEmpty()) return out;
  out.reserve(entries_.size());
  for (const StockEntry& e : entries_) out.push_back(e.picture);
  return out;
}

StripLayout arrangeStrip(const FrameList& list, int checkHeight, const std::function<int(int)>& shown) {
  StripLayout layout;
  layout.places.reserve(static_cast<std::size_t>(list.highestIndex()) + 1);
  int y = 0;
  int widest = 0;
  for (int i = 0; i <= list.highestIndex(); ++i) {
    const core::Picture& p = list.entry(i).picture;
    const int height = shown ? shown(p.height()) : p.height();
    // C++ division truncates towards zero, as the arrangement asks, also for
    // frames lower than the check box.
    layout.places.push_back(StripSlot{y, height, y + (height - checkHeight) / 2});
    y += height;
    widest = std::max(widest, shown ? shown(p.width()) : p.width());
  }
  layout.height = y;
  layout.width = kFrameX + widest;
  return layout;
}

ScrollRange scrollRange(int viewportHeight, int stripHeight) {
  if (viewportHeight >= stripHeight) return ScrollRange{false, 0};
  return ScrollRange{true, stripHeight - viewportHeight};
}

}  // namespace framelist
