#include <malloc.h>

#include "platform/memory.h"

namespace platform {

// The C runtime's heap, which malloc and new draw on, compacted: its large
// blocks went back to the system as they were freed, and the pages its small
// free blocks leave whole go back now.
void ReturnFreedMemory() { _heapmin(); }

}  // namespace platform
