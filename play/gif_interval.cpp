#include "play/gif_interval.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

#include "core/rounding.h"

namespace output {
namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view trimBlanks(std::string_view s) {
  while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
  return s;
}

// [sign] digits [. digits] | [sign] . digits, then [e|E [sign] digits].
bool isPlainDecimal(std::string_view s) {
  std::size_t i = 0;
  auto digits = [&] {
    std::size_t start = i;
    while (i < s.size() && isDigit(s[i])) ++i;
    return i - start;
  };
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t mantissaDigits = digits();
  if (i < s.size() && s[i] == '.') {
    ++i;
    mantissaDigits += digits();
  }
  if (mantissaDigits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    if (digits() == 0) return false;
  }
  return i == s.size();
}

// The text as the nearest float; nullopt when it is too large for a float.
// A value too small for a float reads as zero.
std::optional<float> toFloat(std::string_view s) {
  // from_chars takes no leading "+".
  if (s.front() == '+') s.remove_prefix(1);
  float f = 0.0f;
  auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), f);
  if (ec == std::errc{} && end == s.data() + s.size()) return f;
  if (ec != std::errc::result_out_of_range) return std::nullopt;
  double d = 0.0;
  auto [dend, dec] = std::from_chars(s.data(), s.data() + s.size(), d);
  // Out of float range: an underflow counts as zero, an overflow is refused.
  if ((dec == std::errc{} || dec == std::errc::result_out_of_range) && dend == s.data() + s.size() &&
      std::fabs(d) < 1.0) {
    return std::signbit(d) ? -0.0f : 0.0f;
  }
  return std::nullopt;
}

}  // namespace

std::optional<std::int16_t> parseGifInterval(std::string_view text) {
  std::string_view s = trimBlanks(text);
  if (!isPlainDecimal(s)) return std::nullopt;
  std::optional<float> seconds = toFloat(s);
  if (!seconds || *seconds < 0.0f) return std::nullopt;
  const float hundredths = *seconds * 100.0f;  // single precision, as the stored value is
  if (!std::isfinite(hundredths) || hundredths >= 32768.0f) return std::nullopt;
  const std::int32_t rounded = core::roundToInt(hundredths);
  if (rounded > 32767) return std::nullopt;  // e.g. 32767.6
  return static_cast<std::int16_t>(rounded);
}

}  // namespace output
