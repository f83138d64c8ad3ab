#include "actions/tree_removal.h"

#include <vector>

#include "actions/drop_work.h"
#include "actions/tree_walk.h"
#include "platform/failure.h"
#include "platform/folder_ops.h"
#include "text/file_system.h"

using platform::EntryKind;

bool RemoveTree(const std::string& path) {
  if (platform::KindOf(path) != EntryKind::kFolder) return platform::RemoveEntry(path, true);
  platform::AllowRemoval(path);
  TreeWalk walk(path, false);
  bool whole = true;
  const auto fail = [&whole] { whole = false; };
  for (;;) {
    switch (walk.Next()) {
      case TreeWalk::Event::kEnd:
        return whole;
      case TreeWalk::Event::kEntry:
        if (walk.entry().kind == EntryKind::kFolder) {
          platform::AllowRemoval(walk.path());
          walk.Enter();
        } else if (!platform::RemoveEntry(walk.path(), true)) {
          fail();
        }
        break;
      case TreeWalk::Event::kLeft:
        if (walk.failed() || !platform::RemoveEmptyFolder(walk.path())) fail();
        break;
    }
  }
}

namespace {

// A source whose copy a move can take for its own.
bool CopyIsWhole(const platform::FolderEntry& entry, const std::string& target) {
  uint64_t size = 0;
  const EntryKind there = platform::KindOf(target, &size);
  if (entry.kind == EntryKind::kFile) return there == EntryKind::kFile && size == entry.size;
  return entry.kind == EntryKind::kLink && there == EntryKind::kLink;
}

}  // namespace

bool RemoveMovedSources(const std::string& source, const std::string& target,
                        const std::unordered_set<std::string>& kept, TreeTally& tally) {
  TreeWalk walk(source, true);
  std::vector<bool> remained{false};  // per folder open: something of it stays
  for (;;) {
    switch (walk.Next()) {
      case TreeWalk::Event::kEnd:
        return true;
      case TreeWalk::Event::kEntry: {
        if (StopRequested()) return false;
        const std::string relative = walk.relative();
        std::string copy = target;
        copy += NativeSeparator();
        copy += relative;
        const platform::FolderEntry& entry = walk.entry();
        if (kept.count(relative) != 0) {  // counted when its copy failed or was kept
          remained.back() = true;
        } else if (entry.kind == EntryKind::kFolder) {
          remained.push_back(false);
          walk.Enter();
        } else if (!CopyIsWhole(entry, copy)) {
          platform::NoteFailure(platform::Failure::kCopyNotWhole);
          tally.Fail(walk.path());
          remained.back() = true;
        } else if (platform::RemoveEntry(walk.path(), false)) {
          ++tally.files;
        } else {
          tally.Fail(walk.path());
          remained.back() = true;
        }
        break;
      }
      case TreeWalk::Event::kLeft: {
        bool stays = remained.back();
        remained.pop_back();
        if (walk.failed() || (!stays && !platform::RemoveEmptyFolder(walk.path()))) {
          tally.Fail(walk.path());
          stays = true;
        }
        if (stays && !remained.empty()) remained.back() = true;
        break;
      }
    }
  }
}
