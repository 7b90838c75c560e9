// inifile_IO: reads and writes one INI text file (sections in square
// brackets, key=value lines, values as decimal text) the way the classic
// profile-string functions do. Plain C++ without Qt, so that it can be fuzzed.
//
// Reading: section and key names compare case-insensitively (ASCII); blank
// lines and lines starting with ";" or "#" are ignored; spaces around names
// and values are dropped; a UTF-8 byte-order mark and CR LF line ends are
// accepted. The first occurrence of a section or key wins, as with the
// profile functions.
// Writing: the file is rewritten through a temporary file in the same folder
// that is then renamed over it, so a crash never leaves it half written.
// Unrelated sections, keys and comments are kept.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace settings {

class inifile_IO {
 public:
  // The longest value text a read returns (the profile functions read with a
  // 1024-character buffer that keeps room for the terminating NUL).
  static constexpr std::size_t kMaxValueLength = 1023;
  // Files beyond this size are treated as empty: a settings file is a few
  // hundred bytes, and a huge one must not be read into memory.
  static constexpr std::uintmax_t kMaxFileSize = 1u << 20;

  inifile_IO() = default;  // FileName is empty

  const std::string& FileName() const { return fileName_; }
  void setFileName(const std::string& path);

  // The value text, cut at its first NUL and to kMaxValueLength; `def` when
  // the key is missing or its value is empty.
  std::string ReadStr(const std::string& section, const std::string& key, const std::string& def) const;
  // A numeric value converted to the type: decimal text with an optional
  // sign, decimal point and exponent, surrounded by optional spaces; rounded
  // to the nearest integer (halves to even) for the integer reads. Missing,
  // empty, non-numeric or out-of-range values give `def`.
  std::int16_t ReadInt(const std::string& section, const std::string& key, std::int16_t def) const;
  std::int32_t ReadLng(const std::string& section, const std::string& key, std::int32_t def) const;
  float ReadSng(const std::string& section, const std::string& key, float def) const;

  // Sets the value (adding the section or key when missing) and writes the
  // file, unless an update is open (below). False when the file could not be
  // written, or the name holds a character an INI line cannot carry (line
  // breaks, NUL, "=" or "]" in names).
  bool WriteStr(const std::string& section, const std::string& key, const std::string& value);
  // Removes a whole section and writes the file.
  bool DeleteSection(const std::string& section);
  // The section names in file order.
  std::vector<std::string> GetSectionNames() const;

  // Collects writes in memory until endUpdate(), which writes the file once.
  // Returns false when that write failed.
  void beginUpdate();
  bool endUpdate();

  // Takes `text` as the file's contents without reading the file (for tests
  // and fuzzing the parser).
  void loadText(const std::string& text);

 private:
  struct Entry {
    std::string line;     // the line as it stands in the file (without line end)
    std::string section;  // for section headers: the name; else ""
    std::string key;      // for key lines: the key; else ""
    std::string value;    // for key lines: the value
    bool isSection = false;
    bool isKey = false;
  };

  void load() const;
  static std::vector<Entry> parse(std::string text);
  bool store();
  // Index of the section header, or -1.
  int findSection(const std::string& section) const;
  // Index of the key line inside the section starting at header index, or -1.
  int findKey(int header, const std::string& key) const;

  std::string fileName_;
  mutable std::vector<Entry> lines_;
  mutable bool loaded_ = false;
  int updateDepth_ = 0;
  bool dirty_ = false;
};

}  // namespace settings
