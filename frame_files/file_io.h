// Whole-file reading and all-or-nothing file writing.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "frame_files/write_status.h"

namespace output {

// The bytes of a regular file, or nullopt when it cannot be opened or read,
// or holds more than maxBytes.
std::optional<std::vector<std::uint8_t>> readWholeFile(const std::string& path, std::size_t maxBytes);
// The same into `into`, reusing its memory; false (and `into` unspecified)
// where the other returns nullopt.
bool readWholeFile(const std::string& path, std::size_t maxBytes, std::vector<std::uint8_t>& into);

// Writes `bytes` to a new temporary file in the folder of `path` and renames
// it onto `path`. Afterwards `path` is either the complete new file or, on
// failure, exactly what it was before (absent or the earlier file); the
// temporary file never stays. On failure the status names `path` and gives
// the system's error text.
WriteStatus replaceFile(const std::string& path, std::span<const std::uint8_t> bytes);

// The last failure of replaceFile on this thread, handed over once: the
// image library's calls report only non-zero or zero, and this tells a write
// that the system refused (disk full, folder gone) from an encoder that gave
// up. Returns success when there was none since the last call.
WriteStatus takeLastWriteFailure();

// Deletes a file. True when it is gone (also when it was never there).
bool removeFile(const std::string& path);

}  // namespace output
