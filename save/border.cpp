#include "save/border.h"

#include "core/luminance.h"

namespace save {

core::Bitmap withBorder(const core::Bitmap& frame, core::Color colour) {
  core::Bitmap out = frame;
  if (out.width < 1 || out.height < 1) return out;
  for (int x = 0; x < out.width; ++x) {
    out.row(0)[x] = colour;
    out.row(out.height - 1)[x] = colour;
  }
  for (int y = 0; y < out.height; ++y) {
    out.row(y)[0] = colour;
    out.row(y)[out.width - 1] = colour;
  }
  return out;
}

bool edgeFaintOnWhite(const std::vector<core::Bitmap>& frames) {
  const auto faint = [](core::Color c) { return core::contrastRatio(c, core::kWhite) < 3.0; };
  for (const core::Bitmap& f : frames) {
    if (f.width < 1 || f.height < 1) continue;
    for (int x = 0; x < f.width; ++x)
      if (faint(f.row(0)[x]) || faint(f.row(f.height - 1)[x])) return true;
    for (int y = 0; y < f.height; ++y)
      if (faint(f.row(y)[0]) || faint(f.row(y)[f.width - 1])) return true;
  }
  return false;
}

}  // namespace save
