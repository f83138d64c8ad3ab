// The copies' side of SetCopyPacer (file_ops.h), for the platform's copies.
#pragma once

#include <cstdint>

namespace platform {

// Calls the pacer, when one is set, with the bytes copied so far.
void PaceCopy(uint64_t bytes_done);

}  // namespace platform
