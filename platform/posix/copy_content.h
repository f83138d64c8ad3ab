// Moving a file's bytes from one descriptor to another at the system's speed.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <string>

#include "platform/file_ops.h"

namespace platform {

// What the kernel refused between one file system and one target folder, so
// that the thousands of small files of a folder do not each ask again.
struct CopyRoute {
  dev_t source = 0;
  std::string target_folder;
  bool no_clone = false;        // FICLONE refused between the two
  bool no_kernel_copy = false;  // copy_file_range refused between the two
};

// Copies everything of from into the empty file to: a clone of the data
// where the file system offers one (no byte is copied), else the kernel's own
// copy in steps sized to the target's speed, else reads and writes of 1 MiB.
// size is the source's size as last seen, for the clone; a file that grows
// meanwhile is copied to its end. progress is told 0 first, then the bytes
// done after each step (about a quarter of a second's worth, 16 MiB at most,
// so that a stop is honoured within about a second). False with errno set on
// failure; false with errno ECANCELED when progress asked to stop. route
// keeps what the file systems refused for the next file on the same route.
bool CopyContent(int from, int to, uint64_t size, const CopyProgress& progress, CopyRoute& route);

}  // namespace platform
