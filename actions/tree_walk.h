// A folder's tree, visited depth first without recursion: one listing is
// open per level, so a tree of any size takes the memory of its depth, and a
// tree of any depth never runs out of stack. Links are never entered.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "platform/folder_ops.h"

class TreeWalk {
 public:
  enum class Event {
    kEntry,  // entry() is the next entry of the folder being listed
    kLeft,   // the folder path() has been listed to its end, or its listing failed
    kEnd,    // the root has been left
  };

  // Walks the tree of the folder root (a link to a folder is followed, as a
  // dropped one is); with_sizes as for platform::FolderListing.
  TreeWalk(std::string root, bool with_sizes);

  Event Next();
  // After kEntry of a folder: its entries come next, then its kLeft. A folder
  // that is one of those being listed (a loop through a mount) is not
  // entered again: its kLeft comes at once, failed.
  void Enter();

  const platform::FolderEntry& entry() const { return entry_; }
  // The current entry's path, or after kLeft the folder's.
  const std::string& path() const { return path_; }
  // That path below the root ("" for the root), with the native separator.
  std::string relative() const;
  // After kLeft: the listing failed (or never opened); the reason is noted.
  bool failed() const { return failed_; }
  // Folders open: 1 while the root's entries come.
  size_t depth() const { return levels_.size(); }
  // The path of the folder open at level (0: the root), and that path below the root.
  std::string FolderAt(size_t level) const { return path_.substr(0, levels_[level].length); }
  std::string RelativeAt(size_t level) const;

 private:
  struct Level {
    std::unique_ptr<platform::FolderListing> listing;
    size_t length;  // of path_ for this folder
  };
  void Open(size_t length);

  std::string path_;
  size_t root_length_;
  std::vector<Level> levels_;
  platform::FolderEntry entry_;
  bool failed_ = false;
  bool left_failed_ = false;  // the folder just entered could not be listed
  bool with_sizes_;
  bool ended_ = false;
};
