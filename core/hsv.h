// RGB <-> HSV conversion object used by the Hue effect and the hue bar.
#pragma once

#include <cstdint>

namespace core {

// A caller sets the inputs, calls a method and reads the outputs; one object
// is reused for many conversions. All arithmetic is single precision, each
// operation rounded to float, so the results are identical on every machine.
class HSV {
 public:
  std::int16_t Red = 0;    // 0..255
  std::int16_t Green = 0;  // 0..255
  std::int16_t Blue = 0;   // 0..255
  float Hue = 0.0f;        // degrees; ToHsv yields 0 <= Hue < 360
  float Saturation = 0.0f; // percent, 0..100
  float Value = 0.0f;      // percent, 0..100

  // Hue, Saturation and Value from Red, Green and Blue. When two channels tie
  // for the maximum, red wins, then green.
  void ToHsv();

  // Red, Green and Blue from Hue, Saturation and Value. Channels are
  // floor(c * 255.9999): 1.0 gives 255, 0.5 gives 127. A hue of exactly 360
  // folds to 0; a hue below 0 or above 360 gives black.
  void ToRgb();
};

}  // namespace core
