// Folders and what is in them, for copies and moves of whole trees. Nothing
// here follows a link inside a tree: a link is listed, copied and removed as
// the link itself. A step that fails notes its reason (failure.h).
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_ops.h"

namespace platform {

enum class EntryKind {
  kNone,     // nothing of that name
  kFile,     // a plain file
  kFolder,   // a folder itself, not a link to one
  kLink,     // a symbolic link; on Windows also a junction or another link-like reparse point
  kSpecial,  // a socket, a pipe or a device: nothing a copy can make
  kUnknown,  // the system could not tell (its reason noted); something may be there
};

// An entry's identity on its system, the same for every path to it.
struct FolderIdentity {
  uint64_t volume = 0;
  uint64_t index = 0;
  bool operator==(const FolderIdentity& other) const {
    return volume == other.volume && index == other.index;
  }
};

struct FolderEntry {
  std::string name;
  EntryKind kind = EntryKind::kNone;
  uint64_t size = 0;  // of a plain file; 0 where the listing does not tell it
};

// One folder's entries, read one at a time in the system's order, "." and
// ".." left out: a folder of a million entries takes the memory of one.
class FolderListing {
 public:
  // Opens the folder at path, following a link to it. with_sizes: a plain
  // file's size is read too where the listing does not tell it anyway.
  FolderListing(const std::string& path, bool with_sizes);
  ~FolderListing();
  FolderListing(const FolderListing&) = delete;
  FolderListing& operator=(const FolderListing&) = delete;
  // False when the folder could not be opened; the reason is noted.
  bool opened() const;
  FolderIdentity identity() const;
  // The next entry; false at the end, or on a failure, whose reason is noted
  // and which failed() then tells.
  bool Next(FolderEntry& entry);
  bool failed() const;

 private:
  struct State;
  std::unique_ptr<State> state_;
};

// What is at path, a final link not followed; size gets a plain file's size.
EntryKind KindOf(const std::string& path, uint64_t* size = nullptr);
// The identity of what is at path, a link followed; false when nothing is.
// Two paths to one entry have one identity; entries on one volume (file
// system) have one volume, and a folder moves within it by a rename.
bool IdentityOf(const std::string& path, FolderIdentity& identity);
// The path with every link in it resolved; empty (the reason noted) when
// nothing is there.
std::string ResolvedPath(const std::string& path);

// Makes the one folder path, writable by its owner; fails with
// Failure::kTargetAppeared when anything is at path.
bool MakeNewFolder(const std::string& path);
// Gives the folder target the modification time of the folder source and its
// permissions (Linux: set-user-ID and set-group-ID only where the owner is
// the same, as for files) or attributes (Windows: read-only, hidden, system,
// archive). What the file system cannot hold (FAT) is left out silently.
bool CopyFolderLook(const std::string& source, const std::string& target);
// Copies the link source itself to target, never what it points to; existing
// as for CopyFileTo.
bool CopyLink(const std::string& source, const std::string& target, ExistingTarget existing);
// Copies a plain file of a tree under the rules of CopyFileTo. for_move: the
// source will go once the tree is copied, so the copy is made durable first
// (on Windows file by file, on Linux by SyncCopies for the whole tree).
bool CopyTreeFile(const std::string& source, const std::string& target, ExistingTarget existing,
                  const CopyProgress& progress, bool for_move);
// Makes everything copied below folder durable before any source goes.
bool SyncCopies(const std::string& folder);

enum class RenameResult { kDone, kOtherVolume, kFailed };
// Renames an entry that is no folder (a file, a link, a socket) within its
// volume; an existing target is replaced only as CopyFileTo would.
RenameResult RenameEntry(const std::string& source, const std::string& target,
                         ExistingTarget existing);
// Renames a whole folder within its volume; never replaces anything.
RenameResult RenameFolder(const std::string& source, const std::string& target);

// Removes a file or a link (a link to a folder as the link); never a folder.
// even_protected: a write-protected file too, as a copy this run made.
bool RemoveEntry(const std::string& path, bool even_protected);
// Removes an empty folder.
bool RemoveEmptyFolder(const std::string& path);
// Lets a folder this run made lose its entries again, whatever look it was
// given (a read-only copy of a read-only folder).
void AllowRemoval(const std::string& folder);

// Whether the last failure of this thread says that the destination takes
// nothing more: it is full, over its quota or read-only.
bool LastFailureEndsCopies();

}  // namespace platform
