// How long a banner of several scenes takes from its project file to the
// first whole-banner frame (reading the project, loading its pictures and
// composing every frame), and on to the animated GIF fitted into the Google
// preset's budget.
//
//   scenes_bench [PROJECT.pictorell] [--runs N]
//
// PROJECT defaults to assets/three-scenes/banner.pictorell (728 x 90: Zoom,
// Slide, Turn). Times are the wall clock, best and median of N runs.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "intake/picture_loader.h"
#include "gif/animation_file.h"
#include "scenes/banner_save.h"
#include "scenes/project_file.h"
#include "scenes/sequence.h"

namespace {

using Clock = std::chrono::steady_clock;

double seconds(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

void report(const char* what, std::vector<double> t) {
  std::sort(t.begin(), t.end());
  std::printf("%-40s best %.3f s  median %.3f s\n", what, t.front(), t[t.size() / 2]);
}

}  // namespace

int main(int argc, char** argv) {
  std::string project = "assets/three-scenes/banner.pictorell";
  int runs = 5;
  for (int i = 1; i < argc; ++i) {
    const std::string a = argv[i];
    if (a == "--runs" && i + 1 < argc) {
      runs = std::max(1, std::atoi(argv[++i]));
    } else {
      project = a;
    }
  }
  std::vector<double> toFirstFrame;
  std::vector<double> toFile;
  std::size_t bytes = 0;
  for (int r = 0; r < runs; ++r) {
    const Clock::time_point start = Clock::now();
    const scenes::ProjectRead read = scenes::readProjectFile(project);
    if (!read.project) {
      std::fprintf(stderr, "%s\n", read.error.c_str());
      return 1;
    }
    std::vector<scenes::Scene> list;
    for (const scenes::ProjectScene& ps : read.project->scenes) {
      const intake::LoadResult loaded = intake::loadPictureFile(scenes::picturePath(project, ps.picture));
      if (loaded.status != intake::LoadStatus::Loaded) {
        std::fprintf(stderr, "%s: %s\n", ps.picture.c_str(), loaded.message.c_str());
        return 1;
      }
      scenes::Scene s;
      s.picture = loaded.picture;
      s.options = ps.options;
      s.options.bannerColor = read.project->bannerColor.value_or(loaded.picture.pixel(0, 0));
      s.holdCs = ps.holdCs;
      list.push_back(s);
    }
    const auto banner = scenes::composeBanner(list, false);
    if (!banner) return 1;
    const Clock::time_point composed = Clock::now();
    output::AnimationRequest request;
    request.frames = std::make_shared<const std::vector<core::Bitmap>>(banner->frames);
    request.shape = scenes::bannerShape(*banner);
    request.intervalCs = 20;
    request.play.plays = 4;
    request.play.preset = output::AdPreset::Google;
    request.play.budgetBytes = 150000;
    const auto file = output::encodeAnimationFile(request);
    const Clock::time_point written = Clock::now();
    if (!file) return 1;
    bytes = file->bytes.size();
    toFirstFrame.push_back(seconds(start, composed));
    toFile.push_back(seconds(start, written));
  }
  report("project to every banner frame composed", toFirstFrame);
  report("project to the fitted GIF (Google, 150,000)", toFile);
  std::printf("fitted GIF: %zu bytes\n", bytes);
  return 0;
}
