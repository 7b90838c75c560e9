// Helpers shared by the test suites.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "core/color.h"
#include "core/picture.h"
#include "core/surface.h"

namespace testutil {

// A surface of the given size whose Picture is a copy of what `fill` drew,
// so that it counts as holding a picture (handle not 0).
core::Surface makeSurface(int w, int h, core::Color back = core::kWhite);

// Sets every pixel to a colour that differs from its neighbours and from
// other rows and columns (red = x, green = y, blue = x + y, all mod 256).
void fillGradient(core::Surface& s);

// The 6 x 5 "F", red on blue: catches horizontal and vertical flips and a
// red/blue swap.
core::Picture asymmetricF();
inline constexpr core::Color kFRed = 0x0000FF;
inline constexpr core::Color kFBlue = 0xFF0000;

// Installs the surface's current bitmap as its Picture (as loading a source
// does), so the surface holds a picture.
void adoptAsPicture(core::Surface& s);

// Pixel-exact comparison; on a difference, says where.
::testing::AssertionResult surfacesEqual(const core::Picture& a, const core::Picture& b);

// Peak signal-to-noise ratio over the three channels; +inf for equal pictures.
double psnr(const core::Picture& a, const core::Picture& b);

// A fresh empty directory under the system's temporary folder.
std::filesystem::path makeTempDir(const std::string& tag);

// The shared test pictures (../shared/testdata), or an empty path when
// absent; tests skip with a message then.
std::filesystem::path testdataDir();

}  // namespace testutil
