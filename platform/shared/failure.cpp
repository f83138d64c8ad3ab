#include "platform/failure.h"

namespace platform {
namespace {

struct Reason {
  Failure kind = Failure::kNone;
  unsigned long code = 0;
};

thread_local Reason last;

}  // namespace

void NoteFailure(Failure kind, unsigned long system_code) { last = {kind, system_code}; }

void ClearFailure() { last = {}; }

unsigned long LastSystemError() { return last.kind == Failure::kSystem ? last.code : 0; }

std::string LastFailure() {
  switch (last.kind) {
    case Failure::kNone:
      return {};
    case Failure::kSystem:
      return SystemErrorText(last.code);
    case Failure::kSameFile:
      return "The file would be copied onto itself.";
    case Failure::kFolder:
      return "It is a folder.";
    case Failure::kNotAFile:
      return "It is not a plain file.";
    case Failure::kTargetFolder:
      return "A folder of that name is in the way.";
    case Failure::kTargetProtected:
      return "A write-protected file of that name is in the way.";
    case Failure::kTargetAppeared:
      return "A file of that name appeared in the destination meanwhile.";
    case Failure::kStopped:
      return "The work was stopped.";
    case Failure::kTargetNotFolder:
      return "A file of that name is in the way.";
    case Failure::kSameFolder:
      return "The folder would be copied onto itself.";
    case Failure::kDestinationItself:
      return "It is the destination folder itself.";
    case Failure::kIntoItself:
      return "The destination lies inside the folder.";
    case Failure::kFolderLoop:
      return "The folder holds itself.";
    case Failure::kCopyNotWhole:
      return "Its copy at the destination is not whole, so it was kept.";
    case Failure::kNoName:
      return "It has no name to give its copy.";
  }
  return {};
}

}  // namespace platform
