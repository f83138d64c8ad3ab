// Moving a file's bytes from one descriptor to another at the system's speed.
#pragma once

#include <cstdint>

#include "platform/file_ops.h"

namespace platform {

// Copies everything of from into the empty file to: a clone of the data
// where the file system offers one (no byte is copied), else the kernel's own
// copy in steps sized to the target's speed, else reads and writes of 1 MiB.
// size is the source's size as last seen, for the clone; a file that grows
// meanwhile is copied to its end. progress is told 0 first, then the bytes
// done after each step (about a quarter of a second's worth, 16 MiB at most,
// so that a stop is honoured within about a second). False with errno set on
// failure; false with errno ECANCELED when progress asked to stop.
bool CopyContent(int from, int to, uint64_t size, const CopyProgress& progress);

}  // namespace platform
