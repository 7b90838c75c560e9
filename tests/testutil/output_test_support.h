// Helpers for the output tests: a self-removing temporary folder, a recording
// image library, and small file checks.
#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "frame_files/image_library.h"
#include "testutil.h"

namespace outtest {

class TempDir {
 public:
  explicit TempDir(const std::string& tag) : path_(testutil::makeTempDir(tag)) {}
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;

  const std::filesystem::path& path() const { return path_; }
  std::string file(const std::string& name) const { return (path_ / name).string(); }
  // The names of the files in the folder, sorted.
  std::vector<std::string> names() const;

 private:
  std::filesystem::path path_;
};

// Records every call. Loads succeed for files that exist (the image remembers
// the file name); the encoders succeed unless told to fail and write nothing.
class RecordingLibrary final : public output::ImageLibrary {
 public:
  std::int32_t BMPtoDIB(const std::string& bmpName) override;
  std::int32_t DIBtoJPG(const std::string& jpgName, std::int32_t image, std::int16_t a, std::int16_t b) override;
  std::int32_t DIBtoGIF(const std::string& gifName, std::int32_t image, std::int16_t option) override;
  std::int32_t DIBtoGIFAni(const std::string& gifName, const std::int32_t* images, std::int32_t highest,
                           std::int16_t interval) override;
  // Records the timing, then answers like DIBtoGIFAni; with
  // `onlyOneInterval` it is the base library's, which knows one interval.
  std::int32_t DIBtoGIFAniTimed(const std::string& gifName, const std::int32_t* images, std::int32_t highest,
                                const output::AnimationTiming& timing) override;
  void DeleteDIB(std::int32_t image) override;

  bool failEncoders = false;
  int failAtLoad = -1;  // this load (0 = the first) returns 0

  std::vector<std::string> loads;               // file names, in call order
  std::map<std::int32_t, std::string> live;     // handle -> file name
  std::vector<std::int32_t> released;           // in call order
  std::vector<std::string> doubleReleases;      // file names released twice or never loaded
  int aniCalls = 0;
  std::int32_t aniHighest = -2;
  std::int16_t aniInterval = -2;
  std::vector<std::string> aniFrames;           // file names of the images passed, in slot order
  std::vector<std::string> encodeCalls;         // output names of JPG/GIF calls
  bool onlyOneInterval = false;
  int aniTimedCalls = 0;
  std::vector<int> aniDelays;  // the timing of the last timed call
  int aniPlays = -2;

 private:
  std::int32_t next_ = 0;
  std::map<std::int32_t, std::string> everLoaded_;
};

// Writes a small valid BMP file of w x h pixels of one colour.
void writeSolidBmp(const std::string& path, int w, int h, std::uint32_t colour);

}  // namespace outtest
