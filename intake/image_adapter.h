// The one place that converts between Qt images and the core's pictures.
#pragma once

#include <QImage>

#include "core/picture.h"

namespace intake {

// A picture as a QImage in Format_RGB32 (deep copy). The empty picture gives a
// null QImage.
QImage toQImage(const core::Picture& picture);

// Any QImage as a picture of 0x00BBGGRR values. Transparent pixels are laid
// over white, as a picture control shows them. A null image gives the empty
// picture.
core::Picture fromQImage(const QImage& image);

}  // namespace intake
