// How soon the GIF dialog shows its first figure: the time from showing the
// dialog with the composed frames until the size of the file OK would write
// is on screen (the background encode and its hand-over included).
//
//   QT_QPA_PLATFORM=offscreen gif_dialog_bench [--runs N] [--bench-dir DIR]
//
// Frames: the 22 frames of the Slide save of DIR/logo.bmp (1000 x 200),
// DIR/logo468.bmp (468 x 60) and DIR/photo.bmp resampled to the ad size
// 970 x 250 (photo970); DIR defaults to $PICTORELL_BENCHDATA.
// Goals: 1 s for logo and photo970, 0.2 s for logo468.
//
//   gif_dialog_bench --look FILE.png [--lang en] [--bench-dir DIR]
//
// shows the dialog on the screen (run it under Xvfb) with the Slide frames
// of the photo resampled to 1200 x 1200 and a 150 KB budget, presses OK
// after 3 s and saves the window's own picture of it to FILE.png 2 s later:
// a long measurement's progress bar and OK waiting for it.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTimer>

#include "app/animation_measure.h"
#include "app/application_setup.h"
#include "app/frm_gif_setting.h"
#include "app/prompts.h"
#include "bench/gif/frame_sets.h"

namespace {

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The dialog asks nothing of the user here.
class NoPrompts final : public app::Prompts {
 public:
  void message(app::MessageIcon, const QString&) override {}
  QString openFile(const app::FileDialogRequest&) override { return {}; }
  QString saveFile(const app::FileDialogRequest&) override { return {}; }
  std::optional<QColor> chooseColor(const QColor&) override { return std::nullopt; }
  bool hasApplicationFor(const QString&) override { return false; }
  bool openDocument(const QString&, std::function<void()>) override { return false; }
};

struct Timing {
  double firstFigureMs = 0;
  QString figure;
};

Timing firstFigure(app::frmGifSetting& dialog, const std::shared_ptr<const std::vector<core::Bitmap>>& frames,
                   const output::AnimationShape& shape, int budgetKb) {
  dialog.setChoice(1);
  dialog.setIntervalText(QStringLiteral("0.1"));
  dialog.setBudgetKb(budgetKb);
  QElapsedTimer t;
  t.start();
  dialog.setFrames(frames);
  dialog.setAnimationShape(&shape);
  dialog.show();
  while (dialog.measure().isBusy()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
  Timing timing{static_cast<double>(t.nsecsElapsed()) / 1e6, dialog.lblSize->text()};
  dialog.hide();
  dialog.setFrames(nullptr);
  dialog.setAnimationShape(nullptr);
  return timing;
}

int look(app::frmGifSetting& dialog, const std::filesystem::path& benchDir, const QString& file) {
  const core::Picture source =
      gifbench::resampled(gifbench::loadPicture((benchDir / "photo.bmp").string()), 1200, 1200);
  const gifbench::FrameSet set = gifbench::slideFrames("photo1200", source);
  auto bitmaps = std::make_shared<std::vector<core::Bitmap>>();
  for (const core::Picture& p : set.frames) bitmaps->push_back(*p.bitmap());
  const output::AnimationShape shape{static_cast<int>(bitmaps->size()) - 1, false, 5, 1200, 1200};
  dialog.setChoice(1);
  dialog.setIntervalText(QStringLiteral("0.1"));
  dialog.setBudgetKb(150);
  dialog.setFrames(bitmaps);
  dialog.setAnimationShape(&shape);
  dialog.show();
  QTimer::singleShot(3000, &dialog, [&dialog] { dialog.cmdSet_Click(); });
  QTimer::singleShot(5000, &dialog, [&dialog, file] {
    dialog.grab().save(file);
    QCoreApplication::quit();
  });
  const int status = QApplication::exec();
  dialog.setFrames(nullptr);
  dialog.setAnimationShape(nullptr);
  return status;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  int runs = 5;
  std::filesystem::path benchDir = std::getenv("PICTORELL_BENCHDATA") ? std::getenv("PICTORELL_BENCHDATA") : "";
  QString lookFile;
  app::UiLanguage language = app::UiLanguage::Japanese;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0)
      runs = std::max(1, std::atoi(argv[++i]));
    else if (std::strcmp(argv[i], "--bench-dir") == 0)
      benchDir = argv[++i];
    else if (std::strcmp(argv[i], "--look") == 0)
      lookFile = QString::fromLocal8Bit(argv[++i]);
    else if (std::strcmp(argv[i], "--lang") == 0 && std::strcmp(argv[++i], "en") == 0)
      language = app::UiLanguage::English;
  }
  app::setUpApplication(application, language);
  NoPrompts prompts;
  app::frmGifSetting dialog(prompts, nullptr);
  if (!lookFile.isEmpty()) return look(dialog, benchDir, lookFile);
  std::printf("%-8s %-10s %10s %10s  %s\n", "set", "budget", "median ms", "max ms", "figure shown");
  for (const char* name : {"logo", "logo468", "photo970"}) {
    const core::Picture source =
        std::strcmp(name, "photo970") == 0
            ? gifbench::resampled(gifbench::loadPicture((benchDir / "photo.bmp").string()), 970, 250)
            : gifbench::loadPicture((benchDir / (std::string(name) + ".bmp")).string());
    const gifbench::FrameSet set = gifbench::slideFrames(name, source);
    auto bitmaps = std::make_shared<std::vector<core::Bitmap>>();
    for (const core::Picture& p : set.frames) bitmaps->push_back(*p.bitmap());
    // Slide's 22 files rest on file 5.
    const output::AnimationShape shape{static_cast<int>(bitmaps->size()) - 1, false, 5, source.width(),
                                       source.height()};
    for (int budgetKb : {0, 150, 50}) {
      std::vector<double> times;
      QString figure;
      for (int r = 0; r < runs; ++r) {
        // New frames each run, as each save composes them anew.
        auto copy = std::make_shared<const std::vector<core::Bitmap>>(*bitmaps);
        const Timing timing = firstFigure(dialog, copy, shape, budgetKb);
        times.push_back(timing.firstFigureMs);
        figure = timing.figure;
      }
      std::printf("%-8s %-10s %10.1f %10.1f  %s\n", name,
                  budgetKb ? (std::to_string(budgetKb) + " KB").c_str() : "none", median(times),
                  *std::max_element(times.begin(), times.end()), figure.toStdString().c_str());
    }
  }
  return 0;
}
