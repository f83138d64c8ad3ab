#include "actions/folder_copy.h"

#include <algorithm>
#include <optional>

#include "actions/drop_outcome.h"
#include "actions/drop_work.h"
#include "actions/failure_report.h"
#include "actions/tree_copy.h"
#include "actions/tree_removal.h"
#include "platform/failure.h"
#include "platform/folder_ops.h"
#include "platform/message_box.h"
#include "settings/settings_modes.h"
#include "text/strings.h"

namespace {

using platform::EntryKind;

// As the overwrite question's: 4148.
constexpr uint32_t kMergeStyle =
    platform::kBoxYesNo | platform::kBoxIconWarning | platform::kBoxSystemModal;

std::string Items(int32_t count) {
  return std::to_string(count) + (count == 1 ? " item" : " items");
}

void CountFailures(DropOutcome& outcome, int32_t failed, const std::string& reason) {
  if (failed <= 0) return;
  if (outcome.failed == 0) outcome.reason = reason;
  outcome.failed += failed;
}

// However the folder ends, the progress goes on after all it counted.
struct PlaceAfter {
  ProgressPlace& place;
  const DroppedItem& item;
  ProgressPlace before;
  ~PlaceAfter() {
    place.file = std::max(place.file, before.file + item.files);
    place.bytes = std::max(place.bytes, before.bytes + item.bytes);
  }
};

class FolderJob {
 public:
  FolderJob(const std::string& source, const std::string& destination, DroppedItem& item)
      : source_(source),
        target_(destination + DroppedName(source)),
        item_(item),
        moving_(CommandModeOf(ActionSettings()) == CommandMode::kMove),
        outcome_(CurrentOutcome()) {}

  void Run(ProgressPlace& place);

 private:
  // Nothing of the folder was copied, for reason; undone: a copy was begun
  // and taken away again, or not all of it when false.
  void FailWhole(const std::string& reason, std::optional<bool> undone = std::nullopt) {
    CountFailures(outcome_, 1, reason);
    const char* last = moving_ ? "It was left where it was." : nullptr;
    if (undone && *undone && !moving_) last = "What was copied of it was removed.";
    if (undone && !*undone) {
      last = moving_ ? "It was left where it was, but not all that was copied of it could be "
                       "removed."
                     : "Not all that was copied of it could be removed.";
    }
    ReportFailure(
        std::string("Sorry, Quorlith could not ") + (moving_ ? "move" : "copy") + " the folder.",
        source_, reason, last);
  }
  bool ChooseWay(TreeWay& way, bool& merge);
  void Finish(const TreeTally& copied, const TreeTally& removed);

  std::string source_;
  std::string target_;
  DroppedItem& item_;
  bool moving_;
  DropOutcome& outcome_;
};

// Decides how the folder goes; false when it is done with already (renamed
// whole, skipped, failed).
bool FolderJob::ChooseWay(TreeWay& way, bool& merge) {
  if (item_.refusal != platform::Failure::kNone) {
    platform::NoteFailure(item_.refusal);
    FailWhole(platform::LastFailure());
    return false;
  }
  platform::ClearFailure();
  const EntryKind there = platform::KindOf(target_);
  merge = there == EntryKind::kFolder;
  if (merge) {
    // One question for the folder, none for what is in it.
    if (AskUser(
            JoinText(3, "This folder already exists;", LineBreak, "Do you want to merge into it?"),
            "Quorlith", kMergeStyle) != platform::kAnswerYes) {
      ++outcome_.skipped;
      return false;
    }
  } else if (there != EntryKind::kNone) {
    if (there != EntryKind::kUnknown) platform::NoteFailure(platform::Failure::kTargetNotFolder);
    FailWhole(platform::LastFailure());
    return false;
  }
  way = moving_ ? TreeWay::kCopyForMove : TreeWay::kCopy;
  // A dropped link is followed: what it points to is copied, the link alone goes.
  if (!moving_ || item_.link || !item_.same_volume) return true;
  if (merge) {
    way = TreeWay::kRenameEach;
    return true;
  }
  switch (platform::RenameFolder(source_, target_)) {
    case platform::RenameResult::kDone:
      ++outcome_.whole;
      return false;
    case platform::RenameResult::kFailed:
      FailWhole(platform::LastFailure());
      return false;
    case platform::RenameResult::kOtherVolume:
      return true;  // one file system, two mounts: copied after all
  }
  return true;
}

void FolderJob::Run(ProgressPlace& place) {
  const PlaceAfter after{place, item_, place};
  // Named while its question waits or it is counted, before its first file.
  BeginProgressFile(place.file + 1, DroppedName(source_), place.bytes);
  TreeWay way = TreeWay::kCopy;
  bool merge = false;
  if (!ChooseWay(way, merge)) return;
  if (!item_.counted) {  // a folder a move was to rename
    if (!CountFolder(source_, item_, -1)) {
      outcome_.stopped = true;
      return;
    }
    AddToProgress(item_.files, item_.bytes);
  }
  if (!merge && !platform::MakeNewFolder(target_)) {
    FailWhole(platform::LastFailure());
    return;
  }
  TreeCopy copy(source_, target_, way, !merge);
  const TreeEnd end = copy.Run(place);
  // A move's copies are on the disk before any source goes.
  if (end == TreeEnd::kDestinationFailed ||
      (end == TreeEnd::kDone && way == TreeWay::kCopyForMove && !platform::SyncCopies(target_))) {
    const std::string reason = platform::LastFailure();
    FailWhole(reason, copy.Undo());
    return;
  }
  TreeTally removed;
  if (end == TreeEnd::kStopped) {
    outcome_.stopped = true;
  } else if (way == TreeWay::kCopyForMove && item_.link) {
    const TreeTally& copied = copy.tally();
    if (copied.failed == 0 && copied.skipped == 0) {
      if (platform::RemoveEntry(source_, false))
        removed.files = copied.files;
      else
        removed.Fail(source_);
    }
  } else if (way == TreeWay::kCopyForMove) {
    if (!RemoveMovedSources(source_, target_, copy.kept(), removed)) outcome_.stopped = true;
  }
  if (way != TreeWay::kCopyForMove) removed.files = copy.tally().files;  // copied, or renamed
  Finish(copy.tally(), removed);
}

void FolderJob::Finish(const TreeTally& copied, const TreeTally& removed) {
  outcome_.done += removed.files;
  outcome_.folders += copied.folders;
  outcome_.skipped += copied.skipped;
  CountFailures(outcome_, copied.failed, copied.reason);
  CountFailures(outcome_, removed.failed, removed.reason);
  const char* verb = moving_ ? "move" : "copy";
  if (copied.failed > 0) {
    const char* left =
        copied.failed == 1 ? "It was left where it was." : "They were left where they were.";
    ReportFailure(std::string("Sorry, Quorlith could not ") + verb + " " + Items(copied.failed) +
                      " in the folder.",
                  copied.first_failed, copied.reason, moving_ ? left : nullptr);
  }
  if (removed.failed > 0) {
    ReportFailure("Sorry, Quorlith copied the folder but could not remove " +
                      Items(removed.failed) + " of the original.",
                  removed.first_failed, removed.reason);
  }
}

}  // namespace

void CopyOrMoveFolder(const std::string& source, const std::string& destination, DroppedItem& item,
                      ProgressPlace& place) {
  FolderJob(source, destination, item).Run(place);
}
