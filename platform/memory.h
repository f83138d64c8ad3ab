// The process's memory: what a large drop used is handed back to the system
// once the drop is over, so that a box kept running all day stays as small
// as it started.
#pragma once

namespace platform {

// Gives the system back the pages the heap holds free: on Linux glibc's
// malloc_trim (freed blocks amid the heap stay mapped otherwise), on Windows
// the C runtime's _heapmin. Costs a walk over the heap's free blocks: called
// once a drop is over, not in a loop.
void ReturnFreedMemory();

// Linux: from now on every block of 128 KiB or more goes back to the system
// as soon as it is freed, on every thread. Called first thing at start.
// glibc would otherwise raise that size after the first large block is freed,
// up to 32 MiB, and keep the later large blocks once freed: those of other
// threads, such as the X connection's reader, even past malloc_trim. (The
// Windows heap gives large blocks back by itself.)
void ReturnLargeBlocksWhenFreed();

}  // namespace platform
