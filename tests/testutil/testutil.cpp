#include <gtest/gtest.h>

#include "testutil.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <random>
#include <sstream>

namespace testutil {

core::Surface makeSurface(int w, int h, core::Color back) {
  core::Surface s(w, h, back);
  fillGradient(s);
  adoptAsPicture(s);
  return s;
}

void fillGradient(core::Surface& s) {
  core::Color* bits = s.mutableBits();
  for (int y = 0; y < s.height(); ++y)
    for (int x = 0; x < s.width(); ++x) bits[y * s.width() + x] = core::rgb(x % 256, y % 256, (x + y) % 256);
}

void adoptAsPicture(core::Surface& s) { s.setPicture(s.image()); }

core::Picture asymmetricF() {
  core::Bitmap b(6, 5, kFBlue);
  const char* rows[5] = {".####.", ".#....", ".###..", ".#....", ".#...."};
  for (int y = 0; y < 5; ++y)
    for (int x = 0; x < 6; ++x)
      if (rows[y][x] == '#') b.row(y)[x] = kFRed;
  return core::Picture::fromBitmap(std::move(b));
}

::testing::AssertionResult surfacesEqual(const core::Picture& a, const core::Picture& b) {
  if (a.width() != b.width() || a.height() != b.height()) {
    return ::testing::AssertionFailure() << "size " << a.width() << "x" << a.height() << " vs " << b.width() << "x"
                                         << b.height();
  }
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) {
        std::ostringstream os;
        os << std::hex << "pixel (" << std::dec << x << ", " << y << "): 0x" << std::hex << a.pixel(x, y)
           << " vs 0x" << b.pixel(x, y);
        return ::testing::AssertionFailure() << os.str();
      }
  return ::testing::AssertionSuccess();
}

double psnr(const core::Picture& a, const core::Picture& b) {
  double sum = 0;
  const long n = static_cast<long>(a.width()) * a.height() * 3;
  for (int y = 0; y < a.height(); ++y)
    for (int x = 0; x < a.width(); ++x) {
      const core::Color p = a.pixel(x, y);
      const core::Color q = b.pixel(x, y);
      for (int sh = 0; sh < 24; sh += 8) {
        const double d = static_cast<double>((p >> sh) & 0xFF) - static_cast<double>((q >> sh) & 0xFF);
        sum += d * d;
      }
    }
  if (sum == 0 || n == 0) return std::numeric_limits<double>::infinity();
  return 10.0 * std::log10(255.0 * 255.0 / (sum / static_cast<double>(n)));
}

std::filesystem::path makeTempDir(const std::string& tag) {
  static std::mt19937_64 rng{std::random_device{}()};
  auto dir = std::filesystem::temp_directory_path() / ("pictorell-" + tag + "-" + std::to_string(rng()));
  std::filesystem::create_directories(dir);
  return dir;
}

std::filesystem::path testdataDir() {
  const char* env = std::getenv("PICTORELL_TESTDATA");
  if (env && std::filesystem::is_directory(env)) return std::filesystem::path(env);
  return {};
}

}  // namespace testutil
