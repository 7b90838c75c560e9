// frmGifSetting: the small modal dialog that asks how GIF frames are written
// (one animated GIF, or one file per frame) and the animated GIF's interval.
// An accepted OK leaves its answer in output::GifIsAni and output::GifTime,
// and the animated GIF's play choices in output::GifPlays, GifHold,
// GifPreset and GifBudget. Given the composed frames, the dialog encodes the
// animated GIF of the current choices in the background and shows its size
// and the animation itself.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <QDialog>

#include "gif/animation_file.h"
#include "output/gif_question.h"

class QBuffer;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QMovie;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;

namespace app {

class AnimationMeasure;
class Prompts;

class frmGifSetting : public QDialog, public output::GifQuestion {
 public:
  // prompts: where the invalid-interval message goes; must outlive the dialog.
  frmGifSetting(Prompts& prompts, QWidget* parent);
  ~frmGifSetting() override;

  // optType(1): one animated GIF; optType(0): one file per frame.
  std::array<QRadioButton*, 2> optType{};
  QLabel* Label1 = nullptr;
  QComboBox* cboTime = nullptr;
  QPushButton* cmdSet = nullptr;

  // The play section below them, enabled only for the animated GIF.
  QGroupBox* fraPlay = nullptr;
  QLabel* lblPlays = nullptr;
  std::array<QRadioButton*, 2> optPlays{};  // 0 forever, 1 a count
  QSpinBox* spnPlays = nullptr;             // 1..99
  QLabel* lblHold = nullptr;
  QDoubleSpinBox* spnHold = nullptr;  // seconds, 0..10
  QLabel* lblPreset = nullptr;
  QComboBox* cboPreset = nullptr;  // index = output::AdPreset
  QLabel* lblSummary = nullptr;    // what the file will do, one line
  QLabel* picWarning = nullptr;    // the warning icon
  QLabel* lblWarning = nullptr;    // the preset's broken rules, one a line
  // Shown only while frames are set (and not for WebP): the byte budget, the
  // size of the file OK would write, a budget it cannot meet, and the
  // encoded animation playing, scaled down to kPreviewMaxWidth at most.
  QCheckBox* chkBudget = nullptr;
  QSpinBox* spnBudget = nullptr;  // KB of 1000 bytes, 1..output::kMaxBudgetKb
  QLabel* lblSize = nullptr;
  QLabel* picBudgetWarning = nullptr;
  QLabel* lblBudgetWarning = nullptr;
  QLabel* picPreview = nullptr;
  static constexpr int kPreviewMaxWidth = 400;
  // Beside the size readout while a measurement has run for longer than
  // kProgressDelayMs: how far it has come (polled, never pushed by the worker).
  QProgressBar* prgMeasure = nullptr;
  static constexpr int kProgressDelayMs = 1000;

  // Selecting an option enables the interval exactly for the animated GIF.
  void optType_Click(int k);
  // OK: stores the answer and hides the dialog when the interval text is
  // valid; otherwise says so and stays open, storing nothing. Either way
  // the measuring stops.
  void cmdSet_Click();
  // The user picked a preset (it becomes the selected entry): a shorter
  // interval is raised to its minimum and the play count becomes the
  // largest that keeps within it, and a preset with a byte budget for the
  // animation's size sets the budget to it. "なし" changes nothing else, nor
  // does a preset restored from the settings file, which does not come here.
  void cboPreset_Click(int index);

  // The stored choice at start (any value but 1 selects per-frame files)
  // and the interval box's text.
  void setChoice(int isAni);
  int choice() const;  // 1 animated, 0 per frame
  void setIntervalText(const QString& text);
  QString intervalText() const;
  // The play choices: 0 forever or 1..99 plays (else forever), the hold in
  // hundredths of a second (0..1000), the preset index (0..3, else none),
  // the budget in KB (1..kMaxBudgetKb, else none = 0).
  void setPlays(int plays);
  int plays() const;
  void setHoldCs(int holdCs);
  int holdCs() const;
  void setPreset(int preset);
  int preset() const;
  void setBudgetKb(int kb);
  int budgetKb() const;
  output::PlaySettings playSettings() const;

  // GifQuestion: shows the dialog modally until it is hidden or closed.
  void showModal() override;
  // The animation the dialog is asked for; the summary line and the warnings
  // follow it and every choice.
  void setAnimationShape(const output::AnimationShape* shape) override;

  // The same dialog asking for an animated WebP of the given shape: the
  // caption, the animated option and the play section name WebP, that option
  // is selected and the per-frame one is disabled (a WebP save is always one
  // animation), and the ad presets are off (the networks take no WebP). The
  // interval box and the play count and hold are the GIF's own, so both
  // share them. An OK with a valid interval returns true with `interval` in
  // hundredths of a second and `play` (preset None); closing the dialog
  // returns false. Either way the dialog then looks as before and the GIF's
  // answer (GifIsAni, GifTime, the play values, the selected option and
  // preset) is unchanged.
  // The composed frames the animated GIF is made of, by file number (null:
  // none known, nothing is measured). Set only while the question is asked;
  // new frames start a new measurement, null stops it (measuredFile() stays).
  void setFrames(std::shared_ptr<const std::vector<core::Bitmap>> frames);
  // After an accepted OK: the file measured for exactly the accepted
  // choices, when that measurement had finished; the save writes these
  // bytes. nullopt otherwise (the save then encodes them itself).
  std::optional<output::AnimationFile> measuredFile() const;

  bool askWebpAnimation(const output::AnimationShape& shape, std::int16_t& interval, output::PlaySettings& play);
  bool isAskingForWebp() const { return webpMode_; }
  // Tests replace the modal wait: the runner acts on the shown dialog
  // (e.g. clicks OK) instead of a user.
  void setModalRunner(std::function<void(frmGifSetting&)> runner) { modalRunner_ = std::move(runner); }
  // The background encoder (tests look at whether it still holds a thread).
  AnimationMeasure& measure() { return *measure_; }

  // The readout for a measured file, e.g. "118,422 バイト（予算 150,000）、PSNR 31.2 dB",
  // and the warning for a budget it does not meet (empty when it fits).
  static QString sizeText(const output::AnimationFile& file);
  static QString budgetMissedText(const output::AnimationFile& file);

  // Closing the dialog in any way (OK, Esc, the close button) stops the
  // measuring and joins its thread.
  void done(int r) override;

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  void buildPlaySection();
  void buildMeasureRows(QGridLayout* grid);
  void refreshSummary();
  // The animated GIF the current choices make; nullopt without frames, in
  // WebP mode or with an interval OK would refuse.
  std::optional<output::AnimationRequest> currentRequest() const;
  // Asks for the current choices' measurement (or stops measuring), and
  // shows the rows that belong to it.
  void refreshMeasure();
  // Shows the last measurement when it is that of the current choices.
  void showMeasured();
  void showPreview(const output::AnimationFile& file);
  void clearPreview();
  // The progress bar: built beside the size readout, and shown, moved on or
  // hidden by the poll timer.
  void buildProgressBar(QHBoxLayout* sizeRow);
  void pollProgress();
  // On a picture larger than a banner the save would encode for many
  // seconds: OK waits (without blocking) for the measurement of exactly the
  // chosen settings and then hands it over. True when it waits.
  bool waitForMeasurement();
  void stopWaiting();

  Prompts& prompts_;
  std::optional<output::AnimationShape> shape_;
  std::shared_ptr<const std::vector<core::Bitmap>> frames_;
  std::function<void(frmGifSetting&)> modalRunner_;
  bool webpMode_ = false;
  bool webpAccepted_ = false;
  std::int16_t webpInterval_ = 0;
  output::PlaySettings webpPlay_;
  std::unique_ptr<AnimationMeasure> measure_;
  std::optional<output::AnimationFile> accepted_;  // what measuredFile() returns
  QTimer* progressTimer_ = nullptr;
  int progressPolls_ = 0;      // polls since the measurement began
  bool okWaits_ = false;       // OK was pressed and waits for the measurement
  // The preview's movie reads the encoded bytes from this buffer (declared
  // first: the movie goes before its device).
  std::unique_ptr<QBuffer> previewBuffer_;
  std::unique_ptr<QMovie> previewMovie_;
};

}  // namespace app
