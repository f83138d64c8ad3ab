// The rules of copies and moves, the same on both systems, over the steps
// each system supplies.
#include "platform/failure.h"
#include "platform/file_ops.h"
#include "platform/file_query.h"
#include "platform/folder_ops.h"
#include "platform/shared/file_steps.h"

namespace platform {

namespace file_steps {

// No folder and no write-protected file is ever replaced: Windows refuses
// both, and so does Linux here (a rename there would not, as it needs only
// the folder to be writable).
bool TargetAllows(const std::string& target, ExistingTarget existing, bool& durable) {
  // A copy that keeps what is there takes the target's name in a step that
  // fails when anything has it: nothing needs looking at first.
  if (existing == ExistingTarget::kKeep) return true;
  switch (EntryAt(target)) {
    case Entry::kNothing:
      return true;
    case Entry::kFolder:
      NoteFailure(Failure::kTargetFolder);
      return false;
    case Entry::kWriteProtected:
      NoteFailure(Failure::kTargetProtected);
      return false;
    case Entry::kOther:
      break;
  }
  // A copy that takes a file's place is on the disk first. A fresh copy
  // replaces nothing and its source stays: a power cut costs at worst the
  // copy itself, so it goes without the wait for the disk. A file that
  // appears at the target during a replacing copy is replaced by a copy that
  // may not be on the disk yet; the user agreed to its replacement.
  durable = durable || existing == ExistingTarget::kReplace;
  return true;
}

void NoteNotPlaced(bool exists, unsigned long system_code) {
  if (exists)
    NoteFailure(Failure::kTargetAppeared);
  else
    NoteFailure(Failure::kSystem, system_code);
}

}  // namespace file_steps

namespace {

bool CopyInto(const std::string& source, const std::string& target, ExistingTarget existing,
              const CopyProgress& progress, bool durable) {
  ClearFailure();
  // A file copied onto itself would be emptied before it is read.
  if (IsSameFile(source, target)) {
    NoteFailure(Failure::kSameFile);
    return false;
  }
  return file_steps::CopyChecked(source, target, existing, progress, durable);
}

}  // namespace

bool CopyFileTo(const std::string& source, const std::string& target, ExistingTarget existing,
                const CopyProgress& progress) {
  return CopyInto(source, target, existing, progress, false);
}

// A plain file is renamed within its volume, whatever its size; a link goes
// the way of a copy of what it points to, and then the link alone is removed.
// Across volumes the copy is made durable before the source goes.
MoveOutcome MoveFileTo(const std::string& source, const std::string& target,
                       ExistingTarget existing, const CopyProgress& progress) {
  ClearFailure();
  if (file_steps::IsPlainFile(source)) {
    if (IsSameFile(source, target)) {
      NoteFailure(Failure::kSameFile);
      return MoveOutcome::kFailed;
    }
    bool durable = false;
    if (!file_steps::TargetAllows(target, existing, durable)) return MoveOutcome::kFailed;
    switch (file_steps::RenameFile(source, target, existing == ExistingTarget::kReplace)) {
      case file_steps::Renamed::kDone:
        if (progress) progress(FileSize(target));
        return MoveOutcome::kMoved;
      case file_steps::Renamed::kFailed:
        return MoveOutcome::kFailed;
      case file_steps::Renamed::kOtherVolume:
        break;
    }
  }
  if (!CopyInto(source, target, existing, progress, true)) return MoveOutcome::kFailed;
  return RemoveFile(source) ? MoveOutcome::kMoved : MoveOutcome::kSourceRemained;
}

bool CopyTreeFile(const std::string& source, const std::string& target, ExistingTarget existing,
                  const CopyProgress& progress, bool for_move) {
  const bool durable = for_move && file_steps::kDurableFileByFile;
  // Only a copy that replaces what is there could empty its own source.
  if (existing == ExistingTarget::kReplace) {
    return CopyInto(source, target, existing, progress, durable);
  }
  ClearFailure();
  return file_steps::CopyChecked(source, target, existing, progress, durable);
}

// Within a tree nothing is followed: a link is renamed as the link.
RenameResult RenameEntry(const std::string& source, const std::string& target,
                         ExistingTarget existing) {
  ClearFailure();
  if (file_steps::IsPlainFile(source) && IsSameFile(source, target)) {
    NoteFailure(Failure::kSameFile);  // a rename onto its own hard link would do nothing
    return RenameResult::kFailed;
  }
  bool durable = false;
  if (!file_steps::TargetAllows(target, existing, durable)) return RenameResult::kFailed;
  switch (file_steps::RenameFile(source, target, existing == ExistingTarget::kReplace)) {
    case file_steps::Renamed::kDone:
      return RenameResult::kDone;
    case file_steps::Renamed::kOtherVolume:
      return RenameResult::kOtherVolume;
    case file_steps::Renamed::kFailed:
      break;
  }
  return RenameResult::kFailed;
}

}  // namespace platform
