// What a copy or move does with each dropped path, found out before any of it
// is done: which paths are folders, which folders are refused and why, and
// how much there is to copy, so that the progress goes over the whole drop.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/failure.h"

struct DroppedItem {
  bool folder = false;       // a folder, or a link to one
  bool link = false;         // the path itself is a link: what it points to is copied
  bool same_volume = false;  // a folder on the destination's volume: a move renames it
  bool counted = false;      // files and bytes are known (not of a folder a move renames)
  platform::Failure refusal = platform::Failure::kNone;  // why a folder is not copied at all
  int32_t files = 0;
  uint64_t bytes = 0;
};

// Looks at each path of DropList for a copy or a move into destination (a
// folder ending in the separator) and counts the files of the folders that
// will be copied, telling the progress how many so far. False when the
// program asked to stop meanwhile.
bool PlanDrop(const std::string& destination, bool moving, std::vector<DroppedItem>& items);
// Counts the files and their bytes below the folder path into item, telling
// the progress counted_before and those as it goes unless that is negative.
bool CountFolder(const std::string& path, DroppedItem& item, int32_t counted_before);
// The name a dropped path gives its copy, a folder's too ("/a/b/" gives "b").
std::string DroppedName(const std::string& path);
