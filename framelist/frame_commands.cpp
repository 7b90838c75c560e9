#include "framelist/frame_commands.h"

#include <utility>

#include <QUndoStack>

namespace framelist {

ListChange::ListChange(const QString& text, FrameList& list, FrameState before, std::function<void()> shown)
    : QUndoCommand(text), list_(list), before_(std::move(before)), after_(list.state()), shown_(std::move(shown)) {}

void ListChange::undo() {
  list_.restore(before_);
  if (shown_) shown_();
}

void ListChange::redo() {
  if (done_) {
    done_ = false;
    return;
  }
  list_.restore(after_);
  if (shown_) shown_();
}

bool recordChange(QUndoStack& stack, FrameList& list, const QString& text, const std::function<bool(FrameList&)>& edit,
                  const std::function<void()>& shown) {
  FrameState before = list.state();
  if (!edit(list)) return false;
  stack.push(new ListChange(text, list, std::move(before), shown));
  if (shown) shown();
  return true;
}

}  // namespace framelist
