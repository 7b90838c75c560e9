// The whole banner played in the main window's preview. The frames are
// composed once when play starts; tmrBanner shows one per tick with the
// banner's delays (the GIF dialog's interval plus each scene's hold), so
// the user sees what the saved file will do.
#include <QHideEvent>
#include <QPushButton>
#include <QTimer>

#include "app/frm_gif_setting.h"
#include "app/frm_main.h"
#include "app/frm_scenes.h"
#include "app/ui_texts.h"

namespace app {

void frmScenes::createPlayButtons() {
  cmdPlay = new QPushButton(text::shown(text::kCmdBannerPlay), this);
  cmdPause = new QPushButton(text::shown(text::kCmdBannerPause), this);
  cmdStep = new QPushButton(text::shown(text::kCmdBannerStep), this);
  tmrBanner = new QTimer(this);
  tmrBanner->setSingleShot(true);
  connect(cmdPlay, &QPushButton::clicked, this, &frmScenes::cmdPlay_Click);
  connect(cmdPause, &QPushButton::clicked, this, &frmScenes::cmdPause_Click);
  connect(cmdStep, &QPushButton::clicked, this, &frmScenes::cmdStep_Click);
  connect(tmrBanner, &QTimer::timeout, this, &frmScenes::tmrBanner_Timer);
}

void frmScenes::cmdPlay_Click() {
  if (isPlaying()) {
    stopBanner();
    return;
  }
  // The main window's own run owns the preview meanwhile.
  if (main_.driver().state() != effects::PreviewState::Idle || main_.driver().isSaving()) return;
  const std::vector<scenes::Scene> all = banner();
  if (all.empty()) return;
  if (!sizesAgree()) return;
  banner_ = scenes::composeBanner(all, true);  // the preview loops, as playing forever
  if (!banner_ || banner_->frames.empty()) {
    banner_.reset();
    return;
  }
  at_ = 0;
  paused_ = false;
  cmdPlay->setText(text::shown(text::kCmdBannerStop));
  cmdPause->setText(text::shown(text::kCmdBannerPause));
  showBannerFrame();
  syncControls();
}

void frmScenes::cmdPause_Click() {
  if (!isPlaying()) return;
  paused_ = !paused_;
  cmdPause->setText(text::shown(paused_ ? text::kCmdBannerResume : text::kCmdBannerPause));
  if (paused_)
    tmrBanner->stop();
  else
    showBannerFrame();  // the frame shown gets its whole time again
  syncControls();
}

void frmScenes::cmdStep_Click() {
  if (!isPlaying() || !paused_) return;
  if (!bannerStillShowable()) {
    stopBanner();
    return;
  }
  at_ = (at_ + 1) % static_cast<int>(banner_->frames.size());
  showBannerFrame();
}

void frmScenes::tmrBanner_Timer() {
  if (!isPlaying() || paused_) return;
  if (!bannerStillShowable()) {
    stopBanner();
    return;
  }
  at_ = (at_ + 1) % static_cast<int>(banner_->frames.size());
  showBannerFrame();
}

// The preview is the banner's only while the main window runs nothing and
// still shows a picture of the banner's size.
bool frmScenes::bannerStillShowable() const {
  const effects::Driver& driver = main_.driver();
  if (driver.state() != effects::PreviewState::Idle || driver.isSaving()) return false;
  const core::Picture& source = main_.workState().picSource.picture();
  return source.width() == banner_->width && source.height() == banner_->height;
}

void frmScenes::showBannerFrame() {
  const std::size_t i = static_cast<std::size_t>(at_);
  effects::WorkState& ws = main_.workState();
  ws.picX.setPicture(core::Picture::fromBitmap(banner_->frames[i]));
  main_.host().displayChanged();
  if (paused_) return;
  bool ok = false;
  const double seconds = main_.gifSetting().intervalText().toDouble(&ok);
  const int intervalCs = ok && seconds > 0.0 && seconds <= 655.35 ? static_cast<int>(seconds * 100.0 + 0.5) : 10;
  tmrBanner->start((intervalCs + banner_->extraCs[i]) * 10);
}

// Back to what the preview shows at rest: the source picture.
void frmScenes::stopBanner() {
  if (!isPlaying()) return;
  tmrBanner->stop();
  banner_.reset();
  paused_ = false;
  at_ = 0;
  cmdPlay->setText(text::shown(text::kCmdBannerPlay));
  cmdPause->setText(text::shown(text::kCmdBannerPause));
  const effects::Driver& driver = main_.driver();
  if (driver.state() == effects::PreviewState::Idle && !driver.isSaving()) {
    main_.workState().picX.setPicture(main_.workState().picSource.picture());
    main_.host().displayChanged();
  }
  syncControls();
}

void frmScenes::hideEvent(QHideEvent* event) {
  stopBanner();
  QWidget::hideEvent(event);
}

}  // namespace app
