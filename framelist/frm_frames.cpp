#include "framelist/frm_frames.h"

#include <algorithm>
#include <utility>

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QFrame>
#include <QImage>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPalette>
#include <QPushButton>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>

#include "framelist/shown_text.h"
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

}  // namespace

// picStock(i): shows one frame at its natural size; a click selects it.
class StockPicture : public QWidget {
 public:
  StockPicture(QWidget* parent, std::function<void(int)> onClick) : QWidget(parent), onClick_(std::move(onClick)) {}

  void setIndex(int index) { index_ = index; }

  void setPicture(const core::Picture& picture) {
    if (picture.handle() == picture_.handle()) return;
    picture_ = picture;
    image_ = intake::toQImage(picture);
    setFixedSize(picture.width(), picture.height());
    update();
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    if (image_.isNull()) return;
    QPainter painter(this);
    painter.drawImage(0, 0, image_);
  }
  void mousePressEvent(QMouseEvent* event) override {
    if (event->button() == Qt::LeftButton) onClick_(index_);
  }

 private:
  std::function<void(int)> onClick_;
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
}

QWidget* frmFrames::picStock(int i) const { return picStock_.at(static_cast<std::size_t>(i)); }
QCheckBox* frmFrames::chkX(int i) const { return chkX_.at(static_cast<std::size_t>(i)); }

void frmFrames::Add_Stock(const core::Picture& picture) {
  if (picture.isEmpty()) return;
  list_.addStock(picture);
  arrange();
  showSelection();
}

// Makes the picStock / chkX arrays mirror the list: loads or unloads elements
// at the end, then gives each its picture, mark and visibility.
void frmFrames::syncElements() {
  const auto count = static_cast<std::size_t>(list_.highestIndex()) + 1;
  while (picStock_.size() < count) {
    auto* pic = new StockPicture(picBase_, [this](int index) { picStock_Click(index); });
    auto* chk = new QCheckBox(picBase_);
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
    picStock_.pop_back();
    chkX_.pop_back();
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
  }
}

void frmFrames::arrange() {
  syncElements();
  // 1. No move until the selection has been placed again.
  cmdMove_[0]->setEnabled(false);
  cmdMove_[1]->setEnabled(false);

  // 2.-3. Frames touch one another, check boxes centred beside them.
  const int checkHeight = chkX_.front()->height();
  const StripLayout layout = arrangeStrip(list_, checkHeight);
  for (std::size_t i = 0; i < layout.places.size(); ++i) {
    picStock_[i]->move(kFrameX, layout.places[i].y);
    chkX_[i]->move(kCheckX, layout.places[i].checkY);
  }
  stripHeight_ = layout.height;
  picBase_->resize(std::max(layout.width, viewport_->width()), layout.height);

  // 4. Scroll bar; 5. selection.
  updateScrollBar(false);
  picStock_Click(list_.selected());
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

void frmFrames::picStock_Click(int index) {
  const int sel = list_.select(index);
  if (list_.isEmpty()) {
    shaX_->hide();
  } else {
    const QWidget* pic = picStock(sel);
    shaX_->setGeometry(0, pic->y(), kBarWidth, pic->height());
    shaX_->lower();  // beneath the check box it covers
    shaX_->show();
  }
  cmdMove_[1]->setEnabled(list_.canMoveUp());
  cmdMove_[0]->setEnabled(list_.canMoveDown());
}

void frmFrames::cmdMove_Click(int index) {
  // Frames of different heights change places, so the strip is arranged
  // again; arranging selects the moved frame.
  if (!list_.move(index == 1 ? MoveButton::Up : MoveButton::Down)) return;
  arrange();
  showSelection();
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
  if (index == 1) {
    list_.deleteAll();
  } else {
    list_.deleteChecked();
  }
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
  const std::optional<SavePlan> plan = planFrameSave(name, settings_.SaveExt, ask_, list_.pictures());
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

  if (!*status && showMessage_) {
    showMessage_(QString::fromUtf8(kAppTitle), shownSaveFailure(*status));
  }
  if (*status && showNotice_) {
    if (const auto budget = savedBudget(*plan)) showNotice_(!budget->within, shownBudget(*budget));
  }
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
  picCont_->setGeometry(kContLeft, kContTop, std::max(0, width() - kContSideMargins - barWidth),
                        std::max(0, height() - kContVerticalMargins));
  vsbY_->setGeometry(picCont_->geometry().right() + 1, kContTop, barWidth, picCont_->height());
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

void frmFrames::closeEvent(QCloseEvent* event) {
  // Closing unloads the window: its frames are gone and the next copy
  // starts an empty list. The position stays for the settings file.
  list_.deleteAll();
  list_.select(0);
  arrange();
  vsbY_->setValue(0);
  event->accept();
}

}  // namespace framelist
