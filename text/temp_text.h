// Temporary texts: every operation that produces a new text hands out a
// zero-filled heap block from a fixed ring of slots. Nobody frees a
// temporary; the ring releases a block when it comes back to its slot, so a
// temporary stays valid through the 2047 requests that follow it. Each
// thread has a ring of its own, so work off the window's thread never
// releases a text the window still reads; a thread's ring goes with it.
#pragma once

#include <cstdint>

constexpr int kTempTextSlots = 2048;
// Bytes every temporary carries beyond the length asked for.
constexpr int kTempTextSpare = 128;

// The calling thread's slots; each owns one block or is null. Starts all null.
extern thread_local char* TempTextRing[kTempTextSlots];
// The slot handed out last on this thread; the first request uses slot 1.
extern thread_local int TempTextIndex;

// A new temporary of n + 128 zero bytes (the empty text). A negative n counts
// as 0. When the heap cannot supply the block the process is ended with a
// message on standard error: no caller is ever handed a block it could
// write through.
char* TempText(int32_t n);
