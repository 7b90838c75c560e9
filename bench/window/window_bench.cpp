// How the main window's preview performs with its real host: the time from
// the preview command until playback starts (composing, with the window's
// yields that process events at most every 25 ms), and the time of one
// playback step (the next frame into picX and onto the screen widget).
//
//   QT_QPA_PLATFORM=offscreen window_bench [--runs N] [--bench-dir DIR]
//
// Picture: DIR/photo.bmp (1000 x 200); DIR defaults to $PICTORELL_BENCHDATA,
// and a synthesized picture of that size stands in when it is missing.
// Goals: every effect's preview starts playing within 250 ms, and a playback
// step takes under 2 ms, so that a 50 ms frame interval is kept.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QImage>
#include <QSettings>

#include "app/application_setup.h"
#include "app/frm_main.h"

namespace {

double median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

QString sourcePicture(const std::filesystem::path& benchDir, const std::filesystem::path& scratch) {
  const auto photo = benchDir / "photo.bmp";
  if (!benchDir.empty() && std::filesystem::exists(photo)) return QString::fromStdString(photo.string());
  QImage image(1000, 200, QImage::Format_RGB32);
  for (int y = 0; y < 200; ++y)
    for (int x = 0; x < 1000; ++x) image.setPixel(x, y, qRgb(x & 255, y, (x * y) & 255));
  image.setPixel(0, 0, qRgb(255, 255, 255));
  const QString path = QString::fromStdString((scratch / "synthetic.bmp").string());
  image.save(path, "BMP");
  std::printf("(no photo.bmp: a synthesized 1000 x 200 picture)\n");
  return path;
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  app::setUpApplication(application, app::UiLanguage::Japanese);  // as the program starts
  int runs = 5;
  std::filesystem::path benchDir = std::getenv("PICTORELL_BENCHDATA") ? std::getenv("PICTORELL_BENCHDATA") : "";
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0)
      runs = std::max(1, std::atoi(argv[++i]));
    else if (std::strcmp(argv[i], "--bench-dir") == 0)
      benchDir = argv[++i];
  }
  // A scratch program folder and per-user store: the real ones stay untouched.
  const auto scratch = std::filesystem::temp_directory_path() / "pictorell-window-bench";
  std::filesystem::create_directories(scratch / "prog");
  QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope,
                     QString::fromStdString((scratch / "user").string()));
  QSettings(QStringLiteral("Kovatek"), QStringLiteral("Brenlo")).setValue(QStringLiteral("Install"), "2026/01/01");
  app::StartupEnvironment env;
  env.programFolder = QString::fromStdString((scratch / "prog").string()) + "/";
  env.iniPath = env.programFolder + "bench.ini";
  app::frmMain window(env);
  window.txtSource_OLEDragDrop(sourcePicture(benchDir, scratch));

  const char* names[] = {"slide", "turn", "rotate", "zoom", "diffuse", "elastic", "hue"};
  std::printf("%-8s %12s %12s\n", "effect", "start ms", "step ms");
  for (int k = 0; k < 7; ++k) {
    window.cboType->setCurrentIndex(k);
    std::vector<double> starts, steps;
    for (int r = 0; r < runs; ++r) {
      QElapsedTimer t;
      t.start();
      window.cmdPrev_Click();  // returns once playback has started
      starts.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
      for (int s = 0; s < 10; ++s) {
        t.restart();
        window.tmr1_Timer();
        steps.push_back(static_cast<double>(t.nsecsElapsed()) / 1e6);
      }
      window.cmdPrev_Click();  // stop
    }
    std::printf("%-8s %12.1f %12.3f\n", names[k], median(starts), median(steps));
  }
  return 0;
}
