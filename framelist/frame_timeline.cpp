#include "framelist/frame_timeline.h"

#include <algorithm>
#include <utility>

#include "play/animation_plan.h"

namespace framelist {

namespace {

// The frames the list holds, without the hidden element of an empty list.
std::vector<StockEntry> heldFrames(const FrameState& state) {
  std::vector<StockEntry> out;
  for (const StockEntry& e : state.entries)
    if (!e.picture.isEmpty()) out.push_back(e);
  return out;
}

// The inserted block becomes the selection with its last frame current, so a
// second add or duplicate lands after the first.
void insertBlock(FrameList& list, FrameState state, std::vector<StockEntry> frames, int at,
                 const std::vector<StockEntry>& block) {
  for (StockEntry& e : frames) e.selected = false;
  frames.insert(frames.begin() + at, block.begin(), block.end());
  state.entries = std::move(frames);
  state.anchor = at;
  state.current = at + static_cast<int>(block.size()) - 1;
  list.restore(std::move(state));
}

}  // namespace

bool addFrames(FrameList& list, const std::vector<core::Picture>& pictures) {
  std::vector<StockEntry> added;
  for (const core::Picture& p : pictures)
    if (!p.isEmpty()) added.push_back(StockEntry{p, false, 0, true});
  if (added.empty()) return false;
  FrameState state = list.state();
  std::vector<StockEntry> frames = heldFrames(state);
  const int at = frames.empty() ? 0 : std::clamp(state.current, 0, static_cast<int>(frames.size()) - 1) + 1;
  insertBlock(list, std::move(state), std::move(frames), at, added);
  return true;
}

bool duplicateSelected(FrameList& list) {
  const std::vector<int> picked = list.selection();
  if (picked.empty()) return false;
  FrameState state = list.state();
  std::vector<StockEntry> copies;
  for (int i : picked) copies.push_back(state.entries[static_cast<std::size_t>(i)]);
  std::vector<StockEntry> frames = state.entries;
  insertBlock(list, std::move(state), std::move(frames), picked.back() + 1, copies);
  return true;
}

bool moveSelectedTo(FrameList& list, int gap) {
  const std::vector<int> picked = list.selection();
  if (picked.empty()) return false;
  FrameState state = list.state();
  gap = std::clamp(gap, 0, static_cast<int>(state.entries.size()));
  std::vector<StockEntry> moving;
  std::vector<StockEntry> out;
  int before = 0;  // frames left above the gap
  for (int i = 0; i < static_cast<int>(state.entries.size()); ++i) {
    const StockEntry& e = state.entries[static_cast<std::size_t>(i)];
    if (e.selected) {
      moving.push_back(e);
    } else {
      out.push_back(e);
      if (i < gap) ++before;
    }
  }
  out.insert(out.begin() + before, moving.begin(), moving.end());
  const bool same = std::equal(out.begin(), out.end(), state.entries.begin(), [](const auto& a, const auto& b) {
    return a.picture.handle() == b.picture.handle() && a.selected == b.selected && a.delayCs == b.delayCs &&
           a.checked == b.checked;
  });
  if (same) return false;
  // The current frame stays current where it lands.
  const auto pos = std::find(picked.begin(), picked.end(), state.current);
  state.current = before + static_cast<int>(pos == picked.end() ? picked.size() - 1 : pos - picked.begin());
  state.anchor = before;
  state.entries = std::move(out);
  list.restore(std::move(state));
  return true;
}

bool deleteSelected(FrameList& list) {
  const std::vector<int> picked = list.selection();
  if (picked.empty()) return false;
  FrameState state = list.state();
  std::vector<StockEntry> kept;
  for (const StockEntry& e : state.entries)
    if (!e.selected) kept.push_back(e);
  // The frame that followed the first deleted one takes the selection.
  state.current = std::min(picked.front(), static_cast<int>(kept.size()) - 1);
  state.current = std::max(state.current, 0);
  state.anchor = state.current;
  state.entries = std::move(kept);
  list.restore(std::move(state));
  list.settle();
  return true;
}

bool setSelectedTime(FrameList& list, int cs) {
  if (cs != 0) cs = std::clamp(cs, kMinFrameTimeCs, kMaxFrameTimeCs);
  const std::vector<int> picked = list.selection();
  FrameState state = list.state();
  bool changed = false;
  for (int i : picked) {
    int& own = state.entries[static_cast<std::size_t>(i)].delayCs;
    changed = changed || own != cs;
    own = cs;
  }
  if (changed) list.restore(std::move(state));
  return changed;
}

std::string frameTimeText(int cs) { return output::secondsText(cs, 2); }

}  // namespace framelist
