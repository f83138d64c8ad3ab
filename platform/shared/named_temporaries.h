// Temporary files that carry a name: every copy on Windows, a copy on a Linux
// file system that makes no unnamed files, and an unnamed copy for the moment
// it spends under a name on its way over an existing file. Each name tells
// the host and the process that made it, ".quorlith-<host>-<pid>-<n>.tmp", so
// that one left behind by a process that ended without cleaning up (a crash,
// a power cut) can be told apart from one in use and removed later
// (RemoveStaleTemporaries, file_ops.h). While one exists it is listed here,
// and a process that ends by exit() removes those still listed.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace platform::temporaries {

// This host's name as it stands in temporaries' names: letters, digits, '.',
// '-' and '_' (any other byte becomes '_'), at most 64 of them.
const std::string& ThisHost();

// The file name of the n-th temporary of process pid on host.
std::string NameOf(std::string_view host, uint64_t pid, uint64_t n);

// The host and process a temporary's file name tells; false for any name
// that is not exactly of that form.
bool ParseName(std::string_view name, std::string& host, uint64_t& pid);

// True for the name of a temporary made on this host by a process that no
// longer runs: one that nobody will ever put in place or remove.
bool IsStale(std::string_view name);

enum class Made { kMade, kTaken, kFailed };
using MakeStep = std::function<Made(const std::string& path)>;

// Makes a new temporary in folder (a path ending in a separator; empty for
// the current folder): make is called with fresh names of this process until
// it answers other than kTaken. It runs under the list's lock, so that an
// exit meanwhile either removes the file or never sees it made. Answers the
// path made, listed until Forget or Discard; empty when make failed (its
// error stays where make left it) or the process is ending.
std::string Make(const std::string& folder, const MakeStep& make);

// Takes path off the list: it has been put in place.
void Forget(const std::string& path);
// Removes the temporary at path and takes it off the list.
void Discard(const std::string& path);

// True once the process has begun to end by exit(): a copy still running
// stops, so that its temporary can go.
bool Ending();

// What each system supplies (posix/temporaries_posix.cpp,
// win32/temporaries_win32.cpp).
enum class Removal { kGone, kBusy, kFailed };
// Removes the file at path, a write-protected one too; kGone when it is not
// there (any more), kBusy while another handle keeps it (Windows).
Removal RemoveNamed(const std::string& path);
std::string SystemHostName();
uint64_t ThisProcess();
// Whether a process of that id runs now (whatever program it is).
bool ProcessRuns(uint64_t pid);

}  // namespace platform::temporaries
