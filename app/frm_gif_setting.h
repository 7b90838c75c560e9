// frmGifSetting: the small modal dialog that asks how GIF frames are written
// (one animated GIF, or one file per frame) and the animated GIF's interval,
// with a play section (plays, hold, ad preset) and a size section (budget,
// the measured size, the encoded animation playing). Built for a WebP save
// it has the sections a WebP needs: the interval and the plays and hold.
// The answer of an OK is a value (save::AnimationAnswer) that askAnimation
// returns; the GIF dialog keeps the last one for a question closed without
// OK. Given the composed frames, the GIF dialog encodes the animated GIF of
// the current choices in the background and shows its size.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

#include <QDialog>
#include <QStringList>

#include "core/color.h"
#include "gif/animation_file.h"
#include "save/animation_question.h"

class QBuffer;
class QCheckBox;
class QComboBox;
class QDoubleSpinBox;
class QGridLayout;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QLineEdit;
class QMovie;
class QProgressBar;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTimer;
class QVBoxLayout;

namespace check {
struct FlashResult;
}

namespace app {

class AnimationMeasure;
class WrittenCheck;
class Prompts;

class frmGifSetting : public QDialog {
 public:
  // prompts: where the invalid-interval message goes; must outlive the dialog.
  // format: the file the dialog asks about (its caption, its sections).
  frmGifSetting(Prompts& prompts, QWidget* parent, save::AnimationFormat format = save::AnimationFormat::Gif);
  ~frmGifSetting() override;

  // optType(1): one animated GIF; optType(0): one file per frame (the WebP
  // dialog has only optType(1), selected).
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
  QLabel* lblPreset = nullptr;     // GIF only
  QComboBox* cboPreset = nullptr;  // index = output::AdPreset; GIF only
  // The one-pixel border round every image of the animated file, in a
  // colour typed as RRGGBB (red first, as web colours are written).
  QCheckBox* chkBorder = nullptr;
  QLineEdit* txtBorder = nullptr;
  QLabel* picBorder = nullptr;     // the colour itself
  QLabel* lblSummary = nullptr;    // what the file will do, one line
  QLabel* picWarning = nullptr;    // the warning icon
  QLabel* lblWarning = nullptr;    // the preset's broken rules, one a line
  // After a save: the file written as browsers play it, and the rules of
  // its preset it breaks, one a line.
  QLabel* lblWritten = nullptr;
  QLabel* picWrittenWarning = nullptr;
  QLabel* lblWrittenWarning = nullptr;
  // The size section, GIF only, shown while frames are set: the byte budget, the
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
  // OK: takes the answer and hides the dialog when the interval text is
  // valid; otherwise says so and stays open, taking nothing. Either way the
  // measuring stops.
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
  // The border: on or off, and its colour when given (else it keeps the
  // colour it has). borderColour() is the colour whether on or off.
  void setBorder(bool on, std::optional<core::Color> colour = std::nullopt);
  bool borderOn() const;
  core::Color borderColour() const { return borderColour_; }
  output::PlaySettings playSettings() const;

  // AskGifOutput: shows the dialog modally for the ask (its shape, its
  // frames to measure) until it is hidden or closed. The GIF dialog always
  // answers: after an OK with that OK's choices and the file measured for
  // exactly them (nullopt when none), after any other close with the last
  // OK's choices (one file per frame and interval 0 before the first) and
  // nothing measured. The WebP dialog answers only an OK.
  std::optional<save::AnimationAnswer> askAnimation(const save::AnimationAsk& ask);
  save::AnimationFormat format() const { return format_; }
  // The last OK's answer (GifIsAni, GifTime and the play choices).
  const save::AnimationAnswer& lastAnswer() const { return answer_; }

  // The animation the summary line and the warnings follow (null: none);
  // askAnimation sets it for the question and forgets it afterwards.
  void setAnimationShape(const output::AnimationShape* shape);
  // The composed frames the animated GIF is made of, by file number (null:
  // none known, nothing is measured). New frames start a new measurement
  // and forget the last OK's measured file; null stops measuring.
  void setFrames(save::FramesByFile frames);
  // After an accepted OK: the file measured for exactly the accepted
  // choices, when that measurement had finished; the save writes these
  // bytes. nullopt otherwise (the save then encodes them itself).
  std::optional<output::AnimationFile> measuredFile() const;

  // A save wrote this animated file under this preset: it is read back in
  // the background and the dialog says what it does the next time it opens.
  void checkWritten(const std::string& file, output::AdPreset preset);
  WrittenCheck& writtenCheck() { return *written_; }

  // The interval text, plays and hold that the GIF and WebP dialogs share:
  // what the user typed in one is there in the other.
  void takeSharedChoices(const frmGifSetting& other);

  // Tests replace the modal wait: the runner acts on the shown dialog
  // (e.g. clicks OK) instead of a user.
  void setModalRunner(std::function<void(frmGifSetting&)> runner) { modalRunner_ = std::move(runner); }
  // The background encoder (tests look at whether it still holds a thread).
  AnimationMeasure& measure() { return *measure_; }

  // The readout for a measured file, e.g. "118,422 バイト（予算 150,000）、PSNR 31.2 dB",
  // and the warning for a budget it does not meet (empty when it fits).
  static QString sizeText(const output::AnimationFile& file);
  static QString budgetMissedText(const output::AnimationFile& file);
  // The warnings for flashing over WCAG's general or red flash threshold
  // (empty when neither is broken).
  static QStringList flashWarnings(const check::FlashResult& flash);

  // Closing the dialog in any way (OK, Esc, the close button) stops the
  // measuring and joins its thread.
  void done(int r) override;

 protected:
  void hideEvent(QHideEvent* event) override;

 private:
  void buildChoiceSection(QVBoxLayout* layout);
  void buildPlaySection();
  void buildBorderRow(QGridLayout* grid, int row);
  void showBorderColour();
  void buildSizeSection(QGridLayout* grid);
  bool isGif() const { return format_ == save::AnimationFormat::Gif; }
  void showModal();
  void refreshSummary();
  // The choice's warnings with those of its measured file.
  void showWarnings();
  void showWritten();
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
  const save::AnimationFormat format_;
  std::optional<output::AnimationShape> shape_;
  save::FramesByFile frames_;
  std::function<void(frmGifSetting&)> modalRunner_;
  // The last OK's answer: one file per frame, interval 0 before the first.
  save::AnimationAnswer answer_{false, save::AnimationChoice{0, {}, false, std::nullopt}};
  bool answered_ = false;         // an OK during the current question
  QStringList choiceWarnings_;    // the preset's broken rules for the current choice
  core::Color borderColour_;      // the last complete colour typed
  std::unique_ptr<AnimationMeasure> measure_;
  std::unique_ptr<WrittenCheck> written_;
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
