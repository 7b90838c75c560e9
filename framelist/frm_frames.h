// The frame list window: a non-modal window that collects single frames from
// the main window's preview in a vertical strip, one check box beside each,
// lets the user reorder, mark, delete and save them.
#pragma once

#include <functional>
#include <vector>

#include <QRect>
#include <QString>
#include <QUndoStack>
#include <QWidget>

#include "core/picture.h"
#include "framelist/frame_list.h"
#include "framelist/frame_save.h"
#include "framelist/save_dialog.h"

class QAction;
class QCheckBox;
class QDoubleSpinBox;
class QFrame;
class QLabel;
class QPushButton;
class QScrollBar;

namespace framelist {

class StockPicture;

// The application title used as message box caption and caption prefix.
inline constexpr const char* kAppTitle = "Pictorell";

// What the save button says of an empty list, instead of asking for a name
// and a format for nothing.
inline constexpr const char* kNothingToSave = QT_TRANSLATE_NOOP("Pictorell", "保存するフレームがありません。");

// saveFailureMessage with its headline as the interface shows it.
QString shownSaveFailure(const output::WriteStatus& status);
// The budget report's sentences as the interface shows them.
QString shownBudget(const output::BudgetReport& report);
// The question before saving a file over its budget, as the interface shows it.
QString shownOverBudget(const output::AnimationFile& file);

// 7000 twips at 15 twips per pixel is 466.67 pixels; the window's client
// width is kept at 467 or more, so it is never narrower than 7000 twips.
inline constexpr int kMinimumWidthPx = 467;

// Shows a message box: caption, text. Replaceable so tests never block.
using MessageShower = std::function<void(const QString& caption, const QString& text)>;
// Shows a notice after a save: warning picks the exclamation icon over the
// information icon.
using NoticeShower = std::function<void(bool warning, const QString& text)>;
// Told the one animated file a save wrote (a full path) and its preset.
using AnimationWritten = std::function<void(const std::string& file, output::AdPreset preset)>;
// Asks a Yes/No question with the warning icon: true for Yes.
using YesNoAsker = std::function<bool(const QString& text)>;
// The frames of the preview on show, in the order it plays them (empty when
// no preview plays).
using PreviewFrames = std::function<std::vector<core::Picture>()>;

// The question before the program closes over changes to the list that
// were never saved.
inline constexpr const char* kUnsavedQuestion =
    QT_TRANSLATE_NOOP("Pictorell", "フレーム・リストに保存していない変更があります。\n保存せずに閉じますか？");

class frmFrames : public QWidget {
 public:
  // settings and ask (the GIF and WebP question) are used by the save; settings' strings must outlive
  // the window. The window is created hidden (Form_Load).
  frmFrames(SaveSettings settings, save::AnimationQuestion ask, QWidget* parent = nullptr);
  ~frmFrames() override;

  // Inserts picture after the selected frame and selects it (the first frame
  // of an empty list fills element 0), scrolling the strip so that the new
  // frame is in view. An empty picture does nothing.
  void Add_Stock(const core::Picture& picture);

  // The handlers of the window's controls, callable as the user would.
  void picStock_Click(int index);
  void cmdMove_Click(int index);    // 1 "▲", 0 "▼"
  void cmdDelete_Click(int index);  // 1 all, 0 checked; no question asked
  void cmdFrameSave_Click();
  void vsbY_Change(int value);
  // A click on frame index with the keyboard modifiers held (Ctrl adds or
  // removes it, Shift extends the selection to it).
  void picStock_Click(int index, Qt::KeyboardModifiers modifiers);
  // "全フレーム追加": every frame of the preview on show, in play order,
  // after the selected frame. Nothing without a preview.
  void cmdAddAll_Click();
  void cmdDuplicate_Click();
  // The Delete key: removes the selected frames.
  void deleteSelected();
  // Moves the selected frames to the gap before element gap (dragging).
  void moveSelectedTo(int gap);
  // Sets the selected frames' display time from the time box; 0 for none
  // (each then shows for the interval chosen when saving).
  void cmdSetTime_Click();
  void cmdClearTime_Click();
  void undo() { undo_.undo(); }
  void redo() { undo_.redo(); }

  // Where "全フレーム追加" takes its frames from.
  void setPreviewFrames(PreviewFrames frames) { previewFrames_ = std::move(frames); }
  // Asks confirmDiscard's question; without one nothing is asked.
  void setCloseAsker(YesNoAsker asker) { askClose_ = std::move(asker); }
  // True when the list holds changes made since its last save (or since it
  // was empty).
  bool hasUnsavedChanges() const { return !undo_.isClean(); }
  // Asks kUnsavedQuestion when there are unsaved changes: true when there
  // are none or the user lets them go.
  bool confirmDiscard();
  // Forgets the unsaved changes (the program closes without saving them).
  void discardChanges() { undo_.clear(); }
  const QUndoStack& undoStack() const { return undo_; }

  // Replace the save dialog and the message box (tests, scripted use).
  void setSaveNameAsker(SaveNameAsker asker) { askSaveName_ = std::move(asker); }
  void setMessageShower(MessageShower shower) { showMessage_ = std::move(shower); }
  // Asked before writing an animated GIF that does not fit its byte budget
  // even at the lowest quality; without one, the file is written.
  void setOverBudgetAsker(YesNoAsker asker) { askOverBudget_ = std::move(asker); }
  // Where the written animation's size against its preset budget goes.
  void setNoticeShower(NoticeShower shower) { showNotice_ = std::move(shower); }
  void setAnimationWritten(AnimationWritten told) { animationWritten_ = std::move(told); }

  // Position and client size in pixels for the settings file: x/y are the
  // frame's top-left corner (as move() takes it), width/height the client
  // area (as resize() takes it).
  QRect framesRect() const;
  void setFramesRect(const QRect& rect);
  // True when the window is neither minimised nor maximised.
  bool isNormalState() const;

  const FrameList& frames() const { return list_; }
  // shaX.Tag as decimal text.
  QString shaXTag() const { return QString::number(list_.selected()); }

  // The controls, for tests and the window's own layout.
  int picStockCount() const { return static_cast<int>(picStock_.size()); }
  QWidget* picStock(int i) const;
  QCheckBox* chkX(int i) const;
  QWidget* shaX() const { return shaX_; }
  QWidget* picBase() const { return picBase_; }
  QFrame* picCont() const { return picCont_; }
  QWidget* viewport() const { return viewport_; }
  QScrollBar* vsbY() const { return vsbY_; }
  QPushButton* cmdMove(int index) const { return cmdMove_[index == 0 ? 0 : 1]; }
  QPushButton* cmdDelete(int index) const { return cmdDelete_[index == 0 ? 0 : 1]; }
  QPushButton* cmdFrameSave() const { return cmdFrameSave_; }
  QPushButton* cmdAddAll() const { return cmdAddAll_; }
  QPushButton* cmdDuplicate() const { return cmdDuplicate_; }
  QPushButton* cmdUndo() const { return cmdUndo_; }
  QPushButton* cmdRedo() const { return cmdRedo_; }
  QDoubleSpinBox* spnTime() const { return spnTime_; }
  QPushButton* cmdSetTime() const { return cmdSetTime_; }
  QPushButton* cmdClearTime() const { return cmdClearTime_; }
  // The display time shown beside frame i.
  QLabel* lblTime(int i) const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  void Form_Load();
  void Form_Resize();
  void createButtons();
  void createTimelineControls(int height);
  void placeTimeRow();
  void syncElements();
  void arrange();
  void updateScrollBar(bool resetValue);
  void showSelection();
  void setListButtonsEnabled(bool enabled);
  void placeSelection();
  bool change(const char* text, const std::function<bool(FrameList&)>& edit);
  void changed();
  // Dragging frames: the gap the pointer is over (strip coordinates), the
  // line that marks it, and the drop.
  friend class StockPicture;
  void dragOver(int stripY);
  void dropAt(int stripY);
  int gapAt(int stripY) const;

  SaveSettings settings_;
  save::AnimationQuestion ask_;
  SaveNameAsker askSaveName_;
  MessageShower showMessage_;
  YesNoAsker askOverBudget_;
  NoticeShower showNotice_;
  AnimationWritten animationWritten_;
  PreviewFrames previewFrames_;
  YesNoAsker askClose_;

  FrameList list_;
  QUndoStack undo_;
  std::vector<StockPicture*> picStock_;
  std::vector<QCheckBox*> chkX_;
  std::vector<QLabel*> lblTime_;
  std::vector<QWidget*> bars_;  // the selection bars of the selected frames but the current one
  QWidget* dropLine_ = nullptr;
  QWidget* shaX_ = nullptr;
  QWidget* picBase_ = nullptr;
  QFrame* picCont_ = nullptr;
  QWidget* viewport_ = nullptr;  // picCont's inner area, which clips the strip
  QScrollBar* vsbY_ = nullptr;
  QPushButton* cmdMove_[2] = {nullptr, nullptr};
  QPushButton* cmdDelete_[2] = {nullptr, nullptr};
  QPushButton* cmdFrameSave_ = nullptr;
  QPushButton* cmdAddAll_ = nullptr;
  QPushButton* cmdDuplicate_ = nullptr;
  QPushButton* cmdUndo_ = nullptr;
  QPushButton* cmdRedo_ = nullptr;
  QLabel* lblTimeBox_ = nullptr;
  QDoubleSpinBox* spnTime_ = nullptr;
  QPushButton* cmdSetTime_ = nullptr;
  QPushButton* cmdClearTime_ = nullptr;
  int contTop_ = 50;      // the viewport's top, below the button rows
  int bottomRow_ = 0;     // the height of the row below the viewport
  int stripHeight_ = 0;
};

}  // namespace framelist
