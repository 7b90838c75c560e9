// The frame list window: a non-modal window that collects single frames from
// the main window's preview in a vertical strip, one check box beside each,
// lets the user reorder, mark, delete and save them.
#pragma once

#include <functional>
#include <vector>

#include <QRect>
#include <QString>
#include <QWidget>

#include "core/picture.h"
#include "framelist/frame_list.h"
#include "framelist/frame_save.h"
#include "framelist/save_dialog.h"

class QCheckBox;
class QFrame;
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
// Asks a Yes/No question with the warning icon: true for Yes.
using YesNoAsker = std::function<bool(const QString& text)>;

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

  // Replace the save dialog and the message box (tests, scripted use).
  void setSaveNameAsker(SaveNameAsker asker) { askSaveName_ = std::move(asker); }
  void setMessageShower(MessageShower shower) { showMessage_ = std::move(shower); }
  // Asked before writing an animated GIF that does not fit its byte budget
  // even at the lowest quality; without one, the file is written.
  void setOverBudgetAsker(YesNoAsker asker) { askOverBudget_ = std::move(asker); }
  // Where the written animation's size against its preset budget goes.
  void setNoticeShower(NoticeShower shower) { showNotice_ = std::move(shower); }

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

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;

 private:
  void Form_Load();
  void Form_Resize();
  void createButtons();
  void syncElements();
  void arrange();
  void updateScrollBar(bool resetValue);
  void showSelection();
  void setListButtonsEnabled(bool enabled);

  SaveSettings settings_;
  save::AnimationQuestion ask_;
  SaveNameAsker askSaveName_;
  MessageShower showMessage_;
  YesNoAsker askOverBudget_;
  NoticeShower showNotice_;

  FrameList list_;
  std::vector<StockPicture*> picStock_;
  std::vector<QCheckBox*> chkX_;
  QWidget* shaX_ = nullptr;
  QWidget* picBase_ = nullptr;
  QFrame* picCont_ = nullptr;
  QWidget* viewport_ = nullptr;  // picCont's inner area, which clips the strip
  QScrollBar* vsbY_ = nullptr;
  QPushButton* cmdMove_[2] = {nullptr, nullptr};
  QPushButton* cmdDelete_[2] = {nullptr, nullptr};
  QPushButton* cmdFrameSave_ = nullptr;
  int stripHeight_ = 0;
};

}  // namespace framelist
