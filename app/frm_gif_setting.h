// frmGifSetting: the small modal dialog that asks how GIF frames are written
// (one animated GIF, or one file per frame) and the animated GIF's interval.
// An accepted OK leaves its answer in output::GifIsAni and output::GifTime.
#pragma once

#include <array>
#include <cstdint>
#include <functional>

#include <QDialog>

#include "output/gif_question.h"

class QComboBox;
class QLabel;
class QPushButton;
class QRadioButton;

namespace app {

class Prompts;

class frmGifSetting : public QDialog, public output::GifQuestion {
 public:
  // prompts: where the invalid-interval message goes; must outlive the dialog.
  frmGifSetting(Prompts& prompts, QWidget* parent);

  // optType(1): one animated GIF; optType(0): one file per frame.
  std::array<QRadioButton*, 2> optType{};
  QLabel* Label1 = nullptr;
  QComboBox* cboTime = nullptr;
  QPushButton* cmdSet = nullptr;

  // Selecting an option enables the interval exactly for the animated GIF.
  void optType_Click(int k);
  // OK: stores the answer and hides the dialog when the interval text is
  // valid; otherwise says so and stays open, storing nothing.
  void cmdSet_Click();

  // The stored choice at start (any value but 1 selects per-frame files)
  // and the interval box's text.
  void setChoice(int isAni);
  int choice() const;  // 1 animated, 0 per frame
  void setIntervalText(const QString& text);
  QString intervalText() const;

  // GifQuestion: shows the dialog modally until it is hidden or closed.
  void showModal() override;

  // The same dialog asking for an animated WebP's interval: the caption and
  // the animated option name WebP, that option is selected and the per-frame
  // one is disabled (a WebP save is always one animation), and the interval
  // box is the GIF's own, so both share one interval. An OK with a valid
  // interval returns true with `interval` in hundredths of a second; closing
  // the dialog returns false. Either way the dialog then looks as before and
  // the GIF's answer (GifIsAni, GifTime, the selected option) is unchanged.
  bool askWebpInterval(std::int16_t& interval);
  bool isAskingForWebp() const { return webpMode_; }
  // Tests replace the modal wait: the runner acts on the shown dialog
  // (e.g. clicks OK) instead of a user.
  void setModalRunner(std::function<void(frmGifSetting&)> runner) { modalRunner_ = std::move(runner); }

 private:
  Prompts& prompts_;
  std::function<void(frmGifSetting&)> modalRunner_;
  bool webpMode_ = false;
  bool webpAccepted_ = false;
  std::int16_t webpInterval_ = 0;
};

}  // namespace app
