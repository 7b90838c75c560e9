#include "check/flash.h"

#include <algorithm>
#include <cmath>

#include "check/banner_file.h"
#include "core/luminance.h"

namespace check {

namespace {

// Relative luminance and u'v' in sixteen bits: 65535 is 1.0.
constexpr double kScale = 65535.0;
constexpr int kTenthOfMax = 6554;      // 0.1
constexpr int kDarkerBelow = 52428;    // 0.8
constexpr std::int64_t kRedApart = 13107;  // 0.2 in u'v'
constexpr double kWhiteU = 0.1978;     // D65, the chromaticity of black taken as the page's white
constexpr double kWhiteV = 0.4683;

struct Measured {
  std::uint16_t lum;
  std::uint16_t u;
  std::uint16_t v;
  bool red;
};

Measured measure(core::Color c) {
  const double r = core::linearChannel(core::redOf(c));
  const double g = core::linearChannel(core::greenOf(c));
  const double b = core::linearChannel(core::blueOf(c));
  const double y = 0.2126 * r + 0.7152 * g + 0.0722 * b;
  const double x = 0.4124 * r + 0.3576 * g + 0.1805 * b;
  const double z = 0.0193 * r + 0.1192 * g + 0.9505 * b;
  const double d = x + 15 * y + 3 * z;
  const double u = d > 1e-9 ? 4 * x / d : kWhiteU;
  const double v = d > 1e-9 ? 9 * y / d : kWhiteV;
  const double sum = r + g + b;
  const auto q = [](double value) { return static_cast<std::uint16_t>(std::lround(std::clamp(value, 0.0, 1.0) * kScale)); };
  return {q(y), q(u), q(v), sum > 0 && r / sum >= 0.8};
}

}  // namespace

bool canFlash(int width, int height) {
  return static_cast<std::int64_t>(width) * height > kFlashArea;
}

struct FlashMeter::State {
  int width;
  int height;
  bool started = false;
  // Per pixel: the lowest and highest luminance since its last change and
  // the direction of that change (+1 up, -1 down, 0 none yet), for the
  // general flash; the state of its last change, for the red flash.
  std::vector<std::uint16_t> lo, hi, refU, refV;
  std::vector<std::int8_t> dir;
  std::vector<std::uint8_t> refRed;
  std::vector<std::uint8_t> changedGeneral, changedRed;
  std::vector<std::int32_t> sums;  // (width + 1) x (height + 1) running sums

  // The most changed pixels inside any field-sized rectangle.
  int worstField(const std::vector<std::uint8_t>& changed) {
    const int fw = std::min(width, kFieldWidth);
    const int fh = std::min(height, kFieldHeight);
    const auto w1 = static_cast<std::size_t>(width) + 1;
    sums.assign(w1 * (static_cast<std::size_t>(height) + 1), 0);
    for (int y = 0; y < height; ++y) {
      std::int32_t rowSum = 0;
      for (int x = 0; x < width; ++x) {
        rowSum += changed[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)];
        sums[(static_cast<std::size_t>(y) + 1) * w1 + static_cast<std::size_t>(x) + 1] =
            sums[static_cast<std::size_t>(y) * w1 + static_cast<std::size_t>(x) + 1] + rowSum;
      }
    }
    std::int32_t best = 0;
    for (int y = 0; y + fh <= height; ++y)
      for (int x = 0; x + fw <= width; ++x) {
        const auto at = [&](int xx, int yy) {
          return sums[static_cast<std::size_t>(yy) * w1 + static_cast<std::size_t>(xx)];
        };
        best = std::max(best, at(x + fw, y + fh) - at(x, y + fh) - at(x + fw, y) + at(x, y));
      }
    return best;
  }
};

FlashMeter::FlashMeter(int width, int height) : s_(std::make_unique<State>()) {
  s_->width = width;
  s_->height = height;
  const auto n = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
  s_->lo.resize(n);
  s_->hi.resize(n);
  s_->refU.resize(n);
  s_->refV.resize(n);
  s_->dir.assign(n, 0);
  s_->refRed.resize(n);
  s_->changedGeneral.resize(n);
  s_->changedRed.resize(n);
}

FlashMeter::~FlashMeter() = default;

void FlashMeter::add(const core::Bitmap& frame, std::int64_t atMs) {
  State& s = *s_;
  if (frame.width != s.width || frame.height != s.height) return;
  const std::size_t n = s.lo.size();
  int generalCount = 0;
  int redCount = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const Measured m = measure(frame.px[i]);
    if (!s.started) {
      s.lo[i] = s.hi[i] = m.lum;
      s.refU[i] = m.u;
      s.refV[i] = m.v;
      s.refRed[i] = m.red;
      continue;
    }
    // General: a rise from the lowest point, or a fall from the highest,
    // each opposite to the change before it.
    s.lo[i] = std::min(s.lo[i], m.lum);
    s.hi[i] = std::max(s.hi[i], m.lum);
    bool general = false;
    if (s.dir[i] != 1 && m.lum - s.lo[i] >= kTenthOfMax && s.lo[i] < kDarkerBelow) {
      s.dir[i] = 1;
      general = true;
    } else if (s.dir[i] != -1 && s.hi[i] - m.lum >= kTenthOfMax && m.lum < kDarkerBelow) {
      s.dir[i] = -1;
      general = true;
    }
    if (general) s.lo[i] = s.hi[i] = m.lum;
    s.changedGeneral[i] = general;
    generalCount += general;
    // Red: a move of more than 0.2 in u'v' to or from a saturated red.
    const std::int64_t du = static_cast<std::int64_t>(m.u) - s.refU[i];
    const std::int64_t dv = static_cast<std::int64_t>(m.v) - s.refV[i];
    const bool apart = du * du + dv * dv > kRedApart * kRedApart;
    const bool red = apart && (m.red || s.refRed[i]);
    if (apart) {
      s.refU[i] = m.u;
      s.refV[i] = m.v;
      s.refRed[i] = m.red;
    }
    s.changedRed[i] = red;
    redCount += red;
  }
  if (!s.started) {
    s.started = true;
    return;
  }
  if (generalCount > kFlashArea && s.worstField(s.changedGeneral) > kFlashArea) general_.push_back(atMs);
  if (redCount > kFlashArea && s.worstField(s.changedRed) > kFlashArea) red_.push_back(atMs);
}

int mostChangesInASecond(const std::vector<std::int64_t>& changesMs) {
  int best = 0;
  std::size_t first = 0;
  for (std::size_t last = 0; last < changesMs.size(); ++last) {
    while (changesMs[last] - changesMs[first] >= 1000) ++first;
    best = std::max(best, static_cast<int>(last - first + 1));
  }
  return best;
}

std::string measureFlashes(int width, int height, const std::vector<int>& delaysMs, int plays,
                           const PlayComposer& compose, FlashResult& result) {
  result = {};
  if (!canFlash(width, height) || delaysMs.size() < 2) return "";
  std::int64_t onePlay = 0;
  for (int d : delaysMs) onePlay += std::max(d, 1);
  // Enough plays to see a whole second after the first play ends, within
  // the composing budget.
  const std::int64_t area = static_cast<std::int64_t>(width) * height;
  const auto framesPerPlay = static_cast<std::int64_t>(delaysMs.size());
  std::int64_t passes = 2 + (1000 + onePlay - 1) / onePlay;
  if (plays > 0) passes = std::min<std::int64_t>(passes, plays);
  const auto budget = static_cast<std::int64_t>(2 * kMaxComposedPixels);
  passes = std::max<std::int64_t>(1, std::min(passes, budget / std::max<std::int64_t>(1, framesPerPlay * area)));
  FlashMeter meter(width, height);
  std::int64_t at = 0;
  for (std::int64_t pass = 0; pass < passes; ++pass) {
    const std::string problem = compose([&](const core::Bitmap& frame, int index) {
      if (index < 0 || static_cast<std::size_t>(index) >= delaysMs.size()) return false;
      meter.add(frame, at);
      at += std::max(delaysMs[static_cast<std::size_t>(index)], 1);
      return true;
    });
    if (!problem.empty()) return problem;
  }
  result.generalChanges = mostChangesInASecond(meter.generalChanges());
  result.redChanges = mostChangesInASecond(meter.redChanges());
  return "";
}

}  // namespace check
