// The GIF dialog's size readout: the background encoder behind it, the
// figure and the animation it shows, the file OK hands to the save, and
// closing the dialog while an encode runs. These tests start threads; they
// also run under ThreadSanitizer (ctest label "threads").
#include <algorithm>
#include <filesystem>
#include <memory>
#include <vector>

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QMovie>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include "app/animation_measure.h"
#include "app/frm_gif_setting.h"
#include "window_fixture.h"

// QString in failure messages as text.
inline void PrintTo(const QString& s, std::ostream* os) { *os << s.toStdString(); }

namespace {

using Frames = std::shared_ptr<const std::vector<core::Bitmap>>;

QString u(const char* s) { return QString::fromUtf8(s); }

// A bar sliding over stripes of few colours: exact, and quick to encode.
Frames slidingFrames(int count, int w, int h) {
  auto frames = std::make_shared<std::vector<core::Bitmap>>();
  for (int k = 0; k < count; ++k) {
    core::Bitmap b(w, h);
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        b.row(y)[x] = x < k * w / count ? core::rgb(200, 30, 40) : core::rgb((x / 20) * 40 % 256, y * 4 / h * 60, 128);
    frames->push_back(std::move(b));
  }
  return frames;
}

// Smooth colour fields moving under a still left third: thousands of
// colours, so a budget below the plain file is met by a lossy one.
Frames photoFrames(int count, int w, int h) {
  auto frames = std::make_shared<std::vector<core::Bitmap>>();
  for (int k = 0; k < count; ++k) {
    core::Bitmap b(w, h);
    for (int y = 0; y < h; ++y) {
      for (int x = 0; x < w; ++x) {
        const int shift = x < w / 3 ? 0 : k * 11;
        b.row(y)[x] = core::rgb((x + y * 2 + shift) & 0xFF, (y * 3 + x / 2 + shift / 2) & 0xFF, (x + y + shift) / 3 & 0xFF);
      }
    }
    frames->push_back(std::move(b));
  }
  return frames;
}

// A band of noise across a white frame, new in every frame: fitting 20 of
// them into a small budget takes long enough that a change or a close
// always meets a running encode, while two of them encode quickly.
Frames noisyFrames(int count, int w, int h) {
  auto frames = std::make_shared<std::vector<core::Bitmap>>();
  std::uint32_t seed = 12345;
  for (int k = 0; k < count; ++k) {
    core::Bitmap b(w, h, core::rgb(255, 255, 255));
    for (int y = h / 2; y < h / 2 + h / 10; ++y) {
      for (int x = 0; x < w; ++x) {
        seed = seed * 1664525u + 1013904223u;
        b.row(y)[x] = core::rgb(seed >> 24, (seed >> 16) & 0xFF, (seed >> 8) & 0xFF);
      }
    }
    frames->push_back(std::move(b));
  }
  return frames;
}

output::AnimationShape shapeOf(const Frames& frames) {
  const auto& f = frames->front();
  return output::AnimationShape{static_cast<int>(frames->size()) - 1, false, 0, f.width, f.height};
}

output::AnimationRequest requestFor(const Frames& frames, int intervalCs, output::PlaySettings play) {
  return output::AnimationRequest{frames, shapeOf(frames), intervalCs, play};
}

std::vector<std::uint8_t> encoded(const output::AnimationRequest& request) {
  const auto file = output::encodeAnimationFile(request);
  EXPECT_TRUE(file);
  return file ? file->bytes : std::vector<std::uint8_t>{};
}

constexpr int kLongWaitMs = 120000;  // a generous bound for slow (sanitized) builds, not a goal

class GifMeasureTest : public ::testing::Test {
 protected:
  // The window's question for the frames set by ask().
  std::optional<save::AnimationAnswer> askAgain(const Frames& frames) {
    return dialog.askAnimation(save::AnimationAsk{save::AnimationFormat::Gif, shape, frames});
  }
  // Sets the frames as the window does before it asks, with the animated GIF chosen.
  void ask(const Frames& frames) {
    shape = shapeOf(frames);
    dialog.setChoice(1);
    dialog.setIntervalText("0.1");
    dialog.setFrames(frames);
    dialog.setAnimationShape(&shape);
  }
  bool measuring() const { return dialog.lblSize->text() == u("サイズを計算中…"); }

  QApplication& app = apptest::application();  // before any widget
  std::shared_ptr<apptest::RecordingPrompts::Log> log = std::make_shared<apptest::RecordingPrompts::Log>();
  apptest::RecordingPrompts prompts{log};
  app::frmGifSetting dialog{prompts, nullptr};
  output::AnimationShape shape;
};

TEST_F(GifMeasureTest, TheReadoutAndOkGiveTheBytesOfTheSameRequest) {
  const Frames frames = slidingFrames(8, 500, 60);
  std::vector<std::uint8_t> shownFor10;
  dialog.setModalRunner([&](app::frmGifSetting& d) {
    EXPECT_TRUE(measuring());
    EXPECT_TRUE(d.picPreview->isHidden());  // nothing before the first result
    QTRY_VERIFY_WITH_TIMEOUT(!d.measure().isBusy(), kLongWaitMs);
    const auto request = requestFor(frames, 10, output::PlaySettings{});
    shownFor10 = encoded(request);
    // Exact frames: the bytes alone, no PSNR.
    EXPECT_EQ(d.lblSize->text(), QString::fromStdString(output::groupedNumber(shownFor10.size())) + u(" バイト"));
    // The animation plays, scaled down to the dialog's width.
    ASSERT_TRUE(d.picPreview->movie());
    EXPECT_TRUE(d.picPreview->movie()->isValid());
    EXPECT_EQ(d.picPreview->movie()->frameCount(), 8);
    EXPECT_EQ(d.picPreview->size(), QSize(400, 48));
    EXPECT_FALSE(d.picPreview->isHidden());
    d.cmdSet_Click();
  });
  ask(frames);
  auto answer = askAgain(frames);
  ASSERT_TRUE(answer && answer->animated);
  ASSERT_TRUE(answer->animation.measured);
  EXPECT_EQ(answer->animation.measured->bytes, shownFor10);
  EXPECT_FALSE(dialog.measure().hasWorker());

  // A choice changed after the last result: OK takes it, with nothing measured for it.
  dialog.setModalRunner([&](app::frmGifSetting& d) {
    QTRY_VERIFY_WITH_TIMEOUT(!d.measure().isBusy(), kLongWaitMs);
    d.setPlays(3);
    EXPECT_TRUE(measuring());
    d.cmdSet_Click();
  });
  ask(frames);
  EXPECT_FALSE(dialog.measuredFile());  // a new question forgets the last answer
  answer = askAgain(frames);
  ASSERT_TRUE(answer && answer->animated);
  EXPECT_EQ(answer->animation.play.plays, 3);
  EXPECT_FALSE(answer->animation.measured);
  EXPECT_FALSE(dialog.measure().hasWorker());

  // One file per frame: nothing measured is handed over.
  dialog.setModalRunner([&](app::frmGifSetting& d) {
    QTRY_VERIFY_WITH_TIMEOUT(!d.measure().isBusy(), kLongWaitMs);
    d.optType[0]->click();
    d.cmdSet_Click();
  });
  answer = askAgain(frames);
  ASSERT_TRUE(answer);
  EXPECT_FALSE(answer->animated);
  EXPECT_FALSE(answer->animation.measured);
}

TEST_F(GifMeasureTest, OnALargePictureOkWaitsForTheMeasurementAndShowsHowFarItCame) {
  // One column past a banner; the worker's end is seen only when events are
  // handled, so OK always meets the measurement running.
  const Frames frames = slidingFrames(8, 1001, 60);
  std::vector<int> shown;
  dialog.setModalRunner([&](app::frmGifSetting& d) {
    d.setResult(0);
    ASSERT_TRUE(d.measure().isBusy());
    d.cmdSet_Click();
    // Still asking: OK greyed, the wait said, the bar at once.
    EXPECT_EQ(d.result(), 0);
    EXPECT_FALSE(d.cmdSet->isEnabled());
    EXPECT_EQ(d.lblSize->text(), u("サイズの計算が終わると保存します…"));
    EXPECT_FALSE(d.prgMeasure->isHidden());
    while (d.measure().isBusy()) {
      shown.push_back(d.prgMeasure->value());
      QTest::qWait(20);
    }
    QTRY_COMPARE_WITH_TIMEOUT(d.result(), static_cast<int>(QDialog::Accepted), kLongWaitMs);
    EXPECT_TRUE(d.cmdSet->isEnabled());
    EXPECT_TRUE(d.prgMeasure->isHidden());
  });
  ask(frames);
  auto answer = askAgain(frames);
  ASSERT_TRUE(answer && answer->animated);
  ASSERT_TRUE(answer->animation.measured);
  EXPECT_EQ(answer->animation.measured->bytes, encoded(requestFor(frames, 10, answer->animation.play)));
  ASSERT_FALSE(shown.empty());
  EXPECT_TRUE(std::is_sorted(shown.begin(), shown.end()));

  // A choice changed while OK waits ends the wait: the user confirms again.
  dialog.setModalRunner([&](app::frmGifSetting& d) {
    d.setResult(0);
    ASSERT_TRUE(d.measure().isBusy());
    d.cmdSet_Click();
    d.setPlays(2);
    EXPECT_TRUE(d.cmdSet->isEnabled());
    EXPECT_TRUE(measuring());
    QTRY_VERIFY_WITH_TIMEOUT(!d.measure().isBusy(), kLongWaitMs);
    EXPECT_EQ(d.result(), 0);
    d.reject();
  });
  const Frames other = slidingFrames(8, 1001, 61);  // not measured yet
  ask(other);
  answer = askAgain(other);
  ASSERT_TRUE(answer);
  EXPECT_FALSE(answer->animation.measured);
}

TEST_F(GifMeasureTest, ABudgetIsFittedAndShownWithItsCost) {
  const Frames frames = photoFrames(4, 180, 48);
  ask(frames);
  QTRY_VERIFY_WITH_TIMEOUT(!dialog.measure().isBusy(), kLongWaitMs);
  const auto plain = output::encodeAnimationFile(requestFor(frames, 10, output::PlaySettings{}));
  ASSERT_TRUE(plain);
  EXPECT_EQ(dialog.lblSize->text(), app::frmGifSetting::sizeText(*plain));

  // A budget between the floor's file and the plain one: fitted, lossy.
  output::PlaySettings budgeted;
  budgeted.budgetBytes = plain->bytes.size() * 3 / 4 / 1000 * 1000;
  dialog.spnBudget->setValue(static_cast<int>(budgeted.budgetBytes / 1000));
  dialog.chkBudget->click();
  EXPECT_TRUE(measuring());
  QTRY_VERIFY_WITH_TIMEOUT(!dialog.measure().isBusy(), kLongWaitMs);
  const auto fitted = output::encodeAnimationFile(requestFor(frames, 10, budgeted));
  ASSERT_TRUE(fitted && fitted->fits && fitted->psnr < 100.0);
  EXPECT_EQ(dialog.lblSize->text(), app::frmGifSetting::sizeText(*fitted));
  EXPECT_TRUE(dialog.lblSize->text().contains(u("（予算 ") + QString::fromStdString(output::groupedNumber(
                                                                  budgeted.budgetBytes)) + u("）、PSNR ")));
  EXPECT_TRUE(dialog.lblBudgetWarning->isHidden());

  // One that even the floor does not meet: said as a warning.
  dialog.spnBudget->setValue(1);
  QTRY_VERIFY_WITH_TIMEOUT(!dialog.measure().isBusy(), kLongWaitMs);
  output::PlaySettings tiny;
  tiny.budgetBytes = 1000;
  const auto missed = output::encodeAnimationFile(requestFor(frames, 10, tiny));
  ASSERT_TRUE(missed && !missed->fits);
  EXPECT_EQ(dialog.lblSize->text(), app::frmGifSetting::sizeText(*missed));
  EXPECT_FALSE(dialog.lblBudgetWarning->isHidden());
  EXPECT_FALSE(dialog.picBudgetWarning->isHidden());
  EXPECT_EQ(dialog.lblBudgetWarning->text(), app::frmGifSetting::budgetMissedText(*missed));

  // Back to the choices measured last while another encode runs: answered
  // at once, and the other one's result never shows.
  dialog.spnBudget->setValue(2);
  EXPECT_TRUE(measuring());
  EXPECT_TRUE(dialog.lblBudgetWarning->isHidden());
  dialog.spnBudget->setValue(1);
  EXPECT_EQ(dialog.lblSize->text(), app::frmGifSetting::sizeText(*missed));
  EXPECT_FALSE(dialog.lblBudgetWarning->isHidden());
  QTRY_VERIFY_WITH_TIMEOUT(!dialog.measure().isBusy(), kLongWaitMs);
  EXPECT_EQ(dialog.lblSize->text(), app::frmGifSetting::sizeText(*missed));
  EXPECT_TRUE(dialog.measure().last()->request == requestFor(frames, 10, tiny));
}

TEST_F(GifMeasureTest, TheReadoutTextsAreExact) {
  output::AnimationFile file;
  file.bytes.resize(118422);
  file.psnr = 100.0;
  EXPECT_EQ(app::frmGifSetting::sizeText(file), u("118,422 バイト"));
  file.psnr = 64.04;  // lossy without a budget (more than 256 colours)
  EXPECT_EQ(app::frmGifSetting::sizeText(file), u("118,422 バイト、PSNR 64.0 dB"));
  file.budget = 150000;
  file.psnr = 100.0;
  EXPECT_EQ(app::frmGifSetting::sizeText(file), u("118,422 バイト（予算 150,000）"));
  file.psnr = 31.24;
  EXPECT_EQ(app::frmGifSetting::sizeText(file), u("118,422 バイト（予算 150,000）、PSNR 31.2 dB"));
  EXPECT_EQ(app::frmGifSetting::budgetMissedText(file), QString());
  file.bytes.resize(53599);
  file.budget = 50000;
  file.psnr = 25.08;
  file.fits = false;
  EXPECT_EQ(app::frmGifSetting::budgetMissedText(file),
            u("予算 50,000 バイトに収まりません（最小 53,599 バイト、PSNR 25.1 dB）。"));

  EXPECT_EQ(dialog.chkBudget->text(), u("容量の上限"));
  EXPECT_EQ(dialog.spnBudget->suffix(), " KB");
  EXPECT_EQ(dialog.spnBudget->minimum(), 1);
  EXPECT_EQ(dialog.spnBudget->maximum(), 10000);
}

TEST_F(GifMeasureTest, TheBudgetRowFollowsFramesPresetsAndTheStoredValue) {
  // Without frames the dialog is the one it always was.
  for (QWidget* w : {static_cast<QWidget*>(dialog.chkBudget), static_cast<QWidget*>(dialog.spnBudget),
                     static_cast<QWidget*>(dialog.lblSize), static_cast<QWidget*>(dialog.picPreview)})
    EXPECT_TRUE(w->isHidden());
  EXPECT_EQ(dialog.budgetKb(), 0);
  EXPECT_FALSE(dialog.spnBudget->isEnabledTo(dialog.fraPlay));
  // Stored values: 1..10000 KB, anything else none.
  dialog.setBudgetKb(40);
  EXPECT_TRUE(dialog.chkBudget->isChecked());
  EXPECT_EQ(dialog.budgetKb(), 40);
  EXPECT_TRUE(dialog.spnBudget->isEnabledTo(dialog.fraPlay));
  dialog.setBudgetKb(10001);
  EXPECT_EQ(dialog.budgetKb(), 0);
  dialog.setBudgetKb(-3);
  EXPECT_EQ(dialog.budgetKb(), 0);
  dialog.setBudgetKb(10000);
  dialog.cmdSet_Click();
  EXPECT_EQ(dialog.lastAnswer().animation.play.budgetBytes, 10000000u);
  dialog.setBudgetKb(0);
  dialog.cmdSet_Click();
  EXPECT_EQ(dialog.lastAnswer().animation.play.budgetBytes, 0u);

  // A preset with a byte budget for this size sets it; "なし" leaves it.
  const Frames frames = slidingFrames(22, 468, 60);
  ask(frames);
  EXPECT_FALSE(dialog.chkBudget->isHidden());
  dialog.cboPreset_Click(1);  // Google: 150 KB
  EXPECT_TRUE(dialog.chkBudget->isChecked());
  EXPECT_EQ(dialog.spnBudget->value(), 150);
  EXPECT_EQ(dialog.playSettings().budgetBytes, 150000u);
  dialog.spnBudget->setValue(90);
  dialog.cboPreset_Click(0);
  EXPECT_EQ(dialog.budgetKb(), 90);

  // The WebP dialog has none of it and measures nothing.
  app::frmGifSetting webp{prompts, nullptr, save::AnimationFormat::Webp};
  webp.setModalRunner([](app::frmGifSetting& d) {
    EXPECT_EQ(d.chkBudget, nullptr);
    EXPECT_FALSE(d.measure().isBusy());
    d.cmdSet_Click();
  });
  const auto answer = webp.askAnimation(save::AnimationAsk{save::AnimationFormat::Webp, shape, frames});
  ASSERT_TRUE(answer);
  EXPECT_EQ(answer->animation.play.budgetBytes, 0u);
  EXPECT_FALSE(answer->animation.measured);
  EXPECT_EQ(dialog.budgetKb(), 90);  // the GIF's own stays
}

TEST_F(GifMeasureTest, OnlyTheNewestRequestIsMeasuredAndShown) {
  // The measurer alone: a long fit is overtaken by a small request.
  app::AnimationMeasure measure;
  int results = 0;
  measure.setResultHandler([&] { ++results; });
  output::PlaySettings budget;
  budget.budgetBytes = 20000;
  const auto slow = requestFor(noisyFrames(20, 1000, 200), 10, budget);
  const auto quick = requestFor(slidingFrames(3, 40, 10), 10, output::PlaySettings{});
  measure.request(slow);
  QTRY_VERIFY_WITH_TIMEOUT(measure.hasWorker(), kLongWaitMs);
  measure.request(quick);
  QTRY_VERIFY_WITH_TIMEOUT(!measure.isBusy(), kLongWaitMs);
  EXPECT_EQ(results, 1);
  ASSERT_TRUE(measure.last());
  EXPECT_TRUE(measure.last()->request == quick);
  EXPECT_EQ(measure.last()->file.bytes, encoded(quick));

  // In the dialog: a shape changed mid-encode (fewer frames) shows only its own figure.
  const Frames frames = noisyFrames(20, 1000, 200);
  dialog.setBudgetKb(20);
  ask(frames);
  QTRY_VERIFY_WITH_TIMEOUT(dialog.measure().hasWorker(), kLongWaitMs);
  shape.last = 1;
  dialog.setBudgetKb(0);
  dialog.setAnimationShape(&shape);
  EXPECT_TRUE(measuring());
  QTRY_VERIFY_WITH_TIMEOUT(!dialog.measure().isBusy(), kLongWaitMs);
  output::AnimationRequest two{frames, shape, 10, output::PlaySettings{}};
  const auto file = output::encodeAnimationFile(two);
  ASSERT_TRUE(file);
  EXPECT_EQ(dialog.lblSize->text(), app::frmGifSetting::sizeText(*file));
  EXPECT_EQ(dialog.picPreview->movie()->frameCount(), 2);
}

TEST_F(GifMeasureTest, ClosingMidEncodeStopsTheWorkAndWritesNothing) {
  const auto folder = testutil::makeTempDir("gif-measure-close");
  const QString before = QDir::currentPath();
  QDir::setCurrent(QString::fromStdString(folder.string()));
  const Frames frames = noisyFrames(20, 1000, 200);
  dialog.setBudgetKb(20);
  // Each way of closing: OK, Esc, the close button (a close event).
  const std::vector<std::function<void(app::frmGifSetting&)>> closers = {
      [](app::frmGifSetting& d) { d.cmdSet_Click(); },
      [](app::frmGifSetting& d) { QTest::keyClick(&d, Qt::Key_Escape); },
      [](app::frmGifSetting& d) { d.close(); },
  };
  for (std::size_t i = 0; i < closers.size(); ++i) {
    SCOPED_TRACE(i);
    ask(frames);
    dialog.show();
    QTRY_VERIFY_WITH_TIMEOUT(dialog.measure().hasWorker(), kLongWaitMs);
    closers[i](dialog);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_FALSE(dialog.measure().hasWorker());
    EXPECT_FALSE(dialog.measure().isBusy());
    EXPECT_FALSE(dialog.measuredFile());
    dialog.setFrames(nullptr);
    QCoreApplication::processEvents();  // a worker's late word finds nothing to do
    EXPECT_FALSE(dialog.measure().hasWorker());
  }
  // Destroyed mid-encode.
  {
    app::frmGifSetting other{prompts, nullptr};
    other.setChoice(1);
    other.setBudgetKb(20);
    other.setFrames(frames);
    other.setAnimationShape(&shape);
    QTRY_VERIFY_WITH_TIMEOUT(other.measure().hasWorker(), kLongWaitMs);
  }
  QCoreApplication::processEvents();
  EXPECT_TRUE(std::filesystem::is_empty(folder));
  QDir::setCurrent(before);
}

}  // namespace
