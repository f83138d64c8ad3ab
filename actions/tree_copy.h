// A dropped folder's tree copied, entry by entry, into its target folder (or,
// for a move within one volume into a folder that is already there, each
// entry renamed into it). Links are copied as links; sockets, pipes and
// devices are failures; a file where a folder would go, or a folder where a
// file would go, is a failure and replaces nothing. In folders that were
// there before, an existing file is kept (overwritefile 0) or replaced.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_set>
#include <vector>

#include "actions/progress.h"
#include "actions/tree_walk.h"
#include "platform/file_ops.h"

enum class TreeWay {
  kCopy,         // a copy
  kCopyForMove,  // a copy whose sources go once all of it is made (tree_removal.h)
  kRenameEach,   // a move within one volume: each entry renamed at once
};

enum class TreeEnd {
  kDone,
  kStopped,            // the program ends: finished files stay
  kDestinationFailed,  // the destination took no more (full, read-only): see Undo
};

// Counts of one tree's entries, and the first failure among them.
struct TreeTally {
  int32_t files = 0;    // copied, renamed or (sources) removed
  int32_t folders = 0;  // made or merged
  int32_t failed = 0;
  int32_t skipped = 0;  // existing files kept
  std::string first_failed;
  std::string reason;
  // Counts a failure of path, with platform::LastFailure() as its reason.
  void Fail(const std::string& path);
};

class TreeCopy {
 public:
  // target is made already when target_made, else it is a folder that was there.
  TreeCopy(std::string source, std::string target, TreeWay way, bool target_made);

  // Works through the tree, telling the progress each file from place on.
  TreeEnd Run(ProgressPlace& place);
  // After kDestinationFailed: removes what this run made at the target,
  // false when something of it stays. Files it replaced stay replaced: the
  // old ones are gone already.
  bool Undo();

  const TreeTally& tally() const { return tally_; }
  // The entries (below the source, as TreeWalk::relative() says) whose
  // sources a move leaves: their copy failed, or the target kept its own.
  const std::unordered_set<std::string>& kept() const { return kept_; }
  const std::string& target() const { return target_; }

 private:
  struct Level {
    bool made;      // this run made the target folder
    bool remained;  // something of the source folder stays (renames)
  };
  std::string TargetOf(const std::string& relative) const;
  TreeEnd EnterFolder(TreeWalk& walk, const std::string& relative);
  TreeEnd PlaceEntry(const TreeWalk& walk, const std::string& relative, ProgressPlace& place);
  bool PlaceFile(const TreeWalk& walk, const std::string& target, platform::ExistingTarget existing,
                 uint64_t& told);
  void Leave(const TreeWalk& walk);
  TreeEnd Stopped(const TreeWalk& walk);
  void Kept(const std::string& relative);

  std::string source_;
  std::string target_;
  TreeWay way_;
  std::vector<Level> levels_;
  TreeTally tally_;
  std::unordered_set<std::string> kept_;
  // What a failed copy takes away again: the entries made in folders that
  // were there before, "" for the target itself; what is in them goes along.
  std::vector<std::string> made_;
};
