// WCAG's relative luminance of an sRGB colour, and its linear channels.
#pragma once

#include "core/color.h"

namespace core {

// A channel of 0..255 as linear light, 0..1.
double linearChannel(int value);

// 0 for black, 1 for white: 0.2126 R + 0.7152 G + 0.0722 B on linear values.
double relativeLuminance(Color c);

// WCAG's contrast ratio of two colours, 1..21.
double contrastRatio(Color a, Color b);

}  // namespace core
