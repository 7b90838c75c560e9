// The result of a step that writes a file.
#pragma once

#include <string>

namespace output {

// What went wrong when a save step could not write its file.
struct [[nodiscard]] WriteStatus {
  bool ok = true;
  std::string file;    // the file that could not be written
  std::string reason;  // why, e.g. "No space left on device"
  explicit operator bool() const { return ok; }

  static WriteStatus success() { return {}; }
  static WriteStatus failure(std::string fileName, std::string why) {
    return WriteStatus{false, std::move(fileName), std::move(why)};
  }
};

}  // namespace output
