// The current drop: the dropped paths, in the order the platform gave them.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The paths of the current drop, slots 0 to DropCount - 1. Replaced as a whole
// by the next drop, never while an action reads it, and released once the
// drop's outcome is reported: nothing reads it between drops.
extern std::vector<std::string> DropList;
extern int32_t DropCount;

// Discards the current list and makes a new one of count empty slots.
void ResizeArray(int32_t count);
// Releases the current list; DropCount becomes 0.
void FreeArray();
// Makes paths the current drop, in their order; the list is taken over, not
// copied.
void SetDropList(std::vector<std::string> paths);
