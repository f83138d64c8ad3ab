// The entries the program keeps with the user's session: starting with it,
// and on Windows an item in the Send To menu. Each state is read back from
// the system, so it is the one the system acts on, whoever made the entry:
// the program's Windows setup makes and removes the very same ones.
#pragma once

#include <string>

namespace platform {

enum class SessionEntry {
  // Linux: the desktop entry quorlith.desktop in $XDG_CONFIG_HOME/autostart
  // (~/.config/autostart); Windows: the value Quorlith under
  // HKCU\Software\Microsoft\Windows\CurrentVersion\Run, the quoted path of
  // the running program.
  kStartWithSession,
  // Windows: the shortcut Quorlith.lnk to the running program in the user's
  // SendTo folder. There is none on Linux.
  kSendTo,
};

// Whether this system has the entry at all.
bool SessionEntryKnown(SessionEntry entry);
// Whether the entry is there now and in force: an autostart entry that is
// hidden or switched off counts as absent.
bool HasSessionEntry(SessionEntry entry);
// Makes the entry for the running program, or removes exactly that entry
// (an absent one is no failure). When the program starts with the session
// it is told settings_file, unless that is empty (Linux; the Windows program
// takes no options). False, with the reason noted (failure.h), when the
// system refused.
bool SetSessionEntry(SessionEntry entry, bool on, const std::string& settings_file);

// Where the entry lives, for the tests and the user: the autostart file or
// the shortcut's path, or the registry value's name with its key.
std::string SessionEntryPlace(SessionEntry entry);

}  // namespace platform
