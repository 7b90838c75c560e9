// Undo and redo of the frame list: every change is recorded as the list
// before and after it, so that undoing and redoing put back exactly the
// frames, their times, marks and selection that were there.
#pragma once

#include <functional>

#include <QString>
#include <QUndoCommand>

#include "framelist/frame_list.h"

class QUndoStack;

namespace framelist {

class ListChange final : public QUndoCommand {
 public:
  // after is the list as it is now; shown mirrors the list into the window.
  ListChange(const QString& text, FrameList& list, FrameState before, std::function<void()> shown);
  void undo() override;
  void redo() override;

 private:
  FrameList& list_;
  FrameState before_;
  FrameState after_;
  std::function<void()> shown_;
  bool done_ = true;  // pushing redoes a change that has just been made
};

// Runs edit on the list and, when it changed something, pushes the change
// onto stack under text (shown runs once either way is settled). Returns
// whether the list changed.
bool recordChange(QUndoStack& stack, FrameList& list, const QString& text, const std::function<bool(FrameList&)>& edit,
                  const std::function<void()>& shown);

}  // namespace framelist
