#include "app/frm_scenes.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <optional>
#include <utility>

#include <QDoubleSpinBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QListWidget>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/drop_field.h"
#include "app/frm_gif_setting.h"
#include "app/frm_main.h"
#include "app/source_intake.h"
#include "app/ui_texts.h"
#include "app/window_host.h"
#include "intake/image_adapter.h"
#include "save/target.h"
#include "scenes/banner_save.h"
#include "scenes/sequence.h"

namespace app {

namespace {

constexpr int kThumbWidth = 96;
constexpr int kThumbHeight = 48;

QIcon thumbnail(const core::Picture& picture) {
  const QImage image = intake::toQImage(picture);
  if (image.isNull()) return {};
  QPixmap pixmap(kThumbWidth, kThumbHeight);
  pixmap.fill(Qt::transparent);
  const QImage small = image.scaled(kThumbWidth, kThumbHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  QPainter(&pixmap).drawImage((kThumbWidth - small.width()) / 2, (kThumbHeight - small.height()) / 2, small);
  return QIcon(pixmap);
}

}  // namespace

QString sceneRowText(const scenes::Scene& scene) {
  const int effect = scene.options.effect;
  const QString name = effect >= 0 && effect < 7 ? text::shown(text::kCboType[static_cast<std::size_t>(effect)]).simplified()
                                                 : QString();
  return text::shown(text::kSceneRow).arg(name, QString::number(scene.holdCs / 100.0, 'f', 2));
}

frmScenes::frmScenes(frmMain& main) : QWidget(&main, Qt::Window), main_(main) {
  setWindowTitle(text::shown(text::kScenesCaption));
  lstScenes = new QListWidget(this);
  lstScenes->setAccessibleName(text::shown(text::kScenesCaption));
  lstScenes->setIconSize(QSize(kThumbWidth, kThumbHeight));
  lstScenes->setSelectionMode(QAbstractItemView::SingleSelection);
  lblHold = new QLabel(text::shown(text::kLblSceneHold), this);
  spnHold = new QDoubleSpinBox(this);
  spnHold->setRange(0.0, scenes::kMaxSceneHoldCs / 100.0);
  spnHold->setDecimals(2);
  spnHold->setSingleStep(0.1);
  spnHold->setSuffix(text::shown(text::kSceneHoldUnit));
  lblHold->setBuddy(spnHold);
  cmdAdd = new QPushButton(text::shown(text::kCmdSceneAdd), this);
  cmdReplace = new QPushButton(text::shown(text::kCmdSceneReplace), this);
  cmdUp = new QPushButton(text::shown(text::kCmdSceneUp), this);
  cmdDown = new QPushButton(text::shown(text::kCmdSceneDown), this);
  cmdRemove = new QPushButton(text::shown(text::kCmdSceneRemove), this);
  cmdSave = new QPushButton(text::shown(text::kCmdSceneSave), this);
  cmdClose = new QPushButton(text::shown(text::kCmdSceneClose), this);

  auto* buttons = new QVBoxLayout;
  for (QPushButton* b : {cmdAdd, cmdReplace, cmdUp, cmdDown, cmdRemove}) buttons->addWidget(b);
  buttons->addSpacing(8);
  buttons->addWidget(lblHold);
  buttons->addWidget(spnHold);
  buttons->addSpacing(8);
  createPlayButtons();
  for (QPushButton* b : {cmdPlay, cmdPause, cmdStep}) buttons->addWidget(b);
  buttons->addStretch(1);
  buttons->addWidget(cmdSave);
  buttons->addWidget(cmdClose);
  auto* layout = new QHBoxLayout(this);
  layout->addWidget(lstScenes, 1);
  layout->addLayout(buttons);
  resize(420, 320);
  createProjectMenus();

  connect(cmdAdd, &QPushButton::clicked, this, &frmScenes::cmdAdd_Click);
  connect(cmdReplace, &QPushButton::clicked, this, &frmScenes::cmdReplace_Click);
  connect(cmdUp, &QPushButton::clicked, this, &frmScenes::cmdUp_Click);
  connect(cmdDown, &QPushButton::clicked, this, &frmScenes::cmdDown_Click);
  connect(cmdRemove, &QPushButton::clicked, this, &frmScenes::cmdRemove_Click);
  connect(cmdSave, &QPushButton::clicked, this, &frmScenes::cmdSave_Click);
  connect(cmdClose, &QPushButton::clicked, this, &QWidget::close);
  connect(spnHold, &QDoubleSpinBox::valueChanged, this, [this] { spnHold_Change(); });
  connect(lstScenes, &QListWidget::currentRowChanged, this, [this] { syncControls(); });
  syncControls();
}

// The list and the spin box outlive this object's members while the widget
// base deletes them: their signals must not reach the handlers then.
frmScenes::~frmScenes() {
  lstScenes->disconnect(this);
  spnHold->disconnect(this);
}

std::vector<scenes::Scene> frmScenes::banner() const {
  std::vector<scenes::Scene> out;
  out.reserve(scenes_.size());
  for (const ListedScene& s : scenes_) out.push_back(s.scene);
  return out;
}

bool frmScenes::sizesAgree() {
  const core::Picture& first = scenes_.front().scene.picture;
  for (std::size_t i = 1; i < scenes_.size(); ++i) {
    const core::Picture& p = scenes_[i].scene.picture;
    if (p.width() == first.width() && p.height() == first.height()) continue;
    main_.prompts().message(MessageIcon::Exclamation, text::shown(text::kScenePictureSize)
                                                          .arg(QString::number(i + 1), scenes_[i].source)
                                                          .arg(p.width())
                                                          .arg(p.height())
                                                          .arg(first.width())
                                                          .arg(first.height()));
    return false;
  }
  return true;
}

int frmScenes::selected() const {
  const int row = lstScenes->currentRow();
  return row >= 0 && row < static_cast<int>(scenes_.size()) ? row : -1;
}

void frmScenes::select(int row) { lstScenes->setCurrentRow(row); }

bool frmScenes::takeCurrent(ListedScene& out) {
  const effects::WorkState& ws = main_.workState();
  if (!ws.hasSource()) {
    main_.prompts().message(MessageIcon::Exclamation, text::shown(text::kNoSceneSource));
    return false;
  }
  out.scene.picture = ws.picSource.picture();
  out.scene.options = main_.readOptions();
  out.source = main_.txtSource->text();
  return true;
}

void frmScenes::cmdAdd_Click() {
  ListedScene s;
  if (!takeCurrent(s)) return;
  scenes_.push_back(std::move(s));
  refreshList(static_cast<int>(scenes_.size()) - 1);
}

// The selected scene gets the new picture, effect and options; its hold stays.
void frmScenes::cmdReplace_Click() {
  const int row = selected();
  if (row < 0) return;
  ListedScene s;
  if (!takeCurrent(s)) return;
  s.scene.holdCs = scenes_[static_cast<std::size_t>(row)].scene.holdCs;
  scenes_[static_cast<std::size_t>(row)] = std::move(s);
  refreshList(row);
}

void frmScenes::cmdUp_Click() {
  const int row = selected();
  if (row <= 0) return;
  std::swap(scenes_[static_cast<std::size_t>(row)], scenes_[static_cast<std::size_t>(row - 1)]);
  refreshList(row - 1);
}

void frmScenes::cmdDown_Click() {
  const int row = selected();
  if (row < 0 || row + 1 >= static_cast<int>(scenes_.size())) return;
  std::swap(scenes_[static_cast<std::size_t>(row)], scenes_[static_cast<std::size_t>(row + 1)]);
  refreshList(row + 1);
}

void frmScenes::cmdRemove_Click() {
  const int row = selected();
  if (row < 0) return;
  scenes_.erase(scenes_.begin() + row);
  refreshList(std::min(row, static_cast<int>(scenes_.size()) - 1));
}

void frmScenes::spnHold_Change() {
  const int row = selected();
  if (filling_ || row < 0) return;
  scenes::Scene& scene = scenes_[static_cast<std::size_t>(row)].scene;
  scene.holdCs = std::clamp(static_cast<int>(std::lround(spnHold->value() * 100.0)), 0, scenes::kMaxSceneHoldCs);
  lstScenes->item(row)->setText(sceneRowText(scene));
}

void frmScenes::refreshList(int selectRow) {
  filling_ = true;
  lstScenes->clear();
  for (const ListedScene& s : scenes_) {
    auto* item = new QListWidgetItem(thumbnail(s.scene.picture), sceneRowText(s.scene), lstScenes);
    item->setToolTip(s.source);
  }
  filling_ = false;
  lstScenes->setCurrentRow(selectRow);
  syncControls();
}

void frmScenes::syncControls() {
  const int row = selected();
  const int count = static_cast<int>(scenes_.size());
  cmdReplace->setEnabled(row >= 0);
  cmdUp->setEnabled(row > 0);
  cmdDown->setEnabled(row >= 0 && row + 1 < count);
  cmdRemove->setEnabled(row >= 0);
  spnHold->setEnabled(row >= 0);
  cmdSave->setEnabled(count > 0);
  cmdPlay->setEnabled(count > 0 || isPlaying());
  cmdPause->setEnabled(isPlaying());
  cmdStep->setEnabled(isPlaying() && paused_);
  mnuProjectSave->setEnabled(count > 0);
  mnuProjectSaveAs->setEnabled(count > 0);
  if (row >= 0) {
    filling_ = true;
    spnHold->setValue(scenes_[static_cast<std::size_t>(row)].scene.holdCs / 100.0);
    filling_ = false;
  }
}

// The banner through the same questions as the main window's save: the save
// dialog, then the GIF dialog (with the composed frames, so it can measure
// them) or the WebP question, and the save step writes the files.
void frmScenes::cmdSave_Click() {
  stopBanner();
  effects::Driver& driver = main_.driver();
  if (driver.state() != effects::PreviewState::Idle || driver.isSaving()) return;
  const std::vector<scenes::Scene> all = banner();
  if (all.empty()) return;
  if (!sizesAgree()) return;
  Prompts& prompts = main_.prompts();
  const QString name = prompts.saveFile(saveDialogRequest(QString::fromStdString(main_.workState().SavePath)));
  if (name.isEmpty()) return;
  const std::optional<save::SaveTarget> target = save::targetOf(name.toStdString());
  if (!target) return;

  // The dialog starts on its last play choice; the frames are composed for
  // it and again only when the answer changes whether the banner loops.
  bool loops = main_.gifSetting().plays() == 0;
  std::optional<scenes::BannerFrames> frames = scenes::composeBanner(all, loops);
  if (!frames) return;
  effects::Host& host = main_.host();
  scenes::BannerSaveChoice choice;
  choice.name = name.toStdString();
  const output::AnimationShape shape = scenes::bannerShape(*frames);
  // Only the GIF dialog measures the frames, on a copy its worker may read.
  const save::FramesByFile shared = save::askedFormat(target->ext) == save::AnimationFormat::Gif
                                        ? std::make_shared<const std::vector<core::Bitmap>>(frames->frames)
                                        : nullptr;
  const std::optional<save::AnimationAnswer> answer =
      save::askSave([&host](const save::AnimationAsk& ask) { return host.askAnimation(ask); }, target->ext, shape,
                    shared);
  if (!answer) return;  // a closed WebP question writes nothing
  choice.animated = answer->animated;
  choice.intervalCs = answer->animation.intervalCs;
  choice.play = answer->animation.play;
  choice.measured = answer->animation.measured;
  if (choice.animated && (choice.play.plays == 0) != loops) {
    loops = !loops;
    frames = scenes::composeBanner(all, loops);
    choice.measured.reset();
    if (!frames) return;
  }
  const save::SaveReport report = scenes::saveBanner(*frames, choice, &host);
  main_.workState().SavePath = target->folder;
  if (!report.status) {
    host.reportSaveError(report.status.file, report.status.reason);
    return;
  }
  if (report.budget) host.showGifBudget(*report.budget);
  if (choice.animated && report.files.size() == 1) host.animationWritten(report.files.front(), choice.play.preset);
}

effects::Host& frmMain::host() { return *host_; }

void frmMain::mnuScenes_Click() {
  frmScenes_->show();
  frmScenes_->raise();
  frmScenes_->activateWindow();
}

}  // namespace app
