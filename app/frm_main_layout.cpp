// Building frmMain's controls and placing them. Positions are pixels in the
// client area, as the window's panels are placed; Frame1 and Frame2 follow
// the source picture (window_fit.h).
#include <algorithm>

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>
#include <QWindow>

#include "app/drop_field.h"
#include "app/frm_main.h"
#include "app/hue_bar.h"
#include "app/option_panel.h"
#include "app/picture_view.h"
#include "app/ui_texts.h"
#include "intake/device_pixels.h"

namespace app {

namespace {

// The client area's layout, in pixels.
constexpr int kMargin = 5;        // Frame1's and Frame2's left edge
constexpr int kSourceRowTop = 6;  // txtSource and cmdOpen
constexpr int kRowHeight = 26;    // buttons, text boxes, the effect list
constexpr int kFrame1Top = 38;
constexpr int kPictureLeft = 4;  // picX inside Frame1
constexpr int kPictureTop = 8;
constexpr int kFrame2Height = 146;
constexpr int kFrame2Width = kFrame1DesignWidth;
constexpr int kTypeWidth = 246;  // fraType, left in Frame2
constexpr int kPanelLeft = 252;  // the option panels, right in Frame2
constexpr int kPanelHeight = 104;
constexpr int kLineTop = 110;       // linBack, the progress line
constexpr int kBottomRowTop = 116;  // fraMsg and cmdClose
constexpr int kNonClientWidth = 6;  // the window's border, left and right together

QPushButton* button(const char* caption, QWidget* parent) { return new QPushButton(text::shown(caption), parent); }

QFrame* panel(QWidget* parent, QFrame::Shape shape = QFrame::NoFrame) {
  auto* f = new QFrame(parent);
  f->setFrameShape(shape);
  return f;
}

QFrame* etchedLine(QWidget* parent) {
  auto* line = new QFrame(parent);
  line->setFrameShape(QFrame::HLine);
  line->setFrameShadow(QFrame::Sunken);
  return line;
}

}  // namespace

void frmMain::createControls() {
  auto* client = new QWidget(this);
  setCentralWidget(client);
  linMenu = etchedLine(client);

  txtSource = new DropField(client);
  txtSource->setToolTip(text::shown(text::kTxtSourceTip));
  txtSource->setAccessibleName(text::shown(text::kAccSource));
  cmdOpen = button(text::kCmdOpen, client);

  Frame1 = panel(client, QFrame::StyledPanel);
  Frame2 = panel(client);
  createPictureArea();
  createOptionArea();
  createMessageArea();

  tmr1 = new QTimer(this);
  tmr1->setSingleShot(true);
  fit_ = fitWindow(kDesignPictureWidth, kDesignPictureHeight, kFrame1Top);
  // No source yet: nothing to preview or save, and no frame to copy.
  setPreviewCommandsEnabled(false);
  menus.mnuEditCopy->setEnabled(false);
  setSwatchColor(lblColor, QColor(core::redOf(bannerColor_), core::greenOf(bannerColor_), core::blueOf(bannerColor_)));
}

// The fit follows the views' logical size, which on a scaled screen differs
// from the picture's size in banner pixels (intake/device_pixels.h).
void frmMain::fitToSource() {
  const QSize shown = intake::shownSize(QSize(ws_.picSource.width(), ws_.picSource.height()), devicePixelRatioF());
  fit_ = fitWindow(shown.width(), shown.height(), kFrame1Top, screenRoom());
  placeFrames();
  if (shown.width() > kBannerPictureWidth || shown.height() > kBannerPictureHeight) keepOnScreen();
}

// The picture area the screen's available area leaves beside the window's
// other parts and its frame. Before the window is shown its frame is not
// known; a title bar's height is kept free for it then.
ScreenRoom frmMain::screenRoom() const {
  const QScreen* display = screen();
  if (!display) return {};
  const QRect available = display->availableGeometry();
  QSize frame = frameGeometry().size() - size();
  if (!isVisible()) frame = frame.expandedTo(QSize(kNonClientWidth, 2 * kRowHeight));
  const WindowFit design = fitWindow(kDesignPictureWidth, kDesignPictureHeight, kFrame1Top);
  const int besideWidth = twipsToPixels(design.widthTwips) - kNonClientWidth - kDesignPictureWidth;
  const int besideHeight =
      design.frame2Top + kFrame2Height + kMargin + menuBar()->sizeHint().height() - kDesignPictureHeight;
  ScreenRoom room;
  room.width = std::max(kDesignPictureWidth, available.width() - frame.width() - besideWidth);
  room.height = std::max(kDesignPictureHeight, available.height() - frame.height() - besideHeight);
  room.scrollBar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
  return room;
}

// The window's platform handle, and with it the screen signal, exists only
// once it is shown.
void frmMain::showEvent(QShowEvent* event) {
  QMainWindow::showEvent(event);
  if (screenWatched_ || !windowHandle()) return;
  screenWatched_ = true;
  connect(windowHandle(), &QWindow::screenChanged, this, &frmMain::screenMoved);
}

// A banner pixel stays n x n device pixels on the new screen, so the views
// and the window around them take the new n's size.
void frmMain::screenMoved() {
  fitToSource();
  refreshViews();
}

// A window grown for a large picture is moved back inside the available area.
void frmMain::keepOnScreen() {
  const QScreen* display = screen();
  if (!display) return;
  const QRect available = display->availableGeometry();
  const QSize outer = size() + (frameGeometry().size() - geometry().size());
  const int x =
      std::clamp(this->x(), available.left(), std::max(available.left(), available.right() + 1 - outer.width()));
  const int y =
      std::clamp(this->y(), available.top(), std::max(available.top(), available.bottom() + 1 - outer.height()));
  if (x != this->x() || y != this->y()) move(x, y);
}

void frmMain::createPictureArea() {
  picScroll = new QScrollArea(Frame1);
  picScroll->setFrameShape(QFrame::NoFrame);
  picScroll->setWidgetResizable(false);
  picCanvas = new QWidget;
  picSource = new PictureView(ws_.picSource, picCanvas);
  picX = new PictureView(ws_.picX, picCanvas);  // over picSource: it shows the source when idle
  picSource->setAccessibleName(text::shown(text::kAccPicSource));
  picSource->setAccessibleDescription(text::shown(text::kAccPicSourceAbout));
  picX->setAccessibleName(text::shown(text::kAccPicX));
  picX->setAccessibleDescription(text::shown(text::kAccPicXAbout));
  picScroll->setWidget(picCanvas);
  picScroll->move(kPictureLeft, kPictureTop);
  followPictureSize();
  cmdPrev = button(text::kCmdPrev, Frame1);
  cmdSave = button(text::kCmdSave, Frame1);
}

void frmMain::createOptionArea() {
  fraType = panel(Frame2);
  fraType->setGeometry(0, 0, kTypeWidth, 82);
  Label1 = new QLabel(text::shown(text::kLabel1), fraType);
  Label1->setGeometry(4, 4, kTypeWidth - 8, 18);
  cboType = new QComboBox(fraType);
  for (const char* entry : text::kCboType) cboType->addItem(text::shown(entry));
  cboType->setCurrentIndex(-1);  // the stored effect is selected at load
  cboType->setGeometry(4, 22, kTypeWidth - 12, kRowHeight);
  Label1->setBuddy(cboType);
  lblColor = new QLabel(text::shown(text::kLblColor), fraType);
  lblColor->setAlignment(Qt::AlignCenter);
  lblColor->setFrameShape(QFrame::Box);
  lblColor->setGeometry(4, 54, 96, kRowHeight);
  lblColor->setToolTip(text::shown(text::kLblColorTip));
  cmdColor[0] = button(text::kCmdColor, fraType);
  cmdColor[0]->setToolTip(text::shown(text::kCmdColorTip));
  cmdColor[0]->setGeometry(106, 54, 100, kRowHeight);

  lblSize = new QLabel(Frame2);
  lblSize->setGeometry(8, 86, kTypeWidth - 8, 20);

  fraSlide = new SlidePanel(Frame2);
  fraTurn = new OptionPanel(text::kPanelCaptions[1], Frame2);
  fraRotate = new RotatePanel(Frame2);
  fraZoom = new OptionPanel(text::kPanelCaptions[3], Frame2);
  fraDiffuse = new DiffusePanel(Frame2);
  fraElastic = new OptionPanel(text::kPanelCaptions[5], Frame2);
  fraHue = new HuePanel(Frame2);
  optionPanels = {fraSlide, fraTurn, fraRotate, fraZoom, fraDiffuse, fraElastic, fraHue};
  chkMask = {fraSlide->chkMask,   fraRotate->chkMask,  fraTurn->chkMask, fraZoom->chkMask,
             fraDiffuse->chkMask, fraElastic->chkMask, fraHue->chkMask};
  fraSlide->setGeometry(kPanelLeft, 0, kFrame2Width - kPanelLeft, kPanelHeight);
  // Each panel makes its mask box before the options above it; Tab goes
  // through a panel from top to bottom.
  for (OptionPanel* p : optionPanels) {
    QWidget* lastOption = nullptr;
    for (QWidget* child : p->findChildren<QWidget*>())
      if (child != p->chkMask && (child->focusPolicy() & Qt::TabFocus)) lastOption = child;
    if (lastOption) setTabOrder(lastOption, p->chkMask);
  }
}

void frmMain::createMessageArea() {
  linBack = etchedLine(Frame2);
  linBack->setGeometry(0, kLineTop, kFrame2Width, 2);
  linFore = new QFrame(Frame2);
  linFore->setAutoFillBackground(true);
  QPalette fore = linFore->palette();
  fore.setColor(QPalette::Window, QColor(0, 0, 160));
  linFore->setPalette(fore);
  linFore->hide();

  fraMsg = panel(Frame2);
  fraMsg->setGeometry(0, kBottomRowTop, 400, kRowHeight + 2);
  lblMsg = new QLabel(fraMsg);
  lblMsg->setGeometry(4, 1, 190, kRowHeight);
  for (int i = 0; i < 2; ++i) {
    cmdPause[i] = new QPushButton(QString::fromUtf8(text::kCmdPause[i]), fraMsg);
    cmdPause[i]->setToolTip(text::shown(text::kCmdPauseTips[i]));
    // "I>" and ">" say nothing when read aloud.
    cmdPause[i]->setAccessibleName(text::shown(text::kCmdPauseTips[i]));
    cmdPause[i]->setAccessibleDescription(text::shown(text::kAccPauseAbout[i]));
    cmdPause[i]->setGeometry(200 + 44 * i, 1, 40, kRowHeight);
  }
  cmdCopy = button(text::kCmdCopy, fraMsg);
  cmdCopy->setToolTip(text::shown(text::kCmdCopyTip));
  cmdCopy->setGeometry(296, 1, 100, kRowHeight);
  cmdCopy->setEnabled(false);
  fraMsg->hide();

  cmdClose = button(text::kCmdClose, Frame2);
  cmdClose->setGeometry(kFrame2Width - 100, kBottomRowTop + 1, 100, kRowHeight);
}

// Lays out the top row, Frame1 (with the picture and its buttons) and Frame2
// for the current fit, and gives the window its fixed size.
void frmMain::placeFrames() {
  const int clientWidth = twipsToPixels(fit_.widthTwips) - kNonClientWidth;
  linMenu->setGeometry(-1, 0, clientWidth + 1, 2);
  txtSource->setGeometry(kMargin + 3, kSourceRowTop, clientWidth - 2 * kMargin - 112, kRowHeight);
  cmdOpen->setGeometry(clientWidth - kMargin - 104, kSourceRowTop, 104, kRowHeight);

  Frame1->setGeometry(kMargin, kFrame1Top, fit_.frame1Width, fit_.frame1Height);
  picScroll->resize(fit_.viewWidth, fit_.viewHeight);
  const int buttonTop = fit_.frame1Height - kRowHeight - 6;
  cmdPrev->setGeometry(kPictureLeft, buttonTop, 130, kRowHeight);
  cmdSave->setGeometry(kPictureLeft + 136, buttonTop, 100, kRowHeight);

  Frame2->setGeometry(kMargin, fit_.frame2Top, kFrame2Width, kFrame2Height);
  const int clientHeight = fit_.frame2Top + kFrame2Height + kMargin;
  setFixedSize(clientWidth, clientHeight + menuBar()->sizeHint().height());
}

}  // namespace app
