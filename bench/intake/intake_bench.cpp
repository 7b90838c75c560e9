// Loads every file of the outside test pictures (and hostile JPEG, PNG and
// WebP pictures made here) through the source loader and reports the slowest
// load and the process's peak memory above idle. Goals: every load under
// 1 s, peak under 64 MB above idle. Build in Release; run:
//   build-release/bin/intake_bench [testdata folder]   (default: $PICTORELL_TESTDATA)
//   build-release/bin/intake_bench --write-seeds DIR   (the made PNG and WebP
//       pictures under 64 KB, as fuzzing seeds)
#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>

#include "intake/picture_loader.h"
#include "made_pictures.h"

namespace {

namespace fs = std::filesystem;

// A /proc/self/status field in kB, or -1.
long statusKb(const char* field) {
  std::ifstream in("/proc/self/status");
  std::string line;
  while (std::getline(in, line))
    if (line.rfind(field, 0) == 0) return std::atol(line.c_str() + std::char_traits<char>::length(field));
  return -1;
}

// Starts peak-RSS tracking afresh, so that start-up does not count.
void resetPeak() { std::ofstream("/proc/self/clear_refs") << "5"; }

struct Sample {
  std::string name;
  double ms = 0;
  std::string outcome;
};

const char* statusName(intake::LoadStatus s) {
  switch (s) {
    case intake::LoadStatus::Loaded:
      return "loaded";
    case intake::LoadStatus::NotFound:
      return "not found";
    case intake::LoadStatus::TooLarge:
      return "too large";
    case intake::LoadStatus::Unreadable:
      return "refused";
  }
  return "?";
}

template <typename Load>
Sample measure(std::string name, Load load) {
  const auto t0 = std::chrono::steady_clock::now();
  const intake::LoadResult r = load();
  const auto t1 = std::chrono::steady_clock::now();
  return {std::move(name), std::chrono::duration<double, std::milli>(t1 - t0).count(), statusName(r.status)};
}

// Hostile pictures made in memory: a JPEG whose first scan follows a
// flood of comment segments, and a banner-sized JPEG for comparison.
std::vector<std::pair<std::string, QByteArray>> madeHere() {
  QImage img(1000, 200, QImage::Format_RGB32);
  img.fill(qRgb(51, 102, 204));
  QByteArray jpeg;
  QBuffer buf(&jpeg);
  buf.open(QIODevice::WriteOnly);
  img.save(&buf, "JPEG");
  QByteArray flood = jpeg;
  QByteArray com;
  for (int i = 0; i < 2'000'000; ++i) com.append("\xFF\xFE\x00\x03x", 5);
  flood.insert(2, com);
  std::vector<std::pair<std::string, QByteArray>> out = {{"(made) jpeg 1000x200", jpeg},
                                                         {"(made) jpeg with 2,000,000 comment markers", flood}};
  for (const auto& [name, bytes] : madepics::hostileSamples())
    out.emplace_back("(made) " + name,
                     QByteArray(reinterpret_cast<const char*>(bytes.data()), static_cast<qsizetype>(bytes.size())));
  return out;
}

int writeSeeds(const fs::path& dir) {
  fs::create_directories(dir);
  int written = 0;
  auto all = madepics::goodSamples();
  for (auto& sample : madepics::hostileSamples(1)) all.push_back(std::move(sample));
  for (const auto& [name, bytes] : all) {
    if (bytes.size() > 65536) continue;
    std::string file;
    for (char c : name) file += std::isalnum(static_cast<unsigned char>(c)) || c == '.' ? c : '-';
    std::ofstream(dir / file, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ++written;
  }
  std::printf("%d seeds in %s\n", written, dir.c_str());
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc == 3 && std::string(argv[1]) == "--write-seeds") return writeSeeds(argv[2]);
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const char* env = std::getenv("PICTORELL_TESTDATA");
  const fs::path root = argc > 1 ? fs::path(argv[1]) : fs::path(env ? env : "");
  if (root.empty() || !fs::is_directory(root)) {
    std::fprintf(stderr, "no testdata folder: pass it or set PICTORELL_TESTDATA\n");
    return 2;
  }
  std::vector<fs::path> files;
  for (const auto& e : fs::recursive_directory_iterator(root))
    if (e.is_regular_file()) files.push_back(e.path());
  std::sort(files.begin(), files.end());
  const auto hostile = madeHere();

  const long idleKb = statusKb("VmRSS:");
  resetPeak();
  std::vector<Sample> samples;
  for (const fs::path& f : files)
    samples.push_back(measure(fs::relative(f, root).string(), [&] { return intake::loadPictureFile(f.string()); }));
  for (const auto& sample : hostile)  // (clang cannot capture a structured binding)
    samples.push_back(measure(sample.first, [&] { return intake::loadPictureData(sample.second); }));
  const long peakKb = statusKb("VmHWM:");

  std::sort(samples.begin(), samples.end(), [](const Sample& a, const Sample& b) { return a.ms > b.ms; });
  std::printf("%zu loads; slowest first:\n", samples.size());
  for (std::size_t i = 0; i < std::min<std::size_t>(8, samples.size()); ++i)
    std::printf("  %8.2f ms  %-10s %s\n", samples[i].ms, samples[i].outcome.c_str(), samples[i].name.c_str());
  const double peakMb = static_cast<double>(peakKb - idleKb) / 1024.0;
  std::printf("slowest load: %.2f ms (goal < 1000 ms)\n", samples.front().ms);
  std::printf("peak memory above idle: %.1f MB (idle %.1f MB; goal < 64 MB)\n", peakMb, idleKb / 1024.0);
  // The hostile inputs above stay alive for the whole run on purpose: they
  // are part of what a user's process holds while loading.
  return samples.front().ms < 1000.0 && peakMb < 64.0 ? 0 : 1;
}
