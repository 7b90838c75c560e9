#include "frame_files/file_io.h"

#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace output {
namespace {

std::string errorText(int err) { return std::strerror(err); }

// A name in the same folder as `path`, so that the rename cannot cross file
// systems; the process id and a counter keep concurrent writers apart.
std::string temporaryNameFor(const std::string& path) {
  static std::atomic<unsigned> counter{0};
  const std::size_t slash = path.find_last_of('/');
  const std::string folder = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
  const std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
  return folder + "." + file + ".part-" + std::to_string(::getpid()) + "-" + std::to_string(counter++);
}

// Returns 0 or the errno of the failed write.
int writeAll(int fd, std::span<const std::uint8_t> bytes) {
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
    if (n < 0) {
      if (errno == EINTR) continue;
      return errno;
    }
    if (n == 0) return EIO;
    done += static_cast<std::size_t>(n);
  }
  return 0;
}

// Opens a fresh temporary file; retries a few names if one already exists.
int openTemporary(const std::string& path, std::string& tempName) {
  for (int attempt = 0; attempt < 16; ++attempt) {
    tempName = temporaryNameFor(path);
    const int fd = ::open(tempName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd >= 0 || errno != EEXIST) return fd;
  }
  errno = EEXIST;
  return -1;
}

}  // namespace

bool readWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& into) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
  if (fd < 0) return false;
  struct stat st {};
  if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || static_cast<std::uint64_t>(st.st_size) > maxBytes) {
    ::close(fd);
    return false;
  }
  into.resize(static_cast<std::size_t>(st.st_size));
  std::size_t got = 0;
  bool failed = false;
  while (got < into.size()) {
    const ssize_t n = ::read(fd, into.data() + got, into.size() - got);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) failed = true;
    if (n <= 0) break;
    got += static_cast<std::size_t>(n);
  }
  ::close(fd);
  into.resize(got);  // a file that shrank while being read gives what was there
  return !failed;
}

std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path, std::size_t maxBytes) {
  std::vector<std::uint8_t> data;
  if (!readWholeFile(path, maxBytes, data)) return std::nullopt;
  return data;
}

namespace {
thread_local WriteStatus lastFailure;

WriteStatus remember(WriteStatus status) {
  lastFailure = status;
  return status;
}
}  // namespace

WriteStatus takeLastWriteFailure() { return std::exchange(lastFailure, WriteStatus::success()); }

WriteStatus replaceFile(const std::string& path, std::span<const std::uint8_t> bytes) {
  std::string tempName;
  const int fd = openTemporary(path, tempName);
  if (fd < 0) return remember(WriteStatus::failure(path, errorText(errno)));
  int err = writeAll(fd, bytes);
  if (::close(fd) != 0 && err == 0) err = errno;
  if (err == 0 && std::rename(tempName.c_str(), path.c_str()) != 0) err = errno;
  if (err != 0) {
    ::unlink(tempName.c_str());
    return remember(WriteStatus::failure(path, errorText(err)));
  }
  return WriteStatus::success();
}

bool removeFile(const std::string& path) { return ::unlink(path.c_str()) == 0 || errno == ENOENT; }

}  // namespace output
