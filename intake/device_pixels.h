// Banner pixels on screens whose device pixel ratio is not 1. Each banner
// pixel is shown as n x n device pixels, n being the whole part of the ratio
// (one to one at 1.25 or 1.5, two by two at 2 or 2.5): a picture resampled
// to 1.25 or 1.5 gets columns and rows of uneven width, and the maker could
// no longer judge thin lines and text.
#pragma once

#include <QImage>
#include <QSize>

namespace intake {

// n for a device pixel ratio; at least 1.
int wholeDevicePixels(qreal ratio);

// The logical pixels a view needs to show `bannerPixels` as bannerPixels * n
// device pixels: rounded up, so the last banner pixel is never cut off.
int shownLength(int bannerPixels, qreal ratio);
QSize shownSize(QSize banner, qreal ratio);

// `image` (one pixel per banner pixel) marked so that QPainter::drawImage at
// a logical point puts each of its pixels on n x n device pixels, without
// resampling. Marking an image whose pixels are shared copies them; pass a
// temporary (or std::move) so that it does not.
QImage atWholeDevicePixels(QImage image, qreal ratio);

}  // namespace intake
