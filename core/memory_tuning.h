// Allocator settings for a program that composes frames.
#pragma once

namespace core {

// Frames are bitmaps of up to 800 KB, made and dropped by the dozen per run.
// By default glibc hands such blocks straight back to the system and faults
// fresh pages in for the next run, which costs more than composing the
// frames. Keeps freed blocks for reuse instead. Call once at start.
void keepFreedFramesForReuse();

}  // namespace core
