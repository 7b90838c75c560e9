#include "measure.h"

#include "core/psnr.h"

#include <sys/wait.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <sstream>

namespace gifbench {
namespace {

// The standard output of a shell command, or nullopt when it failed.
std::optional<std::string> capture(const std::string& command) {
  FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return std::nullopt;
  std::string out;
  char buffer[1 << 16];
  std::size_t n = 0;
  while ((n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) out.append(buffer, n);
  const int status = ::pclose(pipe);
  if (status != 0) return std::nullopt;
  return out;
}

}  // namespace

std::optional<double> timeCommand(const std::string& command) {
  const auto start = std::chrono::steady_clock::now();
  const int status = std::system(command.c_str());
  const auto end = std::chrono::steady_clock::now();
  if (status != 0) return std::nullopt;
  return std::chrono::duration<double>(end - start).count();
}

bool haveProgram(const std::string& name) {
  return std::system(("command -v " + name + " >/dev/null 2>&1").c_str()) == 0;
}

std::string convertProgram() { return haveProgram("convert-im6.q16") ? "convert-im6.q16" : "convert"; }

std::optional<std::vector<core::Bitmap>> decodeFrames(const std::string& gifPath, int width, int height,
                                                      int frameDelay) {
  const std::string identify = haveProgram("identify-im6.q16") ? "identify-im6.q16" : "identify";
  const std::optional<std::string> delays = capture(identify + " -format '%T\\n' '" + gifPath + "'");
  const std::optional<std::string> rgb =
      capture(convertProgram() + " '" + gifPath + "' -coalesce -depth 8 rgb:- 2>/dev/null");
  if (!delays || !rgb) return std::nullopt;
  const std::size_t frameBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3;
  std::istringstream in(*delays);
  std::vector<core::Bitmap> out;
  int delay = 0;
  for (std::size_t i = 0; in >> delay; ++i) {
    if ((i + 1) * frameBytes > rgb->size()) return std::nullopt;
    core::Bitmap b(width, height);
    const auto* p = reinterpret_cast<const unsigned char*>(rgb->data()) + i * frameBytes;
    for (core::Color& c : b.px) {
      c = core::rgb(p[0], p[1], p[2]);
      p += 3;
    }
    const int repeats = std::max(1, (delay + frameDelay / 2) / frameDelay);
    for (int r = 0; r < repeats; ++r) out.push_back(b);
  }
  return out;
}

std::optional<Score> score(const std::vector<core::Picture>& given, const std::vector<core::Bitmap>& decoded) {
  if (given.size() != decoded.size() || given.empty()) return std::nullopt;
  Score s;
  s.minPsnr = INFINITY;
  double sum = 0.0;
  for (std::size_t i = 0; i < given.size(); ++i) {
    // The encoder's own measure, so that every figure means the same.
    const double p = core::framePsnr(*given[i].bitmap(), decoded[i]);
    if (given[i].bitmap()->px == decoded[i].px) ++s.exactFrames;
    s.minPsnr = std::min(s.minPsnr, p);
    s.perFrame.push_back(p);
    sum += p;
  }
  s.meanPsnr = sum / static_cast<double>(given.size());
  return s;
}

double median(std::vector<double> values) {
  if (values.empty()) return NAN;
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2.0;
}

}  // namespace gifbench
