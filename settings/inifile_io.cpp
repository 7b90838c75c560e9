#include "settings/inifile_io.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>

namespace settings {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t'; }

std::string trim(const std::string& s) {
  std::size_t b = 0;
  std::size_t e = s.size();
  while (b < e && isSpace(s[b])) ++b;
  while (e > b && isSpace(s[e - 1])) --e;
  return s.substr(b, e - b);
}

char lower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (lower(a[i]) != lower(b[i])) return false;
  return true;
}

// Decimal text: [sign] digits [. digits] [e [sign] digits], at least one
// digit in the mantissa. Spaces are already trimmed.
bool isDecimalNumber(const std::string& s) {
  std::size_t i = 0;
  if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
  std::size_t digits = 0;
  while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  if (i < s.size() && s[i] == '.') {
    ++i;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++digits;
  }
  if (digits == 0) return false;
  if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
    ++i;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    std::size_t expDigits = 0;
    while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i, ++expDigits;
    if (expDigits == 0) return false;
  }
  return i == s.size();
}

// The text without a leading "+", which from_chars does not take.
std::string withoutPlus(const std::string& s) { return (!s.empty() && s[0] == '+') ? s.substr(1) : s; }

// Roughly the decimal exponent of the number's leading digit, to tell an
// overflow (positive) from an underflow (negative) when a conversion is out
// of range. The text is a valid decimal number without a "+".
long long decimalMagnitude(const std::string& s) {
  std::size_t i = (!s.empty() && s[0] == '-') ? 1 : 0;
  long long intDigits = 0;
  long long leadingFractionZeros = 0;
  bool seenNonZero = false;
  for (; i < s.size() && s[i] != '.' && s[i] != 'e' && s[i] != 'E'; ++i) {
    if (s[i] != '0') seenNonZero = true;
    if (seenNonZero) ++intDigits;
  }
  if (i < s.size() && s[i] == '.') {
    for (++i; i < s.size() && s[i] != 'e' && s[i] != 'E'; ++i) {
      if (s[i] != '0') seenNonZero = true;
      if (!seenNonZero) ++leadingFractionZeros;
    }
  }
  long long exponent = 0;
  if (i < s.size()) {
    const char* first = s.data() + i + 1;
    if (*first == '+') ++first;
    const auto [p, ec] = std::from_chars(first, s.data() + s.size(), exponent);
    if (ec != std::errc())
      exponent =
          (s[i + 1] == '-') ? std::numeric_limits<long long>::min() / 2 : std::numeric_limits<long long>::max() / 2;
  }
  return intDigits > 0 ? exponent + intDigits : exponent - leadingFractionZeros;
}

bool parseDouble(const std::string& text, double& out) {
  const std::string t = trim(text);
  if (!isDecimalNumber(t)) return false;
  const std::string s = withoutPlus(t);
  const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), out);
  if (ec == std::errc::result_out_of_range) {
    if (decimalMagnitude(s) > 0) return false;  // too large: a conversion failure
    out = 0.0;                                  // too small: reads as zero
    return true;
  }
  return ec == std::errc() && ptr == s.data() + s.size();
}

template <typename Int>
bool roundToInteger(double v, Int& out) {
  const double r = std::nearbyint(v);
  if (!(r >= static_cast<double>(std::numeric_limits<Int>::min()) &&
        r <= static_cast<double>(std::numeric_limits<Int>::max())))
    return false;
  out = static_cast<Int>(r);
  return true;
}

bool hasLineBreakOrNul(const std::string& s) { return s.find_first_of(std::string("\r\n\0", 3)) != std::string::npos; }

// Writes `text` to a temporary file beside `path`, flushes it to the disk and
// renames it over `path`.
bool writeAtomically(const std::string& path, const std::string& text) {
  const std::string tmp = path + ".tmp." + std::to_string(::getpid());
  ::unlink(tmp.c_str());  // a leftover of an earlier crash
  const int fd = ::open(tmp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
  if (fd < 0) return false;
  const char* p = text.data();
  std::size_t left = text.size();
  bool ok = true;
  while (ok && left > 0) {
    const ssize_t n = ::write(fd, p, left);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0)
      ok = false;
    else
      p += n, left -= static_cast<std::size_t>(n);
  }
  if (ok && ::fsync(fd) != 0) ok = false;
  if (::close(fd) != 0) ok = false;
  if (ok && std::rename(tmp.c_str(), path.c_str()) != 0) ok = false;
  if (!ok) ::unlink(tmp.c_str());
  return ok;
}

}  // namespace

void inifile_IO::setFileName(const std::string& path) {
  fileName_ = path;
  loaded_ = false;
  lines_.clear();
}

void inifile_IO::load() const {
  if (loaded_) return;
  loaded_ = true;
  lines_.clear();
  std::error_code ec;
  const auto size = std::filesystem::file_size(fileName_, ec);
  if (ec || size > kMaxFileSize) return;
  std::ifstream in(fileName_, std::ios::binary);
  if (!in) return;
  lines_ = parse(std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>()));
}

std::vector<inifile_IO::Entry> inifile_IO::parse(std::string text) {
  std::vector<Entry> out;
  if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
  std::istringstream lines(text);
  std::string line;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    Entry e;
    e.line = line;
    const std::string t = trim(line);
    if (!t.empty() && t.front() == '[') {
      const std::size_t close = t.find(']');
      if (close != std::string::npos) {
        e.isSection = true;
        e.section = trim(t.substr(1, close - 1));
      }
    } else if (!t.empty() && t.front() != ';' && t.front() != '#') {
      const std::size_t eq = t.find('=');
      if (eq != std::string::npos) {
        e.isKey = true;
        e.key = trim(t.substr(0, eq));
        e.value = trim(t.substr(eq + 1));
      }
    }
    out.push_back(std::move(e));
  }
  return out;
}

int inifile_IO::findSection(const std::string& section) const {
  for (std::size_t i = 0; i < lines_.size(); ++i)
    if (lines_[i].isSection && sameName(lines_[i].section, section)) return static_cast<int>(i);
  return -1;
}

int inifile_IO::findKey(int header, const std::string& key) const {
  for (std::size_t i = static_cast<std::size_t>(header) + 1; i < lines_.size() && !lines_[i].isSection; ++i)
    if (lines_[i].isKey && sameName(lines_[i].key, key)) return static_cast<int>(i);
  return -1;
}

std::string inifile_IO::ReadStr(const std::string& section, const std::string& key, const std::string& def) const {
  load();
  const int header = findSection(section);
  if (header < 0) return def;
  const int at = findKey(header, key);
  if (at < 0) return def;
  std::string v = lines_[static_cast<std::size_t>(at)].value;
  const std::size_t nul = v.find('\0');
  if (nul != std::string::npos) v.resize(nul);
  if (v.size() > kMaxValueLength) v.resize(kMaxValueLength);
  return v.empty() ? def : v;
}

std::int16_t inifile_IO::ReadInt(const std::string& section, const std::string& key, std::int16_t def) const {
  double v = 0;
  std::int16_t out = def;
  if (parseDouble(ReadStr(section, key, ""), v) && roundToInteger(v, out)) return out;
  return def;
}

std::int32_t inifile_IO::ReadLng(const std::string& section, const std::string& key, std::int32_t def) const {
  double v = 0;
  std::int32_t out = def;
  if (parseDouble(ReadStr(section, key, ""), v) && roundToInteger(v, out)) return out;
  return def;
}

float inifile_IO::ReadSng(const std::string& section, const std::string& key, float def) const {
  const std::string t = trim(ReadStr(section, key, ""));
  if (!isDecimalNumber(t)) return def;
  const std::string s = withoutPlus(t);
  float f = 0;
  const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), f);
  if (ec == std::errc() && ptr == s.data() + s.size()) return f;
  double d = 0;
  if (!parseDouble(s, d) || std::fabs(d) > static_cast<double>(std::numeric_limits<float>::max())) return def;
  return static_cast<float>(d);  // a value too small for a float reads as 0 or a denormal
}

bool inifile_IO::WriteStr(const std::string& section, const std::string& key, const std::string& value) {
  const std::string s = trim(section);
  const std::string k = trim(key);
  if (s.empty() || k.empty() || hasLineBreakOrNul(s) || hasLineBreakOrNul(k) || hasLineBreakOrNul(value) ||
      s.find(']') != std::string::npos || k.find('=') != std::string::npos)
    return false;
  load();
  Entry e;
  e.isKey = true;
  e.key = k;
  e.value = trim(value);
  e.line = k + "=" + e.value;
  int header = findSection(s);
  if (header < 0) {
    if (!lines_.empty() && !trim(lines_.back().line).empty()) lines_.push_back(Entry{});
    Entry h;
    h.isSection = true;
    h.section = s;
    h.line = "[" + s + "]";
    lines_.push_back(h);
    lines_.push_back(e);
  } else if (const int at = findKey(header, k); at >= 0) {
    lines_[static_cast<std::size_t>(at)] = e;
  } else {
    // After the section's last non-blank line.
    std::size_t pos = static_cast<std::size_t>(header) + 1;
    for (std::size_t i = pos; i < lines_.size() && !lines_[i].isSection; ++i)
      if (!trim(lines_[i].line).empty()) pos = i + 1;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(pos), e);
  }
  dirty_ = true;
  return updateDepth_ > 0 ? true : store();
}

bool inifile_IO::DeleteSection(const std::string& section) {
  load();
  const int header = findSection(section);
  if (header < 0) return true;
  auto end = lines_.begin() + header + 1;
  while (end != lines_.end() && !end->isSection) ++end;
  lines_.erase(lines_.begin() + header, end);
  dirty_ = true;
  return updateDepth_ > 0 ? true : store();
}

std::vector<std::string> inifile_IO::GetSectionNames() const {
  load();
  std::vector<std::string> names;
  for (const Entry& e : lines_)
    if (e.isSection) names.push_back(e.section);
  return names;
}

void inifile_IO::beginUpdate() { ++updateDepth_; }

bool inifile_IO::endUpdate() {
  if (updateDepth_ > 0 && --updateDepth_ > 0) return true;
  return dirty_ ? store() : true;
}

bool inifile_IO::store() {
  if (fileName_.empty()) return false;
  std::string text;
  for (const Entry& e : lines_) text += e.line + "\n";
  const bool ok = writeAtomically(fileName_, text);
  if (ok) dirty_ = false;
  return ok;
}

void inifile_IO::loadText(const std::string& text) {
  loaded_ = true;
  lines_ = parse(text);
}

}  // namespace settings
