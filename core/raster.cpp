#include "core/raster.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

#include "core/rounding.h"

namespace core {

namespace {

struct View {
  const Color* data = nullptr;
  int width = 0;
  int height = 0;
  const Color* row(int y) const { return data + static_cast<std::ptrdiff_t>(y) * width; }
};

template <RasterOp Op>
inline void combine(Color& d, Color s) {
  if constexpr (Op == SRCCOPY) {
    d = s;
  } else if constexpr (Op == SRCPAINT) {
    d |= s;
  } else {
    d &= s;
  }
}

template <RasterOp Op>
void blitRows(Color* dst, int dstW, const Color* src, int srcW, int rows, int cols) {
  for (int j = 0; j < rows; ++j) {
    Color* d = dst + static_cast<std::ptrdiff_t>(j) * dstW;
    const Color* s = src + static_cast<std::ptrdiff_t>(j) * srcW;
    for (int i = 0; i < cols; ++i) combine<Op>(d[i], s[i]);
  }
}

// One axis of a stretched copy: for each destination index, where it lands
// and which source positions (inside the source) feed it.
struct AxisMap {
  std::vector<int> dest;     // destination position per entry
  std::vector<int> first;    // offset into src for each entry; first[n] = end
  std::vector<int> src;      // source positions, flattened
};

AxisMap mapAxis(int dOrigin, int dExtent, int dSize, int sOrigin, int sExtent, int sSize) {
  AxisMap m;
  const long long n = std::llabs(dExtent);
  const long long s = std::llabs(sExtent);
  if (n == 0 || s == 0) return m;
  for (long long k = 0; k < n; ++k) {
    const long long dpos = dExtent > 0 ? dOrigin + k : dOrigin - k;
    if (dpos < 0 || dpos >= dSize) continue;
    long long a;
    long long b;
    if (s >= n) {  // shrinking or scale 1: AND over the covered source pixels
      a = k * s / n;
      b = (k + 1) * s / n;
    } else {  // enlarging: the source pixel nearest to the destination centre
      a = (2 * k + 1) * s / (2 * n);
      b = a + 1;
    }
    const std::size_t before = m.src.size();
    for (long long t = a; t < b; ++t) {
      const long long spos = sExtent > 0 ? sOrigin + t : sOrigin - t;
      if (spos >= 0 && spos < sSize) m.src.push_back(static_cast<int>(spos));
    }
    if (m.src.size() == before) continue;  // nothing of the source falls here
    m.dest.push_back(static_cast<int>(dpos));
    m.first.push_back(static_cast<int>(before));
  }
  m.first.push_back(static_cast<int>(m.src.size()));
  return m;
}

template <RasterOp Op>
void stretchWith(Surface& dst, const AxisMap& mx, const AxisMap& my, const View& src) {
  Color* out = dst.mutableBits();
  const int dstW = dst.width();
  for (std::size_t yi = 0; yi < my.dest.size(); ++yi) {
    Color* drow = out + static_cast<std::ptrdiff_t>(my.dest[yi]) * dstW;
    const int y0 = my.first[yi];
    const int y1 = my.first[yi + 1];
    for (std::size_t xi = 0; xi < mx.dest.size(); ++xi) {
      const int x0 = mx.first[xi];
      const int x1 = mx.first[xi + 1];
      Color v = ~Color{0};
      for (int yy = y0; yy < y1; ++yy) {
        const Color* srow = src.row(my.src[static_cast<std::size_t>(yy)]);
        for (int xx = x0; xx < x1; ++xx) v &= srow[mx.src[static_cast<std::size_t>(xx)]];
      }
      combine<Op>(drow[mx.dest[xi]], v);
    }
  }
}

void stretch(Surface& dst, int dx, int dy, int dw, int dh, const View& src, int sx, int sy, int sw, int sh,
             RasterOp rop) {
  const AxisMap mx = mapAxis(dx, dw, dst.width(), sx, sw, src.width);
  const AxisMap my = mapAxis(dy, dh, dst.height(), sy, sh, src.height);
  if (mx.dest.empty() || my.dest.empty()) return;
  switch (rop) {
    case SRCCOPY: stretchWith<SRCCOPY>(dst, mx, my, src); break;
    case SRCPAINT: stretchWith<SRCPAINT>(dst, mx, my, src); break;
    case SRCAND: stretchWith<SRCAND>(dst, mx, my, src); break;
  }
}

}  // namespace

void BitBlt(Surface& dst, int dx, int dy, int w, int h, const Surface& src, int sx, int sy, RasterOp rop) {
  // Clip (i, j) so that both the destination and the source position exist.
  const long long i0 = std::max({0LL, -static_cast<long long>(dx), -static_cast<long long>(sx)});
  const long long j0 = std::max({0LL, -static_cast<long long>(dy), -static_cast<long long>(sy)});
  const long long i1 = std::min({static_cast<long long>(w), static_cast<long long>(dst.width()) - dx,
                                 static_cast<long long>(src.width()) - sx});
  const long long j1 = std::min({static_cast<long long>(h), static_cast<long long>(dst.height()) - dy,
                                 static_cast<long long>(src.height()) - sy});
  if (i1 <= i0 || j1 <= j0) return;

  // Blitting a surface onto itself reads from a snapshot of the pixels
  // taken before the destination is written.
  const Picture snapshot = (&dst == &src) ? src.image() : Picture{};
  const Color* srcBits = snapshot.isEmpty() ? src.bits() : snapshot.row(0);
  Color* dstBits = dst.mutableBits();

  const int cols = static_cast<int>(i1 - i0);
  const int rows = static_cast<int>(j1 - j0);
  Color* d = dstBits + (dy + j0) * dst.width() + (dx + i0);
  const Color* s = srcBits + (sy + j0) * src.width() + (sx + i0);
  switch (rop) {
    case SRCCOPY: blitRows<SRCCOPY>(d, dst.width(), s, src.width(), rows, cols); break;
    case SRCPAINT: blitRows<SRCPAINT>(d, dst.width(), s, src.width(), rows, cols); break;
    case SRCAND: blitRows<SRCAND>(d, dst.width(), s, src.width(), rows, cols); break;
  }
}

void StretchBlt(Surface& dst, int dx, int dy, int dw, int dh, const Surface& src, int sx, int sy, int sw, int sh,
                RasterOp rop) {
  const Picture snapshot = src.image();  // also covers dst == src
  StretchBlt(dst, dx, dy, dw, dh, snapshot, sx, sy, sw, sh, rop);
}

void StretchBlt(Surface& dst, int dx, int dy, int dw, int dh, const Picture& src, int sx, int sy, int sw, int sh,
                RasterOp rop) {
  if (src.isEmpty() || src.width() == 0 || src.height() == 0) return;
  const View view{src.row(0), src.width(), src.height()};
  stretch(dst, dx, dy, dw, dh, view, sx, sy, sw, sh, rop);
}

void PaintPicture(Surface& dst, const Picture& pic, double x1, double y1, double width1, double height1,
                  RasterOp rop) {
  if (pic.isEmpty()) return;
  StretchBlt(dst, roundToInt(x1), roundToInt(y1), roundToInt(width1), roundToInt(height1), pic, 0, 0, pic.width(),
             pic.height(), rop);
}

void Line(Surface& dst, int x1, int y1, int x2, int y2, Color c) {
  // Bresenham, stopping before the end point.
  const int adx = std::abs(x2 - x1);
  const int ady = std::abs(y2 - y1);
  const int stepX = x1 < x2 ? 1 : -1;
  const int stepY = y1 < y2 ? 1 : -1;
  int err = adx - ady;
  int x = x1;
  int y = y1;
  while (x != x2 || y != y2) {
    dst.setPixel(x, y, c);
    const int e2 = 2 * err;
    if (e2 > -ady) {
      err -= ady;
      x += stepX;
    }
    if (e2 < adx) {
      err += adx;
      y += stepY;
    }
  }
}

}  // namespace core
