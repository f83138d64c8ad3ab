// Why a call of the platform layer failed, in words for the user. Each thread
// has its own reason, so work off the window's thread never mixes its reasons
// with the window's.
#pragma once

#include <string>

namespace platform {

// Reasons that are no error of the system's.
enum class Failure {
  kNone,
  kSystem,             // the system's own error, by its code
  kSameFile,           // source and target are one file
  kFolder,             // a folder where a file was expected
  kNotAFile,           // a device, a pipe or another entry that is no plain file
  kTargetFolder,       // a folder of the target's name is in the way
  kTargetProtected,    // the file at the target is write-protected
  kTargetAppeared,     // a file came to be at the target while the copy was made
  kStopped,            // the caller asked to stop
  kTargetNotFolder,    // a file or link is where a folder would go
  kSameFolder,         // a folder would be copied onto itself
  kDestinationItself,  // the folder dropped is the destination folder
  kIntoItself,         // the destination lies inside the folder dropped
  kFolderLoop,         // the folder holds itself (a mount, a link the system followed)
  kCopyNotWhole,       // the copy a move made is no longer whole, so its source stays
  kNoName,             // a folder without a name of its own (a root) to give its copy
};

// Records why the current call fails: a kind, and for kSystem the system's
// error code (errno, GetLastError()).
void NoteFailure(Failure kind, unsigned long system_code = 0);
// The system's error of the moment (errno / GetLastError()) as the reason.
void NoteSystemFailure();
// The reason of the last failure on this thread as one sentence; empty when
// none was recorded since the last ClearFailure.
std::string LastFailure();
void ClearFailure();
// The system's error code of the last failure on this thread; 0 when it was
// none of the system's.
unsigned long LastSystemError();

// The system's own words for an error code (strerror / FormatMessageW), as
// one sentence ending in a full stop.
std::string SystemErrorText(unsigned long code);

}  // namespace platform
