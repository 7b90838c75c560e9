// How soon the scene list shows a project's banner: the time from opening
// the project file (reading it and its pictures) until the first frame of
// the whole banner is in the main window's preview (all frames composed).
//
//   QT_QPA_PLATFORM=offscreen scene_window_bench [--runs N] PROJECT.pictorell
//
// Goal: under 0.5 s for the three-scene 728 x 90 sample.
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

#include "app/frm_main.h"
#include "app/frm_scenes.h"
#include "app/picture_view.h"
#include "app/prompts.h"

namespace {

class NoPrompts final : public app::Prompts {
 public:
  void message(app::MessageIcon, const QString& text) override { std::fprintf(stderr, "%s\n", qPrintable(text)); }
  QString openFile(const app::FileDialogRequest&) override { return {}; }
  QString saveFile(const app::FileDialogRequest&) override { return {}; }
  std::optional<QColor> chooseColor(const QColor&) override { return std::nullopt; }
  bool hasApplicationFor(const QString&) override { return false; }
  bool openDocument(const QString&, std::function<void()>) override { return false; }
};

}  // namespace

int main(int argc, char** argv) {
  QApplication application(argc, argv);
  int runs = 5;
  std::string project;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--runs") == 0 && i + 1 < argc)
      runs = std::max(1, std::atoi(argv[++i]));
    else
      project = argv[i];
  }
  if (project.empty()) {
    std::fprintf(stderr, "usage: scene_window_bench [--runs N] PROJECT.pictorell\n");
    return 2;
  }
  const auto dir = std::filesystem::temp_directory_path() / "scene_window_bench";
  std::filesystem::create_directories(dir);
  app::StartupEnvironment env;
  env.programFolder = QString::fromStdString(dir.string()) + "/";
  env.iniPath = env.programFolder + "brenlo.ini";
  app::frmMain window(env, std::make_unique<NoPrompts>());
  app::frmScenes& list = *window.sceneList();
  std::vector<double> ms;
  for (int r = 0; r < runs; ++r) {
    QElapsedTimer clock;
    clock.start();
    if (!list.openProject(QString::fromStdString(project))) return 1;
    list.cmdPlay_Click();
    window.picX->repaint();
    const double t = static_cast<double>(clock.nsecsElapsed()) / 1e6;
    if (!list.isPlaying()) return 1;
    list.cmdPlay_Click();  // stop
    ms.push_back(t);
  }
  std::sort(ms.begin(), ms.end());
  const auto& b = list.listed().front().scene.picture;
  std::printf("%zu scenes, %d x %d: open project -> first banner frame: median %.1f ms (min %.1f, %d runs)\n",
              list.listed().size(), b.width(), b.height(), ms[ms.size() / 2], ms.front(), runs);
  return 0;
}
