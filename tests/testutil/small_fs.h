// A tiny file system of its own for write-failure tests: a tmpfs of a few
// KiB mounted at a fresh temporary folder (needs root; tests skip otherwise),
// which can be filled up or made read-only.
#pragma once

#include <sys/mount.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "testutil.h"

namespace testutil {

class SmallFs {
 public:
  explicit SmallFs(int kib) : dir_(makeTempDir("smallfs")), options_("size=" + std::to_string(kib) + "k") {
    if (::mount("tmpfs", dir_.c_str(), "tmpfs", 0, options_.c_str()) == 0) {
      mounted_ = true;
    } else {
      why_ = std::string("cannot mount a small file system here: ") + std::strerror(errno);
    }
  }
  ~SmallFs() {
    if (mounted_) ::umount2(dir_.c_str(), MNT_DETACH);
    std::error_code ec;
    std::filesystem::remove_all(dir_, ec);
  }
  SmallFs(const SmallFs&) = delete;
  SmallFs& operator=(const SmallFs&) = delete;

  bool mounted() const { return mounted_; }
  const std::string& whyNot() const { return why_; }
  const std::filesystem::path& path() const { return dir_; }

  bool makeReadOnly() { return ::mount("tmpfs", dir_.c_str(), "tmpfs", MS_REMOUNT | MS_RDONLY, options_.c_str()) == 0; }

  // Writes a filler file until the file system is full.
  void fill() {
    std::ofstream out(dir_ / "filler", std::ios::binary);
    const std::string block(4096, 'x');
    while (out.write(block.data(), static_cast<std::streamsize>(block.size())) && out.flush()) {
    }
  }

 private:
  std::filesystem::path dir_;
  std::string options_;
  bool mounted_ = false;
  std::string why_;
};

}  // namespace testutil
