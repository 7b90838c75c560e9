#include "framelist/frm_frames.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include <QApplication>
#include <QCheckBox>
#include <QAction>
#include <QCloseEvent>
#include <QDoubleSpinBox>
#include <QFrame>
#include <QImage>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include "framelist/frame_commands.h"
#include "framelist/frame_timeline.h"
#include "framelist/shown_text.h"
#include "intake/device_pixels.h"
#include "intake/image_adapter.h"

namespace framelist {

namespace {

constexpr const char* kCaptionSuffix = QT_TRANSLATE_NOOP("Pictorell", " -フレーム・リスト-");
constexpr const char* kDeleteAll = QT_TRANSLATE_NOOP("Pictorell", "全フレーム削除(&A)");
constexpr const char* kDeleteChecked = QT_TRANSLATE_NOOP("Pictorell", "チェックフレーム削除(&D)");
constexpr const char* kSave = QT_TRANSLATE_NOOP("Pictorell", "保存(&S)");
// ▲ and ▼ say nothing when read aloud; neither do the frames and their boxes.
constexpr const char* kMoveUp = QT_TRANSLATE_NOOP("Pictorell", "上へ移動");
constexpr const char* kMoveDown = QT_TRANSLATE_NOOP("Pictorell", "下へ移動");
constexpr const char* kMoveUpTip = QT_TRANSLATE_NOOP("Pictorell", "選択したフレームを上へ移動");
constexpr const char* kMoveDownTip = QT_TRANSLATE_NOOP("Pictorell", "選択したフレームを下へ移動");
constexpr const char* kFrameName = QT_TRANSLATE_NOOP("Pictorell", "フレーム%1");
constexpr const char* kFrameAbout = QT_TRANSLATE_NOOP("Pictorell", "クリックで選択");
constexpr const char* kFrameCheckName = QT_TRANSLATE_NOOP("Pictorell", "フレーム%1のチェック");
constexpr const char* kFrameCheckAbout = QT_TRANSLATE_NOOP("Pictorell", "チェックしたフレームを削除できます");
constexpr const char* kScrollName = QT_TRANSLATE_NOOP("Pictorell", "フレームのスクロール");
constexpr const char* kAddAll = QT_TRANSLATE_NOOP("Pictorell", "全フレーム追加(&L)");
constexpr const char* kAddAllTip = QT_TRANSLATE_NOOP("Pictorell", "プレビュー中の全フレームを再生順に追加");
constexpr const char* kDuplicate = QT_TRANSLATE_NOOP("Pictorell", "複製(&U)");
constexpr const char* kDuplicateTip = QT_TRANSLATE_NOOP("Pictorell", "選択したフレームを複製");
constexpr const char* kUndo = QT_TRANSLATE_NOOP("Pictorell", "元に戻す(&Z)");
constexpr const char* kRedo = QT_TRANSLATE_NOOP("Pictorell", "やり直し(&R)");
constexpr const char* kTimeBox = QT_TRANSLATE_NOOP("Pictorell", "表示時間(&T)");
constexpr const char* kSeconds = QT_TRANSLATE_NOOP("Pictorell", " 秒");
constexpr const char* kSetTime = QT_TRANSLATE_NOOP("Pictorell", "設定(&E)");
constexpr const char* kSetTimeTip = QT_TRANSLATE_NOOP("Pictorell", "選択したフレームの表示時間を設定");
constexpr const char* kClearTime = QT_TRANSLATE_NOOP("Pictorell", "既定に戻す(&I)");
constexpr const char* kClearTimeTip =
    QT_TRANSLATE_NOOP("Pictorell", "選択したフレームを保存時に指定する間隔で表示");
// Beside each frame: its own time, or the interval chosen when saving.
constexpr const char* kOwnTime = QT_TRANSLATE_NOOP("Pictorell", "%1 秒");
constexpr const char* kSaveTime = QT_TRANSLATE_NOOP("Pictorell", "既定");
// What undo and redo name.
constexpr const char* kChangeAdd = QT_TRANSLATE_NOOP("Pictorell", "フレーム追加");
constexpr const char* kChangeDelete = QT_TRANSLATE_NOOP("Pictorell", "フレーム削除");
constexpr const char* kChangeMove = QT_TRANSLATE_NOOP("Pictorell", "フレーム移動");
constexpr const char* kChangeDuplicate = QT_TRANSLATE_NOOP("Pictorell", "フレーム複製");
constexpr const char* kChangeTime = QT_TRANSLATE_NOOP("Pictorell", "表示時間の変更");

// The selection bar's colour: red 255, green 192, blue 192.
const QColor kBarColor(255, 192, 192);

// The viewport starts below the button row and keeps these margins (pixels).
constexpr int kContLeft = 10;
constexpr int kContTop = 50;
constexpr int kContSideMargins = 20;
constexpr int kContVerticalMargins = 70;

// The button row above the viewport.
constexpr int kButtonTop = 10;
constexpr int kButtonGap = 4;
constexpr int kGroupGap = 14;

// The size a new window opens with, until the settings give one: wide
// enough to show a full 468-pixel banner beside the check box column.
constexpr int kDefaultWidthPx = 600;
constexpr int kDefaultHeightPx = 400;

// A wheel notch scrolls this many pixels.
constexpr int kWheelStep = 40;

// The display time beside a frame starts this far right of the widest frame.
constexpr int kTimeGap = 8;
// The time box starts at the interval the GIF dialog starts from.
constexpr int kStartTimeCs = 10;
// The line that shows where dragged frames go.
constexpr int kDropLineHeight = 3;

QWidget* selectionBar(QWidget* parent) {
  auto* bar = new QWidget(parent);
  bar->setAutoFillBackground(true);
  QPalette palette = bar->palette();
  palette.setColor(QPalette::Window, kBarColor);
  bar->setPalette(palette);
  bar->hide();
  return bar;
}

}  // namespace

// picStock(i): shows one frame at its natural size; a click selects it, and
// a press that moves further than a click drags the selected frames.
class StockPicture : public QWidget {
 public:
  StockPicture(QWidget* parent, frmFrames& window) : QWidget(parent), window_(window) {
    setFocusPolicy(Qt::ClickFocus);  // the Delete key then reaches the window
  }

  void setIndex(int index) { index_ = index; }

  void setPicture(const core::Picture& picture) {
    if (picture.handle() == picture_.handle()) return;
    picture_ = picture;
    // Full size: each banner pixel on n x n device pixels, never resampled.
    const qreal ratio = devicePixelRatioF();
    image_ = intake::atWholeDevicePixels(intake::toQImage(picture), ratio);
    setFixedSize(intake::shownSize(QSize(picture.width(), picture.height()), ratio));
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (image_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    pressedAt_ = event->position().toPoint();
    dragging_ = false;
    // A plain press on one of several selected frames may start dragging
    // them all: it selects that frame alone only when released in place.
    pendingClick_ = event->modifiers() == Qt::NoModifier && window_.frames().entry(index_).selected &&
                    window_.frames().selection().size() > 1;
    if (!pendingClick_) window_.picStock_Click(index_, event->modifiers());
  }
  void mouseMoveEvent(QMouseEvent* event) override {
    if (!(event->buttons() & Qt::LeftButton)) return;
    const QPoint at = event->position().toPoint();
    if (!dragging_ && (at - pressedAt_).manhattanLength() < QApplication::startDragDistance()) return;
    dragging_ = true;
    pendingClick_ = false;
    window_.dragOver(mapTo(window_.picBase(), at).y());
  }
  void mouseReleaseEvent(QMouseEvent* event) override {
    if (event->button() != Qt::LeftButton) return;
    if (dragging_) {
      dragging_ = false;
      window_.dropAt(mapTo(window_.picBase(), event->position().toPoint()).y());
    } else if (pendingClick_) {
      window_.picStock_Click(index_, Qt::NoModifier);
    }
    pendingClick_ = false;
  }

 private:
  frmFrames& window_;
  QPoint pressedAt_;
  bool dragging_ = false;
  bool pendingClick_ = false;
  int index_ = 0;
  core::Picture picture_;
  QImage image_;
};

frmFrames::frmFrames(SaveSettings settings, save::AnimationQuestion ask, QWidget* parent)
    : QWidget(parent, Qt::Window), settings_(settings), ask_(std::move(ask)) {
  askSaveName_ = [this](const SaveDialogRequest& request) { return askSaveNameWithDialog(this, request); };
  showMessage_ = [this](const QString& caption, const QString& text) { QMessageBox::warning(this, caption, text); };
  showNotice_ = [this](bool warning, const QString& text) {
    if (warning)
      QMessageBox::warning(this, QString::fromUtf8(kAppTitle), text);
    else
      QMessageBox::information(this, QString::fromUtf8(kAppTitle), text);
  };
  Form_Load();
}

frmFrames::~frmFrames() = default;

void frmFrames::Form_Load() {
  setWindowTitle(QString::fromUtf8(kAppTitle) + shown(kCaptionSuffix));
  // Closing the main window ends the program even while this one is open.
  setAttribute(Qt::WA_QuitOnClose, false);
  setMinimumWidth(kMinimumWidthPx);

  picCont_ = new QFrame(this);
  picCont_->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
  viewport_ = new QWidget(picCont_);
  picBase_ = new QWidget(viewport_);
  shaX_ = new QWidget(picBase_);
  shaX_->setAutoFillBackground(true);
  QPalette bar = shaX_->palette();
  bar.setColor(QPalette::Window, kBarColor);
  shaX_->setPalette(bar);
  shaX_->hide();

  vsbY_ = new QScrollBar(Qt::Vertical, this);
  vsbY_->setEnabled(false);
  vsbY_->setAccessibleName(shown(kScrollName));
  connect(vsbY_, &QScrollBar::valueChanged, this, [this](int value) { vsbY_Change(value); });
  dropLine_ = new QWidget(picBase_);
  dropLine_->setAutoFillBackground(true);
  QPalette line = dropLine_->palette();
  line.setColor(QPalette::Window, palette().color(QPalette::Highlight));
  dropLine_->setPalette(line);
  dropLine_->hide();

  createButtons();
  syncElements();
  setFramesRect(QRect(0, 0, kDefaultWidthPx, kDefaultHeightPx));
  arrange();
}

void frmFrames::createButtons() {
  cmdMove_[1] = new QPushButton(QStringLiteral("▲"), this);
  cmdMove_[0] = new QPushButton(QStringLiteral("▼"), this);
  cmdDelete_[1] = new QPushButton(shown(kDeleteAll), this);
  cmdDelete_[0] = new QPushButton(shown(kDeleteChecked), this);
  cmdFrameSave_ = new QPushButton(shown(kSave), this);
  cmdMove_[1]->setAccessibleName(shown(kMoveUp));
  cmdMove_[0]->setAccessibleName(shown(kMoveDown));
  cmdMove_[1]->setToolTip(shown(kMoveUpTip));
  cmdMove_[0]->setToolTip(shown(kMoveDownTip));

  for (int i = 0; i < 2; ++i) {
    connect(cmdMove_[i], &QPushButton::clicked, this, [this, i] { cmdMove_Click(i); });
    connect(cmdDelete_[i], &QPushButton::clicked, this, [this, i] { cmdDelete_Click(i); });
  }
  connect(cmdFrameSave_, &QPushButton::clicked, this, [this] { cmdFrameSave_Click(); });

  // One row, left to right: the move pair, the delete pair, then save.
  const QPushButton* row[] = {cmdMove_[1], cmdMove_[0], cmdDelete_[1], cmdDelete_[0], cmdFrameSave_};
  int height = 0;
  for (const QPushButton* b : row) height = std::max(height, b->sizeHint().height());
  const int moveWidth = std::max(height, cmdMove_[1]->fontMetrics().horizontalAdvance(QStringLiteral("▲")) + 12);
  int x = kContLeft;
  for (QPushButton* b : {cmdMove_[1], cmdMove_[0]}) {
    b->setGeometry(x, kButtonTop, moveWidth, height);
    x += moveWidth + kButtonGap;
  }
  x += kGroupGap - kButtonGap;
  for (QPushButton* b : {cmdDelete_[1], cmdDelete_[0], cmdFrameSave_}) {
    b->setGeometry(x, kButtonTop, b->sizeHint().width(), height);
    x += b->width() + kButtonGap;
    if (b == cmdDelete_[0]) x += kGroupGap - kButtonGap;
  }
  createTimelineControls(height);
}

// The second row (adding, copying, undo and redo) and the display time row
// below the strip.
void frmFrames::createTimelineControls(int height) {
  cmdAddAll_ = new QPushButton(shown(kAddAll), this);
  cmdDuplicate_ = new QPushButton(shown(kDuplicate), this);
  cmdUndo_ = new QPushButton(shown(kUndo), this);
  cmdRedo_ = new QPushButton(shown(kRedo), this);
  cmdAddAll_->setToolTip(shown(kAddAllTip));
  cmdDuplicate_->setToolTip(shown(kDuplicateTip));
  connect(cmdAddAll_, &QPushButton::clicked, this, [this] { cmdAddAll_Click(); });
  connect(cmdDuplicate_, &QPushButton::clicked, this, [this] { cmdDuplicate_Click(); });
  connect(cmdUndo_, &QPushButton::clicked, this, [this] { undo(); });
  connect(cmdRedo_, &QPushButton::clicked, this, [this] { redo(); });
  cmdUndo_->setEnabled(false);
  cmdRedo_->setEnabled(false);
  connect(&undo_, &QUndoStack::canUndoChanged, cmdUndo_, &QPushButton::setEnabled);
  connect(&undo_, &QUndoStack::canRedoChanged, cmdRedo_, &QPushButton::setEnabled);

  // Ctrl+Z, and both customs for redo, anywhere in this window.
  auto* undoKeys = new QAction(this);
  undoKeys->setShortcuts(QKeySequence::Undo);
  undoKeys->setShortcutContext(Qt::WindowShortcut);
  connect(undoKeys, &QAction::triggered, this, [this] { undo(); });
  auto* redoKeys = new QAction(this);
  redoKeys->setShortcuts({QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
  redoKeys->setShortcutContext(Qt::WindowShortcut);
  connect(redoKeys, &QAction::triggered, this, [this] { redo(); });
  addAction(undoKeys);
  addAction(redoKeys);

  const int rowTop = kButtonTop + height + kButtonGap;
  int x = kContLeft;
  for (QPushButton* b : {cmdAddAll_, cmdDuplicate_, cmdUndo_, cmdRedo_}) {
    b->setGeometry(x, rowTop, b->sizeHint().width(), height);
    x += b->width() + (b == cmdDuplicate_ ? kGroupGap : kButtonGap);
  }
  contTop_ = rowTop + height + (kContTop - kButtonTop - height);

  lblTimeBox_ = new QLabel(shown(kTimeBox), this);
  spnTime_ = new QDoubleSpinBox(this);
  spnTime_->setDecimals(2);
  spnTime_->setRange(kMinFrameTimeCs / 100.0, kMaxFrameTimeCs / 100.0);
  spnTime_->setSingleStep(0.01);
  spnTime_->setValue(kStartTimeCs / 100.0);
  spnTime_->setSuffix(shown(kSeconds));
  // Read aloud without its access key, in either language.
  spnTime_->setAccessibleName(shown(kTimeBox).remove(QStringLiteral("(&T)")).remove(QLatin1Char('&')));
  lblTimeBox_->setBuddy(spnTime_);
  cmdSetTime_ = new QPushButton(shown(kSetTime), this);
  cmdClearTime_ = new QPushButton(shown(kClearTime), this);
  cmdSetTime_->setToolTip(shown(kSetTimeTip));
  cmdClearTime_->setToolTip(shown(kClearTimeTip));
  cmdSetTime_->setAccessibleDescription(shown(kSetTimeTip));
  cmdClearTime_->setAccessibleDescription(shown(kClearTimeTip));
  connect(cmdSetTime_, &QPushButton::clicked, this, [this] { cmdSetTime_Click(); });
  connect(cmdClearTime_, &QPushButton::clicked, this, [this] { cmdClearTime_Click(); });
  bottomRow_ = height + kButtonGap;
}

// The display time row follows the bottom edge of the window.
void frmFrames::placeTimeRow() {
  const int top = picCont_->geometry().bottom() + 1 + kButtonGap;
  const int height = bottomRow_ - kButtonGap;
  int x = kContLeft;
  lblTimeBox_->setGeometry(x, top, lblTimeBox_->sizeHint().width(), height);
  x += lblTimeBox_->width() + kButtonGap;
  spnTime_->setGeometry(x, top, spnTime_->sizeHint().width() + 8, height);
  x += spnTime_->width() + kButtonGap;
  for (QPushButton* b : {cmdSetTime_, cmdClearTime_}) {
    b->setGeometry(x, top, b->sizeHint().width(), height);
    x += b->width() + kButtonGap;
  }
}

QWidget* frmFrames::picStock(int i) const { return picStock_.at(static_cast<std::size_t>(i)); }
QCheckBox* frmFrames::chkX(int i) const { return chkX_.at(static_cast<std::size_t>(i)); }

QLabel* frmFrames::lblTime(int i) const { return lblTime_.at(static_cast<std::size_t>(i)); }

void frmFrames::Add_Stock(const core::Picture& picture) {
  if (picture.isEmpty()) return;
  change(kChangeAdd, [&picture](FrameList& list) {
    list.addStock(picture);
    return true;
  });
}

bool frmFrames::change(const char* text, const std::function<bool(FrameList&)>& edit) {
  return recordChange(undo_, list_, shown(text), edit, [this] { changed(); });
}

// After a change, an undo or a redo: frames of different heights may have
// changed places, so the strip is arranged again, with the current frame in
// view.
void frmFrames::changed() {
  arrange();
  showSelection();
}

void frmFrames::cmdAddAll_Click() {
  if (!previewFrames_) return;
  const std::vector<core::Picture> frames = previewFrames_();
  if (frames.empty()) return;
  change(kChangeAdd, [&frames](FrameList& list) { return addFrames(list, frames); });
}

void frmFrames::cmdDuplicate_Click() { change(kChangeDuplicate, duplicateSelected); }

void frmFrames::deleteSelected() { change(kChangeDelete, framelist::deleteSelected); }

void frmFrames::moveSelectedTo(int gap) {
  change(kChangeMove, [gap](FrameList& list) { return framelist::moveSelectedTo(list, gap); });
}

void frmFrames::cmdSetTime_Click() {
  const int cs = static_cast<int>(std::lround(spnTime_->value() * 100.0));
  change(kChangeTime, [cs](FrameList& list) { return setSelectedTime(list, cs); });
}

void frmFrames::cmdClearTime_Click() {
  change(kChangeTime, [](FrameList& list) { return setSelectedTime(list, 0); });
}

// Makes the picStock / chkX arrays mirror the list: loads or unloads elements
// at the end, then gives each its picture, mark and visibility.
void frmFrames::syncElements() {
  const auto count = static_cast<std::size_t>(list_.highestIndex()) + 1;
  while (picStock_.size() < count) {
    auto* pic = new StockPicture(picBase_, *this);
    auto* chk = new QCheckBox(picBase_);
    lblTime_.push_back(new QLabel(picBase_));
    bars_.push_back(selectionBar(picBase_));
    pic->setAccessibleDescription(shown(kFrameAbout));
    chk->setAccessibleDescription(shown(kFrameCheckAbout));
    chk->resize(chk->sizeHint());
    const int index = static_cast<int>(chkX_.size());
    connect(chk, &QCheckBox::toggled, this, [this, index](bool on) { list_.setChecked(index, on); });
    picStock_.push_back(pic);
    chkX_.push_back(chk);
  }
  while (picStock_.size() > count) {
    delete picStock_.back();
    delete chkX_.back();
    delete lblTime_.back();
    delete bars_.back();
    picStock_.pop_back();
    chkX_.pop_back();
    lblTime_.pop_back();
    bars_.pop_back();
  }
  for (std::size_t i = 0; i < count; ++i) {
    const StockEntry& e = list_.entry(static_cast<int>(i));
    picStock_[i]->setIndex(static_cast<int>(i));
    // Counted from 1, as the user counts the strip from the top.
    picStock_[i]->setAccessibleName(shown(kFrameName).arg(i + 1));
    chkX_[i]->setAccessibleName(shown(kFrameCheckName).arg(i + 1));
    picStock_[i]->setPicture(e.picture);
    const QSignalBlocker quiet(chkX_[i]);
    chkX_[i]->setChecked(e.checked);
    picStock_[i]->setVisible(!e.picture.isEmpty());
    chkX_[i]->setVisible(!e.picture.isEmpty());
    lblTime_[i]->setText(e.delayCs > 0 ? shown(kOwnTime).arg(QString::fromStdString(frameTimeText(e.delayCs)))
                                       : shown(kSaveTime));
    lblTime_[i]->setEnabled(e.delayCs > 0);  // the save's interval is shown greyed
    lblTime_[i]->resize(lblTime_[i]->sizeHint());
    lblTime_[i]->setVisible(!e.picture.isEmpty());
  }
}

void frmFrames::arrange() {
  syncElements();
  // 1. No move until the selection has been placed again.
  cmdMove_[0]->setEnabled(false);
  cmdMove_[1]->setEnabled(false);

  // 2.-3. Frames touch one another, check boxes centred beside them.
  const int checkHeight = chkX_.front()->height();
  const qreal ratio = devicePixelRatioF();
  const StripLayout layout =
      arrangeStrip(list_, checkHeight, [ratio](int bannerPixels) { return intake::shownLength(bannerPixels, ratio); });
  int timeWidth = 0;
  for (const QLabel* l : lblTime_) timeWidth = std::max(timeWidth, l->width());
  for (std::size_t i = 0; i < layout.places.size(); ++i) {
    picStock_[i]->move(kFrameX, layout.places[i].y);
    chkX_[i]->move(kCheckX, layout.places[i].checkY);
    lblTime_[i]->move(layout.width + kTimeGap, layout.places[i].y + (layout.places[i].height - lblTime_[i]->height()) / 2);
  }
  stripHeight_ = layout.height;
  picBase_->resize(std::max(layout.width + kTimeGap + timeWidth, viewport_->width()), layout.height);

  // 4. Scroll bar; 5. selection.
  updateScrollBar(false);
  list_.settle();
  placeSelection();
}

void frmFrames::updateScrollBar(bool resetValue) {
  const ScrollRange range = scrollRange(viewport_->height(), stripHeight_);
  if (!range.enabled) {
    // Also resets the value, so the bar never claims a position the strip
    // does not show when it is enabled again.
    vsbY_->setRange(0, 0);
    vsbY_->setEnabled(false);
    picBase_->move(0, 0);
    return;
  }
  vsbY_->setEnabled(true);
  vsbY_->setRange(0, range.maximum);  // clamps the value, which moves the strip
  vsbY_->setPageStep(std::max(1, viewport_->height()));
  vsbY_->setSingleStep(kWheelStep / 2);
  if (resetValue) vsbY_->setValue(0);
  vsbY_Change(vsbY_->value());
}

void frmFrames::picStock_Click(int index) { picStock_Click(index, Qt::NoModifier); }

void frmFrames::picStock_Click(int index, Qt::KeyboardModifiers modifiers) {
  if (modifiers & Qt::ShiftModifier)
    list_.extendSelection(index);
  else if (modifiers & Qt::ControlModifier)
    list_.toggleSelected(index);
  else
    list_.select(index);
  placeSelection();
}

// The bars beside the selected frames, shaX beside the current one, and the
// buttons that act on the selection.
void frmFrames::placeSelection() {
  const int sel = list_.selected();
  if (list_.isEmpty()) {
    shaX_->hide();
  } else {
    const QWidget* pic = picStock(sel);
    shaX_->setGeometry(0, pic->y(), kBarWidth, pic->height());
    shaX_->lower();  // beneath the check box it covers
    shaX_->show();
  }
  for (std::size_t i = 0; i < bars_.size(); ++i) {
    const int index = static_cast<int>(i);
    const bool shown = !list_.isEmpty() && index != sel && list_.entry(index).selected;
    if (shown) {
      bars_[i]->setGeometry(0, picStock_[i]->y(), kBarWidth, picStock_[i]->height());
      bars_[i]->lower();
    }
    bars_[i]->setVisible(shown);
  }
  cmdMove_[1]->setEnabled(list_.canMoveUp());
  cmdMove_[0]->setEnabled(list_.canMoveDown());
  const bool any = !list_.isEmpty();
  cmdDuplicate_->setEnabled(any);
  cmdSetTime_->setEnabled(any);
  cmdClearTime_->setEnabled(any);
}

void frmFrames::cmdMove_Click(int index) {
  const MoveButton button = index == 1 ? MoveButton::Up : MoveButton::Down;
  change(kChangeMove, [button](FrameList& list) { return list.move(button); });
}

void frmFrames::showSelection() {
  // A frame added or moved below or above the viewport would otherwise be
  // out of sight; scroll just far enough to show it whole.
  if (!vsbY_->isEnabled() || list_.isEmpty()) return;
  const QWidget* pic = picStock(list_.selected());
  const int top = pic->y();
  const int bottom = top + pic->height();
  const int shownTop = vsbY_->value();
  const int shownBottom = shownTop + viewport_->height();
  if (top < shownTop) {
    vsbY_->setValue(top);
  } else if (bottom > shownBottom) {
    vsbY_->setValue(std::min(top, bottom - viewport_->height()));
  }
}

void frmFrames::cmdDelete_Click(int index) {
  change(kChangeDelete, [index](FrameList& list) {
    const int before = list.frameCount();
    if (index == 1)
      list.deleteAll();
    else
      list.deleteChecked();
    return list.frameCount() != before;
  });
  // The list is arranged also when nothing was deleted, as the button
  // always did.
  arrange();
}

void frmFrames::vsbY_Change(int value) { picBase_->move(0, -value); }

void frmFrames::setListButtonsEnabled(bool enabled) {
  cmdFrameSave_->setEnabled(enabled);
  cmdDelete_[0]->setEnabled(enabled);
  cmdDelete_[1]->setEnabled(enabled);
  cmdMove_[1]->setEnabled(enabled && list_.canMoveUp());
  cmdMove_[0]->setEnabled(enabled && list_.canMoveDown());
}

void frmFrames::cmdFrameSave_Click() {
  if (list_.isEmpty()) {
    if (showMessage_) showMessage_(QString::fromUtf8(kAppTitle), shown(kNothingToSave));
    return;
  }
  const QString chosen = askSaveName_ ? askSaveName_(frameSaveDialogRequest(settings_.SavePath)) : QString{};
  const std::string name = chosen.toStdString();
  const std::optional<SavePlan> plan =
      planFrameSave(name, settings_.SaveExt, ask_, list_.pictures(), list_.delays());
  if (!plan) return;

  OverBudgetQuestion overBudget;
  if (askOverBudget_) {
    overBudget = [this](const output::AnimationFile& file) {
      // The user needs the normal pointer to answer.
      QApplication::restoreOverrideCursor();
      const bool write = askOverBudget_(shownOverBudget(file));
      QApplication::setOverrideCursor(Qt::WaitCursor);
      return write;
    };
  }
  QApplication::setOverrideCursor(Qt::WaitCursor);
  setListButtonsEnabled(false);
  const std::optional<output::WriteStatus> status = saveFrameList(list_.pictures(), *plan, overBudget);
  setListButtonsEnabled(true);
  QApplication::restoreOverrideCursor();
  if (!status) return;  // the file over its budget was not wanted: nothing written
  if (*status) undo_.setClean();

  if (!*status && showMessage_) {
    showMessage_(QString::fromUtf8(kAppTitle), shownSaveFailure(*status));
  }
  if (*status && showNotice_) {
    if (const auto budget = savedBudget(*plan)) showNotice_(!budget->within, shownBudget(*budget));
  }
  if (*status && plan->animated && animationWritten_) animationWritten_(plan->base + plan->saveExt, plan->play.preset);
}

QString shownSaveFailure(const output::WriteStatus& status) {
  return QString::fromStdString(saveFailureMessage(status, shown(kSaveFailedHeadline).toStdString()));
}

QString shownBudget(const output::BudgetReport& report) {
  return QString::fromStdString(output::budgetText(report, shownOutputText));
}

QString shownOverBudget(const output::AnimationFile& file) {
  return QString::fromStdString(output::overBudgetQuestion(file, shownOutputText));
}

QRect frmFrames::framesRect() const { return QRect(pos(), size()); }

void frmFrames::setFramesRect(const QRect& rect) {
  move(rect.topLeft());
  resize(std::max(rect.width(), kMinimumWidthPx), std::max(rect.height(), 0));
  // A hidden window gets its resize event only when shown; lay it out now so
  // that frames added before then are arranged against the real viewport.
  if (!isVisible()) Form_Resize();
}

bool frmFrames::isNormalState() const {
  return !(windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
}

void frmFrames::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  Form_Resize();
}

void frmFrames::Form_Resize() {
  // A minimised window has nothing to lay out. A maximised one is laid out
  // too, so that its viewport fills the screen.
  if (windowState() & Qt::WindowMinimized) return;
  if (isNormalState() && width() < kMinimumWidthPx) resize(kMinimumWidthPx, height());

  const int barWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, vsbY_);
  picCont_->setGeometry(kContLeft, contTop_, std::max(0, width() - kContSideMargins - barWidth),
                        std::max(0, height() - contTop_ - (kContVerticalMargins - kContTop) - bottomRow_));
  vsbY_->setGeometry(picCont_->geometry().right() + 1, contTop_, barWidth, picCont_->height());
  placeTimeRow();
  viewport_->setGeometry(picCont_->contentsRect());
  picBase_->resize(std::max(picBase_->width(), viewport_->width()), stripHeight_);
  updateScrollBar(true);
}

void frmFrames::wheelEvent(QWheelEvent* event) {
  // The strip scrolls under the wheel as well as with the bar.
  if (!vsbY_->isEnabled()) return event->ignore();
  const int notches = event->angleDelta().y() / 120;
  vsbY_->setValue(vsbY_->value() - notches * kWheelStep);
  event->accept();
}

bool frmFrames::confirmDiscard() {
  if (!hasUnsavedChanges() || !askClose_) return true;
  return askClose_(shown(kUnsavedQuestion));
}

void frmFrames::closeEvent(QCloseEvent* event) {
  // Closing unloads the window: its frames are gone and the next copy
  // starts an empty list, with nothing to undo. The position stays for the
  // settings file.
  undo_.clear();
  list_.deleteAll();
  list_.select(0);
  arrange();
  vsbY_->setValue(0);
  event->accept();
}

void frmFrames::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Delete && event->modifiers() == Qt::NoModifier) {
    deleteSelected();
    event->accept();
    return;
  }
  QWidget::keyPressEvent(event);
}

int frmFrames::gapAt(int stripY) const {
  // Above the middle of a frame is the gap before it.
  for (int i = 0; i <= list_.highestIndex(); ++i) {
    const QWidget* pic = picStock_[static_cast<std::size_t>(i)];
    if (stripY < pic->y() + pic->height() / 2) return i;
  }
  return list_.highestIndex() + 1;
}

void frmFrames::dragOver(int stripY) {
  if (list_.isEmpty()) return;
  const int gap = gapAt(stripY);
  const int y = gap <= list_.highestIndex() ? picStock(gap)->y() : stripHeight_;
  dropLine_->setGeometry(0, std::clamp(y - kDropLineHeight / 2, 0, std::max(0, stripHeight_ - kDropLineHeight)),
                         picBase_->width(), kDropLineHeight);
  dropLine_->raise();
  dropLine_->show();
  // Near the edges of the viewport the strip scrolls along.
  const int shownY = stripY - vsbY_->value();
  if (vsbY_->isEnabled() && shownY < kWheelStep / 2) vsbY_->setValue(vsbY_->value() - kWheelStep / 2);
  if (vsbY_->isEnabled() && shownY > viewport_->height() - kWheelStep / 2)
    vsbY_->setValue(vsbY_->value() + kWheelStep / 2);
}

void frmFrames::dropAt(int stripY) {
  dropLine_->hide();
  if (list_.isEmpty()) return;
  moveSelectedTo(gapAt(stripY));
}

}  // namespace framelist
