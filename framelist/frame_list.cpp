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
  anchor_ = selected_;
  for (StockEntry& e : entries_) e.selected = false;
  if (!isEmpty()) entries_[static_cast<std::size_t>(selected_)].selected = true;
  return selected_;
}

void FrameList::toggleSelected(int index) {
  if (isEmpty() || index < 0 || index > highestIndex()) return;
  StockEntry& e = entries_[static_cast<std::size_t>(index)];
  if (!e.selected) {
    e.selected = true;
    selected_ = anchor_ = index;
    return;
  }
  const std::vector<int> picked = selection();
  if (picked.size() <= 1) return;
  e.selected = false;
  if (selected_ == index) {
    // The nearest selected frame below, else the last one above.
    const auto next = std::find_if(picked.begin(), picked.end(), [index](int i) { return i > index; });
    selected_ = next != picked.end() ? *next : picked[picked.size() - 2];
  }
  anchor_ = selected_;
}

void FrameList::extendSelection(int index) {
  if (isEmpty()) return;
  index = std::clamp(index, 0, highestIndex());
  const int from = std::clamp(anchor_, 0, highestIndex());
  for (int i = 0; i <= highestIndex(); ++i)
    entries_[static_cast<std::size_t>(i)].selected = i >= std::min(from, index) && i <= std::max(from, index);
  selected_ = index;
}

int FrameList::settle() {
  const int index = std::clamp(selected_, 0, highestIndex());
  if (isEmpty()) {
    selected_ = anchor_ = 0;
    return 0;
  }
  selected_ = index;
  anchor_ = std::clamp(anchor_, 0, highestIndex());
  entries_[static_cast<std::size_t>(index)].selected = true;
  return selected_;
}

std::vector<int> FrameList::selection() const {
  std::vector<int> out;
  if (isEmpty()) return out;
  for (int i = 0; i <= highestIndex(); ++i)
    if (entry(i).selected) out.push_back(i);
  return out;
}

void FrameList::restore(FrameState state) {
  entries_ = std::move(state.entries);
  if (entries_.empty()) entries_.emplace_back();
  selected_ = state.current;
  anchor_ = state.anchor;
}

void FrameList::addStock(const core::Picture& picture) {
  if (picture.isEmpty()) return;
  if (isEmpty()) {
    entries_.front() = StockEntry{picture, false};
    select(0);
    return;
  }
  // The selection may still point past the end after a deletion; the window
  // always selects (and so clamps) before the user can add, but stay safe.
  const int sel = std::clamp(selected_, 0, highestIndex());
  entries_.insert(entries_.begin() + sel + 1, StockEntry{picture, false});
  select(sel + 1);
}

namespace {

// Whether a frame of the selection has a frame outside it on that side.
bool canShift(const FrameList& list, int step) {
  if (list.isEmpty()) return false;
  for (int i : list.selection()) {
    const int t = i + step;
    if (t >= 0 && t <= list.highestIndex() && !list.entry(t).selected) return true;
  }
  return false;
}

}  // namespace

bool FrameList::canMoveUp() const { return canShift(*this, -1); }

bool FrameList::canMoveDown() const { return canShift(*this, 1); }

bool FrameList::move(MoveButton button) {
  if (button == MoveButton::Up ? !canMoveUp() : !canMoveDown()) return false;
  const int step = button == MoveButton::Up ? -1 : 1;
  const int n = highestIndex();
  // Walking from the side the frames move to, a block of selected frames
  // passes its neighbour one frame at a time; a block already at the end
  // stays where it is.
  for (int k = 0; k <= n; ++k) {
    const int i = step < 0 ? k : n - k;
    const int t = i + step;
    if (t < 0 || t > n || !entries_[static_cast<std::size_t>(i)].selected) continue;
    if (entries_[static_cast<std::size_t>(t)].selected) continue;
    std::swap(entries_[static_cast<std::size_t>(i)], entries_[static_cast<std::size_t>(t)]);
    if (selected_ == i) selected_ = t;
    if (anchor_ == i) anchor_ = t;
  }
  return true;
}

void FrameList::deleteAll() { entries_.assign(1, StockEntry{}); }

void FrameList::deleteChecked() {
  std::erase_if(entries_, [](const StockEntry& e) { return e.checked; });
  if (entries_.empty()) entries_.emplace_back();
}

std::vector<int> FrameList::delays() const {
  std::vector<int> out;
  if (isEmpty()) return out;
  out.reserve(entries_.size());
  for (const StockEntry& e : entries_) out.push_back(e.delayCs);
  return out;
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
