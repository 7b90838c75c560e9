// The interval rule of the GIF options dialog: the text of the interval box
// (seconds) to the interval that the animated GIF stores.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace output {

// The interval text in seconds to hundredths of a second, or nullopt when the
// dialog must refuse it ("フレーム表示間隔が不正です。").
//
// Accepted: an optional sign, digits with an optional decimal point (at least
// one digit), an optional exponent ("e" or "E", optional sign, digits);
// spaces or tabs around it are ignored. The text is read as a float, times
// 100 in float arithmetic, then rounded to the nearest integer with halves to
// even: "0.05" -> 5, "0.1" -> 10, "0.125" -> 12, "327.67" -> 32767.
// Refused: anything else (including "", "abc", "inf", "1,5"), a value whose
// rounded result leaves 0..32767 ("327.68"), a float overflow ("1e39"), and
// every negative value: a GIF stores the delay unsigned, so -1 would become a
// delay of about ten minutes. Zero (also "-0") stays valid.
std::optional<std::int16_t> parseGifInterval(std::string_view text);

}  // namespace output
