// Starting with the session on Linux: a desktop entry in the user's
// autostart folder, which desktop sessions start at login (the XDG autostart
// rules). It is written whole beside its place and renamed into it, so a
// session never finds half an entry.
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <optional>
#include <string>

#include "platform/failure.h"
#include "platform/file_query.h"
#include "platform/posix/home_folders.h"
#include "platform/posix/posix_files.h"
#include "platform/profile.h"
#include "platform/session_start.h"
#include "platform/shared/ini_document.h"
#include "platform/shared/settings_file_io.h"

namespace platform {

namespace {

constexpr const char* kEntrySection = "Desktop Entry";

std::string AutostartFile() { return ConfigHome() + "/autostart/quorlith.desktop"; }

// One argument of an Exec line: quoted, with the characters that stay
// special inside quotes escaped; then escaped once more as a desktop entry's
// string value ("\\" for a backslash), and "%" doubled, since it would start
// a field code.
std::string ExecArgument(const std::string& argument) {
  std::string quoted = "\"";
  for (const char c : argument) {
    if (c == '"' || c == '`' || c == '$' || c == '\\') quoted += '\\';
    quoted += c;
  }
  quoted += '"';
  std::string value;
  for (const char c : quoted) {
    if (c == '\\') value += '\\';
    if (c == '%') value += '%';
    value += c;
  }
  return value;
}

std::string EntryText(const std::string& settings_file) {
  std::string program = ExecutablePath();
  // A program replaced while it runs (an upgrade) is named as it is now.
  const std::string deleted = " (deleted)";
  if (program.size() > deleted.size() &&
      program.compare(program.size() - deleted.size(), deleted.size(), deleted) == 0) {
    program.resize(program.size() - deleted.size());
  }
  std::string exec = ExecArgument(program);
  if (!settings_file.empty()) exec += " -s " + ExecArgument(settings_file);
  return std::string("[") + kEntrySection +
         "]\n"
         "Type=Application\n"
         "Name=Quorlith\n"
         "Comment=A configurable drag-box to capture the path of a file.\n"
         "Exec=" +
         exec +
         "\n"
         "Icon=quorlith\n"
         "Terminal=false\n";
}

bool Failed() {
  NoteFailure(Failure::kSystem, static_cast<unsigned long>(errno != 0 ? errno : EIO));
  return false;
}

bool WriteEntry(const std::string& path, const std::string& text) {
  const std::string folder = posix::FolderOf(path);
  if (!posix::MakeFolderPath(folder, 0700)) return Failed();
  posix::StagedFile staged(path);
  const int fd = staged.file().get();
  if (fd < 0 || !posix::WriteAll(fd, text) || fchmod(fd, 0644) != 0) return Failed();
  return staged.PutInPlace(true, true) || Failed();
}

}  // namespace

bool SessionEntryKnown(SessionEntry entry) { return entry == SessionEntry::kStartWithSession; }

bool HasSessionEntry(SessionEntry entry) {
  if (entry != SessionEntry::kStartWithSession) return false;
  const settings_io::Contents entry_file = settings_io::Read(AutostartFile());
  if (entry_file.state != ProfileFileState::kUsable) return false;
  // The session skips an entry that is hidden or switched off.
  const std::optional<std::string> hidden =
      ini::FindValue(entry_file.text, kEntrySection, "Hidden");
  const std::optional<std::string> enabled =
      ini::FindValue(entry_file.text, kEntrySection, "X-GNOME-Autostart-enabled");
  return hidden != "true" && enabled != "false";
}

bool SetSessionEntry(SessionEntry entry, bool on, const std::string& settings_file) {
  if (entry != SessionEntry::kStartWithSession) {
    NoteFailure(Failure::kSystem, ENOTSUP);
    return false;
  }
  const std::string path = AutostartFile();
  if (on && ExecutablePath().empty()) {
    NoteFailure(Failure::kSystem, ENOENT);
    return false;
  }
  if (on) return WriteEntry(path, EntryText(settings_file));
  return unlink(path.c_str()) == 0 || errno == ENOENT || Failed();
}

std::string SessionEntryPlace(SessionEntry entry) {
  return entry == SessionEntry::kStartWithSession ? AutostartFile() : std::string();
}

}  // namespace platform
