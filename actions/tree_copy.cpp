#include "actions/tree_copy.h"

#include <algorithm>
#include <utility>

#include "actions/drop_work.h"
#include "actions/tree_removal.h"
#include "platform/failure.h"
#include "platform/folder_ops.h"
#include "settings/settings_record.h"
#include "text/file_system.h"

using platform::EntryKind;
using platform::ExistingTarget;

void TreeTally::Fail(const std::string& path) {
  if (failed++ > 0) return;
  first_failed = path;
  reason = platform::LastFailure();
}

TreeCopy::TreeCopy(std::string source, std::string target, TreeWay way, bool target_made)
    : source_(std::move(source)), target_(std::move(target)), way_(way) {
  levels_.push_back({target_made, false});
  if (target_made) made_.emplace_back();
  tally_.folders = 1;  // the target itself, made or merged
}

std::string TreeCopy::TargetOf(const std::string& relative) const {
  return relative.empty() ? target_ : target_ + NativeSeparator() + relative;
}

void TreeCopy::Kept(const std::string& relative) {
  if (way_ == TreeWay::kCopyForMove) kept_.insert(relative);
  levels_.back().remained = true;
}

TreeEnd TreeCopy::Run(ProgressPlace& place) {
  TreeWalk walk(source_, false);
  for (;;) {
    switch (walk.Next()) {
      case TreeWalk::Event::kEnd:
        return TreeEnd::kDone;
      case TreeWalk::Event::kLeft:
        Leave(walk);
        break;
      case TreeWalk::Event::kEntry: {
        // Exit lets the file being copied finish and begins no other.
        if (StopRequested()) return Stopped(walk);
        const std::string relative = walk.relative();
        const TreeEnd end = walk.entry().kind == EntryKind::kFolder
                                ? EnterFolder(walk, relative)
                                : PlaceEntry(walk, relative, place);
        if (end == TreeEnd::kStopped) return Stopped(walk);
        if (end != TreeEnd::kDone) return end;
        break;
      }
    }
  }
}

// A folder is made where there is none, merged where there is one; anything
// else in its place fails it, with all it holds.
TreeEnd TreeCopy::EnterFolder(TreeWalk& walk, const std::string& relative) {
  const bool inside_made = levels_.back().made;
  const std::string target = TargetOf(relative);
  bool make = inside_made;
  if (!inside_made) {
    switch (platform::KindOf(target)) {
      case EntryKind::kFolder:
        break;
      case EntryKind::kNone:
        make = true;
        break;
      case EntryKind::kUnknown:
        tally_.Fail(walk.path());
        Kept(relative);
        return TreeEnd::kDone;
      default:
        platform::NoteFailure(platform::Failure::kTargetNotFolder);
        tally_.Fail(walk.path());
        Kept(relative);
        return TreeEnd::kDone;
    }
  }
  if (make && !platform::MakeNewFolder(target)) {
    if (way_ != TreeWay::kRenameEach && platform::LastFailureEndsCopies()) {
      return TreeEnd::kDestinationFailed;
    }
    tally_.Fail(walk.path());
    Kept(relative);
    return TreeEnd::kDone;
  }
  if (make && !inside_made && way_ != TreeWay::kRenameEach) made_.push_back(relative);
  ++tally_.folders;
  levels_.push_back({make, false});
  walk.Enter();
  return TreeEnd::kDone;
}

TreeEnd TreeCopy::PlaceEntry(const TreeWalk& walk, const std::string& relative,
                             ProgressPlace& place) {
  const platform::FolderEntry& entry = walk.entry();
  BeginProgressFile(++place.file, entry.name, place.bytes);
  uint64_t told = 0;
  const auto next = [&] {
    place.bytes += std::max(told, entry.size);
    return TreeEnd::kDone;
  };
  if (entry.kind == EntryKind::kUnknown) {  // the listing could not tell what it is
    tally_.Fail(walk.path());
    Kept(relative);
    return next();
  }
  const bool inside_made = levels_.back().made;
  const std::string target = TargetOf(relative);
  ExistingTarget existing = ExistingTarget::kKeep;
  if (!inside_made) {
    const EntryKind there = platform::KindOf(target);
    if (there == EntryKind::kFolder || there == EntryKind::kUnknown) {
      if (there == EntryKind::kFolder) platform::NoteFailure(platform::Failure::kTargetFolder);
      tally_.Fail(walk.path());
      Kept(relative);
      return next();
    }
    if (there != EntryKind::kNone) {
      // Within a merge no file asks: the setting decides for all.
      if (ActionSettings().overwritefile == 0) {
        ++tally_.skipped;
        Kept(relative);
        return next();
      }
      existing = ExistingTarget::kReplace;
    }
  }
  if (PlaceFile(walk, target, existing, told)) {
    ++tally_.files;
    if (!inside_made && existing == ExistingTarget::kKeep && way_ != TreeWay::kRenameEach) {
      made_.push_back(relative);
    }
  } else if (StopNowRequested()) {
    return TreeEnd::kStopped;
  } else if (way_ != TreeWay::kRenameEach && platform::LastFailureEndsCopies()) {
    return TreeEnd::kDestinationFailed;
  } else {
    tally_.Fail(walk.path());
    Kept(relative);
  }
  return next();
}

bool TreeCopy::PlaceFile(const TreeWalk& walk, const std::string& target, ExistingTarget existing,
                         uint64_t& told) {
  const std::string& source = walk.path();
  const EntryKind kind = walk.entry().kind;
  const platform::CopyProgress progress = [&told](uint64_t done) {
    told = done;
    SetProgressFileBytes(done);
    // The session's end gives up the file being copied, leaving nothing of it.
    return !StopNowRequested();
  };
  if (way_ == TreeWay::kRenameEach) {
    switch (platform::RenameEntry(source, target, existing)) {
      case platform::RenameResult::kDone:
        return true;
      case platform::RenameResult::kFailed:
        return false;
      case platform::RenameResult::kOtherVolume:
        break;  // another file system mounted inside the folder: copied, then removed
    }
    if (kind == EntryKind::kFile) {
      return platform::MoveFileTo(source, target, existing, progress) ==
             platform::MoveOutcome::kMoved;
    }
    if (kind == EntryKind::kLink) {
      return platform::CopyLink(source, target, existing) && platform::RemoveEntry(source, false);
    }
  }
  switch (kind) {
    case EntryKind::kFile:
      return platform::CopyTreeFile(source, target, existing, progress,
                                    way_ == TreeWay::kCopyForMove);
    case EntryKind::kLink:
      return platform::CopyLink(source, target, existing);
    default:
      platform::NoteFailure(platform::Failure::kNotAFile);
      return false;
  }
}

// A folder this run made gets the source's look once all its entries are in;
// a move within one volume removes the source folder when nothing stayed in it.
void TreeCopy::Leave(const TreeWalk& walk) {
  const Level level = levels_.back();
  levels_.pop_back();
  bool remained = level.remained;
  const std::string relative = walk.relative();
  bool made = level.made;
  if (walk.failed()) {
    tally_.Fail(walk.path());
    if (way_ == TreeWay::kCopyForMove) kept_.insert(relative);
    remained = true;
    // A folder that could not be listed at all leaves no empty copy.
    if (made && platform::RemoveEmptyFolder(TargetOf(relative))) made = false;
  }
  if (made && !platform::CopyFolderLook(walk.path(), TargetOf(relative))) {
    tally_.Fail(walk.path());
  }
  if (way_ == TreeWay::kRenameEach && !remained && !platform::RemoveEmptyFolder(walk.path())) {
    tally_.Fail(walk.path());
    remained = true;
  }
  if (remained && !levels_.empty()) levels_.back().remained = true;
}

// The folders made so far get their look, so that none stays open to its owner alone.
TreeEnd TreeCopy::Stopped(const TreeWalk& walk) {
  for (size_t level = walk.depth(); level-- > 0;) {
    if (level < levels_.size() && levels_[level].made) {
      platform::CopyFolderLook(walk.FolderAt(level), TargetOf(walk.RelativeAt(level)));
    }
  }
  return TreeEnd::kStopped;
}

bool TreeCopy::Undo() {
  bool undone = true;
  // Each was made in a folder that was there before: none holds another.
  for (const std::string& relative : made_) {
    const std::string path = TargetOf(relative);
    const EntryKind there = platform::KindOf(path);
    if (there == EntryKind::kNone) continue;
    if (!(there == EntryKind::kFolder ? RemoveTree(path) : platform::RemoveEntry(path, true))) {
      undone = false;
    }
  }
  made_.clear();
  return undone;
}
